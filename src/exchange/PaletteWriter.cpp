#include "exchange/JsonText.h"
#include "exchange/Palette.h"

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

    bool hasLineBreak (const juce::String& name) { return name.containsAnyOf ("\r\n"); }

    juce::String gimpPalette (const SchemeModel& model, const juce::String& title, juce::String& whyNot)
    {
        juce::MemoryOutputStream out;
        out << "GIMP Palette\nName: " << title.removeCharacters ("\r\n") << "\nColumns: 0\n#\n";

        for (int i = 0; i < model.getNumColours(); ++i)
        {
            const auto* colour = model.getColour (i);
            const auto name = colour->name.toString();

            if (hasLineBreak (name))
            {
                whyNot = "the colour name " + JsonText::quoted (name) + " holds a line break, which a GIMP palette cannot";
                return {};
            }

            // As GIMP writes them: the channels right-aligned, a tab, the name as it is.
            out << juce::String (colour->colour.getRed()).paddedLeft (' ', 3) << " " << juce::String (colour->colour.getGreen()).paddedLeft (' ', 3)
                << " " << juce::String (colour->colour.getBlue()).paddedLeft (' ', 3) << "\t" << name << "\n";
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

    juce::String cssProperties (const SchemeModel& model, const juce::String& title, juce::String& whyNot)
    {
        juce::MemoryOutputStream out;
        out << "/* " << title.replace ("*/", "* /").removeCharacters ("\r\n") << " */\n:root {\n";

        for (int i = 0; i < model.getNumColours(); ++i)
        {
            const auto* colour = model.getColour (i);

            if (colour->name.toString().isEmpty())
            {
                whyNot = "a colour has an empty name, which a CSS custom property cannot have";
                return {};
            }

            out << "  " << cssName (colour->name.toString()) << ": " << hexColour (colour->colour) << ";\n";
        }

        out << "}\n";
        return out.toUTF8();
    }

    /** Why the name cannot be a token's or a token group's; empty when it can. */
    juce::String tokenNameProblem (const juce::String& name)
    {
        if (name.isEmpty())
            return "is empty";

        if (name.startsWithChar ('$'))
            return "starts with $";

        if (name.containsAnyOf ("{}."))
            return "holds { } or .";

        return {};
    }

    juce::String designTokens (const SchemeModel& model, juce::String& whyNot)
    {
        std::set<juce::String> names;
        juce::MemoryOutputStream out;
        out << "{\n  \"colours\": {";

        for (int i = 0; i < model.getNumColours(); ++i)
        {
            const auto name = model.getColour (i)->name.toString();
            const auto problem = tokenNameProblem (name);

            if (problem.isNotEmpty() || ! names.insert (name).second)
            {
                whyNot = "the colour name " + JsonText::quoted (name) + (problem.isNotEmpty() ? " " + problem : juce::String (" is used more than once")) + ", which design token names cannot";
                return {};
            }

            out << (i > 0 ? ",\n" : "\n") << "    " << JsonText::quoted (name) << ": { \"$type\": \"color\", \"$value\": \""
                << hexColour (model.getColour (i)->colour) << "\" }";
        }

        out << (model.getNumColours() > 0 ? "\n  },\n" : "},\n") << "  \"groups\": {";
        std::set<juce::String> groupNames;

        for (int g = 0; g < model.getNumGroups(); ++g)
        {
            const auto& group = *model.getGroup (g);
            const auto problem = tokenNameProblem (group.getName());

            if (problem.isNotEmpty() || ! groupNames.insert (group.getName()).second)
            {
                whyNot = "the group name " + JsonText::quoted (group.getName()) + (problem.isNotEmpty() ? " " + problem : juce::String (" is used more than once")) + ", which design token group names cannot";
                return {};
            }

            out << (g > 0 ? ",\n" : "\n") << "    " << JsonText::quoted (group.getName()) << ": {";

            // Members refer to the colour tokens, so a tool that changes a colour changes it everywhere.
            for (int m = 0; m < group.getNumMembers(); ++m)
            {
                const auto name = group.getMember (m)->getSchemeColour().name.toString();
                out << (m > 0 ? ",\n" : "\n") << "      " << JsonText::quoted (name) << ": { \"$type\": \"color\", \"$value\": "
                    << JsonText::quoted ("{colours." + name + "}") << " }";
            }

            out << (group.getNumMembers() > 0 ? "\n    }" : "}");
        }

        out << (model.getNumGroups() > 0 ? "\n  }\n}\n" : "}\n}\n");
        return out.toUTF8();
    }
} // namespace

juce::String write (const SchemeModel& model, Format format, const juce::String& title, juce::String& whyNot)
{
    switch (format)
    {
        case Format::css:
            return cssProperties (model, title, whyNot);
        case Format::tokens:
            return designTokens (model, whyNot);
        case Format::gpl:
        default:
            return gimpPalette (model, title, whyNot);
    }
}
} // namespace Palette
