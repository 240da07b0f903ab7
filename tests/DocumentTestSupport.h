#pragma once

// Files and folders shared by the document, scheme list and main component tests.

#include "scheme/SchemeModel.h"

#include <juce_core/juce_core.h>

namespace DocumentTestSupport
{
/** A fresh folder under the temp directory, deleted with everything in it.
    Its name is unique: tests run in parallel processes, and two that picked
    the same free name would share (and delete) one folder. */
struct ScopedTempFolder
{
    ScopedTempFolder()
        : folder (juce::File::getSpecialLocation (juce::File::tempDirectory)
                      .getChildFile ("tintwright-document-" + juce::Uuid().toString()))
    {
        folder.createDirectory();
    }

    ~ScopedTempFolder() { folder.deleteRecursively(); }

    juce::File write (const juce::String& name, const juce::String& text) const
    {
        auto f = folder.getChildFile (name);
        f.replaceWithText (text);
        return f;
    }

    juce::File folder;
};

/** A scheme with colours and one group; each name makes a different file. */
inline juce::String schemeText (const juce::String& firstColourName = "Background",
                                const juce::String& groupName = "Panels")
{
    const char* text = R"(<?xml version="1.0" encoding="UTF-8"?>
<COLOURS>
  <COLOUR name="@FIRST@" colour="ff102030"/>
  <COLOUR name="Text" colour="ffd3d3d3"/>
  <COLOUR name="Shadow" colour="80000000"/>
  <COLOURGROUPS>
    <COLOURGROUP name="@GROUP@">
      <COLOUR name="@FIRST@"/>
      <COLOUR name="Shadow"/>
    </COLOURGROUP>
  </COLOURGROUPS>
</COLOURS>
)";

    return juce::String (text).replace ("@FIRST@", firstColourName).replace ("@GROUP@", groupName);
}

/** Appends count opaque colours with long names: a scheme file of about
    count * 80 bytes. */
inline void addColours (SchemeModel& model, int count)
{
    for (int i = 0; i < count; ++i)
    {
        auto colour = std::make_unique<SchemeColour>();
        colour->name = "A rather long colour name, number " + juce::String (i);
        colour->colour = juce::Colour ((juce::uint32) (0xff000000 + i));
        model.appendColour (std::move (colour));
    }
}

/** Nested far deeper than a recursive parser survives, and never closed: no document. */
inline juce::String deeplyNestedText (int depth = 60000)
{
    return juce::String::repeatedString ("<a>", depth);
}
} // namespace DocumentTestSupport
