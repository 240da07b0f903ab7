#pragma once

#include "schemefile/AtomicFileReplace.h"

#include <functional>

/** What the platforms' replaces share: following links, naming the temporary
    file, clearing away the temporary files of writers that died, asking the
    faults, and naming the steps. */
namespace AtomicFileReplace
{
/** The error the faults give the step, 0 when none. */
inline int faultFor (const Faults* faults, Step step)
{
    return faults != nullptr ? faults->errorFor (step) : 0;
}

/** The file a chain of symbolic links ends at (the file itself when it is none). */
juce::File resolveLinks (juce::File file);

/** A fresh name in the folder for a temporary file of the writer with this
    process id. It does not grow with the target's name, so a long target
    name still fits. */
juce::File freshTemporaryFile (const juce::File& folder, juce::uint32 processId);

/** A writer killed between creating its temporary file and the replace leaves
    that file behind. Its name carries the writer's process id, so a later save
    into the same folder removes the left-overs of writers that no longer run. */
void removeLeftoversOfDeadWriters (const juce::File& folder, const std::function<bool (juce::uint32 processId)>& isRunning);
} // namespace AtomicFileReplace
