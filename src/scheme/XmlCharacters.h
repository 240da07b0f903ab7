#pragma once

/** Character classes of XML text as JUCE's reader sees them, for the code that
    reads or checks scheme text byte by byte (ASCII only: past 0x80 JUCE asks
    the C library's locale, so callers refuse or give up there). */
namespace XmlCharacters
{
inline bool isSpace (char c) noexcept { return c == ' ' || (c >= 9 && c <= 13); }

/** The ASCII part of JUCE's XML name characters. */
inline bool isNameChar (char c) noexcept
{
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '_' || c == '-'
           || c == ':' || c == '.';
}

inline int hexDigitValue (char c) noexcept
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

inline bool startsWithIgnoringCase (const char* text, const char* lowerCasePrefix) noexcept
{
    for (; *lowerCasePrefix != 0; ++text, ++lowerCasePrefix)
    {
        auto c = *text;
        if (c >= 'A' && c <= 'Z')
            c = (char) (c - 'A' + 'a');
        if (c != *lowerCasePrefix)
            return false;
    }
    return true;
}
} // namespace XmlCharacters
