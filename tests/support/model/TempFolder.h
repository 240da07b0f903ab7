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
    explicit TempFolder (const juce::String& namePrefix = "tintwright-test-")
        : folder (juce::File::getSpecialLocation (juce::File::tempDirectory)
                      .getChildFile (namePrefix + juce::Uuid().toString()))
    {
        folder.createDirectory();
    }

    // Windows deletes no read-only file, and some tests leave one.
    ~TempFolder()
    {
        for (auto& f : folder.findChildFiles (juce::File::findFiles, true))
            f.setReadOnly (false);

        folder.deleteRecursively();
    }

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

    /** The names of what the folder holds, sorted. */
    juce::StringArray contents() const
    {
        juce::StringArray names;
        for (auto& f : folder.findChildFiles (juce::File::findFilesAndDirectories, false))
            names.add (f.getFileName());
        names.sort (false);
        return names;
    }

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
