// The replace's outline, the same on every desktop system; the system calls
// themselves are each platform's Operations.
#include "schemefile/AtomicFileReplace.h"

namespace AtomicFileReplace
{
namespace
{
    const char* const temporaryPrefix = ".tintwright-";
    const char* const temporarySuffix = ".tmp";

    /** The file a chain of symbolic links ends at (the file itself when it is none). */
    juce::File resolveLinks (juce::File file)
    {
        for (int hops = 0; hops < 40 && file.isSymbolicLink(); ++hops)
            file = file.getLinkedTarget();

        return file;
    }

    /** A fresh name in the folder for a temporary file of the writer with this
        process id. It does not grow with the target's name, so a long target
        name still fits. */
    juce::File freshTemporaryFile (const juce::File& folder, juce::uint32 processId)
    {
        return folder.getChildFile (temporaryPrefix + juce::String (processId) + "-"
                                    + juce::String::toHexString (juce::Random::getSystemRandom().nextInt64()) + temporarySuffix);
    }

    /** A writer killed between creating its temporary file and the replace leaves
        that file behind. Its name carries the writer's process id, so a later save
        into the same folder removes the left-overs of writers that no longer run. */
    void removeLeftoversOfDeadWriters (const juce::File& folder, const Operations& operations)
    {
        for (auto& file : folder.findChildFiles (juce::File::findFiles, false, juce::String (temporaryPrefix) + "*" + temporarySuffix))
        {
            auto idText = file.getFileName().substring ((int) std::strlen (temporaryPrefix)).upToFirstOccurrenceOf ("-", false, false);

            if (idText.isEmpty() || idText.length() > 9 || ! idText.containsOnly ("0123456789"))
                continue;

            if (! operations.isRunning ((juce::uint32) idText.getLargeIntValue()))
                file.deleteFile();
        }
    }

    Result failure (Step step, int error)
    {
        return { Outcome::failed, step, error };
    }
} // namespace

Result replace (const juce::File& target, const void* data, size_t size)
{
    return replace (target, data, size, *systemOperations());
}

Result replace (const juce::File& target, const void* data, size_t size, Operations& operations)
{
    const auto destination = resolveLinks (target);

    // Only a missing file is no reason to stop: a target that cannot be
    // looked at might be read-only, and its permissions could not be kept.
    Target found;

    if (const auto error = operations.examine (destination, found))
        return failure (Step::examineTarget, error);

    if (found.readOnly)
        return { Outcome::targetReadOnly };

    if (found.inUse)
        return { Outcome::targetInUse };

    // A fresh name that the system creates only when nothing has it, so
    // nothing else's file is ever truncated.
    const auto folder = destination.getParentDirectory();
    juce::File temporary;
    int createError = 0;

    for (int attempt = 0; attempt < 16; ++attempt)
    {
        temporary = freshTemporaryFile (folder, operations.processId());
        createError = operations.createTemporary (temporary);

        if (! operations.isNameTaken (createError))
            break;
    }

    if (createError != 0)
        return failure (Step::createTemporary, createError);

    removeLeftoversOfDeadWriters (folder, operations);

    // The first step that fails is the one reported; the file is closed whatever happened.
    Result result;
    const auto step = [&result] (Step which, auto&& call)
    {
        if (result.outcome == Outcome::replaced)
            if (const int error = call())
                result = failure (which, error);
    };

    step (Step::write, [&]
          { return operations.write (static_cast<const char*> (data), size); });

    if (found.exists)
        step (Step::setPermissions, [&]
              { return operations.keepPermissions (found); });

    step (Step::flush, [&]
          { return operations.flush(); });

    const auto closeError = operations.close();
    step (Step::close, [&]
          { return closeError; });
    step (Step::replaceTarget, [&]
          { return operations.replaceTarget (temporary, destination); });

    if (result.outcome != Outcome::replaced)
    {
        operations.removeTemporary (temporary);

        if (result.step == Step::replaceTarget && operations.isInUse (result.systemError))
            result.outcome = Outcome::targetInUse;

        return result;
    }

    if (const auto error = operations.syncReplace (destination))
        return { Outcome::replacedNotLasting, Step::syncFolder, error };

    return result;
}

const char* doing (Step step)
{
    for (const auto& name : steps)
        if (name.step == step)
            return name.doing;

    return "";
}

juce::Result Result::why() const
{
    if (outcome == Outcome::replaced)
        return juce::Result::ok();

    const auto text = systemError != 0 ? systemErrorText (systemError) : juce::String();
    return juce::Result::fail ((text.isNotEmpty() ? text : juce::String ("the system gave no reason")) + " (while " + doing (step) + ")");
}
} // namespace AtomicFileReplace
