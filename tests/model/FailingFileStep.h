#pragma once

// Faults that make one step of a file replace fail, for the tests of saving.

#include "schemefile/AtomicFileReplace.h"

namespace FailingFileStep
{
using AtomicFileReplace::Step;

inline constexpr Step everyStep[] = { Step::examineTarget, Step::createTemporary, Step::write, Step::flush, Step::setPermissions, Step::close, Step::replaceTarget, Step::syncFolder };

inline const char* nameOf (Step step)
{
    switch (step)
    {
        case Step::examineTarget:
            return "examine the target";
        case Step::createTemporary:
            return "create the temporary file";
        case Step::write:
            return "write";
        case Step::flush:
            return "flush";
        case Step::setPermissions:
            return "set permissions";
        case Step::close:
            return "close";
        case Step::replaceTarget:
            return "replace the target";
        case Step::syncFolder:
            return "sync the folder";
    }

    return "?";
}

/** Fails the one step it names with a system error code, and counts how
    often it was asked about it. The code 5 is a real one everywhere: EIO on
    POSIX, ERROR_ACCESS_DENIED on Windows. */
struct Fault : AtomicFileReplace::Faults
{
    explicit Fault (Step s, int code = 5) : step (s), error (code) {}

    int errorFor (Step asked) const override
    {
        if (asked != step)
            return 0;

        ++reached;
        return error;
    }

    Step step;
    int error;
    mutable int reached = 0;
};
} // namespace FailingFileStep
