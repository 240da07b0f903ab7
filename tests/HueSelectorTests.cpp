#include "TestDisplay.h"
#include "TweakTestSupport.h"
#include "hue/HueForceButton.h"
#include "hue/HueSelector.h"
#include "hue/ModalMenu.h"
#include "support/ui/MessageLoop.h"

#include <gtest/gtest.h>

using tweaktest::mouseEventAt;

namespace
{
struct RecordingHueListener : public HueSelectorListener
{
    void hueSelected (float hue) override { hues.push_back (hue); }
    std::vector<float> hues;
};

/** A selector at its ideal size, as the menu would make it. */
std::unique_ptr<HueSelector> makeSelector()
{
    auto selector = std::make_unique<HueSelector>();
    int w = 0, h = 0;
    selector->getIdealSize (w, h);
    selector->setSize (w, h);
    return selector;
}
} // namespace

TEST (HueSelector, StartsRedWithTheArrowAtTheBottomOfAStripWithEightPixelMargins)
{
    auto selector = makeSelector();
    EXPECT_EQ (selector->getBounds(), juce::Rectangle<int> (0, 0, 50, 200));
    EXPECT_EQ (selector->getHue(), 1.0f);
    EXPECT_EQ (selector->getTool().getBounds(), selector->getLocalBounds());
    EXPECT_EQ (selector->getTool().getArrow().getBounds(), juce::Rectangle<int> (0, 184, 50, 16));
    bool arrowTakesClicks = true, arrowChildrenTakeClicks = true;
    selector->getTool().getArrow().getInterceptsMouseClicks (arrowTakesClicks, arrowChildrenTakeClicks);
    EXPECT_FALSE (arrowTakesClicks);
    EXPECT_FALSE (arrowChildrenTakeClicks);

    const auto image = tweaktest::paintOver (*selector, juce::Colour (0xff123456));

    // The margin shows the pure colour of the hue: red at 1.0.
    for (auto [x, y] : { std::pair { 0, 0 }, { 4, 100 }, { 45, 100 }, { 25, 3 }, { 25, 196 }, { 25, 199 } })
        EXPECT_EQ (image.getPixelAt (x, y).getARGB(), 0xffff0000u) << x << "," << y;
}

TEST (HueSelector, PaintsTheStripRowByRowFromRedAtTheTop)
{
    auto selector = makeSelector();
    selector->setHue (0.5f);
    EXPECT_EQ (selector->getTool().getArrow().getBounds(), juce::Rectangle<int> (0, 92, 50, 16));

    const auto background = juce::Colour (0xff123456);
    const auto image = tweaktest::paintOver (*selector, background);
    const auto cyan = juce::Colour (0.5f, 1.0f, 1.0f, 1.0f);

    // 184 rows of 34 pixels; the middle column is clear of the arrow's triangles.
    EXPECT_EQ (image.getPixelAt (25, 8).getARGB(), 0xffff0000u);
    for (int y = 8; y < 192; ++y)
    {
        const auto expected = juce::Colour ((float) (y - 8) * (1.0f / 184.0f), 1.0f, 1.0f, 1.0f);
        ASSERT_EQ (image.getPixelAt (25, y), expected) << "row " << y;

        if (y < 92 || y >= 108) // the arrow's triangles cover the sides there
        {
            ASSERT_EQ (image.getPixelAt (8, y), expected) << "row " << y;
            ASSERT_EQ (image.getPixelAt (41, y), expected) << "row " << y;
            ASSERT_EQ (image.getPixelAt (7, y), cyan) << "row " << y;
            ASSERT_EQ (image.getPixelAt (42, y), cyan) << "row " << y;
        }
    }

    EXPECT_EQ (image.getPixelAt (25, 7), cyan);
    EXPECT_EQ (image.getPixelAt (25, 192), cyan);

    // The strip is drawn only where the clip asks: a repaint of rows 50 to 59
    // leaves a prefilled image untouched elsewhere.
    juce::Image partial (juce::Image::ARGB, 50, 200, true);
    {
        juce::Graphics g (partial);
        g.fillAll (background);
        g.reduceClipRegion (0, 50, 50, 10);
        selector->getTool().paint (g);
    }
    EXPECT_EQ (partial.getPixelAt (25, 49), background);
    EXPECT_EQ (partial.getPixelAt (25, 50), image.getPixelAt (25, 50));
    EXPECT_EQ (partial.getPixelAt (25, 59), image.getPixelAt (25, 59));
    EXPECT_EQ (partial.getPixelAt (25, 60), background);
}

TEST (HueSelector, ArrowIsTwoTranslucentTrianglesWithADarkOutline)
{
    HueSelectorArrow arrow;
    arrow.setSize (50, 16);

    const auto image = tweaktest::paintOver (arrow, juce::Colour (0xff000000));

    // Inside the left and right triangles: white at 0.75 over black.
    for (auto [x, y] : { std::pair { 5, 8 }, { 44, 8 } })
    {
        const auto p = image.getPixelAt (x, y);
        EXPECT_NEAR (p.getRed(), 0xbf, 1) << x;
        EXPECT_EQ (p.getRed(), p.getGreen());
        EXPECT_EQ (p.getRed(), p.getBlue());
    }

    // Between the tips nothing is drawn.
    EXPECT_EQ (image.getPixelAt (25, 8).getARGB(), 0xff000000u);
    EXPECT_EQ (image.getPixelAt (16, 8).getARGB(), 0xff000000u);

    // Over white, the outline is dark along the outer edge x = 1.
    const auto onWhite = tweaktest::paintOver (arrow, juce::Colour (0xffffffff));
    EXPECT_LT (onWhite.getPixelAt (1, 8).getRed(), 0xb0);
    EXPECT_GE (onWhite.getPixelAt (5, 8).getRed(), 0xfe);
}

TEST (HueSelector, ArrowPositionRoundsHalvesToEven)
{
    for (auto [height, hue, expectedY] : { std::tuple { 21, 0.5f, 2 }, { 23, 0.5f, 4 }, { 200, 0.0f, 0 }, { 200, 0.25f, 46 } })
    {
        HueSelector selector;
        selector.setSize (50, height);
        selector.setHue (hue);
        EXPECT_EQ (selector.getTool().getArrow().getBounds(), juce::Rectangle<int> (0, expectedY, 50, 16)) << height << " " << hue;
    }
}

TEST (HueSelector, PointerHeightMapsLinearlyOntoTheStripAndClampsInTheMargins)
{
    for (int height : { 200, 120 })
    {
        HueSelector selector;
        selector.setSize (50, height);
        auto& tool = selector.getTool();

        tool.mouseMove (mouseEventAt (tool, 20, 8));
        EXPECT_EQ (selector.getHue(), 0.0f);

        tool.mouseMove (mouseEventAt (tool, 20, height - 9));
        EXPECT_EQ (selector.getHue(), (float) (height - 17) / (float) (height - 16));
        EXPECT_LT (selector.getHue(), 1.0f);

        tool.mouseMove (mouseEventAt (tool, 20, 2));
        EXPECT_EQ (selector.getHue(), 0.0f);

        tool.mouseMove (mouseEventAt (tool, 20, height - 2));
        EXPECT_EQ (selector.getHue(), 1.0f);

        tool.mouseMove (mouseEventAt (tool, 20, 8 + (height - 16) / 4));
        EXPECT_EQ (selector.getHue(), 0.25f);
    }

    HueSelector selector;
    selector.setHue (-0.25f);
    EXPECT_EQ (selector.getHue(), 0.0f);
    selector.setHue (1.5f);
    EXPECT_EQ (selector.getHue(), 1.0f);
}

TEST (HueSelector, RepaintsOnlyWhenTheHueChanges)
{
    auto selector = makeSelector();
    selector->setVisible (true);
    int repaints = 0;
    tweaktest::countRepaints (*selector, repaints);
    auto& tool = selector->getTool();

    tool.mouseMove (mouseEventAt (tool, 10, 100));
    EXPECT_GT (repaints, 0);
    EXPECT_EQ (selector->getTool().getArrow().getY(), 92);

    // Sideways: same hue, nothing to redraw.
    repaints = 0;
    tool.mouseMove (mouseEventAt (tool, 30, 100));
    tool.mouseMove (mouseEventAt (tool, 45, 100));
    EXPECT_EQ (repaints, 0);

    // Deep in either margin the clamped hue does not change either.
    tool.mouseMove (mouseEventAt (tool, 30, 199));
    repaints = 0;
    tool.mouseMove (mouseEventAt (tool, 30, 195));
    EXPECT_EQ (repaints, 0);
}

TEST (HueSelector, PressReportsTheLastMovedHueWhateverItsPosition)
{
    RecordingHueListener listener;

    auto selector = makeSelector();
    selector->setListener (&listener);
    selector->mouseDown (mouseEventAt (selector->getTool(), 25, 60));

    auto& tool = selector->getTool();
    tool.mouseMove (mouseEventAt (tool, 25, 8 + 46)); // hue 0.25
    selector->mouseDown (mouseEventAt (tool, 25, 180));
    EXPECT_EQ (listener.hues, (std::vector<float> { 1.0f, 0.25f }));

    // Without a listener a press reports nothing (and does not fail).
    auto silent = makeSelector();
    silent->mouseDown (mouseEventAt (silent->getTool(), 25, 60));
    EXPECT_EQ (listener.hues.size(), 2u);
}

TEST (HueSelectorOnScreen, PressesOnTheStripAndTheArrowReachTheSelector)
{
    if (! testdisplay::haveDisplay())
        GTEST_SKIP() << "needs an X display for real mouse events";

    // Real events through a window: the strip and the arrow pass presses on
    // to the selector, which listens to the strip and its children.
    RecordingHueListener listener;
    auto pressAt = [&listener] (int y)
    {
        auto selector = makeSelector();
        selector->setListener (&listener);
        selector->addToDesktop (0);
        selector->setVisible (true);

        auto& tool = selector->getTool();
        tweaktest::sendMouse (tool, 5, y, false);
        tweaktest::sendMouse (tool, 5, y, true);
        tweaktest::sendMouse (tool, 5, y, false);
    };

    pressAt (8 + 46); // on the strip's margin column, hue 0.25
    pressAt (192); // on the arrow's left triangle at hue 1.0
    EXPECT_EQ (listener.hues, (std::vector<float> { 0.25f, 1.0f }));
}

TEST (HueForceButton, OffersAFreshSelectorWithItsListenerOnEveryClick)
{
    HueForceButton button;
    EXPECT_EQ (button.getButtonText(), "Force hue...");
    EXPECT_EQ (button.getTooltip(), "Click to set a hue for this group.");

    RecordingHueListener listener;
    std::vector<HueSelector*> selectors;
    std::vector<float> startHues;
    button.setMenuRunner ([&] (juce::PopupMenu& menu, juce::Component& target)
                          {
                              EXPECT_EQ (&target, &button);
                              EXPECT_EQ (menu.getNumItems(), 1);
                              juce::PopupMenu::MenuItemIterator items (menu);
                              EXPECT_TRUE (items.next());
                              EXPECT_EQ (items.getItem().itemID, 1);

                              auto* selector = dynamic_cast<HueSelector*> (ModalMenu::getFirstCustomComponent (menu));
                              EXPECT_NE (selector, nullptr);
                              if (selector == nullptr)
                                  return 0;

                              selectors.push_back (selector);
                              startHues.push_back (selector->getHue());
                              EXPECT_EQ (selector->getListener(), button.getListener());

                              // Move the pointer, then dismiss without pressing.
                              selector->setHue (0.3f);
                              return 0; });

    button.triggerClick();
    testkit::pumpFor (50);
    EXPECT_EQ (selectors.size(), 1u);

    button.setListener (&listener);
    button.triggerClick();
    testkit::pumpFor (50);

    ASSERT_EQ (selectors.size(), 2u);
    EXPECT_EQ (startHues, (std::vector<float> { 1.0f, 1.0f }));

    // Dismissed without a press: nothing reported.
    EXPECT_TRUE (listener.hues.empty());
}

TEST (HueForceButton, EachButtonShowsItsPopUpThroughItsOwnRunner)
{
    HueForceButton first, second;
    std::vector<juce::Component*> firstTargets, secondTargets;
    first.setMenuRunner ([&] (juce::PopupMenu&, juce::Component& target)
                         { firstTargets.push_back (&target); return 0; });
    second.setMenuRunner ([&] (juce::PopupMenu&, juce::Component& target)
                          { secondTargets.push_back (&target); return 0; });

    first.triggerClick();
    testkit::pumpFor (50);
    second.triggerClick();
    testkit::pumpFor (50);

    EXPECT_EQ (firstTargets, (std::vector<juce::Component*> { &first }));
    EXPECT_EQ (secondTargets, (std::vector<juce::Component*> { &second }));
}

TEST (HueForceButtonOnScreen, RealMenuClosesOnAPressOnTheStripAndReportsTheHue)
{
    if (! testdisplay::haveDisplay())
        GTEST_SKIP() << "needs an X display for a real pop-up menu";
    TINTWRIGHT_SKIP_IF (whyPressesInsideMenusMiss);

    juce::Component window;
    window.setBounds (100, 100, 200, 100);
    HueForceButton button;
    window.addAndMakeVisible (button);
    button.setBounds (10, 10, 130, 20);
    window.addToDesktop (0);
    window.setVisible (true);

    RecordingHueListener listener;
    button.setListener (&listener);

    // Plays the user from a timer, which keeps firing inside the menu's modal
    // loop: once the strip shows, point at its middle and press there.
    struct Presser : private juce::Timer
    {
        Presser() { startTimer (20); }
        ~Presser() override { stopTimer(); }

        void timerCallback() override
        {
            auto* selector = tweaktest::findOnDesktop<HueSelector>();
            if (selector == nullptr || ! selector->isShowing() || selector->getHeight() < 100)
                return;

            auto& tool = selector->getTool();
            const auto middle = 8 + (tool.getHeight() - 16) / 2;
            tweaktest::sendMouse (tool, 20, middle, false);
            tweaktest::sendMouse (tool, 20, middle, true);
            tweaktest::sendMouse (tool, 20, middle, false);
            pressed = true;
            stopTimer();
        }

        bool pressed = false;
    };

    // A bare X server has no window manager to give the window focus, and an
    // open menu closes itself when the program seems to have lost it, as
    // happens when another test process on the same display opens a window.
    // So a menu that closed that way is opened again, a few times at most.
    int pressedMenus = 0;
    for (int attempt = 0; attempt < 5 && listener.hues.empty(); ++attempt)
    {
        button.setWantsKeyboardFocus (true);
        button.grabKeyboardFocus();

        Presser presser;
        button.triggerClick();
        testkit::pumpFor (300);
        juce::PopupMenu::dismissAllActiveMenus();
        pressedMenus += presser.pressed ? 1 : 0;
    }

    EXPECT_GE (pressedMenus, 1);
    EXPECT_EQ (listener.hues, (std::vector<float> { 0.5f }));

    // The menu is gone, and with it the selector.
    testkit::pumpFor (100);
    EXPECT_EQ (tweaktest::findOnDesktop<HueSelector>(), nullptr);
}
