#include "app/TestProbe.h"
#include "scheme/SchemeComparison.h"
#include "schemefile/SchemeReader.h"
#include "schemefile/SchemeWriter.h"

#include <gtest/gtest.h>

namespace
{
SchemeColour& addColour (SchemeModel& model, const juce::String& name, juce::uint32 argb)
{
    auto colour = std::make_unique<SchemeColour>();
    colour->name = name;
    colour->colour = juce::Colour (argb);
    return model.appendColour (std::move (colour));
}

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
