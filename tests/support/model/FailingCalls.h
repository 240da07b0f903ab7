#pragma once

// Real system calls made to fail, with libfiu (Linux). A test program started
// with libfiu's POSIX preload and tests/failingcalls (see tests/CMakeLists.txt)
// makes one call of its own thread fail; a tintwright-cli started through
// commandWithFailingCalls() fails one of its own, or many at random.

#include "failingcalls/FailingCalls.h"

#include <juce_core/juce_core.h>

#include <algorithm>
#include <cerrno>
#include <map>
#include <vector>

namespace testkit
{
/** The nth call of the point (every call for 0) fails with this errno while it lives. */
struct FailingCall
{
    FailingCall (const char* point, int nth, int error) : n (nth) { tintwright_fail_call (point, nth, error); }
    ~FailingCall() { tintwright_stop_failing(); }

    FailingCall (const FailingCall&) = delete;
    FailingCall& operator= (const FailingCall&) = delete;

    bool reached() const { return tintwright_calls_seen() >= std::max (n, 1); }

    int n;
};

/** The arguments for /usr/bin/env that start the program with libfiu's
    preload and ours, and these settings of ours (FailingCallsLinux.cpp). */
inline juce::StringArray commandWithFailingCalls (const juce::StringArray& settings, const juce::String& program, const juce::StringArray& arguments)
{
    const auto preload = juce::SystemStats::getEnvironmentVariable ("LD_PRELOAD", {});
    juce::StringArray command ("LD_PRELOAD=" + (preload.isEmpty() ? "" : preload + " ") + TINTWRIGHT_FIU_POSIX_PRELOAD + " " + TINTWRIGHT_FAILING_CALLS_LIBRARY);
    command.addArray (settings);
    command.add (program);
    command.addArray (arguments);
    return command;
}

/** What a save must do when a call fails. */
enum class SaveEffect
{
    saved, // the new bytes: this call's failure cannot harm them
    leftAsItWas, // the old bytes, or still no file
    notConfirmed, // the new bytes, not confirmed stored
    unreadable // a file to read failed: nothing written
};

struct FailingCallCase
{
    juce::String point;
    int nth; // 0: every call
    int error;
    SaveEffect effect;
    juce::String reason; // the system's words and the step
};

/** The calls of a save, after the opens and closes of the files read before
    it, and what failing each must do. */
inline std::vector<FailingCallCase> callsOfASave (int filesReadBefore, bool targetExists)
{
    const int r = filesReadBefore;
    std::vector<FailingCallCase> calls {
        { "posix/io/oc/open", r + 1, EROFS, SaveEffect::leftAsItWas, "Read-only file system (while creating the temporary file)" },
        { "posix/io/rw/write", 1, ENOSPC, SaveEffect::leftAsItWas, "No space left on device (while writing)" },
        { "posix/io/rw/write/reduce", 1, 0, SaveEffect::saved, {} }, // a short write: the rest follows
        { "posix/io/sync/fsync", 1, EIO, SaveEffect::leftAsItWas, "Input/output error (while flushing to disk)" },
        { "posix/io/oc/close", r + 1, EDQUOT, SaveEffect::leftAsItWas, "Disk quota exceeded (while closing)" },
        { "posix/io/dir/rename", 1, EXDEV, SaveEffect::leftAsItWas, "Invalid cross-device link (while replacing the file)" },
        { "posix/io/oc/open", r + 2, EMFILE, SaveEffect::notConfirmed, "Too many open files (while confirming the replace)" },
        { "posix/io/sync/fsync", 2, EIO, SaveEffect::notConfirmed, "Input/output error (while confirming the replace)" },
        { "posix/io/oc/close", r + 2, EIO, SaveEffect::saved, {} }, // the folder's, after its sync
        { "posix/io/stat/stat", 0, EIO, SaveEffect::leftAsItWas, "Input/output error (while examining the file)" },
    };

    if (targetExists)
        calls.push_back ({ "posix/io/perm/fchmod", 1, EPERM, SaveEffect::leftAsItWas, "Operation not permitted (while copying the file's permissions)" });

    return calls;
}

/** How many calls of each point the cases name one by one. */
inline std::map<juce::String, int> callsPerPoint (const std::vector<FailingCallCase>& calls)
{
    std::map<juce::String, int> counts;

    for (const auto& call : calls)
        if (call.nth > 0)
            ++counts[call.point];

    return counts;
}
} // namespace testkit
