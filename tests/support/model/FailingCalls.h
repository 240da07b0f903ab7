#pragma once

// Real system calls made to fail, with libfiu (Linux). A test program started
// with libfiu's POSIX preload and tests/failingcalls (see tests/CMakeLists.txt)
// makes one call of its own thread fail; a tintwright-cli started through
// commandWithFailingCalls() fails one of its own, or many at random.

#include "failingcalls/FailingCalls.h"

#include <juce_core/juce_core.h>

namespace testkit
{
/** libfiu's preload and the test's own, for a process's LD_PRELOAD. */
inline juce::String failingCallsPreload()
{
    return juce::String (TINTWRIGHT_FIU_POSIX_PRELOAD) + " " + TINTWRIGHT_FAILING_CALLS_LIBRARY;
}

/** The nth call of the point (every call for 0) fails with this errno while it lives. */
struct FailingCall
{
    FailingCall (const char* point, int nth, int error) : n (nth) { tintwright_fail_call (point, nth, error); }
    ~FailingCall() { tintwright_stop_failing(); }

    FailingCall (const FailingCall&) = delete;
    FailingCall& operator= (const FailingCall&) = delete;

    bool reached() const { return tintwright_calls_seen() >= n; }

    int n;
};

/** The arguments for /usr/bin/env that start the program with libfiu's
    preload and ours, set up by these settings (below). */
inline juce::StringArray commandWithFailingCalls (const juce::StringArray& settings, const juce::String& program, const juce::StringArray& arguments)
{
    const auto preload = juce::SystemStats::getEnvironmentVariable ("LD_PRELOAD", {});
    juce::StringArray command ("LD_PRELOAD=" + (preload.isEmpty() ? "" : preload + " ") + failingCallsPreload());
    command.addArray (settings);
    command.add (program);
    command.addArray (arguments);
    return command;
}

/** The nth call of the point (every call for 0) fails with this errno; the
    number of calls of the point made is written to the record file at the end. */
inline juce::StringArray oneFailingCall (const juce::String& point, int nth, int error, const juce::File& record)
{
    return { "TINTWRIGHT_FAILING_CALL=" + point + " " + juce::String (nth) + " " + juce::String (error),
             "TINTWRIGHT_FAILING_CALL_RECORD=" + record.getFullPathName() };
}

/** Every call of these points fails with this probability, with an errno
    libfiu picks; the seed makes a run again. */
inline juce::StringArray callsFailingAtRandom (const juce::StringArray& points, double probability, int seed)
{
    return { "TINTWRIGHT_FAILING_AT_RANDOM=" + juce::String (probability) + " " + points.joinIntoString (" "),
             "FIU_PRNG_SEED=" + juce::String (seed) };
}
} // namespace testkit
