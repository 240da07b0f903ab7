#include "schemefile/SchemeBytes.h"

namespace SchemeBytes
{
juce::String refusalForSize (juce::int64 size)
{
    if (size == 0)
        return juce::String ("is empty: ") + noValidXml;

    if (size > maxSize)
        return "is too large (2 GB or more)";

    return {};
}

juce::String read (juce::MemoryBlock bytes, SchemeModel& model, SchemeReader::ReadObserver* observer)
{
    const auto why = refusalForSize ((juce::int64) bytes.getSize());

    if (why.isNotEmpty())
        return why;

    if (! SchemeReader::read (std::move (bytes), model, observer))
        return juce::String (noValidXml) + " (not a well-formed XML document with a root element)";

    return {};
}
} // namespace SchemeBytes
