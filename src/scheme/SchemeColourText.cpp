#include "SchemeColourText.h"

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
        auto digit = juce::CharacterFunctions::getHexDigitValue ((juce::juce_wchar) (juce::uint8) *utf8);
        if (digit >= 0)
            argb = (argb << 4) | (juce::uint32) digit;
    }

    return juce::Colour (argb);
}
} // namespace SchemeColourText
