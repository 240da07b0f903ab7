#include "containers/ColourName.h"

#include <utility>

ColourName::ColourName (const juce::String& text)
    : owned (text),
      bytes (owned.toRawUTF8()),
      numBytes (owned.getNumBytesAsUTF8())
{
}

ColourName::ColourName (const char* utf8)
    : ColourName (juce::String::fromUTF8 (utf8))
{
}

ColourName::ColourName (const ColourName& other)
    : ColourName (other.toString())
{
}

ColourName& ColourName::operator= (const ColourName& other)
{
    if (this != &other)
    {
        owned = other.toString();
        bytes = owned.toRawUTF8();
        numBytes = owned.getNumBytesAsUTF8();
    }

    return *this;
}

ColourName::ColourName (ColourName&& other) noexcept
    : owned (std::move (other.owned)),
      bytes (other.bytes),
      numBytes (other.numBytes)
{
    other.bytes = "";
    other.numBytes = 0;
}

ColourName& ColourName::operator= (ColourName&& other) noexcept
{
    if (this != &other)
    {
        // A String keeps its bytes where they are when it moves, so bytes stays valid.
        owned = std::move (other.owned);
        bytes = std::exchange (other.bytes, "");
        numBytes = std::exchange (other.numBytes, (size_t) 0);
    }

    return *this;
}

ColourName ColourName::referringTo (const char* utf8, size_t numBytes) noexcept
{
    return ColourName (utf8, numBytes);
}

juce::String ColourName::toString() const
{
    // An owned name's String shares its bytes; only a referring one is copied.
    if (bytes == owned.toRawUTF8() || numBytes == 0)
        return owned;

    return juce::String::fromUTF8 (bytes, (int) numBytes);
}

juce::String ColourName::toString (int maxCharacters) const
{
    return juce::String (juce::CharPointer_UTF8 (bytes), (size_t) juce::jmax (0, maxCharacters));
}
