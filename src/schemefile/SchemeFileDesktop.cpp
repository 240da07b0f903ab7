#include "schemefile/SchemeFile.h"

#include "schemefile/AtomicFileReplace.h"
#include "schemefile/SchemeBytes.h"
#include "schemefile/SchemeReader.h"
#include "schemefile/SchemeWriter.h"

namespace SchemeFile
{
bool readFileBytes (const juce::File& file, juce::MemoryBlock& bytes)
{
    if (! file.existsAsFile())
        return false;

    // One read into a block of the file's size, which the reader then parses in place.
    juce::FileInputStream in (file);
    const auto size = in.getTotalLength();

    // An empty file is no document.
    if (! in.openedOk() || size <= 0 || size > SchemeBytes::maxSize)
        return false;

    bytes.setSize ((size_t) size);
    return in.read (bytes.getData(), (int) size) == (int) size;
}

bool readSchemeFile (const juce::File& file, SchemeModel& model)
{
    juce::MemoryBlock bytes;
    return readFileBytes (file, bytes) && SchemeReader::read (std::move (bytes), model);
}

AtomicFileReplace::Outcome writeSchemeFile (const juce::File& file, const SchemeModel& model, const AtomicFileReplace::Faults* faults)
{
    const auto bytes = SchemeWriter::write (model);
    return AtomicFileReplace::replace (file, bytes.data(), bytes.size(), faults);
}
} // namespace SchemeFile
