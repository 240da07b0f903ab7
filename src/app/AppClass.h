#pragma once

#include "app/MainAppWindow.h"

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

    /** Quit, the close button and the system: quits if userAgreesToQuit(). */
    void systemRequestedQuit() override;

    /** True unless the shown scheme has changes that the user wants to keep
        (Cancel, or a failed save); asks first when it has changes. */
    bool userAgreesToQuit();

    MainAppWindow* getMainWindow() const noexcept { return mainWindow.get(); }

private:
    void quitAgreed();

    std::unique_ptr<MainAppWindow> mainWindow;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (AppClass)
};
