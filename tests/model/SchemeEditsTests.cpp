// The edits a user makes to a scheme, and their answer to "did the scheme
// change?": only an edit that changes what a save writes says yes.

#include "ColourAssertions.h"
#include "SchemeFileTestSupport.h"
#include "maths/TweakMaths.h"
#include "scheme/SchemeComparison.h"

#include <gtest/gtest.h>

using namespace SchemeFileTestSupport;

namespace
{
juce::SparseSet<int> indices (std::initializer_list<int> values)
{
    juce::SparseSet<int> set;
    for (auto v : values)
        set.addRange ({ v, v + 1 });
    return set;
}

std::vector<juce::String> groupNames (const SchemeModel& model)
{
    std::vector<juce::String> names;
    for (int g = 0; g < model.getNumGroups(); ++g)
        names.push_back (model.getGroup (g)->getName());
    return names;
}

// Three colours (two of them named "Dup") and a group "Alpha" holding the first.
struct EditsFixture : public ::testing::Test
{
    EditsFixture()
    {
        addColour (model, "Dup", 0xff336699);
        addColour (model, "Other", 0xff808080);
        addColour (model, "Dup", 0x80102030);
        addGroup (model, "Alpha", { 0 });
    }

    ColourGroup& alpha() { return *model.getGroup (0); }

    // A copy made through a save and a read, to compare with afterwards.
    std::unique_ptr<SchemeModel> snapshot() const
    {
        auto copy = std::make_unique<SchemeModel>();
        EXPECT_TRUE (readText (writeModel (model), *copy));
        return copy;
    }

    SchemeModel model;
};
} // namespace

//==============================================================================
TEST_F (EditsFixture, FindGroupGivesTheFirstExactMatch)
{
    auto* second = model.addGroup ("Beta");
    model.addGroup ("Alpha");

    EXPECT_EQ (model.findGroup ("Alpha"), &alpha());
    EXPECT_EQ (model.findGroup ("Beta"), second);
    EXPECT_EQ (model.findGroup ("alpha"), nullptr);
    EXPECT_EQ (model.findGroup ("Alpha "), nullptr);
    EXPECT_EQ (model.findGroup ({}), nullptr);
}

TEST_F (EditsFixture, AddGroupAppendsAnEmptyNamedGroupUnlessTheNameIsEmpty)
{
    EXPECT_EQ (model.addGroup ({}), nullptr);
    EXPECT_EQ (model.getNumGroups(), 1);

    // Names are taken as typed: blanks and a name already in use are fine.
    auto* blanks = model.addGroup ("  ");
    auto* again = model.addGroup ("Alpha");
    ASSERT_NE (blanks, nullptr);
    ASSERT_NE (again, nullptr);
    EXPECT_NE (again, &alpha());
    EXPECT_EQ (groupNames (model), (std::vector<juce::String> { "Alpha", "  ", "Alpha" }));
    EXPECT_EQ (model.getGroup (2), again);
    EXPECT_EQ (again->getNumMembers(), 0);
}

TEST_F (EditsFixture, DeleteGroupTakesOnlyAnExistingIndex)
{
    model.addGroup ("Beta");
    model.addGroup ("Gamma");
    const auto before = snapshot();

    EXPECT_FALSE (model.deleteGroup (-1));
    EXPECT_FALSE (model.deleteGroup (3));
    EXPECT_TRUE (SchemeComparison::sameScheme (model, *before));

    EXPECT_TRUE (model.deleteGroup (0));
    EXPECT_EQ (groupNames (model), (std::vector<juce::String> { "Beta", "Gamma" }));
    EXPECT_TRUE (model.deleteGroup (1));
    EXPECT_TRUE (model.deleteGroup (0));
    EXPECT_EQ (model.getNumGroups(), 0);
    EXPECT_FALSE (model.deleteGroup (0));
    EXPECT_EQ (model.getNumColours(), 3); // the colours stay
}

TEST_F (EditsFixture, RenameCountsOnlyAnotherNonEmptyName)
{
    auto* beta = model.addGroup ("Beta");

    EXPECT_FALSE (model.renameGroup (alpha(), {}));
    EXPECT_FALSE (model.renameGroup (alpha(), "Alpha"));
    EXPECT_EQ (alpha().getName(), "Alpha");

    EXPECT_TRUE (model.renameGroup (alpha(), "alpha"));
    EXPECT_EQ (alpha().getName(), "alpha");

    // Another group's name is allowed; the members stay.
    EXPECT_TRUE (model.renameGroup (alpha(), "Beta"));
    EXPECT_EQ (groupNames (model), (std::vector<juce::String> { "Beta", "Beta" }));
    EXPECT_EQ (alpha().getNumMembers(), 1);
    EXPECT_EQ (model.findGroup ("Beta"), &alpha());
    EXPECT_EQ (beta->getName(), "Beta");
}

TEST_F (EditsFixture, AddColoursJoinsNewRecordsInListOrderOnly)
{
    alpha().setRedOffset (40);
    const auto tweakedPreview = alpha().getMember (0)->getPreviewColour();

    // Present already, or no colour at all: nothing joins.
    EXPECT_FALSE (model.addColoursToGroup (alpha(), indices ({ 0 })));
    EXPECT_FALSE (model.addColoursToGroup (alpha(), indices ({ -2, 3, 99 })));
    EXPECT_FALSE (model.addColoursToGroup (alpha(), {}));
    EXPECT_EQ (alpha().getNumMembers(), 1);

    // Only the new ones are appended, in list order; the second "Dup" stands
    // for the first, which the group has already.
    EXPECT_TRUE (model.addColoursToGroup (alpha(), indices ({ 5, 2, 0, 1, -1 })));
    ASSERT_EQ (alpha().getNumMembers(), 2);
    EXPECT_EQ (memberIndexes (model, alpha()), (std::vector<int> { 0, 1 }));

    // The member already there keeps its tweak; the new one starts neutral.
    EXPECT_EQ (alpha().getMember (0)->getParameters().redOffset, 40);
    EXPECT_COLOUR (alpha().getMember (0)->getPreviewColour().getARGB(), tweakedPreview.getARGB());
    EXPECT_EQ (alpha().getMember (1)->getParameters().redOffset, 0);
    EXPECT_COLOUR (alpha().getMember (1)->getPreviewColour().getARGB(), 0xff808080);

    EXPECT_FALSE (model.addColoursToGroup (alpha(), indices ({ 0, 1, 2 })));
}

TEST (SchemeEdits, ALaterColourOfANameJoinsAsTheFirstSoTheSaveReadsBackAsItWas)
{
    // Members are saved by name, and a name reads back as its first colour.
    SchemeModel model;
    ASSERT_TRUE (readText (R"(<COLOURS><COLOUR name="Same" colour="ff111111"/><COLOUR name="Same" colour="ff222222"/>)"
                           R"(<COLOUR name="Other" colour="ff333333"/><COLOURGROUPS><COLOURGROUP name="G"><COLOUR name="Same"/>)"
                           R"(</COLOURGROUP><COLOURGROUP name="Empty"/></COLOURGROUPS></COLOURS>)",
                           model));
    auto& g = *model.getGroup (0);
    auto& empty = *model.getGroup (1);

    const auto readsBackAsItIs = [&model]
    {
        SchemeModel reopened;
        EXPECT_TRUE (readText (writeModel (model), reopened));
        // Names alone would compare equal: the members' records must match too.
        auto same = SchemeComparison::sameScheme (model, reopened);
        for (int i = 0; i < model.getNumGroups(); ++i)
            same = same && memberIndexes (model, *model.getGroup (i)) == memberIndexes (reopened, *reopened.getGroup (i));
        return same;
    };

    // The group holds the first "Same" already: the second changes nothing.
    EXPECT_FALSE (model.addColoursToGroup (g, indices ({ 1 })));
    EXPECT_EQ (memberIndexes (model, g), (std::vector<int> { 0 }));
    EXPECT_TRUE (readsBackAsItIs());

    // Given alone, or after the colour that follows it, it joins as the first.
    EXPECT_TRUE (model.addColoursToGroup (empty, indices ({ 1, 2 })));
    EXPECT_EQ (memberIndexes (model, empty), (std::vector<int> { 0, 2 }));
    EXPECT_COLOUR (empty.getMember (0)->getStoredColour().getARGB(), 0xff111111);
    EXPECT_TRUE (readsBackAsItIs());

    // A tweak applied through it changes the colour the file will tie it to.
    empty.setRedOffset (255);
    EXPECT_TRUE (SchemeModel::applyTweak (empty));
    EXPECT_COLOUR (model.getColour (0)->colour.getARGB(), 0xffff1111);
    EXPECT_COLOUR (model.getColour (1)->colour.getARGB(), 0xff222222);
    EXPECT_TRUE (readsBackAsItIs());
}

TEST_F (EditsFixture, PickCountsOnlyANewValueOfAnExistingMember)
{
    const auto before = snapshot();

    EXPECT_FALSE (SchemeModel::pickColour (alpha(), 1, juce::Colour (0xff000000)));
    EXPECT_FALSE (SchemeModel::pickColour (alpha(), -1, juce::Colour (0xff000000)));
    EXPECT_FALSE (SchemeModel::pickColour (alpha(), 0, juce::Colour (0xff336699)));
    EXPECT_TRUE (SchemeComparison::sameScheme (model, *before));

    EXPECT_TRUE (SchemeModel::pickColour (alpha(), 0, juce::Colour (0xff010203)));
    EXPECT_COLOUR (model.getColour (0)->colour.getARGB(), 0xff010203);
    EXPECT_COLOUR (model.getColour (2)->colour.getARGB(), 0x80102030); // the other "Dup"
    EXPECT_FALSE (SchemeComparison::sameScheme (model, *before));
}

TEST_F (EditsFixture, APickFollowsTheQueuedTweakAndSurvivesApply)
{
    model.addColoursToGroup (alpha(), indices ({ 1 }));

    PendingTweak tweak;
    tweak.set (TweakSliders::red, 40);
    alpha().queueTweak (tweak);
    ASSERT_TRUE (alpha().hasQueuedTweak());

    EXPECT_TRUE (SchemeModel::pickColour (alpha(), 0, juce::Colour (0xff102030)));

    TweakMaths::TweakParameters red40;
    red40.redOffset = 40;
    const auto expected = TweakMaths::tweakColour (0xff102030, red40);
    EXPECT_COLOUR (alpha().getMember (0)->getPreviewColour().getARGB(), expected);

    // Apply writes the tweak of the picked colour, not of the old one.
    EXPECT_TRUE (SchemeModel::applyTweak (alpha()));
    EXPECT_COLOUR (model.getColour (0)->colour.getARGB(), expected);
    EXPECT_COLOUR (model.getColour (1)->colour.getARGB(), TweakMaths::tweakColour (0xff808080, red40));
}

TEST_F (EditsFixture, ApplyCountsOnlyStoredColoursThatChange)
{
    model.addColoursToGroup (alpha(), indices ({ 1 }));
    auto& empty = *model.addGroup ("Empty");
    const auto before = snapshot();

    // Nothing to apply: neutral members, or an empty group.
    EXPECT_FALSE (SchemeModel::applyTweak (alpha()));
    EXPECT_FALSE (SchemeModel::applyTweak (empty));
    alpha().setRedOffset (40);
    alpha().resetTweak();
    EXPECT_FALSE (SchemeModel::applyTweak (alpha()));

    // Parameters moved back to neutral give every colour its own value again.
    alpha().setSaturationMultiplier (2.0f);
    alpha().setSaturationMultiplier (1.0f);
    EXPECT_FALSE (SchemeModel::applyTweak (alpha()));
    EXPECT_TRUE (SchemeComparison::sameScheme (model, *before));

    alpha().setGreenOffset (-16);
    EXPECT_TRUE (SchemeModel::applyTweak (alpha()));
    EXPECT_COLOUR (model.getColour (0)->colour.getARGB(), 0xff335699);
    EXPECT_COLOUR (model.getColour (1)->colour.getARGB(), 0xff807080);
    EXPECT_EQ (alpha().getMember (0)->getParameters().greenOffset, 0); // reset after writing
    EXPECT_FALSE (SchemeModel::applyTweak (alpha()));
}
