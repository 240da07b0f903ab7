// The group pane: the group controls joined to the group tweaker.

#include "groups/ColourGroupControls.h"
#include "groups/ColourTweaker.h"
#include "groups/ColourTweakerListener.h"
#include "support/model/SchemeBuilders.h"
#include "support/ui/Menus.h"
#include "support/ui/Recorders.h"
#include "tweak/ColourGroupTweakerComponent.h"
#include "tweak/ColourTweakerList.h"
#include "tweak/TweakPanel.h"

#include <gtest/gtest.h>

#include <vector>

namespace
{
class ColourTweakerPaneTest : public ::testing::Test
{
protected:
    ColourGroup* shownGroup() { return pane.getGroupTweaker().getColourGroup(); }

    SchemeColour red { "Red", juce::Colour (0xffc02010) };
    SchemeModel firstScheme, secondScheme;
    ColourTweaker pane;
};
} // namespace

TEST_F (ColourTweakerPaneTest, ChildrenAndGeometry)
{
    ASSERT_EQ (pane.getNumChildComponents(), 2);
    EXPECT_EQ (pane.getChildComponent (0), &pane.getGroupControls());
    EXPECT_EQ (pane.getChildComponent (1), &pane.getGroupTweaker());
    EXPECT_TRUE (pane.getGroupControls().isVisible());
    EXPECT_TRUE (pane.getGroupTweaker().isVisible());

    pane.setSize (500, 400);
    EXPECT_EQ (pane.getGroupControls().getBounds(), juce::Rectangle<int> (10, 10, 480, 26));
    EXPECT_EQ (pane.getGroupTweaker().getBounds(), juce::Rectangle<int> (10, 45, 480, 350));

    pane.setSize (300, 120);
    EXPECT_EQ (pane.getGroupControls().getBounds(), juce::Rectangle<int> (10, 10, 280, 26));
    EXPECT_EQ (pane.getGroupTweaker().getBounds(), juce::Rectangle<int> (10, 45, 280, 70));
}

TEST_F (ColourTweakerPaneTest, PaintsNothingInItsMargins)
{
    testkit::addGroup (firstScheme, "Alpha");
    pane.setScheme (&firstScheme);
    pane.setSize (500, 400);

    const auto image = pane.createComponentSnapshot (pane.getLocalBounds());

    // Left, right, top and bottom margins and the gap between the two children.
    for (auto point : { juce::Point<int> (4, 200), juce::Point<int> (495, 200), juce::Point<int> (250, 5), juce::Point<int> (250, 397), juce::Point<int> (250, 40), juce::Point<int> (0, 0) })
        EXPECT_EQ (image.getPixelAt (point.x, point.y).getARGB(), 0u) << point.toString();

    // ...while the children do draw: the tweaker's white frame beside its list.
    EXPECT_EQ (image.getPixelAt (17, 200).getARGB(), 0xffffffffu);
}

TEST_F (ColourTweakerPaneTest, OpeningASchemeShowsItsFirstGroupAndResetsIt)
{
    auto& alpha = testkit::addGroup (firstScheme, "Alpha");
    testkit::addGroup (firstScheme, "Beta");
    alpha.addColour (red);
    alpha.setRedOffset (40);
    ASSERT_NE (alpha.getMember (0)->getPreviewColour(), red.colour);

    pane.setScheme (&firstScheme);

    EXPECT_EQ (shownGroup(), &alpha);
    EXPECT_EQ (pane.getGroupTweaker().getList().getColourGroup(), &alpha);
    EXPECT_EQ (pane.getGroupControls().getGroupSelector().getSelectedId(), 1);
    EXPECT_EQ (alpha.getMember (0)->getParameters().redOffset, 0);
    EXPECT_EQ (alpha.getMember (0)->getPreviewColour(), red.colour);
}

TEST_F (ColourTweakerPaneTest, OpeningASecondSchemeEndsOnItsFirstGroup)
{
    testkit::addGroup (firstScheme, "Alpha");
    testkit::addGroup (firstScheme, "Beta");
    pane.setScheme (&firstScheme);
    pane.getGroupControls().getGroupSelector().setSelectedId (2, juce::sendNotificationSync);
    ASSERT_EQ (shownGroup(), firstScheme.getGroup (1));

    auto& gamma = testkit::addGroup (secondScheme, "Gamma");
    pane.setScheme (&secondScheme);
    EXPECT_EQ (shownGroup(), &gamma);

    // A scheme without groups shows none.
    SchemeModel noGroups;
    pane.setScheme (&noGroups);
    EXPECT_EQ (shownGroup(), nullptr);
}

TEST_F (ColourTweakerPaneTest, ALostListLetsGoOfTheShownGroup)
{
    // With no list the controls announce nothing, so only the pane itself
    // can make the tweaker drop the old scheme's group.
    testkit::addGroup (firstScheme, "Alpha");
    pane.setScheme (&firstScheme);
    ASSERT_EQ (shownGroup(), firstScheme.getGroup (0));

    pane.setScheme (nullptr);
    EXPECT_EQ (shownGroup(), nullptr);
    EXPECT_EQ (pane.getGroupTweaker().getList().getColourGroup(), nullptr);
}

TEST_F (ColourTweakerPaneTest, SelectionsAndDeletionsReachTheTweaker)
{
    testkit::addGroup (firstScheme, "Alpha");
    testkit::addGroup (firstScheme, "Beta");
    testkit::addGroup (firstScheme, "Gamma");
    pane.setScheme (&firstScheme);

    pane.getGroupControls().getGroupSelector().setSelectedId (3, juce::sendNotificationSync);
    EXPECT_EQ (shownGroup(), firstScheme.getGroup (2));

    testkit::answerGroupMenu (pane.getGroupControls(), ColourGroupControls::deleteItemId, {});
    pane.getGroupControls().buttonClicked (&pane.getGroupControls().getGroupsButton());
    ASSERT_EQ (firstScheme.getNumGroups(), 2);
    EXPECT_EQ (shownGroup(), firstScheme.getGroup (1));
}

TEST_F (ColourTweakerPaneTest, AppliedColoursAreReportedOnlyToARegisteredListener)
{
    testkit::AppliedRecorder recorder;
    pane.notifyColoursApplied(); // nobody to tell yet

    pane.setColourTweakerListener (&recorder);
    pane.notifyColoursApplied();
    EXPECT_EQ (recorder.sources, std::vector<ColourTweaker*> { &pane });

    // Apply in the tweaker comes back through the pane.
    auto& alpha = testkit::addGroup (firstScheme, "Alpha");
    alpha.addColour (red);
    pane.setScheme (&firstScheme);
    pane.getGroupTweaker().buttonClicked (&pane.getGroupTweaker().getPanel().applyButton);
    EXPECT_EQ (recorder.sources, (std::vector<ColourTweaker*> { &pane, &pane }));

    pane.setColourTweakerListener (nullptr);
    pane.notifyColoursApplied();
    EXPECT_EQ (recorder.sources.size(), 2u);
}

TEST_F (ColourTweakerPaneTest, RefreshColoursRecomputesTheShownGroup)
{
    auto& alpha = testkit::addGroup (firstScheme, "Alpha");
    alpha.addColour (red);
    pane.setScheme (&firstScheme);

    red.colour = juce::Colour (0xff112233);
    ASSERT_NE (alpha.getMember (0)->getPreviewColour(), red.colour);

    pane.refreshColours();
    EXPECT_EQ (alpha.getMember (0)->getPreviewColour(), red.colour);
}
