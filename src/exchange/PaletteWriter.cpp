#include "exchange/JsonText.h"
#include "exchange/Palette.h"

#include <map>
#include <set>

namespace Palette
{
namespace
{
    juce::String twoDigits (juce::uint8 value) { return juce::String::toHexString ((int) value).paddedLeft ('0', 2); }

    /** #rrggbb, or #rrggbbaa below full alpha (alpha last, as CSS writes it). */
    juce::String hexColour (juce::Colour c)
    {
        auto text = "#" + twoDigits (c.getRed()) + twoDigits (c.getGreen()) + twoDigits (c.getBlue());
        return c.getAlpha() == 0xff ? text : text + twoDigits (c.getAlpha());
    }

    /** A name on one line: backslash and control characters escaped (\\ \n \r
        \t \u00XX), everything else as it is, so that every name reads back. */
    juce::String gimpName (const juce::String& name)
    {
        juce::String out;

        for (auto p = name.getCharPointer(); ! p.isEmpty();)
        {
            const auto c = p.getAndAdvance();

            if (c == '\\')
                out << "\\\\";
            else if (c == '\n')
                out << "\\n";
            else if (c == '\r')
                out << "\\r";
            else if (c == '\t')
                out << "\\t";
            else if (c < 0x20 || c == 0x7f)
                out << "\\u" << juce::String::toHexString ((int) c).paddedLeft ('0', 4);
            else
                out += juce::String::charToString (c);
        }

        return out;
    }

    juce::String gimpPalette (const SchemeModel& model, const juce::String& title)
    {
        juce::MemoryOutputStream out;
        out << "GIMP Palette\nName: " << gimpName (title) << "\nColumns: 0\n#\n";

        for (int i = 0; i < model.getNumColours(); ++i)
        {
            const auto* colour = model.getColour (i);

            // As GIMP writes them: the channels right-aligned, a tab, the name.
            out << juce::String (colour->colour.getRed()).paddedLeft (' ', 3) << " " << juce::String (colour->colour.getGreen()).paddedLeft (' ', 3)
                << " " << juce::String (colour->colour.getBlue()).paddedLeft (' ', 3) << "\t" << gimpName (colour->name.toString()) << "\n";
        }

        return out.toUTF8();
    }

    /** A custom property's name: letters, digits, - and _ (and anything beyond
        ASCII) as they are, everything else escaped, so the name reads back
        exactly. */
    juce::String cssName (const juce::String& name)
    {
        juce::String out ("--");

        for (auto p = name.getCharPointer(); ! p.isEmpty();)
        {
            const auto c = p.getAndAdvance();

            if (juce::CharacterFunctions::isLetterOrDigit (c) || c == '-' || c == '_' || c >= 0x80)
                out += juce::String::charToString (c);
            else if (c < 0x20 || c == 0x7f)
                out << "\\" << juce::String::toHexString ((int) c) << " ";
            else
                out << "\\" << juce::String::charToString (c);
        }

        return out;
    }

    // An empty name is written as the bare "--", which browsers ignore but which reads back.
    juce::String cssProperties (const SchemeModel& model, const juce::String& title)
    {
        juce::MemoryOutputStream out;
        out << "/* " << title.replace ("*/", "* /").removeCharacters ("\r\n") << " */\n:root {\n";

        for (int i = 0; i < model.getNumColours(); ++i)
        {
            const auto* colour = model.getColour (i);
            out << "  " << cssName (colour->name.toString()) << ": " << hexColour (colour->colour) << ";\n";
        }

        out << "}\n";
        return out.toUTF8();
    }

    /** Token and group names may not be empty, start with $, hold { } or .,
        or repeat in one group. A name that cannot be a key as it is gets a key
        of its own, the name kept in the token's extensions. */
    struct TokenKeys
    {
        std::set<juce::String> used;

        juce::String keyFor (const juce::String& name)
        {
            auto base = name.isEmpty() ? juce::String ("(no name)") : name.replaceCharacters ("{}.", "()_");

            if (base.startsWithChar ('$'))
                base = "_" + base;

            auto key = base;

            for (int n = 2; ! used.insert (key).second; ++n)
                key = base + " (" + juce::String (n) + ")";

            return key;
        }
    };

    juce::String extensionFor (const juce::String& name, const juce::String& key)
    {
        return key == name ? juce::String() : ", \"$extensions\": { \"" + juce::String (tokenNameExtension) + "\": { \"name\": " + JsonText::quoted (name) + " } }";
    }

    juce::String designTokens (const SchemeModel& model)
    {
        TokenKeys colourKeys;
        std::map<const SchemeColour*, juce::String> keyOf;
        juce::MemoryOutputStream out;
        out << "{\n  \"colours\": {";

        for (int i = 0; i < model.getNumColours(); ++i)
        {
            const auto* colour = model.getColour (i);
            const auto name = colour->name.toString();
            const auto key = colourKeys.keyFor (name);
            keyOf[colour] = key;

            out << (i > 0 ? ",\n" : "\n") << "    " << JsonText::quoted (key) << ": { \"$type\": \"color\", \"$value\": \""
                << hexColour (colour->colour) << "\"" << extensionFor (name, key) << " }";
        }

        out << (model.getNumColours() > 0 ? "\n  },\n" : "},\n") << "  \"groups\": {";
        TokenKeys groupKeys;

        for (int g = 0; g < model.getNumGroups(); ++g)
        {
            const auto& group = *model.getGroup (g);
            const auto groupKey = groupKeys.keyFor (group.getName());
            out << (g > 0 ? ",\n" : "\n") << "    " << JsonText::quoted (groupKey) << ": {";

            if (groupKey != group.getName())
                out << "\n      \"$extensions\": { \"" << tokenNameExtension << "\": { \"name\": " << JsonText::quoted (group.getName()) << " } }"
                    << (group.getNumMembers() > 0 ? "," : "");

            // Members refer to the colour tokens, so a tool that changes a colour changes it everywhere.
            TokenKeys memberKeys;

            for (int m = 0; m < group.getNumMembers(); ++m)
            {
                const auto& colour = group.getMember (m)->getSchemeColour();
                const auto name = colour.name.toString();
                const auto key = memberKeys.keyFor (name);
                out << (m > 0 ? ",\n" : "\n") << "      " << JsonText::quoted (key) << ": { \"$type\": \"color\", \"$value\": "
                    << JsonText::quoted ("{colours." + keyOf[&colour] + "}") << extensionFor (name, key) << " }";
            }

            out << (group.getNumMembers() > 0 || groupKey != group.getName() ? "\n    }" : "}");
        }

        out << (model.getNumGroups() > 0 ? "\n  }\n}\n" : "}\n}\n");
        return out.toUTF8();
    }
} // namespace

juce::String write (const SchemeModel& model, Format format, const juce::String& title)
{
    switch (format)
    {
        case Format::css:
            return cssProperties (model, title);
        case Format::tokens:
            return designTokens (model);
        case Format::gpl:
        default:
            return gimpPalette (model, title);
    }
}
} // namespace Palette
