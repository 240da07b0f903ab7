#pragma once

// A folder for one test's files, gone with everything in it when the test ends.

#include <juce_core/juce_core.h>

#include <string>

namespace testkit
{
/** A fresh folder under the temp directory, deleted with everything in it.
    Its name is unique: tests run in parallel processes, and two that picked
    the same free name would share (and delete) one folder. */
struct TempFolder
{
    TempFolder()
        : folder (juce::File::getSpecialLocation (juce::File::tempDirectory)
                      .getChildFile ("tintwright-test-" + juce::Uuid().toString()))
    {
        folder.createDirectory();
    }

    ~TempFolder() { folder.deleteRecursively(); }

    TempFolder (const TempFolder&) = delete;
    TempFolder& operator= (const TempFolder&) = delete;

    /** Writes the text with the line ends it has. */
    juce::File write (const juce::String& name, const juce::String& text) const
    {
        auto f = folder.getChildFile (name);
        f.replaceWithText (text, false, false, "\n");
        return f;
    }

    juce::File copy (const juce::File& source, const juce::String& name) const
    {
        auto f = folder.getChildFile (name);
        source.copyFileTo (f);
        return f;
    }

    juce::String path (const juce::String& name) const { return folder.getChildFile (name).getFullPathName(); }

    juce::File folder;
};

/** The file's bytes (none for a missing file). A string, as JUCE's own
    comparison of two empty blocks hands memcmp a null pointer. */
inline std::string bytesOf (const juce::File& file)
{
    juce::MemoryBlock bytes;
    file.loadFileAsData (bytes);
    return bytes.isEmpty() ? std::string() : std::string (static_cast<const char*> (bytes.getData()), bytes.getSize());
}
} // namespace testkit
