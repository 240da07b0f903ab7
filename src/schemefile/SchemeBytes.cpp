#include "schemefile/SchemeBytes.h"

namespace SchemeBytes
{
juce::Result refusalForSize (juce::int64 size)
{
    if (size == 0)
        return juce::Result::fail (juce::String ("is empty: ") + noValidXml);

    if (size > maxSize)
        return juce::Result::fail ("is too large (2 GB or more)");

    return juce::Result::ok();
}

juce::Result read (juce::MemoryBlock bytes, SchemeModel& model, SchemeReader::ReadObserver* observer)
{
    if (const auto size = refusalForSize ((juce::int64) bytes.getSize()); size.failed())
        return size;

    if (! SchemeReader::read (std::move (bytes), model, observer))
        return juce::Result::fail (juce::String (noValidXml) + " (not a well-formed XML document with a root element)");

    return juce::Result::ok();
}
} // namespace SchemeBytes
