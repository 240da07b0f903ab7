#include "TestDisplay.h"
#include "app/StaleScreenGuardLinux.h"
#include "support/ui/MessageLoop.h"

#include <gtest/gtest.h>

namespace
{
struct CountingWindow : juce::Component
{
    void paint (juce::Graphics& g) override
    {
        g.fillAll (juce::Colours::white);
        ++paints;
    }

    int paints = 0;
};

void onDesktopAt (juce::Component& window, int x)
{
    window.setBounds (x, 20, 120, 80);
    window.addToDesktop (juce::ComponentPeer::windowIsTemporary);
    window.setVisible (true);
    window.repaint(); // painted now, not when the X server's first Expose event arrives
}
} // namespace

// The pop-up is placed beside the window, never over it, so no Expose event
// from the X server can be what repaints the window: only the guard can.
TEST (StaleScreenGuardOnScreen, RepaintsTheWindowWhenAnotherWindowCloses)
{
    if (! testdisplay::haveDisplay())
        GTEST_SKIP() << "needs a display";

    CountingWindow window;
    onDesktopAt (window, 20);
    StaleScreenGuard guard (window);
    testkit::pumpFor (300);

    auto popUp = std::make_unique<CountingWindow>();
    onDesktopAt (*popUp, 400);
    testkit::pumpFor (300);
    const auto paintsWithPopUpOpen = window.paints;
    EXPECT_GT (paintsWithPopUpOpen, 0);

    // Nothing closes: nothing is repainted.
    testkit::pumpFor (300);
    EXPECT_EQ (window.paints, paintsWithPopUpOpen);

    popUp.reset();
    testkit::pumpFor (300);
    EXPECT_GT (window.paints, paintsWithPopUpOpen);

    const auto paintsAfterClose = window.paints;
    testkit::pumpFor (300);
    EXPECT_EQ (window.paints, paintsAfterClose);

    // One window closes as another opens, as a question follows its menu:
    // as many windows as before, and still one closed.
    auto menu = std::make_unique<CountingWindow>();
    onDesktopAt (*menu, 400);
    testkit::pumpFor (300);
    const auto paintsWithMenuOpen = window.paints;
    menu.reset();
    CountingWindow question;
    onDesktopAt (question, 400);
    testkit::pumpFor (300);
    EXPECT_GT (window.paints, paintsWithMenuOpen);

    // Hidden but still on the desktop counts as closed too.
    const auto paintsWithQuestionOpen = window.paints;
    question.setVisible (false);
    testkit::pumpFor (300);
    EXPECT_GT (window.paints, paintsWithQuestionOpen);
}
