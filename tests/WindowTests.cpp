// The application object and its main window (needs an X display).

#include "TestDisplay.h"
#include "app/AppClass.h"
#include "app/CalvastraTintwright.h"
#include "groups/ColourTweaker.h"
#include "look/ColourShades.h"

#include <gtest/gtest.h>

namespace
{
/** Counts quit requests instead of stopping the test process's message loop. */
struct QuitCountingApp : public AppClass
{
    void systemRequestedQuit() override { ++quitRequests; }
    int quitRequests = 0;
};
} // namespace

TEST (MainWindowTest, DarkeningTruncatesEachChannel)
{
    EXPECT_EQ (MainAppWindow::getWindowBackgroundColour().getARGB(), 0xff4c72b6u);
    EXPECT_EQ (ColourShades::darkened (juce::Colour (0xff6495ed), 0.3).getARGB(), 0xff4c72b6u);

    // 130 / 1.3 is exactly 100: no rounding down to 99 through 1.3's binary form.
    EXPECT_EQ (ColourShades::darkened (juce::Colour (0xff828282), 0.3).getARGB(), 0xff646464u);
    // 255 / 1.3 = 196.15; alpha is kept.
    EXPECT_EQ (ColourShades::darkened (juce::Colour (0x80ffffff), 0.3).getARGB(), 0x80c4c4c4u);
    EXPECT_EQ (ColourShades::darkened (juce::Colour (0xff102030), 0.0).getARGB(), 0xff102030u);
}

TEST (MainWindowOnScreen, StartsAt600By450CentredWithItsLimitsAndMenuBar)
{
    if (! testdisplay::haveDisplay())
        GTEST_SKIP() << "needs an X display";

    QuitCountingApp app;
    EXPECT_EQ (app.getApplicationName(), "Tintwright");
    EXPECT_EQ (app.getApplicationVersion(), "0.0");
    EXPECT_TRUE (app.moreThanOneInstanceAllowed());

    app.initialise ("--open something.calvastrascheme");
    auto* window = app.getMainWindow();
    ASSERT_NE (window, nullptr);

    EXPECT_EQ (window->getName(), "Tintwright");
    EXPECT_TRUE (window->isOnDesktop());
    EXPECT_TRUE (window->isVisible());
    EXPECT_EQ (window->getWidth(), 600);
    EXPECT_EQ (window->getHeight(), 450);
    EXPECT_EQ (window->getBackgroundColour().getARGB(), 0xff4c72b6u);
    EXPECT_FALSE (window->isUsingNativeTitleBar());
    EXPECT_EQ (window->getTitleBarHeight(), 26);

    const auto screen = juce::Desktop::getInstance().getDisplays().getDisplayForRect (window->getScreenBounds())->userArea;
    EXPECT_NEAR (window->getScreenBounds().getCentreX(), screen.getCentreX(), 1);
    EXPECT_NEAR (window->getScreenBounds().getCentreY(), screen.getCentreY(), 1);

    EXPECT_NE (window->getMinimiseButton(), nullptr);
    EXPECT_NE (window->getMaximiseButton(), nullptr);
    EXPECT_NE (window->getCloseButton(), nullptr);

    // Resizable by its border, not by a corner resizer.
    EXPECT_TRUE (window->isResizable());
    int borders = 0, corners = 0;
    for (auto* child : window->getChildren())
    {
        borders += dynamic_cast<juce::ResizableBorderComponent*> (child) != nullptr ? 1 : 0;
        corners += dynamic_cast<juce::ResizableCornerComponent*> (child) != nullptr ? 1 : 0;
    }
    EXPECT_EQ (borders, 1);
    EXPECT_EQ (corners, 0);

    // Dragging the border goes through the constrainer: 600 x 450 up to 10000 x 10000.
    auto* constrainer = window->getConstrainer();
    ASSERT_NE (constrainer, nullptr);
    EXPECT_EQ (constrainer->getMinimumWidth(), 600);
    EXPECT_EQ (constrainer->getMinimumHeight(), 450);
    EXPECT_EQ (constrainer->getMaximumWidth(), 10000);
    EXPECT_EQ (constrainer->getMaximumHeight(), 10000);

    auto shrunk = window->getBounds().withSize (300, 200);
    constrainer->checkBounds (shrunk, window->getBounds(), { -20000, -20000, 40000, 40000 }, false, false, true, true);
    EXPECT_EQ (shrunk.getWidth(), 600);
    EXPECT_EQ (shrunk.getHeight(), 450);

    // The menu bar is the main component's File menu, 24 pixels high.
    auto& main = window->getMainComponent();
    ASSERT_NE (window->getMenuBarComponent(), nullptr);
    EXPECT_EQ (window->getMenuBarComponent()->getHeight(), 24);
    auto* menuBar = dynamic_cast<juce::MenuBarComponent*> (window->getMenuBarComponent());
    ASSERT_NE (menuBar, nullptr);
    EXPECT_EQ (menuBar->getModel(), static_cast<juce::MenuBarModel*> (&main));
    EXPECT_EQ (main.getParentComponent(), window);
    EXPECT_EQ (main.getScheme(), nullptr) << "the command line opens nothing";

    // The content follows the window: the scheme list stays 200 wide.
    window->setSize (900, 700);
    EXPECT_EQ (main.getSchemeListPane().getWidth(), 200);
    EXPECT_EQ (main.getGroupPane().getWidth(), main.getWidth() - 200);
    EXPECT_EQ (main.getBounds(), window->getContentComponentBorder().subtractedFrom (window->getLocalBounds()));

    // The command manager reaches the main component's commands.
    auto& commands = window->getCommandManager();
    EXPECT_EQ (commands.getFirstCommandTarget (4), static_cast<juce::ApplicationCommandTarget*> (&main));

    // Both ways out ask the application to quit, without a question.
    window->closeButtonPressed();
    EXPECT_EQ (app.quitRequests, 1);
    EXPECT_TRUE (commands.invokeDirectly (4, false));
    EXPECT_EQ (app.quitRequests, 2);
    EXPECT_EQ (juce::Component::getCurrentlyModalComponent(), nullptr);

    app.shutdown();
    EXPECT_EQ (app.getMainWindow(), nullptr);
    EXPECT_EQ (dynamic_cast<LameOLook*> (&juce::LookAndFeel::getDefaultLookAndFeel()), nullptr);
}
