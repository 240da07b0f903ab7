#include "schemefile/SchemeColourText.h"

namespace SchemeColourText
{
juce::String toText (juce::Colour colour)
{
    return juce::String::toHexString ((int) colour.getARGB());
}

juce::Colour fromText (const char* utf8)
{
    juce::uint32 argb = 0;

    // Bytes of a multi-byte character are all >= 0x80, never hex digits.
    for (; *utf8 != 0; ++utf8)
    {
        auto c = *utf8;

        if (c >= '0' && c <= '9')
            argb = (argb << 4) | (juce::uint32) (c - '0');
        else if ((c | 0x20) >= 'a' && (c | 0x20) <= 'f')
            argb = (argb << 4) | (juce::uint32) ((c | 0x20) - 'a' + 10);
    }

    return juce::Colour (argb);
}
} // namespace SchemeColourText
