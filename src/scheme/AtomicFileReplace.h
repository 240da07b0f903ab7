#pragma once

#include <juce_core/juce_core.h>

/** Replaces a file's content as a whole: the bytes go to a temporary file
    beside the target, are flushed, and only then is that file moved over the
    target, so the target holds either its old or its new bytes. A symbolic
    link is followed, so the file it points to is replaced, not the link, and
    the replaced file keeps its permissions. */
namespace AtomicFileReplace
{
/** False, with the target and its folder as they were, when any step fails. */
bool replace (const juce::File& target, const void* data, size_t size);
} // namespace AtomicFileReplace
