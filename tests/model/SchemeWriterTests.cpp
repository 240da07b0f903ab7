#include "SchemeFileTestSupport.h"

#include <gtest/gtest.h>

using namespace SchemeFileTestSupport;
using juce::String;

TEST (SchemeWriter, WritesTheGoldenBytes)
{
    SchemeModel model;
    addColour (model, "Window Background", 0xffd3d3d3);
    addColour (model, "Tom & \"Jerry\" <b> $5 | 50%", 0x0a102030);
    addColour (model, "a\tb\rc\nd " + fromUtf32 ({ 0xe9, 0x1f600 }), 0x00000000);
    addColour (model, "Track Header Selected Background Colour When Focused!", 0xff000001);
    addColour (model, "Window Background", 0x00ffffff);
    addColour (model, "", 0x00000001);
    addGroup (model, "Backgrounds", { 0, 3 });
    addGroup (model, "", {});
    addGroup (model, "Odd 'n' ends \\ {x}", { 4, 2 });

    juce::MemoryBlock golden;
    ASSERT_TRUE (dataFile ("written.calvastrascheme").loadFileAsData (golden));

    const auto bytes = SchemeWriter::write (model);
    EXPECT_EQ (juce::MemoryBlock (bytes.data(), bytes.size()), golden);
}

TEST (SchemeWriter, EmptyModelHasAnEmptyGroupList)
{
    SchemeModel model;
    EXPECT_EQ (writeModel (model),
               "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\r\n\r\n\r\n"
               "<COLOURS>\r\n"
               "  <COLOURGROUPS/>\r\n"
               "</COLOURS>\r\n");
}

TEST (SchemeWriter, WrapsAfterSixtyCharactersCountedUnescaped)
{
    auto colourLine = [] (const String& name)
    {
        SchemeModel model;
        addColour (model, name, 0xff123456);
        auto lines = juce::StringArray::fromTokens (writeModel (model), "\n", {});
        return lines[4] + "\n" + lines[5];
    };

    // "name" + 4 + 52 characters = 60: not more than 60, no wrap.
    auto fits = String::repeatedString ("n", 52);
    EXPECT_EQ (colourLine (fits), "  <COLOUR name=\"" + fits + "\" colour=\"ff123456\"/>\r\n  <COLOURGROUPS/>\r");

    auto tooLong = String::repeatedString ("n", 53);
    EXPECT_EQ (colourLine (tooLong), "  <COLOUR name=\"" + tooLong + "\"\r\n          colour=\"ff123456\"/>\r");

    // Escapes do not count: 52 ampersands fit, though they take 260 bytes.
    EXPECT_EQ (colourLine (String::repeatedString ("&", 52)),
               "  <COLOUR name=\"" + String::repeatedString ("&amp;", 52) + "\" colour=\"ff123456\"/>\r\n  <COLOURGROUPS/>\r");

    // A character outside the BMP counts once.
    auto astral = fromUtf32 ({ 0x1f600 });
    EXPECT_EQ (colourLine (String::repeatedString (astral, 52)),
               "  <COLOUR name=\"" + String::repeatedString ("&#128512;", 52) + "\" colour=\"ff123456\"/>\r\n  <COLOURGROUPS/>\r");
    EXPECT_EQ (colourLine (String::repeatedString (astral, 53)),
               "  <COLOUR name=\"" + String::repeatedString ("&#128512;", 53) + "\"\r\n          colour=\"ff123456\"/>\r");
}

TEST (SchemeWriter, KeepsOnlyItsOwnCharacterSetVerbatim)
{
    SchemeModel model;
    String everyAscii;
    for (juce::juce_wchar c = 1; c < 128; ++c)
        everyAscii += c;
    addColour (model, everyAscii, 0xff000000);

    auto text = writeModel (model);
    auto value = text.fromFirstOccurrenceOf ("name=\"", false, false).upToFirstOccurrenceOf ("\"", false, false);

    String expected;
    for (juce::juce_wchar c = 1; c < 128; ++c)
    {
        if (juce::CharacterFunctions::isLetterOrDigit (c) || String (" .,;:-()_+=?!'#@[]/\\*%~{}").containsChar (c))
            expected += c;
        else if (c == '&')
            expected += "&amp;";
        else if (c == '"')
            expected += "&quot;";
        else if (c == '<')
            expected += "&lt;";
        else if (c == '>')
            expected += "&gt;";
        else
            expected += "&#" + String ((int) c) + ";";
    }

    EXPECT_EQ (value, expected);
    EXPECT_TRUE (value.contains ("&#36;") && value.contains ("&#124;") && value.contains ("&#9;") && value.contains ("&#96;"));
}

TEST (SchemeWriter, GroupsAndMembersNestUnderTheGroupList)
{
    SchemeModel model;
    addColour (model, "A", 0xff000001);
    addColour (model, "B", 0xff000002);
    addGroup (model, "Empty", {});
    addGroup (model, "Both", { 1, 0 });

    EXPECT_EQ (writeModel (model),
               "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\r\n\r\n\r\n"
               "<COLOURS>\r\n"
               "  <COLOUR name=\"A\" colour=\"ff000001\"/>\r\n"
               "  <COLOUR name=\"B\" colour=\"ff000002\"/>\r\n"
               "  <COLOURGROUPS>\r\n"
               "    <COLOURGROUP name=\"Empty\"/>\r\n"
               "    <COLOURGROUP name=\"Both\">\r\n"
               "      <COLOUR name=\"B\"/>\r\n"
               "      <COLOUR name=\"A\"/>\r\n"
               "    </COLOURGROUP>\r\n"
               "  </COLOURGROUPS>\r\n"
               "</COLOURS>\r\n");
}
