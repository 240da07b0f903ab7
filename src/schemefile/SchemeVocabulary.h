#pragma once

/** The element and attribute names of a scheme file, as the writer spells
    them; the reader accepts them in any letter case. */
namespace SchemeVocabulary
{
constexpr const char* schemeTag = "COLOURS";
constexpr const char* colourTag = "COLOUR";
constexpr const char* groupListTag = "COLOURGROUPS";
constexpr const char* groupTag = "COLOURGROUP";
constexpr const char* nameAttribute = "name";
constexpr const char* colourAttribute = "colour";

/** ASCII letters only, so no locale can make "ſ" match "S". */
inline bool isName (const char* text, const char* name) noexcept
{
    for (;; ++text, ++name)
    {
        auto a = *text, b = *name;
        if (a >= 'a' && a <= 'z')
            a = (char) (a - 'a' + 'A');
        if (b >= 'a' && b <= 'z')
            b = (char) (b - 'a' + 'A');
        if (a != b)
            return false;
        if (a == 0)
            return true;
    }
}
} // namespace SchemeVocabulary
