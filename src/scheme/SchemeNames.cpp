#include "scheme/SchemeNames.h"

namespace SchemeNames
{
namespace
{
    bool isSurrogate (juce::uint32 c) noexcept { return c >= 0xd800 && c <= 0xdfff; }

    juce::String codePoint (juce::uint32 c)
    {
        return "U+" + juce::String::toHexString ((int) c).toUpperCase().paddedLeft ('0', 4);
    }

    juce::String loneSurrogate (juce::uint32 c)
    {
        return "the name holds a lone surrogate (" + codePoint (c) + "), which is not a character: a name must be valid Unicode";
    }

    const char* const nul = "the name holds a NUL character (U+0000), which no scheme file can hold";

    // One code point in UTF-8, surrogates written as any other (as JUCE's strings hold them).
    void appendUtf8 (std::string& out, juce::uint32 c)
    {
        if (c < 0x80)
        {
            out += (char) c;
            return;
        }

        const auto extra = c < 0x800 ? 1 : c < 0x10000 ? 2
                                                       : 3;
        out += (char) ((0xff << (7 - extra)) | (c >> (6 * extra)));

        for (auto shift = 6 * (extra - 1); shift >= 0; shift -= 6)
            out += (char) (0x80 | ((c >> shift) & 0x3f));
    }
} // namespace

juce::String refusalFor (const juce::String& text)
{
    for (auto p = text.getCharPointer(); ! p.isEmpty();)
    {
        const auto c = (juce::uint32) p.getAndAdvance();

        if (isSurrogate (c))
            return loneSurrogate (c);
    }

    return {};
}

Typed fromUtf8 (const char* bytes, size_t numBytes)
{
    const auto* in = reinterpret_cast<const juce::uint8*> (bytes);
    juce::String refusal;

    // Checked strictly (no overlong forms, nothing past U+10FFFF), so that the
    // text holds exactly the characters the bytes say.
    for (size_t i = 0; i < numBytes;)
    {
        const juce::uint32 lead = in[i];
        const auto extra = lead < 0x80 ? 0 : (lead & 0xe0) == 0xc0 ? 1
                                         : (lead & 0xf0) == 0xe0   ? 2
                                         : (lead & 0xf8) == 0xf0   ? 3
                                                                   : -1;
        auto c = extra <= 0 ? lead : lead & (0x3fu >> extra); // no shift for a byte that starts nothing
        auto valid = extra >= 0 && i + (size_t) extra < numBytes;

        for (auto k = 1; valid && k <= extra; ++k)
        {
            valid = (in[i + (size_t) k] & 0xc0) == 0x80;
            c = (c << 6) | (in[i + (size_t) k] & 0x3f);
        }

        static constexpr juce::uint32 smallest[] = { 0, 0x80, 0x800, 0x10000 };

        if (! valid || c < smallest[extra] || c > 0x10ffff)
            return { {}, "the name is not UTF-8 text (byte " + juce::String ((juce::int64) i + 1) + " of " + juce::String ((juce::int64) numBytes) + ")" };

        if (c == 0)
            return { {}, nul };

        if (isSurrogate (c) && refusal.isEmpty())
            refusal = loneSurrogate (c);

        i += (size_t) juce::jmax (0, extra) + 1;
    }

    return { juce::String::fromUTF8 (bytes, (int) numBytes), refusal };
}

Typed fromUtf16 (const char16_t* units, size_t numUnits)
{
    std::string utf8;
    utf8.reserve (numUnits);
    juce::String refusal;

    for (size_t i = 0; i < numUnits; ++i)
    {
        juce::uint32 c = units[i];

        if (c >= 0xd800 && c < 0xdc00 && i + 1 < numUnits && units[i + 1] >= 0xdc00 && units[i + 1] < 0xe000)
            c = 0x10000 + ((c - 0xd800) << 10) + (juce::uint32) (units[++i] - 0xdc00);
        else if (c == 0)
            return { {}, nul };
        else if (isSurrogate (c) && refusal.isEmpty())
            refusal = loneSurrogate (c);

        appendUtf8 (utf8, c);
    }

    return { juce::String::fromUTF8 (utf8.data(), (int) utf8.size()), refusal };
}
} // namespace SchemeNames
