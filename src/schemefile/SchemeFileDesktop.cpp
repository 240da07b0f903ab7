#include "schemefile/SchemeFile.h"

#include "schemefile/AtomicFileReplace.h"
#include "schemefile/SchemeBytes.h"
#include "schemefile/SchemeReader.h"
#include "schemefile/SchemeWriter.h"

namespace SchemeFile
{
bool readFileBytes (const juce::File& file, juce::MemoryBlock& bytes, juce::String* systemReason)
{
    if (! file.existsAsFile())
        return false;

    juce::FileInputStream in (file);

    if (in.openedOk())
    {
        // One read into a block of the file's size, which the reader then
        // parses in place. A size the system would not tell reads as 0: then
        // the file is read to its end.
        const auto size = in.getTotalLength();

        if (size > SchemeBytes::maxSize)
            return false;

        if (size > 0)
        {
            bytes.setSize ((size_t) size);
            int got = 0;

            while (got < (int) size)
            {
                const auto n = in.read (static_cast<char*> (bytes.getData()) + got, (int) size - got);

                if (n <= 0)
                    break;

                got += n;
            }

            bytes.setSize ((size_t) got);
        }
        else
        {
            bytes.reset();
            in.readIntoMemoryBlock (bytes);
        }
    }

    if (in.getStatus().failed())
    {
        if (systemReason != nullptr)
            *systemReason = in.getStatus().getErrorMessage().trim();

        return false;
    }

    // An empty file is no document.
    return ! bytes.isEmpty() && (juce::int64) bytes.getSize() <= SchemeBytes::maxSize;
}

bool readSchemeFile (const juce::File& file, SchemeModel& model)
{
    juce::MemoryBlock bytes;
    return readFileBytes (file, bytes) && SchemeReader::read (std::move (bytes), model);
}

AtomicFileReplace::Result writeSchemeFile (const juce::File& file, const SchemeModel& model)
{
    const auto bytes = SchemeWriter::write (model);
    return AtomicFileReplace::replace (file, bytes.data(), bytes.size());
}
} // namespace SchemeFile
