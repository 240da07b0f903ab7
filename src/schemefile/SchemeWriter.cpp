#include "schemefile/SchemeWriter.h"

#include "schemefile/SchemeColourText.h"
#include "schemefile/SchemeVocabulary.h"

#include <algorithm>
#include <array>
#include <cstring>

namespace SchemeWriter
{
namespace
{
    constexpr int attributeWrapLength = 60;
    constexpr int indentPerLevel = 2;
    const char* const newLine = "\r\n";
    const char* const declaration = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\r\n\r\n\r\n";

    // The ASCII characters an attribute value keeps as they are.
    const std::array<bool, 128>& keptCharacters()
    {
        static const auto kept = []
        {
            std::array<bool, 128> table {};
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
        explicit Output (size_t expectedSize) { bytes.resize (expectedSize); }

        Output& operator+= (char c)
        {
            *room (1) = c;
            return *this;
        }

        Output& operator+= (const char* text) { return append (text, std::strlen (text)); }
        Output& operator+= (const std::string& text) { return append (text.data(), text.size()); }

        Output& append (const char* text, size_t length)
        {
            std::memcpy (room (length), text, length);
            return *this;
        }

        void append (size_t count, char c) { std::memset (room (count), c, count); }

        std::string take()
        {
            bytes.resize (used);
            return std::move (bytes);
        }

    private:
        std::string bytes;
        size_t used = 0;

        char* room (size_t length)
        {
            if (bytes.size() - used < length)
                bytes.resize (std::max (2 * bytes.size(), used + length));

            auto* at = &bytes[used];
            used += length;
            return at;
        }
    };

    class ElementWriter
    {
    public:
        ElementWriter (Output& destination, const char* tagName, int level)
            : out (destination), tag (tagName), indent (level * indentPerLevel)
        {
            out.append ((size_t) indent, ' ');
            out += '<';
            out += tag;
        }

        void attribute (const char* name, juce::CharPointer_UTF8 value)
        {
            // Lengths count characters unescaped, so the wrap does not depend on the escaping.
            if (lineLength > attributeWrapLength)
            {
                out += newLine;
                out.append ((size_t) indent + std::strlen (tag) + 1, ' ');
                lineLength = 0;
            }

            out += ' ';
            out += name;
            out += "=\"";
            lineLength += (int) std::strlen (name) + writeEscaped (value) + 4;
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
            out.append ((size_t) indent, ' ');
            out += "</";
            out += tag;
            out += '>';
        }

    private:
        Output& out;
        const char* tag;
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

                while ((unsigned char) run[runLength] < 128 && kept[(size_t) run[runLength]])
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

    ElementWriter root (out, schemeTag, 0);

    for (int i = 0; i < model.getNumColours(); ++i)
    {
        auto& colour = *model.getColour (i);
        root.openContent();
        ElementWriter element (out, colourTag, 1);
        element.attribute (nameAttribute, juce::CharPointer_UTF8 (colour.name.getUtf8()));
        element.attribute (colourAttribute, SchemeColourText::toText (colour.colour).getCharPointer());
        element.close();
    }

    root.openContent();
    ElementWriter groupList (out, groupListTag, 1);

    for (int g = 0; g < model.getNumGroups(); ++g)
    {
        auto& group = *model.getGroup (g);
        groupList.openContent();
        ElementWriter groupElement (out, groupTag, 2);
        groupElement.attribute (nameAttribute, group.getName().getCharPointer());

        for (int m = 0; m < group.getNumMembers(); ++m)
        {
            groupElement.openContent();
            ElementWriter member (out, colourTag, 3);
            member.attribute (nameAttribute, juce::CharPointer_UTF8 (group.getMember (m)->getSchemeColour().name.getUtf8()));
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
