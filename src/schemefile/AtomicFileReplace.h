#pragma once

#include <juce_core/juce_core.h>

/** Replaces a file's content as a whole: the bytes go to a temporary file
    beside the target, are flushed, and only then is that file moved over the
    target, so the target holds either its old or its new bytes. A symbolic
    link is followed, so the file it points to is replaced, not the link, and
    the replaced file keeps its permissions. A read-only target is refused. */
namespace AtomicFileReplace
{
/** The steps of a replace that can fail, in the order they run. */
enum class Step
{
    examineTarget, // is there a file, a folder, a read-only file?
    createTemporary,
    write,
    flush,
    setPermissions, // only when the target exists: its permissions go to the new file
    close,
    replaceTarget,
    syncFolder // makes the replace itself lasting
};

/** Makes chosen steps fail, as if the system had refused them. For tests,
    which hand one to the instance that saves; the program never uses one. */
struct Faults
{
    virtual ~Faults() = default;

    /** The system's error code the step fails with (errno, or on Windows a
        GetLastError() code); 0 when it goes through. */
    virtual int errorFor (Step step) const = 0;
};

enum class Outcome
{
    replaced, // the target holds the new bytes
    failed, // the target and its folder are as they were
    targetReadOnly, // refused, nothing changed
    targetInUse, // another program holds the target without sharing it; nothing changed

    // The target holds the new bytes, but the system did not confirm that the
    // replace is stored: a crash now could bring back the old bytes.
    replacedNotLasting
};

/** What a replace did and, when it did not go through, which step failed
    and the system's error code for it. */
struct Result
{
    Outcome outcome = Outcome::replaced;
    Step step = Step::examineTarget;
    int systemError = 0; // 0 when the system named none
};

/** Replaces the target's content with these bytes. Faults, when given,
    make the steps they name fail. */
Result replace (const juce::File& target, const void* data, size_t size, const Faults* faults = nullptr);

/** The system's own words for one of its error codes (strerror, FormatMessageW). */
juce::String systemErrorText (int error);

/** Why the replace failed, in the system's words and naming the step:
    "No space left on device (while writing)". */
juce::String reasonFor (const Result& result);
} // namespace AtomicFileReplace
