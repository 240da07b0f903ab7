#include "exchange/Palette.h"

namespace Palette
{
namespace
{
    int hexDigit (juce::juce_wchar c) noexcept { return juce::CharacterFunctions::getHexDigitValue (c); }

    /** #rgb, #rgba, #rrggbb or #rrggbbaa (alpha last); nothing for anything else. */
    std::optional<juce::Colour> parseHex (const juce::String& text)
    {
        if (! text.startsWithChar ('#'))
            return std::nullopt;

        const auto digits = text.substring (1);
        const auto length = digits.length();

        if ((length != 3 && length != 4 && length != 6 && length != 8) || ! digits.containsOnly ("0123456789abcdefABCDEF"))
            return std::nullopt;

        const auto channel = [&] (int i) -> juce::uint8
        {
            if (length <= 4)
                return (juce::uint8) (hexDigit (digits[i]) * 17);

            return (juce::uint8) (hexDigit (digits[2 * i]) * 16 + hexDigit (digits[2 * i + 1]));
        };

        const auto hasAlpha = length == 4 || length == 8;
        return juce::Colour (channel (0), channel (1), channel (2), hasAlpha ? channel (3) : (juce::uint8) 0xff);
    }

    //==============================================================================
    /** Undoes the escapes the writer adds (\\ \n \r \t \u00XX); any other
        backslash, as a hand-made palette may hold, stays as it is. */
    juce::String unescapeGimp (const juce::String& text)
    {
        if (! text.containsChar ('\\'))
            return text;

        juce::String out;

        for (auto p = text.getCharPointer(); ! p.isEmpty();)
        {
            const auto c = p.getAndAdvance();
            const auto next = *p;

            if (c != '\\' || ! (next == '\\' || next == 'n' || next == 'r' || next == 't' || next == 'u'))
            {
                out += juce::String::charToString (c);
                continue;
            }

            if (next == 'u')
            {
                auto digits = p;
                ++digits;
                int code = 0, count = 0;

                for (; count < 4 && hexDigit (*digits) >= 0; ++count)
                    code = code * 16 + hexDigit (digits.getAndAdvance());

                if (count < 4 || code == 0)
                {
                    out += juce::String::charToString (c);
                    continue;
                }

                out += juce::String::charToString ((juce::juce_wchar) code);
                p = digits;
                continue;
            }

            ++p;
            out += next == 'n' ? "\n" : next == 'r' ? "\r"
                                    : next == 't'   ? "\t"
                                                    : "\\";
        }

        return out;
    }

    Read gimpPalette (const juce::StringArray& lines)
    {
        Read result { Format::gpl, {}, {}, {} };

        for (int i = 1; i < lines.size(); ++i)
        {
            const auto& line = lines[i];
            const auto trimmed = line.trim();

            if (trimmed.isEmpty() || trimmed.startsWithChar ('#') || trimmed.startsWith ("Name:") || trimmed.startsWith ("Columns:"))
                continue;

            auto p = line.getCharPointer();
            int channels[3];

            for (auto& channel : channels)
            {
                p.incrementToEndOfWhitespace();
                auto start = p;
                int value = 0, digits = 0;

                while (p.isDigit() && digits < 4)
                {
                    value = value * 10 + (int) (*p - '0');
                    ++p;
                    ++digits;
                }

                if (p == start || value > 255 || ! (p.isEmpty() || p.isWhitespace()))
                {
                    result.error = "line " + juce::String (i + 1) + ": expected red, green and blue from 0 to 255, then a name";
                    return result;
                }

                channel = value;
            }

            // GIMP separates the name with a tab; a name after spaces is taken without them.
            if (*p == '\t')
                ++p;
            else
                p.incrementToEndOfWhitespace();

            result.entries.push_back ({ unescapeGimp (juce::String (p)), juce::Colour ((juce::uint8) channels[0], (juce::uint8) channels[1], (juce::uint8) channels[2]) });
        }

        return result;
    }

    //==============================================================================
    /** A custom property's name with CSS escapes undone. */
    juce::String unescapeCss (const juce::String& text)
    {
        juce::String out;

        for (auto p = text.getCharPointer(); ! p.isEmpty();)
        {
            auto c = p.getAndAdvance();

            if (c != '\\' || p.isEmpty())
            {
                out += juce::String::charToString (c);
                continue;
            }

            if (hexDigit (*p) < 0)
            {
                out += juce::String::charToString (p.getAndAdvance());
                continue;
            }

            juce::uint32 code = 0;

            for (int digits = 0; digits < 6 && hexDigit (*p) >= 0; ++digits)
                code = code * 16 + (juce::uint32) hexDigit (p.getAndAdvance());

            if (p.isWhitespace())
                ++p;

            out += juce::String::charToString (code == 0 || code > 0x10ffff ? (juce::juce_wchar) 0xfffd : (juce::juce_wchar) code);
        }

        return out;
    }

    /** Blanks before the colon end the name, unless escaped ("--a\\ : ..." is "a "). */
    juce::String trimUnescapedEnd (juce::String text)
    {
        while (text.isNotEmpty() && juce::CharacterFunctions::isWhitespace (text.getLastCharacter())
               && ! text.dropLastCharacters (1).endsWithChar ('\\'))
            text = text.dropLastCharacters (1);

        return text;
    }

    Read cssProperties (const juce::String& text)
    {
        Read result { Format::css, {}, {}, {} };
        auto line = 1;
        auto p = text.getCharPointer();
        juce::juce_wchar previous = ';'; // the last character outside comments and blanks

        const auto advance = [&]
        {
            if (*p == '\n')
                ++line;
            ++p;
        };

        while (! p.isEmpty())
        {
            if (*p == '/' && p[1] == '*')
            {
                const auto startLine = line;
                advance();
                advance();

                while (! p.isEmpty() && ! (*p == '*' && p[1] == '/'))
                    advance();

                if (p.isEmpty())
                {
                    result.error = "line " + juce::String (startLine) + ": a comment is not closed";
                    return result;
                }

                advance();
                advance();
                continue;
            }

            if ((previous == ';' || previous == '{') && *p == '-' && p[1] == '-')
            {
                const auto startLine = line;
                const auto nameStart = p;

                while (! p.isEmpty() && *p != ':' && *p != ';' && *p != '}')
                {
                    if (*p == '\\' && p[1] != 0)
                        advance();
                    advance();
                }

                if (*p != ':')
                {
                    result.error = "line " + juce::String (startLine) + ": a custom property without a value";
                    return result;
                }

                const auto name = unescapeCss (trimUnescapedEnd (juce::String (nameStart, p)).substring (2));
                advance();
                const auto valueStart = p;

                while (! p.isEmpty() && *p != ';' && *p != '}')
                    advance();

                const auto value = juce::String (valueStart, p).trim();
                previous = *p == '}' ? '}' : ';';

                if (! p.isEmpty() && *p == ';')
                    advance();

                if (const auto colour = parseHex (value))
                    result.entries.push_back ({ name, *colour });
                else if (value.startsWithChar ('#'))
                {
                    result.error = "line " + juce::String (startLine) + ": --" + name + ": " + value + " is no colour (#rgb, #rrggbb or #rrggbbaa)";
                    return result;
                }
                else
                    result.skipped.add (name);

                continue;
            }

            if (! p.isWhitespace())
                previous = *p;

            advance();
        }

        if (result.entries.empty() && result.skipped.isEmpty())
            result.error = "holds no custom properties (--name: #rrggbb;)";

        return result;
    }

    //==============================================================================
    std::optional<juce::Colour> tokenColour (const juce::var& value)
    {
        if (value.isString())
            return parseHex (value.toString());

        // The newer object form: { "colorSpace": "srgb", "components": [r, g, b], "alpha": a, "hex": "#rrggbb" }.
        if (auto* object = value.getDynamicObject())
        {
            const auto alpha = object->hasProperty ("alpha") ? (double) object->getProperty ("alpha") : 1.0;
            const auto alphaByte = (juce::uint8) juce::roundToInt (juce::jlimit (0.0, 1.0, alpha) * 255);

            if (object->hasProperty ("hex"))
                if (const auto colour = parseHex (object->getProperty ("hex").toString()))
                    return colour->withAlpha (alphaByte);

            const auto components = object->getProperty ("components");

            if (object->getProperty ("colorSpace").toString() == "srgb" && components.isArray() && components.size() == 3)
            {
                const auto channel = [&] (int i)
                { return (juce::uint8) juce::roundToInt (juce::jlimit (0.0, 1.0, (double) components[i]) * 255); };
                return juce::Colour (channel (0), channel (1), channel (2), alphaByte);
            }
        }

        return std::nullopt;
    }

    void collectTokens (const juce::var& node, const juce::String& inheritedType, Read& result)
    {
        auto* object = node.getDynamicObject();

        if (object == nullptr)
            return;

        const auto type = object->hasProperty ("$type") ? object->getProperty ("$type").toString() : inheritedType;

        for (const auto& property : object->getProperties())
        {
            auto name = property.name.toString();

            if (name.startsWithChar ('$'))
                continue;

            auto* child = property.value.getDynamicObject();

            if (child == nullptr)
                continue;

            // A name that could not be the token's key is kept in its extensions.
            const auto kept = child->getProperty ("$extensions")[tokenNameExtension]["name"];

            if (kept.isString())
                name = kept.toString();

            if (! child->hasProperty ("$value"))
            {
                collectTokens (property.value, type, result);

                if (result.error.isNotEmpty())
                    return;

                continue;
            }

            const auto tokenType = child->hasProperty ("$type") ? child->getProperty ("$type").toString() : type;
            const auto value = child->getProperty ("$value");

            // References ({colours.Text}) are the group's view of a colour token, not colours of their own.
            if (value.isString() && value.toString().startsWithChar ('{'))
                continue;

            if (tokenType.isNotEmpty() && tokenType != "color")
            {
                result.skipped.add (name);
                continue;
            }

            if (const auto colour = tokenColour (value))
                result.entries.push_back ({ name, *colour });
            else if (tokenType == "color")
            {
                result.error = "the token " + name.quoted() + " is a colour token whose value is no colour";
                return;
            }
            else
                result.skipped.add (name);
        }
    }

    Read designTokens (const juce::String& text)
    {
        Read result { Format::tokens, {}, {}, {} };
        juce::var root;
        const auto parsed = juce::JSON::parse (text, root);

        if (parsed.failed())
            result.error = "is no valid JSON: " + parsed.getErrorMessage();
        else if (root.getDynamicObject() == nullptr)
            result.error = "holds no design tokens (a JSON object is expected)";
        else
            collectTokens (root, {}, result);

        return result;
    }
} // namespace

Read read (const juce::String& text)
{
    const auto body = text.startsWithChar ((juce::juce_wchar) 0xfeff) ? text.substring (1) : text;
    juce::StringArray lines;
    lines.addLines (body);

    if (lines.size() > 0 && lines[0].trim() == "GIMP Palette")
        return gimpPalette (lines);

    if (body.trimStart().startsWithChar ('{') || body.trimStart().startsWithChar ('['))
        return designTokens (body);

    if (body.contains ("--"))
        return cssProperties (body);

    Read unknown;
    unknown.error = "is no GIMP palette, CSS custom properties or design tokens file";
    return unknown;
}
} // namespace Palette
