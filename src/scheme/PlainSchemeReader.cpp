#include "PlainSchemeReader.h"

#include "SchemeFile.h"
#include "XmlCharacters.h"

#include <cstring>
#include <string>

namespace SchemeFile
{
namespace
{
    using namespace XmlCharacters;

    bool equalsIgnoringCase (const char* text, size_t length, const char* upperCaseName) noexcept
    {
        for (size_t i = 0; i < length; ++i)
        {
            auto c = text[i];
            if (c >= 'a' && c <= 'z')
                c = (char) (c - 'a' + 'A');
            if (c != upperCaseName[i])
                return false;
        }

        return upperCaseName[length] == 0;
    }

    void appendUtf8 (std::string& out, juce::uint32 c)
    {
        if (c < 0x80)
        {
            out += (char) c;
        }
        else if (c < 0x800)
        {
            out += (char) (0xc0 | (c >> 6));
            out += (char) (0x80 | (c & 0x3f));
        }
        else if (c < 0x10000)
        {
            out += (char) (0xe0 | (c >> 12));
            out += (char) (0x80 | ((c >> 6) & 0x3f));
            out += (char) (0x80 | (c & 0x3f));
        }
        else
        {
            out += (char) (0xf0 | (c >> 18));
            out += (char) (0x80 | ((c >> 12) & 0x3f));
            out += (char) (0x80 | ((c >> 6) & 0x3f));
            out += (char) (0x80 | (c & 0x3f));
        }
    }

    enum class Tag
    {
        colours,
        colour,
        colourGroups,
        colourGroup
    };

    enum class Ending
    {
        empty, // "/>"
        opened, // ">": content and an end tag follow
        unknown // anything else: leave the text to JUCE's parser
    };

    // An attribute value as it stands between its quotes.
    struct RawValue
    {
        const char* start = nullptr;
        const char* end = nullptr;
        bool hasReferences = false;
        bool present = false;
    };

    class Reader
    {
    public:
        Reader (const char* text, SchemeModel& modelToFill) noexcept : p (text), model (modelToFill) {}

        bool read()
        {
            skipSpace();

            if (std::strncmp (p, "<?xml", 5) == 0)
            {
                auto* end = std::strstr (p + 5, "?>");
                if (end == nullptr)
                    return false;
                p = end + 2;
                skipSpace();
            }

            // The root's attributes mean nothing to the scheme, but JUCE would read them.
            auto root = readStartTag (Tag::colours);

            if (root.ending == Ending::unknown)
                return false;

            if (root.ending == Ending::opened
                && ! readContent (root,
                                  [this]
                                  { return isTagStart ("COLOURGROUPS") ? readGroups() : readColour(); }))
                return false;

            // JUCE stops after the root; anything there is left to its judgement.
            skipSpace();
            return *p == 0;
        }

    private:
        const char* p;
        SchemeModel& model;
        std::string decoded; // reused for values holding references

        void skipSpace() noexcept
        {
            while (isSpace (*p))
                ++p;
        }

        // True when the text continues with "<" and this name (any case) and
        // the name ends there.
        bool isTagStart (const char* upperCaseName) const noexcept
        {
            if (*p != '<')
                return false;

            auto* start = p + 1;
            auto* end = start;
            while (isNameChar (*end))
                ++end;

            return equalsIgnoringCase (start, (size_t) (end - start), upperCaseName);
        }

        struct StartTag
        {
            const char* name = nullptr;
            size_t length = 0;
            RawValue nameValue, colourValue;
            Ending ending = Ending::unknown;
        };

        // A start tag with this name (any case) and its attributes; the ending
        // is unknown for another name.
        StartTag readStartTag (Tag tag)
        {
            static const char* const upperCaseNames[] = { "COLOURS", "COLOUR", "COLOURGROUPS", "COLOURGROUP" };
            StartTag start;

            if (*p != '<')
                return start;

            start.name = ++p;
            while (isNameChar (*p))
                ++p;
            start.length = (size_t) (p - start.name);

            // A name running on into other characters is not one of ours.
            if ((isSpace (*p) || *p == '/' || *p == '>')
                && equalsIgnoringCase (start.name, start.length, upperCaseNames[(int) tag]))
                start.ending = readAttributes (start.nameValue, start.colourValue);

            // A value the scheme does not use is still read by JUCE, references and all.
            const char *begin, *end;

            if (! (decode (start.nameValue, begin, end) && decode (start.colourValue, begin, end)))
                start.ending = Ending::unknown;

            return start;
        }

        Ending readAttributes (RawValue& name, RawValue& colour)
        {
            for (;;)
            {
                skipSpace();

                if (p[0] == '/' && p[1] == '>')
                {
                    p += 2;
                    return Ending::empty;
                }

                if (*p == '>')
                {
                    ++p;
                    return Ending::opened;
                }

                auto* attributeName = p;
                while (isNameChar (*p))
                    ++p;
                auto length = (size_t) (p - attributeName);

                auto* value = equalsIgnoringCase (attributeName, length, "NAME")     ? &name
                              : equalsIgnoringCase (attributeName, length, "COLOUR") ? &colour
                                                                                     : nullptr;

                // Other attributes, repeated ones and anything between name and '=' go to JUCE.
                if (value == nullptr || value->present || ! (isSpace (*p) || *p == '='))
                    return Ending::unknown;

                skipSpace();
                if (*p != '=')
                    return Ending::unknown;
                ++p;
                skipSpace();

                auto quote = *p;
                if (quote != '"' && quote != '\'')
                    return Ending::unknown;

                value->start = ++p;

                while (*p != quote)
                {
                    if (*p == 0)
                        return Ending::unknown; // unmatched quote
                    if (*p == '&')
                        value->hasReferences = true;
                    ++p;
                }

                value->end = p++;
                value->present = true;
            }
        }

        bool readEndTag (const StartTag& start)
        {
            // JUCE would skip any end tag; only the exact matching one is read here.
            auto length = start.length;

            if (p[0] != '<' || p[1] != '/' || std::strncmp (p + 2, start.name, length) != 0 || p[2 + length] != '>')
                return false;

            p += length + 3;
            return true;
        }

        // An element with no content, either "<X .../>" or "<X ...>  </X>".
        bool readElementEnd (const StartTag& start)
        {
            if (start.ending == Ending::empty)
                return true;

            if (start.ending != Ending::opened)
                return false;

            skipSpace();
            return readEndTag (start);
        }

        // The value with its references replaced, as JUCE reads it; false for a
        // reference JUCE would treat in some other way.
        bool decode (const RawValue& value, const char*& start, const char*& end)
        {
            if (! value.present)
            {
                start = end = "";
                return true;
            }

            if (! value.hasReferences)
            {
                start = value.start;
                end = value.end;
                return true;
            }

            decoded.clear();

            for (auto* c = value.start; c < value.end;)
            {
                if (*c != '&')
                {
                    decoded += *c++;
                    continue;
                }

                ++c;
                static const struct
                {
                    const char* name;
                    char character;
                } named[] = { { "amp;", '&' }, { "quot;", '"' }, { "apos;", '\'' }, { "lt;", '<' }, { "gt;", '>' } };

                bool found = false;

                for (auto& entity : named)
                {
                    if (startsWithIgnoringCase (c, entity.name))
                    {
                        decoded += entity.character;
                        c += std::strlen (entity.name);
                        found = true;
                        break;
                    }
                }

                if (found)
                    continue;

                if (*c != '#')
                    return false;

                ++c;
                juce::int64 code = 0;
                int digits = 0;

                if (*c == 'x' || *c == 'X')
                {
                    for (++c; *c != ';'; ++c, ++digits)
                    {
                        auto digit = hexDigitValue (*c);
                        if (digit < 0 || digits == 8)
                            return false;
                        code = (code << 4) | digit;
                    }
                }
                else
                {
                    for (; *c != ';'; ++c, ++digits)
                    {
                        if (*c < '0' || *c > '9' || digits == 12)
                            return false;
                        code = code * 10 + (*c - '0');
                    }
                }

                // Zero, surrogates and numbers beyond Unicode come out of JUCE in
                // ways of their own.
                if (digits == 0 || code == 0 || (code >= 0xd800 && code <= 0xdfff) || code > 0x10ffff)
                    return false;

                appendUtf8 (decoded, (juce::uint32) code);
                ++c; // the ';' (never beyond the closing quote: that is not a digit)
            }

            start = decoded.data();
            end = start + decoded.size();
            return true;
        }

        static juce::String toString (const char* start, const char* end)
        {
            return start == end ? juce::String() : juce::String (juce::CharPointer_UTF8 (start), juce::CharPointer_UTF8 (end));
        }

        // A COLOUR element directly inside the root.
        bool readColour()
        {
            auto tag = readStartTag (Tag::colour);

            if (! readElementEnd (tag))
                return false;

            // The model indexes a colour by name when it is appended, so the name comes first.
            auto record = std::make_unique<SchemeColour>();
            const char *start, *end;

            if (! decode (tag.nameValue, start, end))
                return false;
            record->name = toString (start, end);

            if (! decode (tag.colourValue, start, end))
                return false;
            record->colour = colourFromText (start, end);

            model.appendColour (std::move (record));
            return true;
        }

        bool readGroups()
        {
            auto tag = readStartTag (Tag::colourGroups);

            if (tag.ending == Ending::empty)
                return true;

            return tag.ending == Ending::opened && readContent (tag, [this]
                                                                { return readGroup(); });
        }

        // Child elements up to the end tag of their parent.
        template <typename ReadChild>
        bool readContent (const StartTag& parent, ReadChild&& readChild)
        {
            for (;;)
            {
                skipSpace();

                if (p[0] == '<' && p[1] == '/')
                    return readEndTag (parent);

                if (! readChild())
                    return false;
            }
        }

        bool readGroup()
        {
            auto tag = readStartTag (Tag::colourGroup);
            const char *start, *end;

            if (tag.ending == Ending::unknown || ! decode (tag.nameValue, start, end))
                return false;

            auto newGroup = std::make_unique<ColourGroup>();
            newGroup->setName (toString (start, end));
            auto& group = model.appendGroup (std::move (newGroup));

            return tag.ending == Ending::empty || readContent (tag, [this, &group]
                                                               { return readMember (group); });
        }

        bool readMember (ColourGroup& group)
        {
            auto tag = readStartTag (Tag::colour);
            const char *start, *end;

            if (! readElementEnd (tag) || ! decode (tag.nameValue, start, end))
                return false;

            if (auto* found = model.findColourByName (start, (size_t) (end - start)))
                group.addColour (*found);

            return true;
        }
    };
} // namespace

bool readPlainScheme (const char* utf8, SchemeModel& model)
{
    return Reader (utf8, model).read();
}
} // namespace SchemeFile
