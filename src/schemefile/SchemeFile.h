#pragma once

#include "scheme/SchemeModel.h"
#include "schemefile/AtomicFileReplace.h"

/** Scheme files on disk, for the document: reading (SchemeReader), writing
    (SchemeWriter) and replacing the file as a whole (AtomicFileReplace). */
namespace SchemeFile
{
/** The file's bytes, as reading a scheme takes them; false when the file
    cannot be read, is empty, or is too large to decode (2 GB and more).
    When a system call failed, systemReason (if given) receives the system's
    words for why. */
bool readFileBytes (const juce::File& file, juce::MemoryBlock& bytes, juce::String* systemReason = nullptr);

/** Fills an empty model from the file. False, with the model empty, when the
    file cannot be read or is not a well-formed XML document with a root. */
bool readSchemeFile (const juce::File& file, SchemeModel& model);

/** Writes the model to the file, replacing it as a whole (see AtomicFileReplace). */
AtomicFileReplace::Result writeSchemeFile (const juce::File& file, const SchemeModel& model);
} // namespace SchemeFile
