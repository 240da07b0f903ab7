#include "schemefile/SchemeFile.h"

#include "schemefile/AtomicFileReplace.h"
#include "schemefile/SchemeBytes.h"
#include "schemefile/SchemeReader.h"
#include "schemefile/SchemeWriter.h"

namespace SchemeFile
{
juce::Result readFileBytes (const juce::File& file, juce::MemoryBlock& bytes)
{
    if (file.isDirectory())
        return juce::Result::fail ("is a folder, not a file");

    if (! file.existsAsFile())
        return juce::Result::fail ("no such file");

    juce::FileInputStream in (file);

    if (in.openedOk())
    {
        // One read into a block of the file's size, which the reader then
        // parses in place. A size the system would not tell reads as 0: then
        // the file is read to its end.
        const auto size = in.getTotalLength();

        if (size > SchemeBytes::maxSize)
            return SchemeBytes::refusalForSize (size);

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
        return juce::Result::fail ("cannot be read: " + in.getStatus().getErrorMessage().trim());

    // An empty file reads as no bytes; read to its end, one whose size the
    // system would not tell may still be too large.
    return bytes.isEmpty() ? juce::Result::ok() : SchemeBytes::refusalForSize ((juce::int64) bytes.getSize());
}

juce::Result readSchemeFile (const juce::File& file, SchemeModel& model, SchemeReader::ReadObserver* observer, juce::MemoryBlock* bytesRead)
{
    juce::MemoryBlock bytes;
    auto read = readFileBytes (file, bytes);

    if (read.wasOk())
    {
        // An empty block is not copied: JUCE would hand memcpy a null pointer.
        if (bytesRead != nullptr && ! bytes.isEmpty())
            *bytesRead = bytes;

        read = SchemeBytes::read (std::move (bytes), model, observer);
    }

    return read;
}

AtomicFileReplace::Result writeSchemeFile (const juce::File& file, const SchemeModel& model)
{
    const auto bytes = SchemeWriter::write (model);
    return AtomicFileReplace::replace (file, bytes.data(), bytes.size());
}
} // namespace SchemeFile
