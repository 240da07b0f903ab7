#include "app/MainAppWindow.h"

#include "look/ColourShades.h"

#include "app/CalvastraTintwright.h"
#include "look/UiConstants.h"

#include <cmath>

MainAppWindow::MainAppWindow()
    : juce::DocumentWindow ("Tintwright", getWindowBackgroundColour(), juce::DocumentWindow::allButtons, true)
{
    setUsingNativeTitleBar (false);
    setResizable (true, false);

    auto mainComponent = std::make_unique<CalvastraTintwright> (&commandManager);
    auto& main = *mainComponent;
    setContentOwned (mainComponent.release(), false);

    commandManager.registerAllCommandsForTarget (&main);
    commandManager.setFirstCommandTarget (&main);

    main.setApplicationCommandManagerToWatch (&commandManager);
    setMenuBar (&main, 24);
}

MainAppWindow::~MainAppWindow()
{
    // The menu bar and the main component refer to the command manager, which
    // goes with this object, before the base class would delete them.
    setMenuBar (nullptr);
    clearContentComponent();
}

void MainAppWindow::closeButtonPressed()
{
    if (auto* app = juce::JUCEApplication::getInstance())
        app->systemRequestedQuit();
}

CalvastraTintwright& MainAppWindow::getMainComponent() const
{
    auto* main = dynamic_cast<CalvastraTintwright*> (getContentComponent());
    jassert (main != nullptr);
    return *main;
}

juce::Colour MainAppWindow::getWindowBackgroundColour()
{
    return ColourShades::darkened (UiConstants::cornflowerBlue, 0.3);
}
