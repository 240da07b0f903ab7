// Slider moves on a group far larger than the list shows: the rows on screen
// follow at the next message, the other members catch up between events, and
// Apply or a change of group never sees a member that lags behind.

#include "groups/ColourTweaker.h"
#include "maths/TweakMaths.h"
#include "scheme/SchemeModel.h"
#include "tweak/ColourGroupTweakerComponent.h"
#include "tweak/ColourTweakerList.h"
#include "tweak/PreviewSweep.h"
#include "tweak/TweakPanel.h"

#include <gtest/gtest.h>

#include <atomic>
#include <thread>
#include <unistd.h>

namespace
{
class LivePreviewTest : public ::testing::Test
{
protected:
    void build (int numMembers)
    {
        juce::Random random (5);

        for (int i = 0; i < numMembers; ++i)
        {
            auto colour = std::make_unique<SchemeColour>();
            colour->colour = juce::Colour ((juce::uint32) random.nextInt());
            big.addColour (scheme.appendColour (std::move (colour)));
        }

        small.addColour (*scheme.getColour (0));

        pane.setSize (470, 426);
        pane.colourGroupSelected (&big);
    }

    ColourGroupTweakerComponent& tweaker() { return pane.getGroupTweaker(); }
    TweakPanel& panel() { return tweaker().getPanel(); }
    ColourTweakerList& list() { return tweaker().getList(); }

    juce::uint32 withRed (int member, int red) const
    {
        TweakMaths::TweakParameters p;
        p.redOffset = red;
        return TweakMaths::tweakColour (big.getMember (member)->getStoredColour().getARGB(), p);
    }

    juce::uint32 preview (int member) const { return big.getMember (member)->getPreviewColour().getARGB(); }

    // Every member's preview as a Red offset alone gives it; the first
    // mismatch, or -1.
    int firstMemberNotAtRed (int red) const
    {
        for (int i = 0; i < big.getNumMembers(); ++i)
            if (preview (i) != withRed (i, red) || big.getMember (i)->getRedOffset() != red)
                return i;
        return -1;
    }

    // Row components on screen whose preview swatch is not Red offset alone.
    std::vector<int> rowsNotAtRed (int red)
    {
        std::vector<int> wrong;
        auto& l = list();
        const auto first = l.getRowContainingPosition (5, 5);
        for (int r = first; r < first + l.getNumRowsOnScreen(); ++r)
            if (auto* item = dynamic_cast<ColourTweakerListItem*> (l.getComponentForRowNumber (r)))
                if (item->getPreviewBox().getColour().getARGB() != withRed (r, red))
                    wrong.push_back (r);
        return wrong;
    }

    // Runs the message loop as the program would, until the sweep is done.
    bool runUntilCaughtUp()
    {
        for (int i = 0; i < 2000 && tweaker().hasPendingPreviews(); ++i)
            juce::MessageManager::getInstance()->runDispatchLoopUntil (5);
        return ! tweaker().hasPendingPreviews();
    }

    SchemeModel scheme;
    ColourGroup big, small;
    ColourTweaker pane;
};
} // namespace

TEST_F (LivePreviewTest, ABurstOfMovesReachesTheRowsOnScreenAtTheNextMessageWithTheLatestValue)
{
    build (100000);

    for (int red = 1; red <= 100; ++red)
        panel().redSlider.setValue (red, juce::sendNotificationSync);

    // Recorded, not yet computed: no member has moved.
    EXPECT_TRUE (tweaker().hasPendingPreviews());
    EXPECT_EQ (preview (0), big.getMember (0)->getStoredColour().getARGB());
    EXPECT_EQ (big.getMember (99999)->getRedOffset(), 0);

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
    panel().redSlider.setValue (-77, juce::sendNotificationSync);
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

    panel().redSlider.setValue (12, juce::sendNotificationSync);
    panel().redSlider.setValue (33, juce::sendNotificationSync);
    tweaker().buttonClicked (&panel().applyButton);

    EXPECT_FALSE (tweaker().hasPendingPreviews());
    int wrong = 0;
    for (int i = 0; i < big.getNumMembers(); ++i)
        wrong += big.getMember (i)->getStoredColour().getARGB() != expected[(size_t) i] ? 1 : 0;
    EXPECT_EQ (wrong, 0);
    EXPECT_EQ (panel().redSlider.getValue(), 0.0);
}

TEST_F (LivePreviewTest, TheGroupLeftBehindIsUpToDateAndTheNewOneReset)
{
    build (100000);
    panel().redSlider.setValue (55, juce::sendNotificationSync);

    pane.colourGroupSelected (&small);
    EXPECT_FALSE (big.hasQueuedTweak());
    EXPECT_EQ (firstMemberNotAtRed (55), -1);
    EXPECT_FALSE (tweaker().hasPendingPreviews());
    EXPECT_EQ (small.getMember (0)->getRedOffset(), 0);
    EXPECT_EQ (panel().redSlider.getValue(), 0.0);

    // Queued moves on a group are dropped by Reset, not carried over.
    pane.colourGroupSelected (&big);
    panel().redSlider.setValue (20, juce::sendNotificationSync);
    tweaker().buttonClicked (&panel().resetButton);
    EXPECT_FALSE (tweaker().hasPendingPreviews());
    EXPECT_EQ (firstMemberNotAtRed (0), -1);
}

TEST_F (LivePreviewTest, WindowEventsGetThroughWhileAMillionMembersCatchUp)
{
    build (1000000);
    panel().redSlider.setValue (9, juce::sendNotificationSync);
    tweaker().getPreviewSweep().refreshNow();

    // Mouse and paint events come from a file descriptor that the event loop
    // polls only when the message queue is empty; this pipe stands for the X
    // connection. It becomes readable while the members are catching up: a
    // sweep that held the message thread until its end would keep it waiting.
    int pipeEnds[2];
    ASSERT_EQ (pipe (pipeEnds), 0);
    std::atomic<bool> ran { false };
    auto stillCatchingUp = false;
    juce::LinuxEventLoop::registerFdCallback (pipeEnds[0], [&] (int fd)
                                              {
                                                  char byte;
                                                  if (read (fd, &byte, 1) == 1 && ! ran)
                                                  {
                                                      ran = true;
                                                      stillCatchingUp = tweaker().hasPendingPreviews();
                                                  } });

    std::thread input ([&]
                       {
                           std::this_thread::sleep_for (std::chrono::milliseconds (10));
                           [[maybe_unused]] auto written = write (pipeEnds[1], "x", 1); });

    for (int i = 0; i < 2000 && ! ran; ++i)
        juce::MessageManager::getInstance()->runDispatchLoopUntil (1);

    input.join();
    juce::LinuxEventLoop::unregisterFdCallback (pipeEnds[0]);
    close (pipeEnds[0]);
    close (pipeEnds[1]);

    EXPECT_TRUE (ran);
    EXPECT_TRUE (stillCatchingUp);

    ASSERT_TRUE (runUntilCaughtUp());
    EXPECT_EQ (firstMemberNotAtRed (9), -1);
}
