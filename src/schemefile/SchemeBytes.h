#pragma once

#include "scheme/SchemeModel.h"
#include "schemefile/SchemeReader.h"

#include <limits>

/** A scheme's bytes in memory, opened as the window opens a file, and why
    bytes do not open: the reasons the command line prints after a file's
    name and the web page's model gives as its error message. */
namespace SchemeBytes
{
/** What the window says of a file that does not read. */
constexpr const char* noValidXml = "File contains no valid XML!";

/** The most bytes a scheme may have: JUCE's text decoding counts in int. */
constexpr juce::int64 maxSize = std::numeric_limits<int>::max();

/** Fails, saying why, when a file of this size cannot hold a scheme. */
juce::Result refusalForSize (juce::int64 size);

/** Fills the empty model from the bytes (see SchemeReader::read). Fails,
    saying why they do not open, with the model then empty. */
juce::Result read (juce::MemoryBlock bytes, SchemeModel& model, SchemeReader::ReadObserver* observer = nullptr);
} // namespace SchemeBytes
