#include "schemefile/SchemeWriter.h"

#include "schemefile/SchemeColourText.h"
#include "schemefile/SchemeVocabulary.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <string_view>

namespace SchemeWriter
{
namespace
{
    constexpr int attributeWrapLength = 60;
    constexpr int indentPerLevel = 2;
    constexpr char newLine[] = "\r\n";
    const char* const declaration = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\r\n\r\n\r\n";

    // The ASCII characters an attribute value keeps as they are, by byte
    // (no byte of a multi-byte character is kept).
    const std::array<bool, 256>& keptCharacters()
    {
        static const auto kept = []
        {
            std::array<bool, 256> table {};
            for (int c = 1; c < 128; ++c)
                table[(size_t) c] = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9')
                                    || std::strchr (" .,;:-()_+=?!'#@[]/\\*%~{}", c) != nullptr;
            return table;
        }();

        return kept;
    }

    // The file's bytes, written at a cursor into room made ahead: each piece
    // is a plain copy instead of a call of the string's append, which a line
    // would make a dozen times (slow in WebAssembly above all).
    class Output
    {
    public:
        explicit Output (size_t expectedSize)
        {
            bytes.resize (expectedSize);
            at = bytes.data();
            end = at + bytes.size();
        }

        Output& operator+= (char c)
        {
            *room (1) = c;
            return *this;
        }

        Output& operator+= (std::string_view text) { return append (text.data(), text.size()); }

        // Text known when compiling: a copy of a fixed size, which needs no call.
        template <size_t size>
        Output& operator+= (const char (&text)[size])
        {
            std::memcpy (room (size - 1), text, size - 1);
            return *this;
        }

        forcedinline Output& append (const char* text, size_t length)
        {
            auto* to = room (length);

            if (length > 32)
                std::memcpy (to, text, length);
            else if (length >= 16)
                copyOverlapping<16> (to, text, length);
            else if (length >= 8)
                copyOverlapping<8> (to, text, length);
            else if (length >= 4)
                copyOverlapping<4> (to, text, length);
            else if (length > 0)
            {
                to[0] = text[0];
                to[length / 2] = text[length / 2];
                to[length - 1] = text[length - 1];
            }

            return *this;
        }

        void appendSpaces (size_t count)
        {
            for (; count > spaces.size(); count -= spaces.size())
                append (spaces.data(), spaces.size());

            append (spaces.data(), count);
        }

        std::string take()
        {
            bytes.resize ((size_t) (at - bytes.data()));
            return std::move (bytes);
        }

    private:
        static constexpr std::string_view spaces { "                                " };
        std::string bytes;
        char* at;
        char* end;

        // A piece of Size to 2 * Size bytes as two fixed-size copies that may
        // overlap: plain loads and stores, where a call of memcpy would cost
        // more than the copy.
        template <size_t Size>
        static void copyOverlapping (char* to, const char* from, size_t length)
        {
            std::memcpy (to, from, Size);
            std::memcpy (to + length - Size, from + length - Size, Size);
        }

        char* room (size_t length)
        {
            if ((size_t) (end - at) < length)
            {
                const auto used = (size_t) (at - bytes.data());
                bytes.resize (std::max (2 * bytes.size(), used + length));
                at = bytes.data() + used;
                end = bytes.data() + bytes.size();
            }

            auto* result = at;
            at += length;
            return result;
        }

        JUCE_DECLARE_NON_COPYABLE (Output)
    };

    // An element's start ("    <COLOUR") and an attribute's (' name="'),
    // made once for all the elements and attributes of their kind.
    struct Start
    {
        Start (std::string_view tagName, int level)
            : tag (tagName), indent (level * indentPerLevel), text (std::string ((size_t) indent, ' ') + '<' + std::string (tag)) {}
        std::string_view tag;
        int indent;
        std::string text;
    };

    struct AttributeStart
    {
        explicit AttributeStart (std::string_view name) : text (' ' + std::string (name) + "=\"") {}
        std::string text;
    };

    class ElementWriter
    {
    public:
        ElementWriter (Output& destination, const Start& start)
            : out (destination), tag (start.tag), indent (start.indent)
        {
            out += start.text;
        }

        void attribute (const AttributeStart& name, juce::CharPointer_UTF8 value)
        {
            // Lengths count characters unescaped, so the wrap does not depend on the escaping.
            if (lineLength > attributeWrapLength)
            {
                out += newLine;
                out.appendSpaces ((size_t) indent + tag.size() + 1);
                lineLength = 0;
            }

            out += name.text;
            lineLength += (int) name.text.size() + writeEscaped (value) + 1;
            out += '"';
        }

        /** Ends the start tag before the first child element. */
        void openContent()
        {
            if (! hasContent)
                out += '>';

            hasContent = true;
            out += newLine;
        }

        void close()
        {
            if (! hasContent)
            {
                out += "/>";
                return;
            }

            out += newLine;
            out.appendSpaces ((size_t) indent);
            out += "</";
            out += tag;
            out += '>';
        }

    private:
        Output& out;
        std::string_view tag;
        int indent;
        int lineLength = 0;
        bool hasContent = false;

        int writeEscaped (juce::CharPointer_UTF8 value)
        {
            auto& kept = keptCharacters();
            int numChars = 0;

            for (auto p = value; ! p.isEmpty(); ++numChars)
            {
                // A run of characters kept as they are goes out in one piece
                // (the terminating zero is not kept, nor is any byte of a
                // multi-byte character).
                const auto* run = p.getAddress();
                auto runLength = (size_t) 0;

                while (kept[(unsigned char) run[runLength]])
                    ++runLength;

                if (runLength > 0)
                {
                    out.append (run, runLength);
                    numChars += (int) runLength - 1;
                    p = juce::CharPointer_UTF8 (run + runLength);
                    continue;
                }

                auto c = p.getAndAdvance();

                if (c == '&')
                    out += "&amp;";
                else if (c == '"')
                    out += "&quot;";
                else if (c == '<')
                    out += "&lt;";
                else if (c == '>')
                    out += "&gt;";
                else // CR and LF too, and everything outside ASCII, so any reader gets it back
                    (out += "&#") += std::to_string ((juce::uint32) c) + ';';
            }

            return numChars;
        }
    };
} // namespace

std::string write (const SchemeModel& model)
{
    using namespace SchemeVocabulary;

    auto members = 0;
    for (auto* group : model.getColourGroups())
        members += group->getNumMembers();

    Output out ((size_t) (model.getNumColours() + model.getNumGroups() + members) * 64 + 256);
    out += declaration;

    const Start rootStart (schemeTag, 0), colourStart (colourTag, 1), listStart (groupListTag, 1), groupStart (groupTag, 2), memberStart (colourTag, 3);
    const AttributeStart name (nameAttribute), colourName (colourAttribute);
    ElementWriter root (out, rootStart);

    for (int i = 0; i < model.getNumColours(); ++i)
    {
        auto& colour = *model.getColour (i);
        root.openContent();
        ElementWriter element (out, colourStart);
        element.attribute (name, juce::CharPointer_UTF8 (colour.name.getUtf8()));
        char colourText[SchemeColourText::maxTextLength + 1];
        SchemeColourText::writeText (colour.colour, colourText);
        element.attribute (colourName, juce::CharPointer_UTF8 (colourText));
        element.close();
    }

    root.openContent();
    ElementWriter groupList (out, listStart);

    for (int g = 0; g < model.getNumGroups(); ++g)
    {
        auto& group = *model.getGroup (g);
        groupList.openContent();
        ElementWriter groupElement (out, groupStart);
        groupElement.attribute (name, group.getName().getCharPointer());

        for (int m = 0; m < group.getNumMembers(); ++m)
        {
            groupElement.openContent();
            ElementWriter member (out, memberStart);
            member.attribute (name, juce::CharPointer_UTF8 (group.getMember (m)->getSchemeColour().name.getUtf8()));
            member.close();
        }

        groupElement.close();
    }

    groupList.close();
    root.close();
    out += newLine;
    return out.take();
}
} // namespace SchemeWriter
