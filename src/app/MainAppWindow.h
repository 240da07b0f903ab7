#pragma once

#include "app/PlatformWindowing.h"

#include <juce_gui_extra/juce_gui_extra.h>

class CalvastraTintwright;

/** The program's single top-level window: title bar, File menu and the main component. */
class MainAppWindow : public juce::DocumentWindow
{
public:
    MainAppWindow();
    ~MainAppWindow() override;

    void closeButtonPressed() override;

    juce::ApplicationCommandManager& getCommandManager() noexcept { return commandManager; }
    CalvastraTintwright& getMainComponent() const;

    /** Cornflower blue darkened by 0.3. */
    static juce::Colour getWindowBackgroundColour();

private:
    juce::ApplicationCommandManager commandManager;
    std::unique_ptr<PlatformWindowing::ScreenUpkeep> screenUpkeep = PlatformWindowing::makeScreenUpkeep (*this);

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (MainAppWindow)
};
