#pragma once

#include "scheme/SchemeModel.h"
#include "schemefile/AtomicFileReplace.h"
#include "schemefile/SchemeReader.h"

/** Scheme files on disk, for the document and the command line: reading
    (SchemeReader), writing (SchemeWriter) and replacing the file as a whole
    (AtomicFileReplace). A failure's message follows the file's name:
    "PATH: no such file". */
namespace SchemeFile
{
/** The file's bytes, as reading a scheme takes them (none when it is empty).
    Fails when it is no file, a system call failed ("cannot be read: " and
    the system's words), or it is too large to decode (2 GB and more). */
juce::Result readFileBytes (const juce::File& file, juce::MemoryBlock& bytes);

/** Fills an empty model (and tells the observer) from the file as the window
    opens it; bytesRead, if given, receives the file's bytes. Fails, with the
    model empty, when the bytes do not read or open (SchemeBytes::read). */
juce::Result readSchemeFile (const juce::File& file,
                             SchemeModel& model,
                             SchemeReader::ReadObserver* observer = nullptr,
                             juce::MemoryBlock* bytesRead = nullptr);

/** Writes the model to the file, replacing it as a whole (see AtomicFileReplace). */
AtomicFileReplace::Result writeSchemeFile (const juce::File& file, const SchemeModel& model);
} // namespace SchemeFile
