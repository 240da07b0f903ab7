#include "MainAppWindow.h"

#include "CalvastraTintwright.h"

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
    return darken (juce::Colour (0xff6495ed), 0.3);
}

juce::Colour MainAppWindow::darken (juce::Colour colour, double amount)
{
    // Integer quotients (130 / 1.3 = 100) must not truncate to one less
    // because 1.3 has no exact binary form.
    const auto factor = 1.0 / (1.0 + amount);
    const auto channel = [factor] (juce::uint8 c)
    { return (juce::uint8) juce::jlimit (0.0, 255.0, std::floor (c * factor + 1.0e-9)); };

    return juce::Colour (channel (colour.getRed()), channel (colour.getGreen()), channel (colour.getBlue()), colour.getAlpha());
}
