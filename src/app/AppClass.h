#pragma once

#include "MainAppWindow.h"
#include "TestProbe.h"

/** The application object: creates the main window at start and deletes it at the end. */
class AppClass : public juce::JUCEApplication
{
public:
    AppClass() = default;

    void initialise (const juce::String& commandLine) override;
    void shutdown() override;

    const juce::String getApplicationName() override;
    const juce::String getApplicationVersion() override;
    bool moreThanOneInstanceAllowed() override;
    void anotherInstanceStarted (const juce::String& commandLine) override;

    MainAppWindow* getMainWindow() const noexcept { return mainWindow.get(); }

private:
    std::unique_ptr<MainAppWindow> mainWindow;
    std::unique_ptr<TestProbe> probe;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (AppClass)
};
