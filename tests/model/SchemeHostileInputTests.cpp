// Hostile and broken scheme files: each is refused or read, never a crash or
// a hang, and in time and memory that grow with the file, not faster.

#include "SchemeFileTestSupport.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>

using namespace SchemeFileTestSupport;
using juce::String;

namespace
{
bool readStream (const juce::MemoryOutputStream& out, SchemeModel& model)
{
    return readBytes (out.getData(), out.getDataSize(), model);
}

/** Reading what was written from the model gives the model's bytes again. */
void expectSavedBytesAreAFixedPoint (const SchemeModel& model)
{
    const auto saved = SchemeWriter::write (model);
    SchemeModel reread;
    ASSERT_TRUE (readBytes (saved.data(), saved.size(), reread));
    EXPECT_EQ (SchemeWriter::write (reread), saved);
}
} // namespace

TEST (SchemeHostileInput, AMillionNestedElementsAreReadWithoutRecursion)
{
    juce::MemoryOutputStream out;
    out << "<COLOURS><COLOUR name=\"before\" colour=\"1\"/>";
    for (int i = 0; i < 1000000; ++i)
        out << "<COLOUR>";
    for (int i = 0; i < 1000000; ++i)
        out << "</COLOUR>";
    out << "<COLOUR name=\"after\" colour=\"2\"/></COLOURS>";

    SchemeModel model;
    ASSERT_TRUE (readStream (out, model));
    // The nest is one more colour of the root: no name, no colour.
    ASSERT_EQ (model.getNumColours(), 3);
    EXPECT_EQ (model.getColour (1)->name, "");
    EXPECT_EQ (model.getColour (2)->name, "after");

    // Left unclosed, the same nest is no document.
    juce::MemoryOutputStream unclosed;
    unclosed << "<COLOURS>";
    for (int i = 0; i < 1000000; ++i)
        unclosed << "<a>";
    SchemeModel refused;
    EXPECT_FALSE (readStream (unclosed, refused));
}

TEST (SchemeHostileInput, EndTagsHiddenWhereAReaderDoesNotLookCloseNothing)
{
    // Each unit opens an element and holds something that looks like its end
    // tag to a careless reader; nested 50,000 deep without end tags, the
    // document is unfinished.
    const char* const units[] = {
        "<a><!--</a>-->",
        "<a x=\"</a>\">",
        "<a x='/>'>",
        "<a><![CDATA[</a>]]>",
        "<a><?p </a>?>",
        "<a\n  x = \"/>\" >",
        "<a x='&amp;&quot;</a>'>",
        "<a x=\"\"/><b>",
        "<a><!-- -- </a> -->",
    };

    for (auto* unit : units)
    {
        SchemeModel model;
        EXPECT_FALSE (readText ("<?xml version=\"1.0\"?><COLOURS>" + String::repeatedString (unit, 50000) + "</COLOURS>", model)) << unit;
        EXPECT_EQ (model.getNumColours(), 0) << unit;
    }
}

TEST (SchemeHostileInput, EntityBombIsNotExpanded)
{
    juce::MemoryOutputStream out;
    out << "<?xml version=\"1.0\"?>\n<!DOCTYPE COLOURS [\n  <!ENTITY lol \"lol\">\n";
    for (int i = 1; i <= 9; ++i)
        out << "  <!ENTITY lol" << i << " \"" << String::repeatedString ("&lol" + (i == 1 ? String() : String (i - 1)) + ";", 10) << "\">\n";
    out << "]>\n<COLOURS><COLOUR name=\"&lol9;\" colour=\"ff&lol9;\"/></COLOURS>";

    SchemeModel model;
    ASSERT_TRUE (readStream (out, model));
    ASSERT_EQ (model.getNumColours(), 1);
    EXPECT_EQ (model.getColour (0)->name, "&lol9;");
    EXPECT_EQ (model.getColour (0)->colour.getARGB(), 0xff9u);
    expectSavedBytesAreAFixedPoint (model);
}

TEST (SchemeHostileInput, HundredMegabyteAttributeValue)
{
    const size_t valueLength = 100 * 1000 * 1000;
    SchemeModel model;
    {
        juce::MemoryOutputStream out (valueLength + 100);
        out << "<COLOURS><COLOUR colour=\"ff123456\" name=\"";
        out.writeRepeatedByte ('x', valueLength);
        out << "\"/></COLOURS>";
        ASSERT_TRUE (readStream (out, model));
    }

    ASSERT_EQ (model.getNumColours(), 1);
    EXPECT_EQ (model.getColour (0)->name.getNumBytes(), valueLength);
    EXPECT_EQ (model.getColour (0)->colour.getARGB(), 0xff123456u);

    // Written back, the long name puts the colour attribute on a line of its own.
    auto bytes = SchemeWriter::write (model);
    const std::string start ("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\r\n\r\n\r\n<COLOURS>\r\n  <COLOUR name=\"xxx");
    const std::string ending ("xxx\"\r\n          colour=\"ff123456\"/>\r\n  <COLOURGROUPS/>\r\n</COLOURS>\r\n");
    ASSERT_EQ (bytes.size(), start.size() + valueLength - 6 + ending.size());
    EXPECT_EQ (bytes.substr (0, start.size()), start);
    EXPECT_EQ (bytes.substr (bytes.size() - ending.size()), ending);
}

TEST (SchemeHostileInput, ManyAttributesAndDistinctNames)
{
    juce::MemoryOutputStream out;
    out << "<COLOURS><COLOUR";
    for (int i = 0; i < 200000; ++i)
        out << " a" << i << "=\"" << i << "\"";
    out << " Colour=\"ff00ff00\" NaMe=\"found\"/>";
    for (int i = 0; i < 50000; ++i)
        out << "<name" << i << " x=\"\"/>";
    out << "</COLOURS>";

    SchemeModel model;
    ASSERT_TRUE (readStream (out, model));
    ASSERT_EQ (model.getNumColours(), 1);
    EXPECT_EQ (model.getColour (0)->name, "found");
    EXPECT_EQ (model.getColour (0)->colour.getARGB(), 0xff00ff00u);
}

TEST (SchemeHostileInput, BrokenInputGivesNoDocument)
{
    for (auto* text : { "", " \r\n\t", "just text", "<!-- unfinished", "<?xml version=\"1.0\"?>", "<COLOURS", "<COLOURS><COLOUR name=\"&#x" })
    {
        SchemeModel model;
        EXPECT_FALSE (readText (text, model)) << text;
    }

    // A file cut off anywhere before its root's end tag is finished gives no document.
    auto full = dataFile ("written.calvastrascheme").loadFileAsString();
    auto complete = full.lastIndexOfChar ('>') + 1;
    for (int length = 0; length <= full.length(); ++length)
    {
        SchemeModel model;
        EXPECT_EQ (readText (full.substring (0, length), model), length >= complete) << length;
    }
}

TEST (SchemeHostileInput, GarbageIsRefusedOrReadBackExactly)
{
    std::mt19937 random (7);
    int opened = 0;

    for (int round = 0; round < 300; ++round)
    {
        std::string bytes (round % 3 == 0 ? "<COLOURS>" : "");
        for (int i = (int) (random() % 3000); --i >= 0;)
        {
            auto r = random();
            bytes += round % 2 == 0 ? (char) r : "<>/&;\"'=!?-[]x#"[r % 15];
        }
        if (round % 5 == 0)
        {
            // The garbage as a name: it opens, whatever the bytes decode to.
            bytes.erase (std::remove_if (bytes.begin(), bytes.end(), [] (char c)
                                         { return c == '"' || c == 0; }),
                         bytes.end());
            bytes = "<COLOURS><COLOUR name=\"" + bytes + "\"/></COLOURS>";
        }

        SchemeModel model;
        if (readBytes (bytes.data(), bytes.size(), model))
        {
            ++opened;
            expectSavedBytesAreAFixedPoint (model);
        }
        else
        {
            EXPECT_EQ (model.getNumColours() + model.getNumGroups(), 0);
        }
    }

    EXPECT_GT (opened, 0);
}
