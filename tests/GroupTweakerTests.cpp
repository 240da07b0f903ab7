#include "TestDisplay.h"
#include "TweakTestSupport.h"
#include "app/CalvastraTintwright.h"
#include "app/MainAppWindow.h"
#include "groups/ColourTweaker.h"
#include "groups/ColourTweakerListener.h"
#include "hue/HueSelector.h"
#include "hue/ModalMenu.h"
#include "scheme/SchemeModel.h"
#include "support/ui/MessageLoop.h"
#include "support/ui/Pixels.h"
#include "support/ui/Recorders.h"
#include "tweak/ColourGroupTweakerComponent.h"
#include "tweak/ColourTweakerList.h"
#include "tweak/PreviewSweep.h"
#include "tweak/TweakPanel.h"

#include <gtest/gtest.h>

namespace
{
/** The group tweaker inside a real group pane, with a three-colour group. */
class GroupTweakerTest : public ::testing::Test
{
protected:
    GroupTweakerTest()
    {
        for (auto value : { 0xffff0000u, 0xff808080u, 0xff4080c0u })
        {
            auto colour = std::make_unique<SchemeColour>();
            colour->name = "Colour " + juce::String::toHexString ((int) value);
            colour->colour = juce::Colour (value);
            group.addColour (scheme.appendColour (std::move (colour)));
        }

        pane.setColourTweakerListener (&applied);
        pane.setSize (470, 426);
    }

    // A slider move, then the message that follows it in the program (which
    // finishes a group this small).
    void move (juce::Slider& slider, double value)
    {
        slider.setValue (value, juce::sendNotificationSync);
        tweaker().getPreviewSweep().refreshNow();
    }

    std::vector<juce::uint32> stored() const
    {
        std::vector<juce::uint32> result;
        for (int i = 0; i < group.getNumMembers(); ++i)
            result.push_back (group.getMember (i)->getStoredColour().getARGB());
        return result;
    }

    std::vector<juce::uint32> previews() const
    {
        std::vector<juce::uint32> result;
        for (int i = 0; i < group.getNumMembers(); ++i)
            result.push_back (group.getMember (i)->getPreviewColour().getARGB());
        return result;
    }

    /** Both swatches of every visible row, as (stored, preview). */
    std::vector<std::pair<juce::uint32, juce::uint32>> swatches()
    {
        std::vector<std::pair<juce::uint32, juce::uint32>> result;
        auto& list = tweaker().getList();
        for (int r = 0; r < list.getNumRows(); ++r)
            if (auto* item = dynamic_cast<ColourTweakerListItem*> (list.getComponentForRowNumber (r)))
                result.emplace_back (item->getStoredBox().getColour().getARGB(), item->getPreviewBox().getColour().getARGB());
        return result;
    }

    std::vector<double> sliderValues()
    {
        auto& p = panel();
        return { p.slider (TweakSliders::hue).getValue(), p.slider (TweakSliders::saturation).getValue(), p.slider (TweakSliders::brightness).getValue(), p.slider (TweakSliders::red).getValue(), p.slider (TweakSliders::green).getValue(), p.slider (TweakSliders::blue).getValue(), p.slider (TweakSliders::contrastCentre).getValue(), p.slider (TweakSliders::contrast).getValue() };
    }

    ColourGroupTweakerComponent& tweaker() { return pane.getGroupTweaker(); }
    TweakPanel& panel() { return tweaker().getPanel(); }

    const std::vector<double> neutral { 0.0, 1.0, 1.0, 0.0, 0.0, 0.0, 0.5, 0.0 };
    SchemeModel scheme;
    ColourGroup group;
    testkit::AppliedRecorder applied;
    ColourTweaker pane;
};
} // namespace

TEST_F (GroupTweakerTest, LaysOutTheListAndPanelUnderAWhiteTitleAndFrame)
{
    auto& t = tweaker();
    t.setSize (470, 376);
    EXPECT_EQ (t.getList().getBounds(), juce::Rectangle<int> (10, 40, 315, 331));
    EXPECT_EQ (panel().getBounds(), juce::Rectangle<int> (340, 10, 130, 366));
    EXPECT_EQ (t.getList().getParentComponent(), &t);
    EXPECT_EQ (panel().getParentComponent(), &t);
    EXPECT_EQ (panel().forceHueButton.getListener(), &t);

    const auto blue = juce::Colour (0xff4c72b6);
    juce::Image image (juce::Image::ARGB, 470, 376, true);
    {
        juce::Graphics g (image);
        g.fillAll (blue);
        t.paint (g);
    }

    // The frame (5, 35, W - 145, H - 35) with corner size 10.
    EXPECT_EQ (image.getPixelAt (7, 200).getARGB(), 0xffffffffu);
    EXPECT_EQ (image.getPixelAt (324, 372).getARGB(), 0xffffffffu);
    EXPECT_EQ (image.getPixelAt (4, 200), blue);
    EXPECT_EQ (image.getPixelAt (329, 200).getARGB(), 0xffffffffu);
    EXPECT_EQ (image.getPixelAt (330, 200), blue);
    EXPECT_EQ (image.getPixelAt (200, 34), blue);
    EXPECT_NE (image.getPixelAt (5, 35).getARGB(), 0xffffffffu);

    // "Colours to tweak", white, centred over the frame.
    const juce::Rectangle<int> titleArea (5, 10, 320, 20);
    const auto white = [] (juce::Colour c)
    { return c.getBrightness() > 0.9f; };
    ASSERT_GT (testkit::countPixels (image, titleArea, white), 30);
    const auto title = testkit::boundsOfPixels (image, titleArea, white);
    const int minX = title.getX(), maxX = title.getRight() - 1;
    EXPECT_NEAR ((minX + maxX) / 2.0, 5 + 320 / 2.0, 3.0);
    EXPECT_NEAR (maxX - minX + 1, juce::Font().getStringWidthFloat ("Colours to tweak"), 3.0);
}

TEST_F (GroupTweakerTest, WithoutAGroupControlsChangeNothing)
{
    auto& p = panel();
    move (p.slider (TweakSliders::red), 40);
    move (p.slider (TweakSliders::hue), 0.25);
    move (p.slider (TweakSliders::contrast), 0.5);
    const auto moved = sliderValues();

    testkit::click (p.applyButton);
    testkit::click (p.resetButton);
    testkit::click (p.invertButton);
    tweaker().hueSelected (0.5f);

    EXPECT_EQ (sliderValues(), moved);
    EXPECT_EQ (stored(), (std::vector<juce::uint32> { 0xffff0000, 0xff808080, 0xff4080c0 }));
    EXPECT_EQ (previews(), stored());
    EXPECT_TRUE (applied.sources.empty());
    EXPECT_EQ (tweaker().getList().getNumRows(), 0);

    // Setting no group leaves the sliders where they are too.
    tweaker().setColourGroup (nullptr);
    EXPECT_EQ (sliderValues(), moved);
}

TEST_F (GroupTweakerTest, SelectingAGroupResetsItsPreviewsAndTheSliders)
{
    group.setRedOffset (100);
    move (panel().slider (TweakSliders::saturation), 1.7);
    move (panel().slider (TweakSliders::contrastCentre), 0.9);

    tweaker().setColourGroup (&group);

    EXPECT_EQ (tweaker().getColourGroup(), &group);
    EXPECT_EQ (group.getMember (1)->getParameters().redOffset, 0);
    EXPECT_EQ (previews(), stored());
    EXPECT_EQ (sliderValues(), neutral);
    EXPECT_EQ (tweaker().getList().getNumRows(), 3);
    EXPECT_TRUE (applied.sources.empty());
}

TEST_F (GroupTweakerTest, EachSliderSetsItsParameterOnEveryMemberAndTheRowsFollow)
{
    tweaker().setColourGroup (&group);
    auto& p = panel();

    move (p.slider (TweakSliders::hue), 0.5);
    EXPECT_EQ (previews(), (std::vector<juce::uint32> { 0xff00ffff, 0xff808080, 0xffc08040 }));

    // Only the right-hand swatches change.
    EXPECT_EQ (swatches(), (std::vector<std::pair<juce::uint32, juce::uint32>> { { 0xffff0000, 0xff00ffff }, { 0xff808080, 0xff808080 }, { 0xff4080c0, 0xffc08040 } }));

    move (p.slider (TweakSliders::hue), 0.0);
    move (p.slider (TweakSliders::red), 255);
    EXPECT_EQ (group.getMember (1)->getPreviewColour().getARGB(), 0xffff8080u);
    move (p.slider (TweakSliders::red), -255);
    EXPECT_EQ (group.getMember (1)->getPreviewColour().getARGB(), 0xff008080u);
    move (p.slider (TweakSliders::red), 0);

    move (p.slider (TweakSliders::saturation), 2.0);
    EXPECT_EQ (group.getMember (2)->getPreviewColour().getARGB(), 0xff0060c0u);
    move (p.slider (TweakSliders::saturation), 1.0);

    move (p.slider (TweakSliders::brightness), 0.5);
    EXPECT_EQ (group.getMember (2)->getPreviewColour().getARGB(), 0xff204060u);
    move (p.slider (TweakSliders::brightness), 1.0);

    move (p.slider (TweakSliders::green), 10);
    move (p.slider (TweakSliders::blue), -20);
    EXPECT_EQ (group.getMember (0)->getParameters().greenOffset, 10);
    EXPECT_EQ (group.getMember (2)->getParameters().blueOffset, -20);
    move (p.slider (TweakSliders::green), 0);
    move (p.slider (TweakSliders::blue), 0);

    // Either contrast slider sets both values, centre first.
    move (p.slider (TweakSliders::contrast), 1.0);
    EXPECT_EQ (group.getMember (0)->getParameters().contrastCentre, 0.5f);
    EXPECT_EQ (group.getMember (0)->getParameters().contrastAmount, 1.0f);
    move (p.slider (TweakSliders::contrastCentre), 0.25);
    EXPECT_EQ (group.getMember (1)->getParameters().contrastCentre, 0.25f);
    EXPECT_EQ (group.getMember (1)->getParameters().contrastAmount, 1.0f);
    move (p.slider (TweakSliders::contrastCentre), 0.5);
    EXPECT_EQ (group.getMember (1)->getPreviewColour().getARGB(), 0xff808080u);

    EXPECT_EQ (stored(), (std::vector<juce::uint32> { 0xffff0000, 0xff808080, 0xff4080c0 }));
    EXPECT_TRUE (applied.sources.empty());
}

TEST_F (GroupTweakerTest, ApplyWritesThePreviewsNotifiesOnceAndNeutralisesTheSliders)
{
    tweaker().setColourGroup (&group);
    move (panel().slider (TweakSliders::hue), 0.5);
    move (panel().slider (TweakSliders::red), 5);
    const auto expected = previews();

    testkit::click (panel().applyButton);

    EXPECT_EQ (stored(), expected);
    EXPECT_EQ (previews(), expected);
    EXPECT_EQ (sliderValues(), neutral);
    EXPECT_EQ (applied.sources, (std::vector<ColourTweaker*> { &pane }));
    for (auto [left, right] : swatches())
        EXPECT_EQ (left, right);
    EXPECT_EQ (swatches().size(), 3u);

    // Reset and Invert never report.
    testkit::click (panel().resetButton);
    testkit::click (panel().invertButton);
    EXPECT_EQ (applied.sources.size(), 1u);
}

TEST_F (GroupTweakerTest, InvertPreviewsTheInverseWithNeutralSlidersAndLeavesTheScheme)
{
    tweaker().setColourGroup (&group);
    move (panel().slider (TweakSliders::brightness), 1.5);

    testkit::click (panel().invertButton);

    EXPECT_EQ (previews(), (std::vector<juce::uint32> { 0xff00ffff, 0xff7f7f7f, 0xffbf7f3f }));
    EXPECT_EQ (stored(), (std::vector<juce::uint32> { 0xffff0000, 0xff808080, 0xff4080c0 }));
    EXPECT_EQ (sliderValues(), neutral);
    EXPECT_EQ (swatches()[1], std::make_pair (0xff808080u, 0xff7f7f7fu));

    move (panel().slider (TweakSliders::red), 1);
    EXPECT_EQ (group.getMember (1)->getPreviewColour().getARGB(), 0xff818080u);

    testkit::click (panel().resetButton);
    EXPECT_EQ (previews(), stored());
    EXPECT_EQ (sliderValues(), neutral);
    EXPECT_TRUE (applied.sources.empty());
}

TEST_F (GroupTweakerTest, AForcedHueKeepsTheSlidersAndTheNextSliderMoveDiscardsIt)
{
    tweaker().setColourGroup (&group);
    move (panel().slider (TweakSliders::hue), 0.25);
    move (panel().slider (TweakSliders::saturation), 0.5);
    const auto before = sliderValues();

    // Through the real button: the pop-up's selector is moved and pressed.
    tweaker().setMenuRunner ([] (juce::PopupMenu& menu, juce::Component&)
                             {
                              auto* selector = dynamic_cast<HueSelector*> (ModalMenu::getFirstCustomComponent (menu));
                              EXPECT_NE (selector, nullptr);
                              if (selector == nullptr)
                                  return 0;
                              selector->setSize (50, 200);
                              auto& tool = selector->getTool();
                              tool.mouseMove (tweaktest::mouseEventAt (tool, 25, 8 + 92)); // hue 0.5
                              selector->mouseDown (tweaktest::mouseEventAt (tool, 25, 8 + 92));
                              return 1; });
    testkit::click (panel().forceHueButton);

    EXPECT_EQ (previews(), (std::vector<juce::uint32> { 0xff00ffff, 0xff808080, 0xff40c0c0 }));
    EXPECT_EQ (sliderValues(), before);
    EXPECT_EQ (group.getMember (0)->getParameters().hueShift, 0.0f);
    EXPECT_EQ (swatches()[0], std::make_pair (0xffff0000u, 0xff00ffffu));

    // Any slider now recomputes from the stored colour with only its own parameter.
    move (panel().slider (TweakSliders::red), 10);
    EXPECT_EQ (previews(), (std::vector<juce::uint32> { 0xffff0000, 0xff8a8080, 0xff4a80c0 }));
    EXPECT_TRUE (applied.sources.empty());
}

TEST_F (GroupTweakerTest, RefreshColoursRecomputesFromTheCurrentStoredColours)
{
    tweaker().setColourGroup (&group);
    move (panel().slider (TweakSliders::hue), 0.5);

    group.getMember (0)->getSchemeColour().colour = juce::Colour (0xff00ff00);
    EXPECT_EQ (group.getMember (0)->getPreviewColour().getARGB(), 0xff00ffffu);

    tweaker().refreshColours();
    EXPECT_EQ (group.getMember (0)->getPreviewColour().getARGB(), 0xffff00ffu);
    EXPECT_EQ (swatches()[0], std::make_pair (0xff00ff00u, 0xffff00ffu));
    EXPECT_EQ (panel().slider (TweakSliders::hue).getValue(), 0.5);
}

TEST_F (GroupTweakerTest, APickInTheLeftSwatchSurvivesTheNextApplyAndRefreshesTheSchemeList)
{
    tweaker().setColourGroup (&group);
    move (panel().slider (TweakSliders::red), 10);

    tweaker().setMenuRunner ([] (juce::PopupMenu& menu, juce::Component&)
                             {
                              if (auto* item = ModalMenu::getFirstCustomComponent (menu))
                                  if (auto* selector = tweaktest::findDescendant<juce::ColourSelector> (*item))
                                      selector->setCurrentColour (juce::Colour (0xff204060));
                              return 0; });

    auto* row = dynamic_cast<ColourTweakerListItem*> (tweaker().getList().getComponentForRowNumber (1));
    ASSERT_NE (row, nullptr);
    auto& box = row->getStoredBox();
    box.mouseDown (tweaktest::mouseEventAt (box, 5, 5));

    EXPECT_EQ (stored()[1], 0xff204060u);
    EXPECT_EQ (previews()[1], 0xff2a4060u); // the red offset kept, on the new colour
    EXPECT_EQ (swatches()[1], std::make_pair (0xff204060u, 0xff2a4060u));
    EXPECT_EQ (applied.sources, (std::vector<ColourTweaker*> { &pane }));

    testkit::click (panel().applyButton);
    EXPECT_EQ (stored()[1], 0xff2a4060u);
}

TEST (GroupTweakerWindowOnScreen, EveryPanelControlFitsTheSmallestMainWindow)
{
    if (! testdisplay::haveDisplay())
        GTEST_SKIP() << "needs an X display for the main window";

    MainAppWindow window;
    window.setSize (600, 450);
    auto& panel = window.getMainComponent().getGroupPane().getGroupTweaker().getPanel();
    ASSERT_GT (panel.getNumChildComponents(), 0);

    for (auto* child : panel.getChildren())
        EXPECT_TRUE (panel.getLocalBounds().contains (child->getBounds()))
            << child->getName() << " " << child->getBounds().toString() << " in " << panel.getBounds().toString();
}
