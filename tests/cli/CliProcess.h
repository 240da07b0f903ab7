#pragma once

// tintwright-cli run as a process, as a shell would run it: its exit code,
// stdout and stderr apart, and the files it leaves.

#include <juce_core/juce_core.h>

#include <initializer_list>

namespace CliProcess
{
struct Result
{
    int exitCode = -1;
    juce::String out, err;
};

/** Starts the program with these arguments (given in UTF-8) and waits for
    it, reading its stdout and stderr through pipes of their own; stdin is
    empty. When the program cannot be started or waited for, the running
    test fails with the system's reason and the exit code stays -1.
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

} // namespace CliProcess
