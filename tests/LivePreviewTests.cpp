// Slider moves on a group far larger than the list shows: the rows on screen
// follow at the next message, the other members catch up between events, and
// Apply or a change of group never sees a member that lags behind.

#include "LivePreviewTestSupport.h"
#include "tweak/PreviewSweep.h"

#include <gtest/gtest.h>

TEST_F (LivePreviewTest, ABurstOfMovesReachesTheRowsOnScreenAtTheNextMessageWithTheLatestValue)
{
    build (100000);

    for (int red = 1; red <= 100; ++red)
        panel().slider (TweakSliders::red).setValue (red, juce::sendNotificationSync);

    // Recorded, not yet computed: no member has moved.
    EXPECT_TRUE (tweaker().hasPendingPreviews());
    EXPECT_EQ (preview (0), big.getMember (0)->getStoredColour().getARGB());
    EXPECT_EQ (big.getMember (99999)->getParameters().redOffset, 0);

    tweaker().getPreviewSweep().refreshNow();
    EXPECT_GT (list().getNumRowsOnScreen(), 10);
    EXPECT_TRUE (rowsNotAtRed (100).empty());

    ASSERT_TRUE (runUntilCaughtUp());
    EXPECT_EQ (firstMemberNotAtRed (100), -1);
    EXPECT_TRUE (rowsNotAtRed (100).empty());
}

TEST_F (LivePreviewTest, RowsScrolledIntoViewWhileMembersCatchUpShowTheLatestValue)
{
    build (100000);
    panel().slider (TweakSliders::red).setValue (-77, juce::sendNotificationSync);
    tweaker().getPreviewSweep().refreshNow();

    // Far from the rows that were on screen, wherever the sweep stands.
    list().scrollToEnsureRowIsOnscreen (98765);
    auto* item = dynamic_cast<ColourTweakerListItem*> (list().getComponentForRowNumber (98765));
    ASSERT_NE (item, nullptr);
    EXPECT_EQ (item->getPreviewBox().getColour().getARGB(), withRed (98765, -77));
    EXPECT_TRUE (rowsNotAtRed (-77).empty());
}

TEST_F (LivePreviewTest, ApplyRightAfterAMoveWritesEveryMembersLatestPreview)
{
    build (100000);
    std::vector<juce::uint32> expected;
    for (int i = 0; i < big.getNumMembers(); ++i)
        expected.push_back (withRed (i, 33));

    panel().slider (TweakSliders::red).setValue (12, juce::sendNotificationSync);
    panel().slider (TweakSliders::red).setValue (33, juce::sendNotificationSync);
    tweaker().buttonClicked (&panel().applyButton);

    EXPECT_FALSE (tweaker().hasPendingPreviews());
    int wrong = 0;
    for (int i = 0; i < big.getNumMembers(); ++i)
        wrong += big.getMember (i)->getStoredColour().getARGB() != expected[(size_t) i] ? 1 : 0;
    EXPECT_EQ (wrong, 0);
    EXPECT_EQ (panel().slider (TweakSliders::red).getValue(), 0.0);
}

TEST_F (LivePreviewTest, TheGroupLeftBehindIsUpToDateAndTheNewOneReset)
{
    build (100000);
    panel().slider (TweakSliders::red).setValue (55, juce::sendNotificationSync);

    pane.colourGroupSelected (&small);
    EXPECT_FALSE (big.hasQueuedTweak());
    EXPECT_EQ (firstMemberNotAtRed (55), -1);
    EXPECT_FALSE (tweaker().hasPendingPreviews());
    EXPECT_EQ (small.getMember (0)->getParameters().redOffset, 0);
    EXPECT_EQ (panel().slider (TweakSliders::red).getValue(), 0.0);

    // Queued moves on a group are dropped by Reset, not carried over.
    pane.colourGroupSelected (&big);
    panel().slider (TweakSliders::red).setValue (20, juce::sendNotificationSync);
    tweaker().buttonClicked (&panel().resetButton);
    EXPECT_FALSE (tweaker().hasPendingPreviews());
    EXPECT_EQ (firstMemberNotAtRed (0), -1);
}

// A drag goes on while the members catch up; the last position arrives with a
// slice under way and no move after it. The rows on screen must show it at
// the next message, and the sweep must end on it, not on a value before it.
TEST_F (LivePreviewTest, TheLastPositionOfADragShowsWhileTheSweepIsBusy)
{
    build (1000000);

    for (int red = -100; red <= 100; red += 20)
    {
        panel().slider (TweakSliders::red).setValue (red, juce::sendNotificationSync);
        testkit::pumpFor (5); // the rows take the move, a slice or two runs
    }

    // The slice after the move before last has run: the sweep is under way.
    panel().slider (TweakSliders::red).setValue (55, juce::sendNotificationSync);
    tweaker().getPreviewSweep().refreshNow();
    ASSERT_TRUE (tweaker().hasPendingPreviews());
    panel().slider (TweakSliders::red).setValue (-7, juce::sendNotificationSync);

    EXPECT_TRUE (testkit::pumpUntil ([this]
                                     { return rowsNotAtRed (-7).empty(); },
                                     50));
    ASSERT_TRUE (runUntilCaughtUp());
    EXPECT_EQ (firstMemberNotAtRed (-7), -1);
    EXPECT_TRUE (rowsNotAtRed (-7).empty());
}
