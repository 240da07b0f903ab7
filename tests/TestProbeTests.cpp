#include "app/TestProbe.h"
#include "scheme/SchemeReader.h"
#include "scheme/SchemeWriter.h"

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
