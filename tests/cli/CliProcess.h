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

/** Runs the program (TINTWRIGHT_CLI, from the build) with these arguments.
    stderr goes to a file of its own through the shell, since JUCE's child
    process would mix it into stdout. */
inline Result run (const juce::StringArray& arguments)
{
    juce::TemporaryFile errors;
    juce::StringArray command { "/bin/sh", "-c", "e=$1; shift; exec \"$@\" 2>\"$e\"", "sh", errors.getFile().getFullPathName(), TINTWRIGHT_CLI };
    command.addArray (arguments);

    Result result;
    juce::ChildProcess process;

    if (! process.start (command, juce::ChildProcess::wantStdOut))
        return result;

    result.out = process.readAllProcessOutput();
    process.waitForProcessToFinish (120000);
    result.exitCode = (int) process.getExitCode();
    result.err = errors.getFile().loadFileAsString();
    return result;
}

inline Result run (std::initializer_list<juce::String> arguments)
{
    return run (juce::StringArray (arguments.begin(), (int) arguments.size()));
}

} // namespace CliProcess
