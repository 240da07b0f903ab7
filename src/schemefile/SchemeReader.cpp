#include "schemefile/SchemeReader.h"

#include "schemefile/SchemeColourText.h"
#include "schemefile/SchemeVocabulary.h"

#include <cstring>
#include <new>
#include <pugixml.hpp>
#include <vector>

namespace SchemeReader
{
namespace
{
    using SchemeVocabulary::isName;

    // Shortest-form UTF-8 up to U+10FFFF. Lone surrogates pass: JUCE makes them
    // from UTF-16 and from character references, and the writer keeps them.
    bool isCleanUtf8 (const char* text, size_t size) noexcept
    {
        auto* p = reinterpret_cast<const juce::uint8*> (text);
        auto* end = p + size;

        while (p < end)
        {
            // Runs of ASCII 32, then eight bytes at a time: the whole file is checked once.
            constexpr juce::uint64 highBits = 0x8080808080808080ull;
            juce::uint64 block[4];

            if (end - p >= 32 && (std::memcpy (block, p, 32), ((block[0] | block[1] | block[2] | block[3]) & highBits) == 0))
            {
                p += 32;
                continue;
            }

            if (end - p >= 8 && (std::memcpy (block, p, 8), (block[0] & highBits) == 0))
            {
                p += 8;
                continue;
            }

            auto c = *p++;

            if (c < 0x80)
                continue;

            int extra = c >= 0xc2 && c <= 0xdf ? 1 : (c & 0xf0) == 0xe0   ? 2
                                                 : c >= 0xf0 && c <= 0xf4 ? 3
                                                                          : 0;
            if (extra == 0 || end - p < extra)
                return false;

            juce::uint32 value = c & (0x3fu >> extra);

            for (int i = 0; i < extra; ++i, ++p)
            {
                if ((*p & 0xc0) != 0x80)
                    return false;
                value = (value << 6) | (*p & 0x3fu);
            }

            const juce::uint32 smallest[] = { 0, 0x80, 0x800, 0x10000 };
            if (value < smallest[extra] || value > 0x10ffff)
                return false;
        }

        return true;
    }

    // JUCE's own UTF-16 reading makes one character of every 16-bit unit, so a
    // character outside the BMP would become two lone surrogates; pairs are
    // joined here. The text ends at a zero unit, as a String would.
    juce::String fromUtf16 (const juce::uint8* data, size_t size, bool bigEndian)
    {
        auto unitAt = [&] (size_t i) -> juce::uint32
        {
            return bigEndian ? (juce::uint32) ((data[2 * i] << 8) | data[2 * i + 1])
                             : (juce::uint32) ((data[2 * i + 1] << 8) | data[2 * i]);
        };

        std::vector<juce::juce_wchar> chars;

        for (size_t i = 0, numUnits = size / 2; i < numUnits; ++i)
        {
            auto c = unitAt (i);

            if (c == 0)
                break;

            if (c >= 0xd800 && c <= 0xdbff && i + 1 < numUnits && unitAt (i + 1) >= 0xdc00 && unitAt (i + 1) <= 0xdfff)
                c = 0x10000 + ((c - 0xd800) << 10) + (unitAt (++i) - 0xdc00);

            chars.push_back ((juce::juce_wchar) c);
        }

        chars.push_back (0);
        return juce::String (juce::CharPointer_UTF32 (chars.data()));
    }

    // The file as UTF-8 text in the block, cut at the first zero byte (where
    // JUCE's text ends). Clean UTF-8 stays where it is, without a copy.
    bool decode (juce::MemoryBlock& bytes)
    {
        auto* data = static_cast<const juce::uint8*> (bytes.getData());
        auto size = bytes.getSize();
        juce::String text;

        if (size >= 2 && ((data[0] == 0xff && data[1] == 0xfe) || (data[0] == 0xfe && data[1] == 0xff)))
        {
            text = fromUtf16 (data + 2, size - 2, data[0] == 0xfe);
        }
        else
        {
            if (auto* zero = std::memchr (data, 0, size))
                bytes.setSize ((size_t) (static_cast<const juce::uint8*> (zero) - data));

            if (isCleanUtf8 (static_cast<const char*> (bytes.getData()), bytes.getSize()))
                return true;

            // Not UTF-8: JUCE reads it as Windows-1252 (or as its own lenient UTF-8).
            text = juce::String::createStringFromData (bytes.getData(), (int) bytes.getSize());
        }

        bytes.replaceAll (text.toRawUTF8(), text.getNumBytesAsUTF8());
        return isCleanUtf8 (static_cast<const char*> (bytes.getData()), bytes.getSize());
    }

    // The value of the first attribute of that name in any letter case; empty when missing.
    const char* valueOf (const pugi::xml_node& element, const char* name)
    {
        for (auto attribute = element.first_attribute(); attribute; attribute = attribute.next_attribute())
            if (isName (attribute.name(), name))
                return attribute.value();

        return "";
    }

    int countChildren (const pugi::xml_node& parent, const char* tag)
    {
        int count = 0;
        for (auto child = parent.first_child(); child; child = child.next_sibling())
            count += isName (child.name(), tag) ? 1 : 0;
        return count;
    }

    class TreeReader
    {
    public:
        TreeReader (SchemeModel& modelToFill, ReadObserver* observerToTell)
            : model (modelToFill), observer (observerToTell) {}

        /** False for a value holding a character reference beyond Unicode. */
        bool read (const pugi::xml_node& root)
        {
            using namespace SchemeVocabulary;

            if (! isName (root.name(), schemeTag))
                return true;

            // Counting first lets the model size its lists and name index once.
            model.reserveColours (countChildren (root, colourTag));

            for (auto child = root.first_child(); child && clean; child = child.next_sibling())
            {
                if (isName (child.name(), colourTag))
                {
                    // One walk over the attributes for both values, the first of each name.
                    const char *name = nullptr, *colourText = nullptr;
                    for (auto a = child.first_attribute(); a; a = a.next_attribute())
                    {
                        if (name == nullptr && isName (a.name(), nameAttribute))
                            name = a.value();
                        else if (colourText == nullptr && isName (a.name(), colourAttribute))
                            colourText = a.value();
                    }

                    if (name == nullptr)
                        name = "";

                    model.appendColour (name, checkedSize (name), SchemeColourText::fromText (colourText != nullptr ? colourText : ""));

                    if (observer != nullptr)
                        observer->colourRead (model.getNumColours() - 1, colourText);
                }
                else if (isName (child.name(), groupListTag))
                {
                    readGroups (child);
                }
            }

            return clean;
        }

    private:
        SchemeModel& model;
        ReadObserver* observer;
        bool clean = true;

        // Any value that is not clean UTF-8 fails the whole read.
        size_t checkedSize (const char* value)
        {
            auto size = std::strlen (value);
            clean = clean && isCleanUtf8 (value, size);
            return size;
        }

        void readGroups (const pugi::xml_node& groups)
        {
            using namespace SchemeVocabulary;

            for (auto element = groups.first_child(); element; element = element.next_sibling())
            {
                if (! isName (element.name(), groupTag))
                    continue;

                auto newGroup = std::make_unique<ColourGroup>();
                auto* groupName = valueOf (element, nameAttribute);
                newGroup->setName (juce::String::fromUTF8 (groupName, (int) checkedSize (groupName)));
                auto& group = model.appendGroup (std::move (newGroup));
                group.reserveMembers (countChildren (element, colourTag));

                for (auto member = element.first_child(); member; member = member.next_sibling())
                {
                    if (! isName (member.name(), colourTag))
                        continue;

                    auto* name = valueOf (member, nameAttribute);
                    auto* colour = model.findColourByName (name, std::strlen (name));
                    const auto joined = colour != nullptr && group.addColour (*colour);

                    if (! joined && observer != nullptr)
                        observer->memberDropped (model.getNumGroups() - 1, name, colour == nullptr);
                }
            }
        }
    };
} // namespace

bool read (juce::MemoryBlock bytes, SchemeModel& model, ReadObserver* observer)
{
    // An empty block may have no memory at all, which memchr and pugixml must not be given.
    if (bytes.isEmpty() || ! decode (bytes) || bytes.isEmpty())
        return false;

    // Only character references and the five named entities are expanded; values
    // keep their white space and line ends as written, as JUCE keeps them.
    pugi::xml_document document;
    auto parsed = document.load_buffer_inplace (bytes.getData(), bytes.getSize(), pugi::parse_escapes, pugi::encoding_utf8);

    // Running out of memory says nothing about the file: it fails as any
    // other allocation does, not as a file that is no XML.
    if (parsed.status == pugi::status_out_of_memory)
        throw std::bad_alloc();

    if (! parsed || ! document.document_element())
        return false;

    if (TreeReader (model, observer).read (document.document_element()))
        return true;

    model.clear();
    return false;
}
} // namespace SchemeReader
