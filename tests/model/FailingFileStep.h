#pragma once

// The system's own operations of a replace with one step made to fail, for
// the tests of the replace on every platform (Windows under Wine included,
// where no library makes real calls fail).

#include "schemefile/AtomicFileReplace.h"

namespace FailingFileStep
{
using AtomicFileReplace::Step;

/** Fails the one step it names with a system error code, and counts how
    often that step was reached. A failing write writes half first, and a
    failing close closes, as the system's would; the other steps fail before
    the call. The code 5 is a real one everywhere: EIO on POSIX,
    ERROR_ACCESS_DENIED on Windows. */
struct Fault : AtomicFileReplace::Operations
{
    explicit Fault (Step s, int code = 5) : step (s), error (code) {}

    int examine (const juce::File& t, AtomicFileReplace::Target& found) override { return fails (Step::examineTarget) ? error : real->examine (t, found); }
    int createTemporary (const juce::File& t) override { return fails (Step::createTemporary) ? error : real->createTemporary (t); }
    int keepPermissions (const AtomicFileReplace::Target& t) override { return fails (Step::setPermissions) ? error : real->keepPermissions (t); }
    int flush() override { return fails (Step::flush) ? error : real->flush(); }
    int replaceTarget (const juce::File& from, const juce::File& to) override { return fails (Step::replaceTarget) ? error : real->replaceTarget (from, to); }
    int syncReplace (const juce::File& t) override { return fails (Step::syncFolder) ? error : real->syncReplace (t); }

    int write (const char* data, size_t size) override
    {
        if (! fails (Step::write))
            return real->write (data, size);

        real->write (data, size / 2);
        return error;
    }

    int close() override
    {
        const auto closed = real->close();
        return fails (Step::close) ? error : closed;
    }

    void removeTemporary (const juce::File& t) override { real->removeTemporary (t); }
    bool isNameTaken (int e) const override { return real->isNameTaken (e); }
    bool isInUse (int e) const override { return real->isInUse (e); }
    juce::uint32 processId() const override { return real->processId(); }
    bool isRunning (juce::uint32 id) const override { return real->isRunning (id); }

    bool fails (Step asked)
    {
        if (asked != step)
            return false;

        ++reached;
        return true;
    }

    std::unique_ptr<AtomicFileReplace::Operations> real = AtomicFileReplace::systemOperations();
    Step step;
    int error;
    int reached = 0;
};
} // namespace FailingFileStep
