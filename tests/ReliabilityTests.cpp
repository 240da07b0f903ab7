// Bad input and interrupted saves, seen from the scheme document: nothing may
// crash, a failed open keeps what was shown, and the file on disk always holds
// a whole scheme, the old one or the new one.

#include "ReliabilityTestSupport.h"
#include "app/CalvastraTintwright.h"
#include "document/CalvastraScheme.h"
#include "groups/ColourTweaker.h"
#include "scheme/SchemeComparison.h"
#include "tweak/ColourGroupTweakerComponent.h"

#include <gtest/gtest.h>

#include <map>
#include <random>
#include <string_view>

using ReliabilityTestSupport::fillModel;
using ReliabilityTestSupport::ScratchFolder;

using juce::String;

namespace
{
/** What a folder holds: names, sizes, modification times and content hashes. */
std::map<juce::String, std::string> folderState (const juce::File& folder)
{
    std::map<juce::String, std::string> state;

    for (auto& file : folder.findChildFiles (juce::File::findFilesAndDirectories, true))
    {
        juce::MemoryBlock bytes;
        file.loadFileAsData (bytes);
        const auto hash = std::hash<std::string_view>() (std::string_view (static_cast<const char*> (bytes.getData()), bytes.getSize()));
        state[file.getRelativePathFrom (folder)] = std::to_string (file.getSize()) + " "
                                                   + std::to_string (file.getLastModificationTime().toMilliseconds())
                                                   + " " + std::to_string (hash);
    }

    return state;
}

juce::File writeBytes (const juce::File& file, const void* data, size_t size)
{
    file.replaceWithData (data, size);
    return file;
}

juce::File writeBytes (const juce::File& file, const std::string& bytes)
{
    return writeBytes (file, bytes.data(), bytes.size());
}

std::string utf8 (const String& text)
{
    return text.toStdString();
}

/** Every control character: C0 (tab, CR and LF included), DEL and C1. */
String everyControlCharacter()
{
    String name ("ctl");
    for (juce::juce_wchar c = 1; c < 32; ++c)
        name += c;
    name += (juce::juce_wchar) 0x7f;
    for (juce::juce_wchar c = 0x80; c < 0xa0; ++c)
        name += c;
    return name;
}

/** A scheme whose first colour and group carry these names, in UTF-8. */
String schemeWithName (const String& colourName, const String& colourText = "ff204060")
{
    auto escaped = colourName.replace ("&", "&amp;").replace ("\"", "&quot;").replace ("<", "&lt;");
    return "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<COLOURS>\n  <COLOUR name=\"" + escaped + "\" colour=\""
           + colourText + "\"/>\n  <COLOUR name=\"Plain\" colour=\"ff000000\"/>\n  <COLOURGROUPS>\n    <COLOURGROUP name=\""
           + escaped + "\">\n      <COLOUR name=\"" + escaped + "\"/>\n      <COLOUR name=\"Plain\"/>\n    </COLOURGROUP>\n"
           + "  </COLOURGROUPS>\n</COLOURS>\n";
}

class BadInputTest : public ::testing::Test
{
protected:
    BadInputTest()
    {
        main = std::make_unique<CalvastraTintwright> (&commands);
        main->setSize (600, 450);
    }

    ColourGroup* shownGroup() { return main->getGroupPane().getGroupTweaker().getColourGroup(); }

    /** Paints the whole main component, as a repaint of the window would. */
    juce::Image paintAll()
    {
        juce::Image image (juce::Image::ARGB, main->getWidth(), main->getHeight(), true);
        juce::Graphics g (image);
        main->paintEntireComponent (g, true);
        return image;
    }

    ScratchFolder scratch;
    juce::ApplicationCommandManager commands;
    std::unique_ptr<CalvastraTintwright> main;
};
} // namespace

// Files that are not schemes at all: each open fails without a crash, the
// scheme on screen stays with its pending tweak, and nothing is written.
TEST_F (BadInputTest, FailedOpensKeepTheShownSchemeAndWriteNothing)
{
    auto folder = scratch.folder;
    const auto good = writeBytes (folder.getChildFile ("Good.calvastrascheme"), utf8 (schemeWithName ("Kept")));
    ASSERT_TRUE (main->openScheme (good));
    auto* shown = main->getScheme();
    auto* group = shownGroup();
    ASSERT_NE (group, nullptr);
    group->setBlueOffset (-30);
    const auto preview = group->getMember (0)->getPreviewColour();
    const auto before = paintAll();

    std::string garbage;
    std::mt19937 random (1234);
    for (int i = 0; i < 65536; ++i)
        garbage += (char) (random() & 0xff);

    std::string deep; // never closed
    for (int i = 0; i < 50000; ++i)
        deep += "<COLOURS>";

    const auto whole = utf8 (schemeWithName ("Truncated"));

    const juce::File failing[] = {
        writeBytes (folder.getChildFile ("Empty.calvastrascheme"), std::string()),
        writeBytes (folder.getChildFile ("Garbage.calvastrascheme"), garbage),
        writeBytes (folder.getChildFile ("Truncated.calvastrascheme"), whole.substr (0, whole.size() / 2)),
        writeBytes (folder.getChildFile ("Cut in a tag.calvastrascheme"), whole.substr (0, whole.find ("colour=\"") + 10)),
        writeBytes (folder.getChildFile ("Deep.calvastrascheme"), deep),
    };

    const auto filesBefore = folderState (folder);

    for (auto& file : failing)
    {
        SCOPED_TRACE (file.getFileName());
        EXPECT_FALSE (main->openScheme (file));
        EXPECT_EQ (main->getScheme(), shown);
        EXPECT_EQ (main->getSchemeListPane().getList().getScheme(), shown);
        EXPECT_EQ (shownGroup(), group);
        EXPECT_EQ (group->getMember (0)->getParameters().blueOffset, -30);
        EXPECT_EQ (group->getMember (0)->getPreviewColour(), preview);

        const auto after = paintAll();
        for (int y = 0; y < after.getHeight(); y += 3)
            for (int x = 0; x < after.getWidth(); x += 3)
                ASSERT_EQ (after.getPixelAt (x, y), before.getPixelAt (x, y)) << x << ", " << y;
    }

    EXPECT_EQ (folderState (folder), filesBefore);
}

// Odd but well-formed files open, show and survive a save and a reopen.
TEST_F (BadInputTest, OddSchemesOpenShowAndSaveBack)
{
    auto folder = scratch.folder;
    const auto controls = everyControlCharacter();
    const auto nonAscii = String (juce::CharPointer_UTF8 ("Gr\xc3\xbcn \xe6\x97\xa5\xe6\x9c\xac \xf0\x9f\x98\x80"));

    // Raw control bytes inside the attribute (not character references).
    const auto withControls = writeBytes (folder.getChildFile ("Controls.calvastrascheme"),
                                          utf8 (schemeWithName (controls)));

    juce::MemoryOutputStream utf8Bom;
    utf8Bom.write ("\xef\xbb\xbf", 3);
    utf8Bom << schemeWithName (nonAscii);
    const auto withUtf8Bom = writeBytes (folder.getChildFile ("Utf8 BOM.calvastrascheme"), utf8Bom.getData(), utf8Bom.getDataSize());

    juce::MemoryOutputStream utf16;
    utf16.write ("\xff\xfe", 2);
    const auto text = schemeWithName (nonAscii);
    utf16.write (text.toUTF16().getAddress(), juce::CharPointer_UTF16::getBytesRequiredFor (text.getCharPointer()));
    const auto withUtf16Bom = writeBytes (folder.getChildFile ("Utf16 BOM.calvastrascheme"), utf16.getData(), utf16.getDataSize());

    // The same, big-endian: every 16-bit unit swapped, the mark included.
    juce::MemoryBlock swapped (utf16.getData(), utf16.getDataSize());
    for (size_t i = 0; i + 1 < swapped.getSize(); i += 2)
        std::swap (swapped[i], swapped[i + 1]);
    const auto withUtf16BigEndian = writeBytes (folder.getChildFile ("Utf16 BE.calvastrascheme"), swapped.getData(), swapped.getSize());

    String thousandDigits;
    for (int i = 0; i < 1000; ++i)
        thousandDigits += "0123456789abcdef"[(i * 7) % 16];
    const auto longColour = writeBytes (folder.getChildFile ("Long colour.calvastrascheme"),
                                        utf8 (schemeWithName ("Long", thousandDigits)));

    struct Case
    {
        juce::File file;
        String name;
        juce::uint32 argb;
    };

    const Case cases[] = {
        { withControls, controls, 0xff204060 },
        { withUtf8Bom, nonAscii, 0xff204060 },
        { withUtf16Bom, nonAscii, 0xff204060 },
        { withUtf16BigEndian, nonAscii, 0xff204060 },
        { longColour, "Long", (juce::uint32) thousandDigits.getLastCharacters (8).getHexValue64() },
    };

    for (auto& c : cases)
    {
        SCOPED_TRACE (c.file.getFileName());
        const auto filesBefore = folderState (folder);

        ASSERT_TRUE (main->openScheme (c.file));
        auto* scheme = main->getScheme();
        ASSERT_EQ (scheme->getNumColours(), 2);
        EXPECT_EQ (scheme->getColour (0)->name, c.name);
        EXPECT_EQ (scheme->getColour (0)->colour.getARGB(), c.argb);
        ASSERT_NE (shownGroup(), nullptr);
        EXPECT_EQ (shownGroup()->getName(), c.name);
        ASSERT_EQ (shownGroup()->getNumMembers(), 2);
        EXPECT_EQ (&shownGroup()->getMember (0)->getSchemeColour(), scheme->getColour (0));

        paintAll();
        EXPECT_EQ (folderState (folder), filesBefore) << "opening wrote something";

        // Saved under a new name and opened again: the same scheme.
        const auto copy = folder.getChildFile ("Copy of " + c.file.getFileName());
        ASSERT_TRUE (scheme->saveDocument (copy).wasOk());
        CalvastraScheme reread;
        ASSERT_TRUE (reread.loadDocument (copy).wasOk());
        EXPECT_EQ (SchemeComparison::firstDifference (*scheme, reread), "");
        copy.deleteFile();
    }
}

// A single 100 MB attribute value: it opens in reasonable time and memory, and
// the window can still be painted with it in the list and the group.
TEST_F (BadInputTest, HundredMegabyteNameOpensAndPaints)
{
    const size_t size = 100 * 1024 * 1024;
    std::string bytes = "<COLOURS><COLOUR colour=\"ff336699\" name=\"";
    bytes.append (size, 'W');
    bytes += "\"/><COLOUR name=\"Plain\" colour=\"ff000000\"/></COLOURS>";
    const auto file = writeBytes (scratch.folder.getChildFile ("Huge.calvastrascheme"), bytes);
    bytes = {};

    ASSERT_TRUE (main->openScheme (file));
    auto* scheme = main->getScheme();
    ASSERT_EQ (scheme->getNumColours(), 2);
    EXPECT_EQ ((size_t) scheme->getColour (0)->name.toString().length(), size);
    EXPECT_EQ (scheme->getColour (0)->colour.getARGB(), 0xff336699u);

    // In the group colour list too.
    auto& group = scheme->appendGroup (std::make_unique<ColourGroup>());
    group.addColour (*scheme->getColour (0));
    main->getGroupPane().setScheme (scheme);

    const auto started = juce::Time::getMillisecondCounterHiRes();
    const auto image = paintAll();
    EXPECT_LT (juce::Time::getMillisecondCounterHiRes() - started, 5000.0) << "painting a long name took too long";

    // The swatch of the first row is there.
    auto& list = main->getSchemeListPane().getList();
    const auto swatch = main->getLocalPoint (&list, juce::Point<int> (12, 10));
    EXPECT_EQ (image.getPixelAt (swatch.x, swatch.y).getARGB(), 0xff336699u);
}

// Targets that cannot be written, for root too (a folder made read-only with
// chmod would not stop root): the framework's save reports the failure, the
// document keeps its file, and no file or folder anywhere changes.
TEST (SaveRobustness, UnwritableTargetsFailAndTouchNothing)
{
    ScratchFolder scratch;
    auto folder = scratch.folder;
    const auto kept = folder.getChildFile ("Kept.calvastrascheme");

    CalvastraScheme document;
    fillModel (document, 50, 2, 10, 0x33333333);
    ASSERT_TRUE (document.saveDocument (kept).wasOk());
    ASSERT_TRUE (document.loadFrom (kept, false).wasOk());
    document.getColour (0)->colour = juce::Colour (0xff010203);

    const auto plainFile = writeBytes (folder.getChildFile ("Plain file"), std::string ("not a folder"));
    const auto folderTarget = folder.getChildFile ("Folder.calvastrascheme");
    ASSERT_TRUE (folderTarget.getChildFile ("inside.txt").create().wasOk());
    ASSERT_TRUE (folder.getChildFile ("Renamed.calvastrascheme").createDirectory().wasOk());

    const juce::File targets[] = {
        plainFile.getChildFile ("Scheme.calvastrascheme"), // the parent is a regular file
        folderTarget, // the target is a folder
        folder.getChildFile ("Renamed.txt"), // becomes Renamed.calvastrascheme: a folder
        folder.getChildFile ("Missing").getChildFile ("Scheme.calvastrascheme"), // no such folder
        juce::File ("/proc/tintwright-test.calvastrascheme"), // a folder nobody can write
    };

    const auto before = folderState (folder);

    for (auto& target : targets)
    {
        SCOPED_TRACE (target.getFullPathName());
        EXPECT_EQ (document.saveAs (target, false, false, false, false), juce::FileBasedDocument::failedToWriteToFile);
        EXPECT_EQ (document.getFile(), kept);
        EXPECT_EQ (folderState (folder), before);
    }

    EXPECT_FALSE (juce::File ("/proc/tintwright-test.calvastrascheme").exists());

    // The document still saves where it can.
    EXPECT_EQ (document.save (false, false), juce::FileBasedDocument::savedOk);
    CalvastraScheme reread;
    ASSERT_TRUE (reread.loadDocument (kept).wasOk());
    EXPECT_EQ (reread.getColour (0)->colour.getARGB(), 0xff010203u);
}
