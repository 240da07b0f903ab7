#pragma once

// Faults that make one step of a file replace fail, for the tests of saving.

#include "schemefile/AtomicFileReplace.h"

namespace FailingFileStep
{
using AtomicFileReplace::Step;

inline constexpr Step everyStep[] = { Step::createTemporary, Step::write, Step::flush, Step::setPermissions, Step::close, Step::replaceTarget, Step::syncFolder };

inline const char* nameOf (Step step)
{
    switch (step)
    {
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

/** Fails the one step it names, and counts how often it was asked about it. */
struct Fault : AtomicFileReplace::Faults
{
    explicit Fault (Step s) : step (s) {}

    bool fails (Step asked) const override
    {
        if (asked != step)
            return false;

        ++reached;
        return true;
    }

    Step step;
    mutable int reached = 0;
};
} // namespace FailingFileStep
