#include "schemefile/SchemeColourText.h"

namespace SchemeColourText
{
juce::String toText (juce::Colour colour)
{
    char text[maxTextLength + 1];
    writeText (colour, text);
    return text;
}

int writeText (juce::Colour colour, char (&text)[maxTextLength + 1])
{
    auto argb = colour.getARGB();
    auto length = 1;

    while (length < maxTextLength && (argb >> (4 * length)) != 0)
        ++length;

    for (auto i = length; --i >= 0; argb >>= 4)
        text[i] = "0123456789abcdef"[argb & 15];

    text[length] = 0;
    return length;
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
