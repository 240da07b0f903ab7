#include "scheme/SchemeFile.h"

#include <gtest/gtest.h>

#include <chrono>
#include <random>
#include <sys/stat.h>

namespace
{
using juce::String;

juce::File dataFile (const char* name)
{
    return juce::File (TINTWRIGHT_TEST_DATA).getChildFile (name);
}

String fromUtf32 (std::initializer_list<juce::juce_wchar> chars)
{
    String s;
    for (auto c : chars)
        s += c;
    return s;
}

SchemeColour& addColour (SchemeModel& model, const String& name, juce::uint32 argb)
{
    auto colour = std::make_unique<SchemeColour>();
    colour->name = name;
    colour->colour = juce::Colour (argb);
    return model.appendColour (std::move (colour));
}

ColourGroup& addGroup (SchemeModel& model, const String& name, std::initializer_list<int> memberIndexes)
{
    auto& group = model.appendGroup (std::make_unique<ColourGroup>());
    group.setName (name);
    for (auto i : memberIndexes)
        group.addColour (*model.getColour (i));
    return group;
}

String writeModel (const SchemeModel& model)
{
    return SchemeFile::toText (*SchemeFile::createSchemeElement (model));
}

/** Parses and reads; false when the text yields no document. */
bool readText (const String& text, SchemeModel& model)
{
    auto root = SchemeFile::parse (text);
    if (root == nullptr)
        return false;
    SchemeFile::readScheme (*root, model);
    return true;
}

juce::MemoryBlock bytesOf (const String& text)
{
    return { text.toRawUTF8(), text.getNumBytesAsUTF8() };
}

std::vector<int> memberIndexes (const SchemeModel& model, const ColourGroup& group)
{
    std::vector<int> result;
    for (int m = 0; m < group.getNumMembers(); ++m)
        for (int c = 0; c < model.getNumColours(); ++c)
            if (model.getColour (c) == &group.getMember (m)->getSchemeColour())
                result.push_back (c);
    return result;
}

String repeated (const String& s, int times)
{
    return String::repeatedString (s, times);
}

double secondsFor (const std::function<void()>& work)
{
    auto start = std::chrono::steady_clock::now();
    work();
    return std::chrono::duration<double> (std::chrono::steady_clock::now() - start).count();
}

//==============================================================================
TEST (SchemeFileColourText, EveryHexDigitShiftsInAndOtherCharactersAreSkipped)
{
    EXPECT_EQ (SchemeFile::colourFromText ("ffd3d3d3").getARGB(), 0xffd3d3d3u);
    EXPECT_EQ (SchemeFile::colourFromText ("FFD3D3D3").getARGB(), 0xffd3d3d3u);
    EXPECT_EQ (SchemeFile::colourFromText ("#ffd3d3d3").getARGB(), 0xffd3d3d3u);
    EXPECT_EQ (SchemeFile::colourFromText ("0xffd3d3d3").getARGB(), 0xffd3d3d3u);
    EXPECT_EQ (SchemeFile::colourFromText ("ff d3-d3 zz d3").getARGB(), 0xffd3d3d3u);
    EXPECT_EQ (SchemeFile::colourFromText ("#xyz;ghost!").getARGB(), 0u);
    EXPECT_EQ (SchemeFile::colourFromText ("").getARGB(), 0u);
    // Non-ASCII characters are skipped, even those whose bytes look like digits elsewhere.
    EXPECT_EQ (SchemeFile::colourFromText (String::fromUTF8 (u8"\u00e9\uff21a\U0001F600b")).getARGB(), 0xabu);

    // Only the last eight digits count.
    EXPECT_EQ (SchemeFile::colourFromText ("123456789").getARGB(), 0x23456789u);
    auto thousandDigits = repeated ("0123456789abcdef", 62) + "deadbeef";
    ASSERT_EQ (thousandDigits.length(), 1000);
    EXPECT_EQ (SchemeFile::colourFromText (thousandDigits).getARGB(), 0xdeadbeefu);
}

TEST (SchemeFileColourText, WrittenInLowerCaseWithoutLeadingZeros)
{
    EXPECT_EQ (SchemeFile::colourToText (juce::Colour (0xffd3d3d3)), "ffd3d3d3");
    EXPECT_EQ (SchemeFile::colourToText (juce::Colour (0x0a102030)), "a102030");
    EXPECT_EQ (SchemeFile::colourToText (juce::Colour (0x00ffffffu)), "ffffff");
    EXPECT_EQ (SchemeFile::colourToText (juce::Colour (0x00000001u)), "1");
    EXPECT_EQ (SchemeFile::colourToText (juce::Colour (0x00000000u)), "0");
}

//==============================================================================
TEST (SchemeFileWriter, WritesTheGoldenBytes)
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

    EXPECT_EQ (SchemeFile::toBytes (*SchemeFile::createSchemeElement (model)), golden);
    EXPECT_EQ (bytesOf (writeModel (model)), golden);
}

TEST (SchemeFileWriter, EmptyModelHasAnEmptyGroupList)
{
    SchemeModel model;
    EXPECT_EQ (writeModel (model),
               "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\r\n\r\n\r\n"
               "<COLOURS>\r\n"
               "  <COLOURGROUPS/>\r\n"
               "</COLOURS>\r\n");
}

TEST (SchemeFileWriter, WrapsAfterSixtyCharactersCountedUnescaped)
{
    auto colourLine = [] (const String& name)
    {
        SchemeModel model;
        addColour (model, name, 0xff123456);
        auto lines = juce::StringArray::fromTokens (writeModel (model), "\n", {});
        return lines[4] + "\n" + lines[5];
    };

    // "name" + 4 + 52 characters = 60: not more than 60, no wrap.
    auto fits = repeated ("n", 52);
    EXPECT_EQ (colourLine (fits), "  <COLOUR name=\"" + fits + "\" colour=\"ff123456\"/>\r\n  <COLOURGROUPS/>\r");

    auto tooLong = repeated ("n", 53);
    EXPECT_EQ (colourLine (tooLong), "  <COLOUR name=\"" + tooLong + "\"\r\n          colour=\"ff123456\"/>\r");

    // Escapes do not count: 52 ampersands fit, though they take 260 bytes.
    EXPECT_EQ (colourLine (repeated ("&", 52)),
               "  <COLOUR name=\"" + repeated ("&amp;", 52) + "\" colour=\"ff123456\"/>\r\n  <COLOURGROUPS/>\r");

    // A character outside the BMP counts once.
    auto astral = fromUtf32 ({ 0x1f600 });
    EXPECT_EQ (colourLine (repeated (astral, 52)),
               "  <COLOUR name=\"" + repeated ("&#128512;", 52) + "\" colour=\"ff123456\"/>\r\n  <COLOURGROUPS/>\r");
    EXPECT_EQ (colourLine (repeated (astral, 53)),
               "  <COLOUR name=\"" + repeated ("&#128512;", 53) + "\"\r\n          colour=\"ff123456\"/>\r");
}

TEST (SchemeFileWriter, KeepsOnlyItsOwnCharacterSetVerbatim)
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

//==============================================================================
TEST (SchemeFileReader, ReadsAHandEditedFile)
{
    SchemeModel model;
    auto root = SchemeFile::parseFile (dataFile ("hand-edited.calvastrascheme"));
    ASSERT_NE (root, nullptr);
    SchemeFile::readScheme (*root, model);

    ASSERT_EQ (model.getNumColours(), 5);
    const std::pair<const char*, juce::uint32> expected[] = {
        { "Alpha", 0xff102030 }, { "Beta", 0x00000010 }, { "", 0xff00ff00 }, { "No colour", 0x00000000 }, { "Beta", 0xff000000 }
    };
    for (int i = 0; i < 5; ++i)
    {
        EXPECT_EQ (model.getColour (i)->name, expected[i].first) << i;
        EXPECT_EQ (model.getColour (i)->colour.getARGB(), expected[i].second) << i;
    }

    ASSERT_EQ (model.getNumGroups(), 4);
    // Groups read before any colour keep their name but lose their members.
    EXPECT_EQ (model.getGroup (0)->getName(), "Too early");
    EXPECT_EQ (model.getGroup (0)->getNumMembers(), 0);
    // Members link by exact name to the first colour so named; a case mismatch,
    // an unknown name and a repeat are dropped.
    EXPECT_EQ (model.getGroup (1)->getName(), "Mixed");
    EXPECT_EQ (memberIndexes (model, *model.getGroup (1)), (std::vector<int> { 1, 0 }));
    // A group without a name attribute gets an empty name, not the default.
    EXPECT_EQ (model.getGroup (2)->getName(), "");
    EXPECT_EQ (model.getGroup (2)->getNumMembers(), 0);
    // A second group list adds its groups after the first.
    EXPECT_EQ (model.getGroup (3)->getName(), "Second list");
    EXPECT_EQ (memberIndexes (model, *model.getGroup (3)), (std::vector<int> { 3, 2 }));

    // Members start neutral.
    auto& member = *model.getGroup (1)->getMember (0);
    EXPECT_EQ (member.getPreviewColour(), member.getStoredColour());
    EXPECT_EQ (member.getHueShift(), 0.0f);
}

TEST (SchemeFileReader, OtherRootsReadNothingButAreNotErrors)
{
    SchemeModel model;
    EXPECT_TRUE (readText ("<SCHEME><COLOUR name=\"a\" colour=\"ff\"/></SCHEME>", model));
    EXPECT_EQ (model.getNumColours(), 0);
    EXPECT_EQ (model.getNumGroups(), 0);

    // Nesting inside unknown elements is skipped whole.
    String nested = "<COLOURS>" + repeated ("<X>", 20) + "<COLOUR name=\"deep\"/>" + repeated ("</X>", 20)
                    + "<COLOUR name=\"top\" colour=\"ff000000\"/></COLOURS>";
    EXPECT_TRUE (readText (nested, model));
    ASSERT_EQ (model.getNumColours(), 1);
    EXPECT_EQ (model.getColour (0)->name, "top");
}

TEST (SchemeFileReader, ReadsByteOrderMarksAndUtf16)
{
    auto folder = juce::File::createTempFile ("boms");
    ASSERT_TRUE (folder.createDirectory());
    auto name = fromUtf32 ({ 'R', 0xe9, 'd', ' ', 0x4e2d });
    auto text = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<COLOURS><COLOUR name=\"" + name
                + "\" colour=\"ff0000ff\"/></COLOURS>";

    auto check = [&] (const char* fileName, const juce::MemoryBlock& bytes)
    {
        auto file = folder.getChildFile (fileName);
        ASSERT_TRUE (file.replaceWithData (bytes.getData(), bytes.getSize()));
        SchemeModel model;
        auto root = SchemeFile::parseFile (file);
        ASSERT_NE (root, nullptr) << fileName;
        SchemeFile::readScheme (*root, model);
        ASSERT_EQ (model.getNumColours(), 1) << fileName;
        EXPECT_EQ (model.getColour (0)->name, name) << fileName;
        EXPECT_EQ (model.getColour (0)->colour.getARGB(), 0xff0000ffu) << fileName;
    };

    juce::MemoryOutputStream utf8;
    utf8.write ("\xef\xbb\xbf", 3);
    utf8 << text;
    check ("utf8-bom.calvastrascheme", utf8.getMemoryBlock());

    juce::MemoryOutputStream littleEndian, bigEndian;
    littleEndian.write ("\xff\xfe", 2);
    bigEndian.write ("\xfe\xff", 2);
    for (auto c : juce::Array<juce::juce_wchar> (text.toUTF32().getAddress(), text.length()))
    {
        littleEndian.writeShort ((short) c);
        bigEndian.writeShortBigEndian ((short) c);
    }
    check ("utf16le.calvastrascheme", littleEndian.getMemoryBlock());
    check ("utf16be.calvastrascheme", bigEndian.getMemoryBlock());

    // A byte-order mark handed over inside a String.
    SchemeModel model;
    EXPECT_TRUE (readText (fromUtf32 ({ 0xfeff }) + text, model));
    EXPECT_EQ (model.getNumColours(), 1);

    folder.deleteRecursively();
}

//==============================================================================
// Random models written and read back must come back exactly: names, values,
// groups and members (members by name: to the first colour of that name).
TEST (SchemeFileRoundTrip, RandomModelsReadBackExactly)
{
    std::mt19937 random (20240611);
    const juce::juce_wchar oddCharacters[] = { '&', '"', '<', '>', '\r', '\n', '\t', '$', '|', '\'', '\\', ' ', ';', '#', 0x01, 0x1f, 0x7f, 0x80, 0x9f, 0xa0, 0xe9, 0xfeff, 0x4e2d, 0xfffd, 0x1f600, 0x10ffff, 0x2028 };
    auto pick = [&] (int n)
    { return (int) (random() % (juce::uint32) n); };

    auto randomName = [&]
    {
        String name;
        for (int i = pick (4) == 0 ? 0 : pick (70); --i >= 0;)
            name += pick (3) == 0 ? oddCharacters[pick ((int) std::size (oddCharacters))] : (juce::juce_wchar) (32 + pick (95));
        return name;
    };

    for (int round = 0; round < 300; ++round)
    {
        SchemeModel model;

        for (int i = pick (30); --i >= 0;)
        {
            juce::uint32 argb = random();
            if (pick (4) == 0)
                argb &= 0x0fffffff; // alpha below 0x10: fewer than eight digits
            auto sameAsBefore = model.getNumColours() > 0 && pick (5) == 0;
            addColour (model, sameAsBefore ? model.getColour (pick (model.getNumColours()))->name : randomName(), argb);
        }

        for (int g = pick (5); --g >= 0;)
        {
            auto& group = model.appendGroup (std::make_unique<ColourGroup>());
            group.setName (randomName());
            for (int m = model.getNumColours() > 0 ? pick (12) : 0; --m >= 0;)
                group.addColour (*model.getColour (pick (model.getNumColours())));
        }

        auto text = writeModel (model);
        SchemeModel readBack;
        ASSERT_TRUE (readText (text, readBack)) << text;

        ASSERT_EQ (readBack.getNumColours(), model.getNumColours());
        for (int c = 0; c < model.getNumColours(); ++c)
        {
            ASSERT_EQ (readBack.getColour (c)->name, model.getColour (c)->name) << text;
            ASSERT_EQ (readBack.getColour (c)->colour, model.getColour (c)->colour);
        }

        ASSERT_EQ (readBack.getNumGroups(), model.getNumGroups());
        for (int g = 0; g < model.getNumGroups(); ++g)
        {
            auto& written = *model.getGroup (g);
            auto& read = *readBack.getGroup (g);
            ASSERT_EQ (read.getName(), written.getName());

            std::vector<int> expected;
            for (int m = 0; m < written.getNumMembers(); ++m)
            {
                int first = 0;
                while (model.getColour (first)->name != written.getMember (m)->getSchemeColour().name)
                    ++first;
                if (std::find (expected.begin(), expected.end(), first) == expected.end())
                    expected.push_back (first);
            }
            ASSERT_EQ (memberIndexes (readBack, read), expected);
        }

        // Writing what was read gives the same bytes again.
        auto again = writeModel (readBack);
        SchemeModel thirdRead;
        ASSERT_TRUE (readText (again, thirdRead));
        EXPECT_EQ (writeModel (thirdRead), again);
    }
}

TEST (SchemeFileRoundTrip, NameWithEveryControlCharacter)
{
    String name;
    for (juce::juce_wchar c = 1; c < 32; ++c)
        name += c;
    name += (juce::juce_wchar) 0x7f;
    for (juce::juce_wchar c = 0x80; c < 0xa0; ++c)
        name += c;

    SchemeModel model, readBack;
    addColour (model, name, 0x01020304);
    addGroup (model, name, { 0 });
    auto text = writeModel (model);

    EXPECT_TRUE (text.containsOnly (String (" \r\n") + "<>/=\"?.-!#&;" + "0123456789abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ"));
    ASSERT_TRUE (readText (text, readBack));
    ASSERT_EQ (readBack.getNumColours(), 1);
    EXPECT_EQ (readBack.getColour (0)->name, name);
    EXPECT_EQ (readBack.getGroup (0)->getName(), name);
    EXPECT_EQ (readBack.getGroup (0)->getNumMembers(), 1);
}
} // namespace

//==============================================================================
namespace
{
struct ScratchFolder
{
    ScratchFolder() { folder.createDirectory(); }
    ~ScratchFolder() { folder.deleteRecursively(); }

    juce::StringArray contents() const
    {
        juce::StringArray names;
        for (auto& f : folder.findChildFiles (juce::File::findFilesAndDirectories, false))
            names.add (f.getFileName());
        names.sort (false);
        return names;
    }

    juce::File folder = juce::File::createTempFile ("atomic");
};

const char* const failureText = "Could not write the scheme file!";
} // namespace

TEST (SchemeFileAtomicWrite, ReplacesTheBytesAndLeavesNoTemporaryFile)
{
    ScratchFolder scratch;
    auto target = scratch.folder.getChildFile ("Dark Blue.calvastrascheme");

    EXPECT_TRUE (SchemeFile::writeFileAtomically (target, String ("first")).wasOk());
    EXPECT_EQ (target.loadFileAsString(), "first");

    ASSERT_EQ (::chmod (target.getFullPathName().toRawUTF8(), 0600), 0);
    EXPECT_TRUE (SchemeFile::writeFileAtomically (target, String ("second, longer")).wasOk());
    EXPECT_EQ (target.loadFileAsString(), "second, longer");

    struct stat info;
    ASSERT_EQ (::stat (target.getFullPathName().toRawUTF8(), &info), 0);
    EXPECT_EQ (info.st_mode & 0777, 0600u) << "the replaced file's permissions are kept";

    EXPECT_EQ (scratch.contents(), juce::StringArray ("Dark Blue.calvastrascheme"));
}

TEST (SchemeFileAtomicWrite, WritesThroughASymbolicLink)
{
    ScratchFolder scratch;
    auto real = scratch.folder.getChildFile ("real.calvastrascheme");
    auto link = scratch.folder.getChildFile ("link.calvastrascheme");
    ASSERT_TRUE (real.replaceWithText ("old"));
    ASSERT_TRUE (real.createSymbolicLink (link, true));

    EXPECT_TRUE (SchemeFile::writeFileAtomically (link, String ("new")).wasOk());
    EXPECT_TRUE (link.isSymbolicLink());
    EXPECT_EQ (real.loadFileAsString(), "new");
    EXPECT_EQ (scratch.contents(), juce::StringArray ("link.calvastrascheme", "real.calvastrascheme"));
}

TEST (SchemeFileAtomicWrite, FailuresLeaveEverythingAsItWas)
{
    ScratchFolder scratch;
    auto plainFile = scratch.folder.getChildFile ("plain");
    ASSERT_TRUE (plainFile.replaceWithText ("keep me"));
    auto folderTarget = scratch.folder.getChildFile ("folder.calvastrascheme");
    ASSERT_TRUE (folderTarget.createDirectory());
    ASSERT_TRUE (folderTarget.getChildFile ("inside").replaceWithText ("untouched"));
    auto before = scratch.contents();

    // The parent is a regular file.
    auto result = SchemeFile::writeFileAtomically (plainFile.getChildFile ("x.calvastrascheme"), String ("new"));
    EXPECT_EQ (result.getErrorMessage(), failureText);
    EXPECT_EQ (plainFile.loadFileAsString(), "keep me");

    // The target is a folder.
    result = SchemeFile::writeFileAtomically (folderTarget, String ("new"));
    EXPECT_EQ (result.getErrorMessage(), failureText);
    EXPECT_TRUE (folderTarget.isDirectory());
    EXPECT_EQ (folderTarget.getChildFile ("inside").loadFileAsString(), "untouched");

    // The folder does not exist.
    auto missing = scratch.folder.getChildFile ("missing");
    result = SchemeFile::writeFileAtomically (missing.getChildFile ("x.calvastrascheme"), String ("new"));
    EXPECT_EQ (result.getErrorMessage(), failureText);
    EXPECT_FALSE (missing.exists());

    EXPECT_EQ (scratch.contents(), before) << "no temporary file left behind";
}

//==============================================================================
// Hostile and broken input. Where the guard in parse() missed something, JUCE's
// parser would crash (stack overflow), hang, or read past the text, so each of
// these tests fails loudly rather than by a wrong value.
namespace
{
String nestedIn (const String& unit, int times, const String& close = {})
{
    return "<COLOURS>" + repeated (unit, times) + repeated (close, times) + "</COLOURS>";
}
} // namespace

TEST (SchemeFileHostileInput, DeepNestingIsRefused)
{
    EXPECT_EQ (SchemeFile::parse (nestedIn ("<a>", 50000, "</a>")), nullptr);

    ScratchFolder scratch;
    auto file = scratch.folder.getChildFile ("deep.calvastrascheme");
    ASSERT_TRUE (file.replaceWithText (nestedIn ("<COLOUR>", 50000, "</COLOUR>")));
    EXPECT_EQ (SchemeFile::parseFile (file), nullptr);

    // The bound itself: the root and 255 more levels parse, one more does not.
    const int levels = SchemeFile::maxNestingDepth - 1;
    SchemeModel model;
    EXPECT_TRUE (readText (nestedIn ("<x a=\"1\">", levels, "</x>"), model));
    EXPECT_EQ (SchemeFile::parse (nestedIn ("<x a=\"1\">", levels + 1, "</x>")), nullptr);
}

TEST (SchemeFileHostileInput, MarkupHiddenWhereTheParserDoesNotLookIsNotCounted)
{
    // Each unit opens one level for JUCE while also holding something that
    // looks like an end tag to a careless scan.
    const char* const units[] = {
        "<a><!--</a>-->",
        "<a x=\"</a>\">",
        "<a x='/>'>",
        "<a><![CDATA[</a>]]>",
        "<a><?p </a>?>",
        "<a <!-- /> -->>",
        "< a>",
        "<a\n  x = \"/>\" >",
        "<a x='&amp;&quot;</a>'>",
        "<a/ ><a>",
        "<a x=\"\"/><b>",
        "<a><!-- -- </a> -->",
    };

    for (auto* unit : units)
    {
        EXPECT_EQ (SchemeFile::parse (nestedIn (unit, 50000)), nullptr) << unit;
        EXPECT_EQ (SchemeFile::parse ("<?xml version=\"1.0\"?>" + nestedIn (unit, 50000)), nullptr) << unit;
    }
}

TEST (SchemeFileHostileInput, LegitimateOddMarkupStillReads)
{
    auto text = "<?xml version=\"1.0\"?>\n<!-- </COLOURS> -->\n<!DOCTYPE COLOURS [ <!ELEMENT COLOURS ANY> ]>\n"
                "<COLOURS>\n"
                "  <?editor keep </COLOURS> ?>\n"
                "  <COLOUR name=\"a/>b</COLOURS>&lt;c&gt;\" colour='ff000001'/>\n"
                "  <!-- <COLOUR name=\"commented\"/> -->\n"
                "  <![CDATA[ </COLOURS> ]]>\n"
                "  <COLOUR\n      name = \"&#x41;&#66;&AMP;&apos;&#128512;\"\n      colour=\"ff000002\" />\n"
                "  text &amp; more text\n"
                "</COLOURS>\n"
                "trailing text is not read";

    SchemeModel model;
    ASSERT_TRUE (readText (text, model));
    ASSERT_EQ (model.getNumColours(), 2);
    EXPECT_EQ (model.getColour (0)->name, "a/>b</COLOURS><c>");
    EXPECT_EQ (model.getColour (1)->name, "AB&'" + fromUtf32 ({ 0x1f600 }));
    EXPECT_EQ (model.getColour (1)->colour.getARGB(), 0xff000002u);
}

TEST (SchemeFileHostileInput, ProcessingInstructionBeforeTextIsRefused)
{
    // JUCE's parser loops for ever on these.
    EXPECT_EQ (SchemeFile::parse ("<COLOURS><?pi?>x</COLOURS>"), nullptr);
    EXPECT_EQ (SchemeFile::parse ("<COLOURS> <?pi?> <!-- c --> &amp;</COLOURS>"), nullptr);
    EXPECT_EQ (SchemeFile::parse ("<COLOURS>text<?pi?>more</COLOURS>"), nullptr);

    // Before an element it is harmless.
    SchemeModel model;
    EXPECT_TRUE (readText ("<COLOURS>text<?pi?>\n<COLOUR name=\"a\"/></COLOURS>", model));
    EXPECT_EQ (model.getNumColours(), 1);
}

TEST (SchemeFileHostileInput, OnlyPredefinedEntitiesAndCharacterReferences)
{
    const char* const refused[] = {
        "<COLOURS><COLOUR name=\"&unknown;\"/></COLOURS>",
        "<COLOURS>&<a><b><c/></b></a>;</COLOURS>", // JUCE would parse the entity's name as elements
        "<!DOCTYPE r [ <!ENTITY e \"<b>&e;</b>\" > ]><COLOURS>&e;</COLOURS>",
        "<COLOURS><COLOUR name=\"&#x", // JUCE reads past the end of the text here
        "<COLOURS><COLOUR name='&#x'/></COLOURS>",
        "<COLOURS><COLOUR name=\"&#x110000;\"/></COLOURS>",
        "<COLOURS><COLOUR name=\"&#1114112;\"/></COLOURS>",
        "<COLOURS><COLOUR name=\"&#0000000000065;\"/></COLOURS>",
        "<COLOURS><COLOUR name=\"&#;\"/></COLOURS>",
        "<COLOURS><COLOUR name=\"& amp;\"/></COLOURS>",
        "<COLOURS><COLOUR name=\"&amp\"/></COLOURS>",
    };

    for (auto* text : refused)
        EXPECT_EQ (SchemeFile::parse (text), nullptr) << text;

    SchemeModel model;
    ASSERT_TRUE (readText ("<COLOURS><COLOUR name=\"&#x10FFFF;&#1114111;&#000065;&Lt;\"/></COLOURS>", model));
    EXPECT_EQ (model.getColour (0)->name, fromUtf32 ({ 0x10ffff, 0x10ffff, 'A', '<' }));
}

TEST (SchemeFileHostileInput, BrokenInputGivesNoDocument)
{
    EXPECT_EQ (SchemeFile::parse (""), nullptr);
    EXPECT_EQ (SchemeFile::parse (" \r\n\t"), nullptr);
    EXPECT_EQ (SchemeFile::parse ("just text"), nullptr);
    EXPECT_EQ (SchemeFile::parse ("<!-- unfinished"), nullptr);
    EXPECT_EQ (SchemeFile::parseFile (juce::File (TINTWRIGHT_TEST_DATA).getChildFile ("does-not-exist")), nullptr);
    EXPECT_EQ (SchemeFile::parseFile (juce::File (TINTWRIGHT_TEST_DATA)), nullptr);

    // A file cut off anywhere before its root's end tag is finished gives no
    // document (JUCE alone returns a root for some cuts: inside the root's
    // start tag, or inside the last end tag).
    auto full = dataFile ("written.calvastrascheme").loadFileAsString();
    auto complete = full.lastIndexOfChar ('>') + 1;
    for (int length = 0; length <= full.length(); ++length)
        EXPECT_EQ (SchemeFile::parse (full.substring (0, length)) != nullptr, length >= complete) << length;

    // Binary garbage, and garbage with markup characters mixed in, from files.
    ScratchFolder scratch;
    std::mt19937 random (7);
    auto file = scratch.folder.getChildFile ("garbage.calvastrascheme");
    for (int round = 0; round < 300; ++round)
    {
        juce::MemoryOutputStream bytes;
        if (round % 3 == 0)
            bytes << "<COLOURS>";
        for (int i = (int) (random() % 3000); --i >= 0;)
        {
            auto r = random();
            bytes.writeByte (round % 2 == 0 ? (char) r : "<>/&;\"'=!?-[]x#"[r % 15]);
        }
        ASSERT_TRUE (file.replaceWithData (bytes.getData(), bytes.getDataSize()));

        if (auto root = SchemeFile::parseFile (file))
        {
            SchemeModel model;
            SchemeFile::readScheme (*root, model);
        }
    }
}

TEST (SchemeFileHostileInput, HundredMegabyteAttributeValue)
{
    const size_t valueLength = 100 * 1000 * 1000;
    String text;
    {
        juce::MemoryOutputStream out (valueLength + 100);
        out << "<COLOURS><COLOUR colour=\"ff123456\" name=\"";
        out.writeRepeatedByte ('x', valueLength);
        out << "\"/></COLOURS>";
        text = out.toString();
    }

    SchemeModel model;
    ASSERT_TRUE (readText (text, model));
    text = {};
    ASSERT_EQ (model.getNumColours(), 1);
    EXPECT_EQ (model.getColour (0)->name.getNumBytesAsUTF8(), valueLength);
    EXPECT_EQ (model.getColour (0)->colour.getARGB(), 0xff123456u);

    // Written back, the long name puts the colour attribute on a line of its own.
    auto bytes = SchemeFile::toBytes (*SchemeFile::createSchemeElement (model));
    const String ending ("xxx\"\r\n          colour=\"ff123456\"/>\r\n  <COLOURGROUPS/>\r\n</COLOURS>\r\n");
    const String start ("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\r\n\r\n\r\n<COLOURS>\r\n  <COLOUR name=\"xxx");
    ASSERT_EQ (bytes.getSize(), start.length() + valueLength - 6 + ending.length());
    auto* data = static_cast<const char*> (bytes.getData());
    EXPECT_EQ (String (data, (size_t) start.length()), start);
    EXPECT_EQ (String (data + bytes.getSize() - (size_t) ending.length(), (size_t) ending.length()), ending);
}

TEST (SchemeFileHostileInput, ManyAttributesAreSearchedWithoutRepeatedWalks)
{
    // Looking attributes up by index walks JUCE's list from its head each time;
    // done for every attribute of 200,000 that would take minutes.
    juce::MemoryOutputStream out;
    out << "<COLOURS><COLOUR";
    for (int i = 0; i < 200000; ++i)
        out << " a=\"" << i << "\"";
    out << " Colour=\"ff00ff00\" NaMe=\"found\"/></COLOURS>";

    SchemeModel model;
    ASSERT_TRUE (readText (out.toString(), model));
    ASSERT_EQ (model.getNumColours(), 1);
    EXPECT_EQ (model.getColour (0)->name, "found");
    EXPECT_EQ (model.getColour (0)->colour.getARGB(), 0xff00ff00u);
}

TEST (SchemeFileHostileInput, FloodOfDistinctNamesIsRefused)
{
    auto withNames = [] (int count, bool asAttributes)
    {
        juce::MemoryOutputStream out;
        out << "<COLOURS>";
        for (int i = 0; i < count; ++i)
            out << (asAttributes ? "<COLOUR name" : "<name") << i << "=\"x\"/>";
        out << "</COLOURS>";
        return out.toString();
    };

    EXPECT_EQ (SchemeFile::parse (withNames (50000, true)), nullptr);
    EXPECT_EQ (SchemeFile::parse (withNames (50000, false)), nullptr);
    EXPECT_NE (SchemeFile::parse (withNames (SchemeFile::maxDistinctNames / 2, true)), nullptr);
}
