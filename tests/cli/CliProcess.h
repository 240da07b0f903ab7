#pragma once

// tintwright-cli run as a process, as a shell would run it: its exit code,
// stdout and stderr apart, and the files it leaves.

#include <juce_core/juce_core.h>

#include <initializer_list>
#include <string>

namespace CliProcess
{
struct Result
{
    int exitCode = -1;
    juce::String out, err;
};

/** Starts the program with these arguments (given in UTF-8) and waits for
    it, reading its stdout and stderr through pipes of their own; stdin is
    empty. The exit code stays -1 when the program could not be started.
    Each platform has its own (CliProcessPosix.cpp, CliProcessWindows.cpp). */
Result runProgram (const juce::String& program, const juce::StringArray& arguments);

/** Runs tintwright-cli (TINTWRIGHT_CLI, from the build) with these arguments. */
inline Result run (const juce::StringArray& arguments)
{
    return runProgram (TINTWRIGHT_CLI, arguments);
}

inline Result run (std::initializer_list<juce::String> arguments)
{
    return run (juce::StringArray (arguments.begin(), (int) arguments.size()));
}

/** A fresh folder under the temp directory, deleted with everything in it. */
struct TempFolder
{
    TempFolder()
        : folder (juce::File::getSpecialLocation (juce::File::tempDirectory)
                      .getChildFile ("tintwright-cli-" + juce::Uuid().toString()))
    {
        folder.createDirectory();
    }

    ~TempFolder() { folder.deleteRecursively(); }

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
} // namespace CliProcess
