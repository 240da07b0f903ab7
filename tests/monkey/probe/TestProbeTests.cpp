#include "probe/TestProbe.h"

#include "TestDisplay.h"
#include "app/CalvastraTintwright.h"
#include "app/MainAppWindow.h"
#include "scheme/SchemeComparison.h"
#include "schemefile/SchemeFile.h"
#include "schemefile/SchemeReader.h"
#include "schemefile/SchemeWriter.h"
#include "support/model/SchemeBuilders.h"
#include "support/model/TempFolder.h"
#include "support/ui/MessageLoop.h"

#include <gtest/gtest.h>

#include <vector>

namespace
{
using testkit::addColour;

// The listing of the scheme as read back from the bytes a save writes.
juce::String describeAfterSaving (const SchemeModel& model)
{
    SchemeModel readBack;
    const auto bytes = SchemeWriter::write (model);
    EXPECT_TRUE (SchemeReader::read (juce::MemoryBlock (bytes.data(), bytes.size()), readBack));
    return TestProbe::describe (readBack);
}

bool readListing (const juce::String& text, SchemeModel& model)
{
    return TestProbe::readDescription (juce::MemoryBlock (text.toRawUTF8(), text.getNumBytesAsUTF8()), model);
}
} // namespace

// The monkey test compares a saved file with the scheme the program had by
// these listings, so one listing must be exactly what a file can bring back.
TEST (TestProbeDescribe, ListsColoursGroupsAndMembersOneLineEach)
{
    SchemeModel model;
    auto& panel = addColour (model, "Panel", 0xffd3d3d3);
    addColour (model, "Line\nbreak \\ here", 0x0000000f);
    auto& group = model.appendGroup (std::make_unique<ColourGroup>());
    group.setName ("Accents");
    group.addColour (panel);

    EXPECT_EQ (TestProbe::describe (model),
               "colour ffd3d3d3 Panel\n"
               "colour 0000000f Line\\x0abreak \\x5c here\n"
               "group Accents\n"
               "  member Panel\n");
}

TEST (TestProbeDescribe, ASecondMemberOfTheSameNameIsListedOnce)
{
    SchemeModel model;
    auto& first = addColour (model, "Same", 0xff112233);
    auto& second = addColour (model, "Same", 0xff445566);
    auto& group = model.appendGroup (std::make_unique<ColourGroup>());
    group.addColour (second);
    group.addColour (first);
    ASSERT_EQ (group.getNumMembers(), 2);

    EXPECT_EQ (TestProbe::describe (model), describeAfterSaving (model));
    EXPECT_EQ (TestProbe::describe (model).indexOf ("  member Same\n"),
               TestProbe::describe (model).lastIndexOf ("  member Same\n"));
}

TEST (TestProbeDescribe, OddNamesSurviveSavingAndOpening)
{
    SchemeModel model;
    auto& a = addColour (model, juce::String::fromUTF8 ("Fish & <Chips> \"\xc3\xbc\xe2\x98\x83\"\t|$"), 0x00123456);
    auto& b = addColour (model, "", 0);
    auto& group = model.appendGroup (std::make_unique<ColourGroup>());
    group.setName ("");
    group.addColour (b);
    group.addColour (a);

    const auto listing = TestProbe::describe (model);
    EXPECT_EQ (listing, describeAfterSaving (model));
    EXPECT_TRUE (listing.startsWith (juce::String::fromUTF8 ("colour 00123456 Fish & <Chips> \"\xc3\xbc\xe2\x98\x83\"\\x09|$\n"
                                                             "colour 00000000 \n"
                                                             "group \n")))
        << listing;
}

// The monkey checker turns a listing back into a scheme to compare it with a file's.
TEST (TestProbeDescribe, AListingReadsBackAsTheSchemeItDescribes)
{
    SchemeModel model;
    auto& odd = addColour (model, juce::String::fromUTF8 ("Tab\there \\ \xe2\x98\x83"), 0x0000000f);
    auto& dup = addColour (model, "Dup", 0xff112233);
    auto& secondDup = addColour (model, "Dup", 0xff445566);
    auto& group = model.appendGroup (std::make_unique<ColourGroup>());
    group.setName ("Line\nbreak");
    group.addColour (secondDup);
    group.addColour (odd);
    group.addColour (dup);
    model.appendGroup (std::make_unique<ColourGroup>()).setName ("");

    SchemeModel fromListing;
    ASSERT_TRUE (readListing (TestProbe::describe (model), fromListing));
    EXPECT_EQ (SchemeComparison::firstDifference (model, fromListing), "");
    EXPECT_EQ (TestProbe::describe (fromListing), TestProbe::describe (model));

    // One value changed in the listing is another scheme.
    SchemeModel changed;
    ASSERT_TRUE (readListing (TestProbe::describe (model).replace ("ff445566", "ff445567"), changed));
    EXPECT_FALSE (SchemeComparison::sameScheme (model, changed));
}

TEST (TestProbeDescribe, TextThatIsNoListingIsRefused)
{
    for (const auto* text : { "colour ff00 short\n",
                              "colour ff0000zz name\n",
                              "colour ff000000name\n",
                              "colour ff000000 bad \\x4\n",
                              "colour ff000000 bad \\y41\n",
                              "  member before any group\n",
                              "group G\n  member NoSuchColour\n",
                              "something else\n",
                              "colour ff000000 no newline at the end" })
    {
        SchemeModel model;
        EXPECT_FALSE (readListing (text, model)) << text;
    }

    SchemeModel empty;
    EXPECT_TRUE (readListing ({}, empty));
    EXPECT_EQ (empty.getNumColours() + empty.getNumGroups(), 0);
}

//==============================================================================
// The probe in a main window: what it records of saves

namespace
{
struct Save
{
    juce::String head, listing;
};

std::vector<Save> recordedSaves (const juce::File& probeFolder)
{
    std::vector<Save> saves;
    auto text = probeFolder.getChildFile ("saves.log").loadFileAsString();

    while (text.contains ("END\n"))
    {
        const auto entry = text.upToFirstOccurrenceOf ("END\n", false, false);
        text = text.fromFirstOccurrenceOf ("END\n", false, false);
        saves.push_back ({ entry.upToFirstOccurrenceOf ("\n", false, false),
                           entry.fromFirstOccurrenceOf ("\n", false, false) });
    }

    return saves;
}

juce::String listingOfFile (const juce::File& file)
{
    SchemeModel model;
    EXPECT_TRUE (SchemeFile::readSchemeFile (file, model)) << file.getFullPathName();
    return TestProbe::describe (model);
}

} // namespace

// The probe hears of saves only through the document's change broadcast, so
// these go through the real documents of a real main window.
TEST (TestProbeOnScreen, RecordsEverySuccessfulSaveWithTheSchemeItWrote)
{
    if (! testdisplay::haveDisplay())
        GTEST_SKIP() << "the main window needs an X display";

    using testkit::schemeText;
    testkit::TempFolder temp;
    const auto probeFolder = temp.folder.getChildFile ("probe");
    const auto first = temp.write ("First.calvastrascheme", schemeText ("Background", "Panels"));
    const auto second = temp.write ("Second.calvastrascheme", schemeText ("Other", "Group"));

    auto window = std::make_unique<MainAppWindow>();
    auto probe = std::make_unique<TestProbe> (probeFolder, *window);
    auto& main = window->getMainComponent();

    ASSERT_TRUE (main.openScheme (first));
    testkit::pumpFor (150); // the probe starts listening to the new document on its next tick

    auto edit = [&main] (juce::uint32 argb)
    {
        main.getScheme()->getColour (0)->colour = juce::Colour (argb);
        main.getScheme()->changed();
    };

    // A save is recorded with the file and the scheme it wrote.
    edit (0xff0000ff);
    ASSERT_EQ (main.getScheme()->save (false, false), juce::FileBasedDocument::savedOk);
    testkit::pumpFor (50);
    auto saves = recordedSaves (probeFolder);
    ASSERT_EQ (saves.size(), 1u);
    EXPECT_EQ (saves[0].head, "SAVE ok " + first.getFullPathName());
    EXPECT_EQ (saves[0].listing, listingOfFile (first));
    EXPECT_TRUE (saves[0].listing.contains ("colour ff0000ff Background\n")) << saves[0].listing;

    // A failed save is not: the monkey then expects the file as it was.
    edit (0xff00ff00);
    const auto nowhere = temp.folder.getChildFile ("missing").getChildFile ("Nowhere.calvastrascheme");
    EXPECT_EQ (main.getScheme()->saveAs (nowhere, false, false, false),
               juce::FileBasedDocument::failedToWriteToFile);
    testkit::pumpFor (50);
    EXPECT_EQ (recordedSaves (probeFolder).size(), 1u);

    // Saved and at once replaced by another scheme, in the same dispatch:
    // the document is deleted before its change message would arrive.
    ASSERT_EQ (main.getScheme()->save (false, false), juce::FileBasedDocument::savedOk);
    ASSERT_TRUE (main.openScheme (second));
    saves = recordedSaves (probeFolder);
    ASSERT_EQ (saves.size(), 2u);
    EXPECT_EQ (saves[1].head, "SAVE ok " + first.getFullPathName());
    EXPECT_EQ (saves[1].listing, listingOfFile (first));
    EXPECT_TRUE (saves[1].listing.contains ("colour ff00ff00 Background\n")) << saves[1].listing;

    // The new document is watched too; Save As records the file it wrote,
    // with the scheme extension the document gives it.
    testkit::pumpFor (150);
    ASSERT_EQ (main.getScheme()->saveAs (temp.folder.getChildFile ("Copy.txt"), false, false, false),
               juce::FileBasedDocument::savedOk);
    testkit::pumpFor (50);
    saves = recordedSaves (probeFolder);
    ASSERT_EQ (saves.size(), 3u);
    const auto copy = temp.folder.getChildFile ("Copy.calvastrascheme");
    EXPECT_EQ (saves[2].head, "SAVE ok " + copy.getFullPathName());
    EXPECT_EQ (saves[2].listing, listingOfFile (copy));
    EXPECT_TRUE (saves[2].listing.contains ("colour ff102030 Other\n")) << saves[2].listing;

    // The window (and with it the documents) goes first, as in the program.
    window.reset();
    probe.reset();
}
