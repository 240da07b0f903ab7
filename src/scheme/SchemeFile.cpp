#include "SchemeFile.h"

#include "PlainSchemeReader.h"
#include "XmlCharacters.h"

#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <limits>
#include <string_view>
#include <sys/stat.h>
#include <unistd.h>
#include <unordered_set>
#include <vector>

namespace SchemeFile
{
namespace
{
    //==============================================================================
    // Input safety.
    //
    // JUCE 7's XmlDocument recurses once per nesting level and overflows the stack
    // on a few hundred kilobytes of nested tags; it parses the name of an unknown
    // entity as markup; it reads past the end of the text on a trailing "&#x"; and
    // it loops forever on a processing instruction followed by text. So before it
    // sees a document, MarkupScan walks the text the way that parser does (same
    // tokens, same skipping) and refuses anything that could trigger one of those.
    // Whatever the parser would reject anyway may be refused early, because the
    // result is null either way; when in doubt the scan refuses.

    using namespace XmlCharacters;

    template <size_t length>
    bool startsWith (const char* text, const char (&prefix)[length]) noexcept
    {
        // Unrolled by the compiler; stops at a mismatch, so never reads past a terminating zero.
        for (size_t i = 0; i + 1 < length; ++i)
            if (text[i] != prefix[i])
                return false;
        return true;
    }

    // Skips to the first of the stop characters (or the terminating zero). Values
    // and text runs are short, so a table beats strcspn's set-up cost.
    struct StopSet
    {
        explicit StopSet (const char* stops) noexcept
        {
            isStop[0] = true;
            for (; *stops != 0; ++stops)
                isStop[(juce::uint8) *stops] = true;
        }

        const char* skip (const char* p) const noexcept
        {
            while (! isStop[(juce::uint8) *p])
                ++p;
            return p;
        }

        bool isStop[256] = {};
    };

    const StopSet textStops ("<&"), doubleQuotedStops ("\"&"), singleQuotedStops ("'&"), angleBrackets ("<>");

    // Shortest-form UTF-8 only. JUCE decodes overlong forms (C0 BC is '<' to it)
    // and steps over the bytes of a sequence without checking them, so anything
    // else could hide markup from a byte-wise scan. Lone surrogates pass: JUCE
    // itself makes them when it reads UTF-16.
    bool isCleanUtf8 (const char* text) noexcept
    {
        auto* p = reinterpret_cast<const juce::uint8*> (text);
        auto* end = p + std::strlen (text);

        while (p < end)
        {
            // Runs of ASCII eight bytes at a time.
            juce::uint64 block;
            if (end - p >= 8 && (std::memcpy (&block, p, 8), (block & 0x8080808080808080ull) == 0))
            {
                p += 8;
                continue;
            }

            auto c = *p;

            if (c < 0x80)
            {
                ++p;
                continue;
            }

            int extra = 0;
            juce::uint32 value = 0, smallest = 0;

            if (c >= 0xc2 && c <= 0xdf)
            {
                extra = 1;
                value = c & 0x1fu;
                smallest = 0x80;
            }
            else if ((c & 0xf0) == 0xe0)
            {
                extra = 2;
                value = c & 0x0fu;
                smallest = 0x800;
            }
            else if (c >= 0xf0 && c <= 0xf4)
            {
                extra = 3;
                value = c & 0x07u;
                smallest = 0x10000;
            }
            else
            {
                return false;
            }

            for (int i = 1; i <= extra; ++i)
            {
                auto next = p[i]; // the terminating zero fails here, before reading further
                if ((next & 0xc0) != 0x80)
                    return false;
                value = (value << 6) | (next & 0x3fu);
            }

            if (value < smallest || value > 0x10ffff)
                return false;

            p += extra + 1;
        }

        return true;
    }

    class MarkupScan
    {
    public:
        explicit MarkupScan (const char* text) noexcept : p (text) {}

        /** True when JUCE's parser can be given the text without harm. */
        bool isSafe()
        {
            // Prolog: white space, comments, processing instructions (the XML
            // declaration among them) and at most one DOCTYPE, then the root.
            for (bool seenDoctype = false;;)
            {
                if (! skipSpace())
                    return false;

                if (seenDoctype || ! startsWith (p, "<!DOCTYPE"))
                    break;

                seenDoctype = true;
                if (! skipDoctype())
                    return false;
            }

            if (*p != '<')
                return false;

            switch (scanTag())
            {
                case Tag::refused:
                    return false;
                case Tag::closed:
                    return true; // the parser reads nothing after the root
                case Tag::opened:
                    break;
            }

            // Content of the open elements.
            for (;;)
            {
                auto* start = p;
                bool skippedInstruction = false;

                if (! skipSpace (&skippedInstruction))
                    return false;

                if (*p == '<')
                {
                    if (p[1] == '/')
                    {
                        // JUCE does not compare the name: any end tag closes the innermost element.
                        auto* end = std::strchr (p, '>');
                        if (end == nullptr)
                            return false; // cut off; JUCE would return what it had so far
                        p = end + 1;

                        if (--depth == 0)
                            return true;
                        continue;
                    }

                    if (p[1] == '!' && startsWith (p + 2, "[CDATA["))
                    {
                        auto* end = std::strstr (p + 9, "]]>");
                        if (end == nullptr)
                            return false;
                        p = end + 3;
                        continue;
                    }

                    switch (scanTag())
                    {
                        case Tag::refused:
                            return false;
                        case Tag::opened:
                        case Tag::closed:
                            continue;
                    }
                }

                // Text. JUCE rolls back over the white space it skipped and reads
                // the text from there; a processing instruction inside that stretch
                // stops the text reader without progress, for ever.
                if (skippedInstruction)
                    return false;

                p = start;

                for (;;)
                {
                    p = textStops.skip (p);

                    if (*p == '&')
                    {
                        if (! skipReference())
                            return false;
                        continue;
                    }

                    if (*p == 0)
                        return false;

                    if (! startsWith (p, "<!--"))
                        break;

                    if (! skipPast (p + 4, "-->"))
                        return false;
                }
            }
        }

    private:
        enum class Tag
        {
            opened, // '>' read: the element has content, one level deeper
            closed, // the element ended without content
            refused
        };

        const char* p;
        int depth = 0;

        // JUCE keeps every element and attribute name in its global StringPool,
        // a sorted array, so a flood of distinct names makes parsing quadratic.
        std::unordered_set<std::string_view> names;
        std::string_view recentNames[4];
        unsigned int nextRecent = 0;

        bool skipName()
        {
            auto* start = p;
            while (isNameChar (*p))
                ++p;

            std::string_view name (start, (size_t) (p - start));

            for (auto& recent : recentNames)
                if (recent == name)
                    return true;

            recentNames[nextRecent++ % std::size (recentNames)] = name;
            names.insert (name);
            return (int) names.size() <= maxDistinctNames;
        }

        bool skipPast (const char* from, const char* terminator) noexcept
        {
            auto* end = std::strstr (from, terminator);
            if (end == nullptr)
                return false;
            p = end + std::strlen (terminator);
            return true;
        }

        // White space, comments and processing instructions, as the parser skips
        // them between tokens. False at the end of the text or of an unfinished comment.
        bool skipSpace (bool* skippedInstruction = nullptr) noexcept
        {
            for (;;)
            {
                while (isSpace (*p))
                    ++p;

                if (*p != '<')
                    return *p != 0;

                if (startsWith (p, "<!--"))
                {
                    if (! skipPast (p + 4, "-->"))
                        return false;
                    continue;
                }

                if (p[0] == '<' && p[1] == '?')
                {
                    if (! skipPast (p + 2, "?>"))
                        return false;
                    if (skippedInstruction != nullptr)
                        *skippedInstruction = true;
                    continue;
                }

                return true;
            }
        }

        // The parser ends the DOCTYPE at the '>' that balances its '<'s, quotes or not.
        bool skipDoctype() noexcept
        {
            p += 9;

            for (int open = 1; open > 0; ++p)
            {
                p = angleBrackets.skip (p);

                if (*p == 0)
                    return false;

                open += *p == '<' ? 1 : -1;
            }

            return true;
        }

        // Only the five predefined entities and character references in range.
        // Anything else the parser either expands as markup or mis-reads.
        bool skipReference() noexcept
        {
            auto* q = p + 1;

            for (auto* name : { "amp;", "quot;", "apos;", "lt;", "gt;" })
            {
                if (startsWithIgnoringCase (q, name))
                {
                    p = q + std::strlen (name);
                    return true;
                }
            }

            if (*q++ != '#')
                return false;

            juce::uint64 value = 0;
            int digits = 0;

            if (*q == 'x' || *q == 'X')
            {
                for (++q; hexDigitValue (*q) >= 0; ++q)
                {
                    if (++digits > 8)
                        return false;
                    value = value * 16 + (juce::uint64) hexDigitValue (*q);
                }
            }
            else
            {
                for (; *q >= '0' && *q <= '9'; ++q)
                {
                    if (++digits > 12)
                        return false;
                    value = value * 10 + (juce::uint64) (*q - '0');
                }
            }

            if (digits == 0 || *q != ';' || value > 0x10ffff)
                return false;

            p = q + 1;
            return true;
        }

        // At the '<' of a start tag.
        Tag scanTag()
        {
            ++p;

            if (! isNameChar (*p))
            {
                // JUCE allows white space (and comments) between '<' and the name.
                if (! skipSpace() || ! isNameChar (*p))
                    return Tag::refused;
            }

            if (! skipName())
                return Tag::refused;

            for (;;)
            {
                // JUCE would return a root cut off here as if complete; refuse it.
                if (! skipSpace())
                    return Tag::refused;

                auto c = *p;

                if (c == '/' && p[1] == '>')
                {
                    p += 2;
                    return Tag::closed;
                }

                if (c == '>')
                {
                    ++p;
                    return ++depth > maxNestingDepth ? Tag::refused : Tag::opened;
                }

                if (! isNameChar (c))
                    return Tag::refused;

                if (! skipName())
                    return Tag::refused;

                if (! skipSpace() || *p != '=')
                    return Tag::refused;

                ++p;

                if (! skipSpace())
                    return Tag::refused;

                auto quote = *p;

                // JUCE quietly ends the element at an unquoted value; the parent reads on from here.
                if (quote != '"' && quote != '\'')
                    return Tag::closed;

                auto& stops = quote == '"' ? doubleQuotedStops : singleQuotedStops;

                for (++p;;)
                {
                    p = stops.skip (p);

                    if (*p == quote)
                    {
                        ++p;
                        break;
                    }

                    if (*p == 0 || ! skipReference())
                        return Tag::refused;
                }
            }
        }
    };

    // JUCE's own UTF-16 reading makes one character of every 16-bit unit, so a
    // character outside the BMP would become two lone surrogates (and be saved
    // as two character references no XML reader accepts). Pairs are joined here;
    // a lone surrogate stays as JUCE would leave it.
    juce::String fromUtf16 (const juce::uint8* data, size_t size, bool bigEndian)
    {
        auto unitAt = [&] (size_t i) -> juce::uint32
        {
            return bigEndian ? (juce::uint32) ((data[2 * i] << 8) | data[2 * i + 1])
                             : (juce::uint32) ((data[2 * i + 1] << 8) | data[2 * i]);
        };

        const auto numUnits = size / 2;
        std::vector<juce::juce_wchar> chars;
        chars.reserve (numUnits + 1);

        for (size_t i = 0; i < numUnits; ++i)
        {
            auto c = unitAt (i);

            if (c == 0)
                break; // where a String would end anyway

            if (c >= 0xd800 && c <= 0xdbff && i + 1 < numUnits)
            {
                auto next = unitAt (i + 1);

                if (next >= 0xdc00 && next <= 0xdfff)
                {
                    c = 0x10000 + ((c - 0xd800) << 10) + (next - 0xdc00);
                    ++i;
                }
            }

            chars.push_back ((juce::juce_wchar) c);
        }

        chars.push_back (0);
        return juce::String (juce::CharPointer_UTF32 (chars.data()));
    }

    bool isSafeToParse (const char* utf8)
    {
        return isCleanUtf8 (utf8) && MarkupScan (utf8).isSafe();
    }

    //==============================================================================
    // Reading.

    // Element and attribute names compared without regard to ASCII case. Done here
    // because hasTagName() asserts on a case mismatch and attribute look-ups are
    // case-sensitive; ASCII only, so no locale can make "ſ" match "S".
    bool hasName (const juce::String& name, const char* upperCaseName) noexcept
    {
        auto* s = name.toRawUTF8();

        for (; *upperCaseName != 0; ++s, ++upperCaseName)
        {
            auto c = *s;
            if (c >= 'a' && c <= 'z')
                c = (char) (c - 'a' + 'A');
            if (c != *upperCaseName)
                return false;
        }

        return *s == 0;
    }

    // Attribute look-up by index walks JUCE's linked list from the start, so an
    // element with very many attributes is searched by exact spelling instead,
    // trying every upper/lower-case spelling of the name.
    constexpr int maxAttributesToWalk = 64;

    const juce::String noValue;

    const juce::String& getAttribute (const juce::XmlElement& element, const char* upperCaseName)
    {
        auto numAttributes = element.getNumAttributes();

        if (numAttributes <= maxAttributesToWalk)
        {
            for (int i = 0; i < numAttributes; ++i)
                if (hasName (element.getAttributeName (i), upperCaseName))
                    return element.getAttributeValue (i);

            return noValue;
        }

        auto length = (int) std::strlen (upperCaseName);
        juce::HeapBlock<char> spelling ((size_t) length + 1, true);

        for (int mask = 0; mask < (1 << length); ++mask)
        {
            for (int i = 0; i < length; ++i)
            {
                auto c = upperCaseName[i];
                spelling[i] = ((mask >> i) & 1) == 0 && c >= 'A' && c <= 'Z' ? (char) (c - 'A' + 'a') : c;
            }

            juce::StringRef name (spelling.get());

            if (element.hasAttribute (name))
                return element.getStringAttribute (name);
        }

        return noValue;
    }

    void readGroups (const juce::XmlElement& groupsElement, SchemeModel& model)
    {
        for (auto* groupElement : groupsElement.getChildIterator())
        {
            if (! hasName (groupElement->getTagName(), "COLOURGROUP"))
                continue;

            auto newGroup = std::make_unique<ColourGroup>();
            newGroup->setName (getAttribute (*groupElement, "NAME"));
            auto& group = model.appendGroup (std::move (newGroup));

            for (auto* member : groupElement->getChildIterator())
                if (hasName (member->getTagName(), "COLOUR"))
                    if (auto* colour = model.findColourByName (getAttribute (*member, "NAME")))
                        group.addColour (*colour);
        }
    }

    //==============================================================================
    // Writing: one pass measures, the next writes into a buffer of exactly that size.

    constexpr int attributeWrapLength = 60;
    const char* const newLine = "\r\n";
    const char* const declaration = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\r\n\r\n\r\n";

    // How each ASCII character appears in an attribute value.
    struct EscapeTable
    {
        struct Entry
        {
            char text[8];
            juce::uint8 length;
        };

        Entry entries[128];

        EscapeTable() noexcept
        {
            for (int c = 0; c < 128; ++c)
            {
                auto& e = entries[c];
                std::memset (e.text, 0, sizeof (e.text));

                if ((c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9')
                    || (c != 0 && std::strchr (" .,;:-()_+=?!'#@[]/\\*%~{}", c) != nullptr))
                {
                    e.text[0] = (char) c;
                }
                else
                {
                    const char* named = c == '&'   ? "&amp;"
                                        : c == '"' ? "&quot;"
                                        : c == '<' ? "&lt;"
                                        : c == '>' ? "&gt;"
                                                   : nullptr;

                    if (named != nullptr)
                        std::strcpy (e.text, named);
                    else
                        std::snprintf (e.text, sizeof (e.text), "&#%d;", c); // CR and LF included
                }

                e.length = (juce::uint8) std::strlen (e.text);
            }
        }
    };

    const EscapeTable& getEscapeTable()
    {
        static const EscapeTable table;
        return table;
    }

    int numDecimalDigits (juce::uint32 n) noexcept
    {
        int digits = 1;
        while (n >= 10)
        {
            n /= 10;
            ++digits;
        }
        return digits;
    }

    int numHexDigits (juce::uint32 n) noexcept
    {
        int digits = 1;
        while (n >= 16)
        {
            n >>= 4;
            ++digits;
        }
        return digits;
    }

    // Measures (when out is null) or writes the text; returns the number of bytes.
    class TextSink
    {
    public:
        explicit TextSink (char* destination) noexcept : out (destination) {}

        size_t size() const noexcept { return numBytes; }

        void write (const char* text, size_t length) noexcept
        {
            if (out != nullptr)
                std::memcpy (out + numBytes, text, length);
            numBytes += length;
        }

        void write (const juce::String& text) noexcept { write (text.toRawUTF8(), text.getNumBytesAsUTF8()); }
        void write (const char* text) noexcept { write (text, std::strlen (text)); }

        void write (char c) noexcept
        {
            if (out != nullptr)
                out[numBytes] = c;
            ++numBytes;
        }

        void writeSpaces (int count) noexcept
        {
            if (out != nullptr)
                std::memset (out + numBytes, ' ', (size_t) count);
            numBytes += (size_t) count;
        }

        void writeDecimal (juce::uint32 n) noexcept
        {
            auto digits = numDecimalDigits (n);

            if (out != nullptr)
                for (auto* d = out + numBytes + digits; d-- != out + numBytes; n /= 10)
                    *d = (char) ('0' + n % 10);

            numBytes += (size_t) digits;
        }

        /** Writes the attribute value escaped; returns its length in characters. */
        int writeEscaped (const juce::String& value) noexcept
        {
            auto& table = getEscapeTable();
            auto text = value.getCharPointer();
            int numChars = 0;

            for (;;)
            {
                auto* raw = reinterpret_cast<const juce::uint8*> (text.getAddress());
                auto c = *raw;

                if (c == 0)
                    return numChars;

                ++numChars;

                if (c < 0x80)
                {
                    auto& e = table.entries[c];
                    write (e.text, e.length);
                    ++text;
                }
                else
                {
                    // Everything outside ASCII as a character reference: the file stays
                    // plain ASCII and reads back the same under any reader.
                    write ("&#", 2);
                    writeDecimal ((juce::uint32) text.getAndAdvance());
                    write (';');
                }
            }
        }

        void writeElement (const juce::XmlElement& element, int indent)
        {
            auto& tagName = element.getTagName();

            writeSpaces (indent);
            write ('<');
            write (tagName);

            int lineLength = 0;

            for (int i = 0, n = element.getNumAttributes(); i < n; ++i)
            {
                if (lineLength > attributeWrapLength)
                {
                    write (newLine);
                    writeSpaces (indent + tagName.length() + 1);
                    lineLength = 0;
                }

                auto& name = element.getAttributeName (i);
                write (' ');
                write (name);
                write ("=\"", 2);
                auto valueLength = writeEscaped (element.getAttributeValue (i));
                write ('"');
                lineLength += name.length() + valueLength + 4;
            }

            bool hasChildren = false;

            for (auto* child : element.getChildIterator())
            {
                if (child->isTextElement())
                    continue; // a scheme holds no text

                if (! hasChildren)
                    write ('>');

                hasChildren = true;
                write (newLine);
                writeElement (*child, indent + 2);
            }

            if (hasChildren)
            {
                write (newLine);
                writeSpaces (indent);
                write ("</", 2);
                write (tagName);
                write ('>');
            }
            else
            {
                write ("/>", 2);
            }
        }

        void writeDocument (const juce::XmlElement& root)
        {
            write (declaration);
            writeElement (root, 0);
            write (newLine);
        }

    private:
        char* out;
        size_t numBytes = 0;
    };

    void writeHex (char* out, int digits, juce::uint32 value) noexcept
    {
        for (auto* d = out + digits; d-- != out; value >>= 4)
            *d = "0123456789abcdef"[value & 15];
    }

    //==============================================================================
    const juce::Identifier& coloursTag()
    {
        static const juce::Identifier id ("COLOURS");
        return id;
    }

    const juce::Identifier& colourTag()
    {
        static const juce::Identifier id ("COLOUR");
        return id;
    }

    const juce::Identifier& colourGroupsTag()
    {
        static const juce::Identifier id ("COLOURGROUPS");
        return id;
    }

    const juce::Identifier& colourGroupTag()
    {
        static const juce::Identifier id ("COLOURGROUP");
        return id;
    }

    const juce::Identifier& nameAttribute()
    {
        static const juce::Identifier id ("name");
        return id;
    }

    const juce::Identifier& colourAttribute()
    {
        static const juce::Identifier id ("colour");
        return id;
    }

    //==============================================================================
    const char* const writeFailure = "Could not write the scheme file!";

    bool writeAll (int fd, const char* data, size_t size) noexcept
    {
        while (size > 0)
        {
            auto written = ::write (fd, data, std::min (size, (size_t) (1 << 30)));

            if (written < 0)
            {
                if (errno == EINTR)
                    continue;
                return false;
            }

            data += written;
            size -= (size_t) written;
        }

        return true;
    }

    juce::File resolveLinks (juce::File file)
    {
        for (int hops = 0; hops < 40 && file.isSymbolicLink(); ++hops)
            file = file.getLinkedTarget();

        return file;
    }

    void syncFolder (const juce::File& folder) noexcept
    {
        // Makes the rename itself durable; the data already is, so failure is not fatal.
        auto fd = ::open (folder.getFullPathName().toRawUTF8(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);

        if (fd >= 0)
        {
            ::fsync (fd);
            ::close (fd);
        }
    }

    const char* const temporaryPrefix = ".tintwright-";

    // A writer killed between creating its temporary file and the rename leaves
    // that file behind. Its name carries the writer's process id, so a later save
    // into the same folder removes the left-overs of writers that no longer run.
    void removeLeftoversOfDeadWriters (const juce::File& folder)
    {
        for (auto& file : folder.findChildFiles (juce::File::findFiles, false, juce::String (temporaryPrefix) + "*.tmp"))
        {
            auto pidText = file.getFileName().substring ((int) std::strlen (temporaryPrefix)).upToFirstOccurrenceOf ("-", false, false);

            if (pidText.isEmpty() || pidText.length() > 9 || ! pidText.containsOnly ("0123456789"))
                continue;

            if (::kill ((pid_t) pidText.getIntValue(), 0) != 0 && errno == ESRCH)
                file.deleteFile();
        }
    }

    juce::Result writeBytesAtomically (const juce::File& target, const char* data, size_t size)
    {
        auto failure = juce::Result::fail (writeFailure);
        auto destination = resolveLinks (target);

        if (destination == juce::File() || destination.isDirectory())
            return failure;

        auto folder = destination.getParentDirectory();
        auto& random = juce::Random::getSystemRandom();
        juce::File temporary;
        int fd = -1;

        // A fresh name with O_EXCL, so nothing else's file is ever truncated; the
        // name does not grow with the target's, so a long target name still fits.
        for (int attempt = 0; attempt < 16 && fd < 0; ++attempt)
        {
            temporary = folder.getChildFile (temporaryPrefix + juce::String (::getpid()) + "-"
                                             + juce::String::toHexString (random.nextInt64()) + ".tmp");
            fd = ::open (temporary.getFullPathName().toRawUTF8(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);

            if (fd < 0 && errno != EEXIST)
                return failure;
        }

        if (fd < 0)
            return failure;

        removeLeftoversOfDeadWriters (folder);

        bool ok = writeAll (fd, data, size);

        // Keep the permissions of the file being replaced.
        struct stat info;
        if (ok && ::stat (destination.getFullPathName().toRawUTF8(), &info) == 0)
            ok = ::fchmod (fd, info.st_mode & 07777) == 0;

        ok = ok && ::fsync (fd) == 0;
        ok = ::close (fd) == 0 && ok;
        ok = ok && ::rename (temporary.getFullPathName().toRawUTF8(), destination.getFullPathName().toRawUTF8()) == 0;

        if (! ok)
        {
            ::unlink (temporary.getFullPathName().toRawUTF8());
            return failure;
        }

        syncFolder (folder);
        return juce::Result::ok();
    }
} // namespace

//==============================================================================
namespace
{
    // A leading byte-order mark is not markup; JUCE would take it for text before the root.
    juce::String withoutByteOrderMark (const juce::String& text)
    {
        return text.startsWithChar ((juce::juce_wchar) 0xfeff) ? text.substring (1) : text;
    }

    bool loadText (const juce::File& file, juce::String& text)
    {
        if (! file.existsAsFile())
            return false;

        juce::MemoryBlock bytes;

        if (! file.loadFileAsData (bytes) || bytes.getSize() > (size_t) std::numeric_limits<int>::max())
            return false;

        // A zero after the end: JUCE's decoding reads one byte past the text when
        // the file holds nothing but a UTF-8 byte-order mark.
        auto size = bytes.getSize();
        bytes.ensureSize (size + 1, true);
        auto* data = static_cast<const juce::uint8*> (bytes.getData());

        if (size >= 2 && ((data[0] == 0xff && data[1] == 0xfe) || (data[0] == 0xfe && data[1] == 0xff)))
            text = fromUtf16 (data + 2, size - 2, data[0] == 0xfe);
        else
            // Handles a UTF-8 byte-order mark; anything that is not UTF-8 comes back as
            // Windows-1252 text, so the result is always valid UTF-8.
            text = juce::String::createStringFromData (data, (int) size);

        return true;
    }

    // Text whose byte-order mark (if any) is already gone: a second one would be text.
    std::unique_ptr<juce::XmlElement> parseWithoutMark (const juce::String& source)
    {
        if (! isSafeToParse (source.toRawUTF8()))
            return {};

        return juce::XmlDocument (source).getDocumentElement();
    }
} // namespace

std::unique_ptr<juce::XmlElement> parse (const juce::String& text)
{
    return parseWithoutMark (withoutByteOrderMark (text));
}

std::unique_ptr<juce::XmlElement> parseFile (const juce::File& file)
{
    juce::String text;
    return loadText (file, text) ? parse (text) : nullptr;
}

bool readSchemeText (const juce::String& text, SchemeModel& model)
{
    auto source = withoutByteOrderMark (text);
    auto* utf8 = source.toRawUTF8();

    if (isCleanUtf8 (utf8) && readPlainScheme (utf8, model))
        return true;

    model.clear();
    auto root = parseWithoutMark (source);

    if (root == nullptr)
        return false;

    readScheme (*root, model);
    return true;
}

bool readSchemeFile (const juce::File& file, SchemeModel& model)
{
    juce::String text;
    return loadText (file, text) && readSchemeText (text, model);
}

void readScheme (const juce::XmlElement& root, SchemeModel& model)
{
    if (! hasName (root.getTagName(), "COLOURS"))
        return;

    for (auto* child : root.getChildIterator())
    {
        auto& tagName = child->getTagName();

        if (hasName (tagName, "COLOUR"))
        {
            // The model indexes a colour by name when it is appended, so the name comes first.
            auto colour = std::make_unique<SchemeColour>();
            colour->name = getAttribute (*child, "NAME");
            colour->colour = colourFromText (getAttribute (*child, "COLOUR"));
            model.appendColour (std::move (colour));
        }
        else if (hasName (tagName, "COLOURGROUPS"))
        {
            readGroups (*child, model);
        }
    }
}

std::unique_ptr<juce::XmlElement> createSchemeElement (const SchemeModel& model)
{
    // Children are prepended from the back: appending walks JUCE's linked list
    // from the front each time, which is quadratic for thousands of colours.
    auto root = std::make_unique<juce::XmlElement> (coloursTag());
    auto groupsElement = std::make_unique<juce::XmlElement> (colourGroupsTag());

    for (int g = model.getNumGroups(); --g >= 0;)
    {
        auto& group = *model.getGroup (g);
        auto groupElement = std::make_unique<juce::XmlElement> (colourGroupTag());
        groupElement->setAttribute (nameAttribute(), group.getName());

        for (int m = group.getNumMembers(); --m >= 0;)
        {
            auto memberElement = std::make_unique<juce::XmlElement> (colourTag());
            memberElement->setAttribute (nameAttribute(), group.getMember (m)->getSchemeColour().name);
            groupElement->prependChildElement (memberElement.release());
        }

        groupsElement->prependChildElement (groupElement.release());
    }

    root->prependChildElement (groupsElement.release());

    for (int c = model.getNumColours(); --c >= 0;)
    {
        auto& colour = *model.getColour (c);
        auto colourElement = std::make_unique<juce::XmlElement> (colourTag());
        colourElement->setAttribute (nameAttribute(), colour.name);
        colourElement->setAttribute (colourAttribute(), colourToText (colour.colour));
        root->prependChildElement (colourElement.release());
    }

    return root;
}

juce::MemoryBlock toBytes (const juce::XmlElement& root)
{
    TextSink measure (nullptr);
    measure.writeDocument (root);

    juce::MemoryBlock bytes (measure.size(), false);
    TextSink writer (static_cast<char*> (bytes.getData()));
    writer.writeDocument (root);
    jassert (writer.size() == bytes.getSize());
    return bytes;
}

juce::String toText (const juce::XmlElement& root)
{
    auto bytes = toBytes (root);
    return juce::String::fromUTF8 (static_cast<const char*> (bytes.getData()), (int) bytes.getSize());
}

juce::String colourToText (juce::Colour colour)
{
    auto argb = colour.getARGB();
    char text[8];
    auto digits = numHexDigits (argb);
    writeHex (text, digits, argb);
    return juce::String (text, (size_t) digits);
}

juce::Colour colourFromText (juce::StringRef text)
{
    auto* begin = text.text.getAddress();
    return colourFromText (begin, begin + std::strlen (begin));
}

juce::Colour colourFromText (const char* begin, const char* end)
{
    juce::uint32 argb = 0;

    for (auto* c = begin; c < end; ++c)
    {
        // Bytes of a multi-byte character are all >= 0x80, never hex digits.
        auto digit = hexDigitValue (*c);
        if (digit >= 0)
            argb = (argb << 4) | (juce::uint32) digit;
    }

    return juce::Colour (argb);
}

juce::Result writeFileAtomically (const juce::File& target, const juce::String& text)
{
    return writeBytesAtomically (target, text.toRawUTF8(), text.getNumBytesAsUTF8());
}

juce::Result writeFileAtomically (const juce::File& target, const juce::MemoryBlock& bytes)
{
    return writeBytesAtomically (target, static_cast<const char*> (bytes.getData()), bytes.getSize());
}
} // namespace SchemeFile
