#include "SchemeFileTestSupport.h"
#include "schemefile/SchemeFile.h"

#include <gtest/gtest.h>

using namespace SchemeFileTestSupport;
using juce::String;

namespace
{
/** "name=ARGB" for each colour, then "[group: member positions]" for each group. */
String summary (const SchemeModel& model)
{
    juce::StringArray parts;
    for (int c = 0; c < model.getNumColours(); ++c)
        parts.add (model.getColour (c)->name.toString() + "=" + String::toHexString ((int) model.getColour (c)->colour.getARGB()));
    for (int g = 0; g < model.getNumGroups(); ++g)
    {
        String group ("[" + model.getGroup (g)->getName() + ":");
        for (auto m : memberIndexes (model, *model.getGroup (g)))
            group << " " << m;
        parts.add (group + "]");
    }
    return parts.joinIntoString (" ");
}

/** The summary of the text read as a file, or "refused". */
String read (const String& text)
{
    SchemeModel model;
    if (! readText (text, model))
        return model.getNumColours() + model.getNumGroups() == 0 ? "refused" : "refused, but the model was filled";
    return summary (model);
}
} // namespace

TEST (SchemeReader, ReadsAHandEditedFile)
{
    SchemeModel model;
    ASSERT_TRUE (SchemeFile::readSchemeFile (dataFile ("hand-edited.calvastrascheme"), model));

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
    EXPECT_EQ (member.getParameters().hueShift, 0.0f);
}

TEST (SchemeReader, OtherRootsReadNothingButAreNotErrors)
{
    EXPECT_EQ (read ("<SCHEME><COLOUR name=\"a\" colour=\"ff\"/></SCHEME>"), "");
    EXPECT_EQ (read ("<?xml version=\"1.0\"?><COLOURSX/>"), "");

    // Nesting inside unknown elements is skipped whole.
    EXPECT_EQ (read ("<COLOURS>" + String::repeatedString ("<X>", 20) + "<COLOUR name=\"deep\"/>"
                     + String::repeatedString ("</X>", 20) + "<COLOUR name=\"top\" colour=\"ff000000\"/></COLOURS>"),
               "top=ff000000");
}

TEST (SchemeReader, NamesInAnyLetterCaseAttributesInAnyOrderAndForm)
{
    EXPECT_EQ (read ("<colours><Colour colour='80FFffFF' name='x'></Colour><COLOUR\tNAME = \"y\"\r\n/></colours>"),
               "x=80ffffff y=0");
    EXPECT_EQ (read ("<COLOURS NAME=\"root attributes are ignored\"/>"), "");
    // Missing attributes: an empty name, colour 0.
    EXPECT_EQ (read ("<COLOURS><COLOUR/><COLOUR COLOUR=\"ff0000ff\"/><COLOUR NAME=\"n\"/></COLOURS>"), "=0 =ff0000ff n=0");
    // The first of two attributes of one name counts; other attributes are ignored.
    EXPECT_EQ (read ("<COLOURS><COLOUR name=\"a\" NAME=\"b\" extra=\"e\" colour=\"1\"/></COLOURS>"), "a=1");
    // Also when the first one is empty, and in either order of the two names.
    EXPECT_EQ (read ("<COLOURS><COLOUR colour=\"\" name=\"\" NAME=\"b\" COLOUR=\"2\"/></COLOURS>"), "=0");
    // Colour texts: the last eight hex digits, other characters skipped.
    EXPECT_EQ (read ("<COLOURS><COLOUR NAME=\"a\" COLOUR=\"#123456789abc\"/><COLOUR NAME=\"b\" COLOUR=\"0x g1\"/></COLOURS>"),
               "a=56789abc b=1");
}

TEST (SchemeReader, GroupsFindTheFirstColourOfTheirNameReadSoFar)
{
    EXPECT_EQ (read ("<COLOURS><COLOURGROUPS><COLOURGROUP NAME=\"early\"><COLOUR NAME=\"a\"/></COLOURGROUP></COLOURGROUPS>"
                     "<COLOUR NAME=\"a\" COLOUR=\"1\"/><COLOUR NAME=\"a\" COLOUR=\"2\"/><COLOUR NAME=\"\" COLOUR=\"3\"/>"
                     "<COLOURGROUPS><COLOURGROUP NAME=\"g\"><COLOUR NAME=\"a\"/><COLOUR NAME=\"a\"></COLOUR><COLOUR/>"
                     "<COLOUR NAME=\"zz\"/><X NAME=\"a\"/></COLOURGROUP><COLOURGROUP/><COLOURGROUP NAME=\"\"></COLOURGROUP>"
                     "<colourgroup name=\"&lt;&#97;&gt;\" colour=\"ignored\"><colour name=\"&#97;\"/></colourgroup>"
                     "<OTHER name=\"not a group\"/></COLOURGROUPS><COLOURGROUPS/></COLOURS>"),
               "a=1 a=2 =3 [early:] [g: 0 2] [:] [:] [<a>: 0]");

    // A group list inside a colour or a group is not read.
    EXPECT_EQ (read ("<COLOURS><COLOUR name=\"a\"><COLOURGROUPS><COLOURGROUP name=\"g\"/></COLOURGROUPS></COLOUR></COLOURS>"), "a=0");
}

TEST (SchemeReader, ReferencesAndWhiteSpaceInValuesAsWritten)
{
    EXPECT_EQ (read ("<COLOURS><COLOUR NAME=\"&amp;&quot;&apos;&lt;&gt;&#36;&#x7c;&#233;&#x1F600;&#13;&#10;\" "
                     "COLOUR=\"&#x46;&#70;0&#48;\"/></COLOURS>"),
               "&\"'<>$|" + fromUtf32 ({ 0xe9, 0x1f600, '\r', '\n' }) + "=ff00");
    // Raw tabs and line ends stay as they are, and so do '<' and a quote of the other kind.
    EXPECT_EQ (read ("<COLOURS><COLOUR NAME=\"<b>\tc'd\r\n e\" COLOUR=\"1\"/><COLOUR NAME='\"' COLOUR=\"2\"/></COLOURS>"),
               "<b>\tc'd\r\n e=1 \"=2");
    EXPECT_EQ (read ("<COLOURS><COLOUR name=\"&#x10FFFF;&#1114111;&#0000000000065;\"/></COLOURS>"), fromUtf32 ({ 0x10ffff, 0x10ffff, 'A' }) + "=0");
}

TEST (SchemeReader, ReadsWhatJucesWriterWrites)
{
    // JUCE's writer keeps '$' and '|' and writes one empty line after the
    // declaration; the model must come back all the same.
    SchemeModel model;
    addColour (model, "Tom & \"Jerry\" <b> $5 | 50% 'q' \\ ^`", 0xff102030);
    addColour (model, "a\tb\rc\nd " + fromUtf32 ({ 0x7f, 0x80, 0xa0, 0xe9, 0x4e2d, 0xfeff, 0x1f600, 0x10ffff }), 0x00000001);
    addGroup (model, "Group \r\n&", { 1, 0 });

    juce::XmlElement root ("COLOURS");
    for (int c = 0; c < model.getNumColours(); ++c)
    {
        auto* colour = root.createNewChildElement ("COLOUR");
        colour->setAttribute ("name", model.getColour (c)->name.toString());
        colour->setAttribute ("colour", String::toHexString ((int) model.getColour (c)->colour.getARGB()));
    }
    auto* group = root.createNewChildElement ("COLOURGROUPS")->createNewChildElement ("COLOURGROUP");
    group->setAttribute ("name", "Group \r\n&");
    group->createNewChildElement ("COLOUR")->setAttribute ("name", model.getColour (1)->name.toString());
    group->createNewChildElement ("COLOUR")->setAttribute ("name", model.getColour (0)->name.toString());

    EXPECT_EQ (read (root.toString()), summary (model));
}

TEST (SchemeReader, ReadsByteOrderMarksAndUtf16)
{
    auto folder = juce::File::createTempFile ("boms");
    ASSERT_TRUE (folder.createDirectory());
    auto name = fromUtf32 ({ 'R', 0xe9, 'd', ' ', 0x4e2d, 0x1f600 });
    auto text = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<COLOURS><COLOUR name=\"" + name
                + "\" colour=\"ff0000ff\"/></COLOURS>";

    auto check = [&] (const char* fileName, const juce::MemoryBlock& bytes)
    {
        auto file = folder.getChildFile (fileName);
        ASSERT_TRUE (file.replaceWithData (bytes.getData(), bytes.getSize()));
        SchemeModel model;
        ASSERT_TRUE (SchemeFile::readSchemeFile (file, model)) << fileName;
        EXPECT_EQ (summary (model), name + "=ff0000ff") << fileName;
    };

    juce::MemoryOutputStream utf8, twoMarks;
    utf8.write ("\xef\xbb\xbf", 3);
    utf8 << text;
    check ("utf8-bom.calvastrascheme", utf8.getMemoryBlock());
    twoMarks.write ("\xef\xbb\xbf\xef\xbb\xbf", 6);
    twoMarks << text;
    check ("utf8-two-boms.calvastrascheme", twoMarks.getMemoryBlock());

    // Surrogate pairs are joined into one character.
    juce::MemoryOutputStream littleEndian, bigEndian;
    littleEndian.write ("\xff\xfe", 2);
    bigEndian.write ("\xfe\xff", 2);
    auto* units = text.toUTF16().getAddress();
    for (int i = 0; units[i] != 0; ++i)
    {
        littleEndian.writeShort ((short) units[i]);
        bigEndian.writeShortBigEndian ((short) units[i]);
    }
    check ("utf16le.calvastrascheme", littleEndian.getMemoryBlock());
    check ("utf16be.calvastrascheme", bigEndian.getMemoryBlock());

    // A zero unit ends the text, as it ends a JUCE String.
    littleEndian.writeShort (0);
    littleEndian << "<junk";
    check ("utf16le-zero.calvastrascheme", littleEndian.getMemoryBlock());

    folder.deleteRecursively();
}

TEST (SchemeReader, BytesThatAreNotUtf8)
{
    // Windows-1252, as JUCE reads any file that is not UTF-8.
    const char latin[] = "<COLOURS><COLOUR name=\"Gr\xfcn \x80\" colour=\"1\"/></COLOURS>";
    SchemeModel model;
    ASSERT_TRUE (readBytes (latin, sizeof (latin) - 1, model));
    EXPECT_EQ (summary (model), fromUtf32 ({ 'G', 'r', 0xfc, 'n', ' ', 0x20ac }) + "=1");

    // Overlong forms that JUCE would take for UTF-8 (C0 BC is '<' to it) are refused.
    const char overlong[] = "<COLOURS><COLOUR name=\"a\xc0\xbc\" colour=\"1\"/></COLOURS>";
    SchemeModel refused;
    EXPECT_FALSE (readBytes (overlong, sizeof (overlong) - 1, refused));

    // A zero byte ends the text.
    const char withZero[] = "<COLOURS><COLOUR name=\"a\" colour=\"1\"/></COLOURS>\0<junk";
    SchemeModel cut;
    ASSERT_TRUE (readBytes (withZero, sizeof (withZero) - 1, cut));
    EXPECT_EQ (summary (cut), "a=1");
}

// Hand-edited files that are not quite XML. A reference the reader does not
// know stays as text, markup that breaks the document refuses the file, and
// what lies outside the root is ignored.
TEST (SchemeReader, UnusualHandEditedMarkup)
{
    EXPECT_EQ (read ("<COLOURS><COLOUR name=\"&unknown; &AMP; &#; &#12a; &#X41; a & b &amp\" colour=\"1\"/></COLOURS>"),
               "&unknown; &AMP; &#; &#12a; &#X41; a & b &amp=1");
    // Entities of a document type are not expanded.
    EXPECT_EQ (read ("<!DOCTYPE r [ <!ENTITY e \"x\"> ]><COLOURS><COLOUR name=\"&e;\"/></COLOURS>"), "&e;=0");
    // A zero character reference ends the value.
    EXPECT_EQ (read ("<COLOURS><COLOUR name=\"a&#0;b\" colour=\"1\"/></COLOURS>"), "a=1");
    // Beyond Unicode there is no character to read.
    EXPECT_EQ (read ("<COLOURS><COLOUR name=\"&#x110000;\" colour=\"1\"/></COLOURS>"), "refused");

    EXPECT_EQ (read ("<COLOURS><COLOUR name=\"a\" colour=\"1\"></X></COLOURS>"), "refused");
    EXPECT_EQ (read ("<COLOURS><COLOUR name=\"a\" colour=\"1\"/></colours>"), "refused");
    EXPECT_EQ (read ("<COLOURS>< COLOUR name=\"a\"/></COLOURS>"), "refused");
    EXPECT_EQ (read ("<COLOURS><COLOUR name=a colour=\"1\"/><COLOUR name=\"b\"/></COLOURS>"), "refused");
    EXPECT_EQ (read ("<COLOURS><COLOUR name=\"unclosed colour=\"1\"/></COLOURS>"), "refused");

    EXPECT_EQ (read ("<?xml version=\"1.0\"?><!-- note -->junk<COLOURS><?pi?>text<!-- c --><![CDATA[<COLOUR name=\"no\"/>]]>"
                     "<COLOUR name=\"a\" colour=\"1\"/></COLOURS><COLOUR name=\"after\"/>trailing"),
               "a=1");
}

TEST (SchemeReader, OpensALargeSchemeWithSharedNames)
{
    // 100k colours sharing 50k names and one group of all of them.
    juce::MemoryOutputStream out;
    out << "<COLOURS>\r\n";
    for (int i = 0; i < 100000; ++i)
        out << "  <COLOUR NAME=\"c" << (i % 50000) << "\" COLOUR=\"ff" << String::toHexString (i) << "\"/>\r\n";
    out << "  <COLOURGROUPS>\r\n    <COLOURGROUP NAME=\"all\">\r\n";
    for (int i = 0; i < 100000; ++i)
        out << "      <COLOUR NAME=\"c" << i << "\"/>\r\n";
    out << "    </COLOURGROUP>\r\n  </COLOURGROUPS>\r\n</COLOURS>\r\n";

    SchemeModel model;
    ASSERT_TRUE (readBytes (out.getData(), out.getDataSize(), model));
    ASSERT_EQ (model.getNumColours(), 100000);
    ASSERT_EQ (model.getNumGroups(), 1);

    // The first 50k names are found, each as its first colour; the rest are unknown.
    auto& group = *model.getGroup (0);
    ASSERT_EQ (group.getNumMembers(), 50000);
    EXPECT_EQ (&group.getMember (0)->getSchemeColour(), model.getColour (0));
    EXPECT_EQ (&group.getMember (49999)->getSchemeColour(), model.getColour (49999));
    EXPECT_EQ (model.getColour (50000)->colour.getARGB(), 0x00ffc350u); // "ff" + "c350": six digits
}

TEST (SchemeReader, UnreadableFilesAreRefused)
{
    SchemeModel model;
    EXPECT_FALSE (SchemeFile::readSchemeFile (dataFile ("does-not-exist"), model));
    EXPECT_FALSE (SchemeFile::readSchemeFile (juce::File (TINTWRIGHT_TEST_DATA), model));
    EXPECT_EQ (model.getNumColours(), 0);
}
