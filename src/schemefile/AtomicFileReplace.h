#pragma once

#include <juce_core/juce_core.h>

#include <memory>

/** Replaces a file's content as a whole: the bytes go to a temporary file
    beside the target, are flushed, and only then is that file moved over the
    target, so the target holds either its old or its new bytes. A symbolic
    link is followed, so the file it points to is replaced, not the link, and
    the replaced file keeps its permissions. A read-only target is refused. */
namespace AtomicFileReplace
{
/** The steps of a replace that can fail. */
enum class Step
{
    examineTarget, // is there a file, a folder, a read-only file?
    createTemporary,
    write,
    setPermissions, // only when the target exists: its permissions go to the new file
    flush,
    close,
    replaceTarget,
    syncFolder // makes the replace itself lasting
};

/** Every step in the order it runs, with what the messages say it was doing. */
struct StepName
{
    Step step;
    const char* doing;
};

inline constexpr StepName steps[] = {
    { Step::examineTarget, "examining the file" },
    { Step::createTemporary, "creating the temporary file" },
    { Step::write, "writing" },
    { Step::setPermissions, "copying the file's permissions" },
    { Step::flush, "flushing to disk" },
    { Step::close, "closing" },
    { Step::replaceTarget, "replacing the file" },
    { Step::syncFolder, "confirming the replace" },
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

    /** Ok when the target holds the new bytes for good; otherwise why not,
        in the system's words and naming the step: "No space left on device
        (while writing)". The outcome says how the messages word it. */
    juce::Result why() const;
};

/** What the target was found to be before the replace. */
struct Target
{
    bool exists = false;
    bool readOnly = false;
    bool inUse = false; // another program holds it without sharing it
    juce::uint32 permissions = 0; // the system's own, handed back to keepPermissions
};

/** The system calls of one replace, one per step, each giving the system's
    error code (errno, or GetLastError() on Windows), 0 when it went through.
    Each platform has its own (systemOperations); a test may wrap them to make
    a step fail. One instance serves one replace: it holds the temporary file
    open between createTemporary and close. */
class Operations
{
public:
    virtual ~Operations() = default;

    /** Fills in the target; a missing target is no error, a folder is one. */
    virtual int examine (const juce::File& target, Target& found) = 0;
    /** Creates and opens this new file; fails with nameTaken() when it exists. */
    virtual int createTemporary (const juce::File& temporary) = 0;
    virtual int write (const char* data, size_t size) = 0;
    virtual int keepPermissions (const Target& target) = 0;
    virtual int flush() = 0;
    virtual int close() = 0;
    virtual int replaceTarget (const juce::File& temporary, const juce::File& target) = 0;
    virtual void removeTemporary (const juce::File& temporary) = 0;
    /** Makes the replace itself lasting. */
    virtual int syncReplace (const juce::File& target) = 0;

    /** Whether a failed createTemporary only hit a name already taken. */
    virtual bool isNameTaken (int error) const = 0;
    /** Whether a failed replaceTarget means another program holds the target. */
    virtual bool isInUse (int error) const = 0;
    virtual juce::uint32 processId() const = 0;
    virtual bool isRunning (juce::uint32 processId) const = 0;
};

/** The platform's system calls for one replace. */
std::unique_ptr<Operations> systemOperations();

/** Replaces the target's content with these bytes, through the operations
    given or the platform's own. */
Result replace (const juce::File& target, const void* data, size_t size, Operations& operations);
Result replace (const juce::File& target, const void* data, size_t size);

/** The system's own words for one of its error codes (strerror, FormatMessageW). */
juce::String systemErrorText (int error);

/** What the messages say the step was doing: "writing". */
const char* doing (Step step);
} // namespace AtomicFileReplace
