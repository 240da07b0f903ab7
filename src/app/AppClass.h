#pragma once

#include "app/MainAppWindow.h"
#include "app/TestProbe.h"

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

    /** Quit, the close button and the system: quits unless the shown scheme
        has changes that the user wants to keep (Cancel, or a failed save). */
    void systemRequestedQuit() override;

    MainAppWindow* getMainWindow() const noexcept { return mainWindow.get(); }

protected:
    /** Ends the program once quitting is agreed; tests count the calls instead. */
    virtual void quitAgreed();

private:
    std::unique_ptr<MainAppWindow> mainWindow;
    std::unique_ptr<TestProbe> probe;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (AppClass)
};
