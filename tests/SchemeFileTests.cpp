#include "SchemeFile.h"

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
    const juce::juce_wchar specials[] = { '&', '"', '<', '>', '\r', '\n', '\t', '$', '|', '\'', '\\', ' ', ';', '#', 0x01, 0x1f, 0x7f, 0x80, 0x9f, 0xa0, 0xe9, 0xfeff, 0x4e2d, 0xfffd, 0x1f600, 0x10ffff, 0x2028 };
    auto pick = [&] (int n)
    { return (int) (random() % (juce::uint32) n); };

    auto randomName = [&]
    {
        String name;
        for (int i = pick (4) == 0 ? 0 : pick (70); --i >= 0;)
            name += pick (3) == 0 ? specials[pick ((int) std::size (specials))] : (juce::juce_wchar) (32 + pick (95));
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
