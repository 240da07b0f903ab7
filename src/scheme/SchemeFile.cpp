#include "SchemeFile.h"

#include "AtomicFileReplace.h"
#include "SchemeReader.h"
#include "SchemeWriter.h"

#include <limits>

namespace SchemeFile
{
bool readSchemeFile (const juce::File& file, SchemeModel& model)
{
    juce::MemoryBlock bytes;

    // JUCE's text decoding counts in int.
    if (! file.existsAsFile() || ! file.loadFileAsData (bytes) || bytes.getSize() > (size_t) std::numeric_limits<int>::max())
        return false;

    return SchemeReader::read (std::move (bytes), model);
}

bool writeSchemeFile (const juce::File& file, const SchemeModel& model)
{
    const auto bytes = SchemeWriter::write (model);
    return AtomicFileReplace::replace (file, bytes.data(), bytes.size());
}
} // namespace SchemeFile
