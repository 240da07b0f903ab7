#pragma once

// Schemes made for tests: as file text, or built up in a model.

#include "scheme/SchemeModel.h"

#include <initializer_list>

namespace testkit
{
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

/** A scheme of many colours and no groups, for scrolling and for size. */
inline juce::String longSchemeText (int colours)
{
    juce::String text ("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<COLOURS>\n");

    for (int i = 0; i < colours; ++i)
        text << "  <COLOUR name=\"Colour " << i << "\" colour=\"ff1020" << juce::String::toHexString (i % 256).paddedLeft ('0', 2) << "\"/>\n";

    text << "  <COLOURGROUPS/>\n</COLOURS>\n";
    return text;
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

inline SchemeColour& addColour (SchemeModel& model, const juce::String& name, juce::uint32 argb)
{
    auto colour = std::make_unique<SchemeColour>();
    colour->name = name;
    colour->colour = juce::Colour (argb);
    return model.appendColour (std::move (colour));
}

struct NamedColour
{
    juce::String name;
    juce::uint32 argb;
};

/** Appends the colours in this order. */
inline void addColours (SchemeModel& model, std::initializer_list<NamedColour> colours)
{
    for (const auto& c : colours)
        addColour (model, c.name, c.argb);
}

/** A group of the colours at these positions in the model. */
inline ColourGroup& addGroup (SchemeModel& model, const juce::String& name, std::initializer_list<int> memberIndexes = {})
{
    auto& group = model.appendGroup (std::make_unique<ColourGroup>());
    group.setName (name);
    for (auto i : memberIndexes)
        group.addColour (*model.getColour (i));
    return group;
}
} // namespace testkit
