#include "app/AppClass.h"

#include "app/CalvastraTintwright.h"

namespace
{
const juce::String applicationName ("Tintwright");
const juce::String applicationVersion ("0.0");
} // namespace

void AppClass::initialise (const juce::String&)
{
    // The command line is not used: no file is opened at start.
    mainWindow = std::make_unique<MainAppWindow>();
    mainWindow->centreWithSize (600, 450);
    mainWindow->setResizeLimits (600, 450, 10000, 10000);
    mainWindow->setVisible (true);
}

void AppClass::systemRequestedQuit()
{
    if (userAgreesToQuit())
        quitAgreed();
}

bool AppClass::userAgreesToQuit()
{
    return mainWindow == nullptr || mainWindow->getMainComponent().saveIfNeededAndUserAgrees();
}

void AppClass::quitAgreed()
{
    // After the question about unsaved changes, this runs inside the same
    // run-loop dispatch as the question's modal loop. JUCE 7's Linux run loop
    // keeps the callbacks of a dispatch in one list that the nested loop
    // empties, so that outer dispatch reports that it ran nothing, and the
    // main loop goes back to poll() without seeing that quitting has begun:
    // the program then never ends, with the closed question still painted
    // (no message can be posted once quitting, so nothing wakes it). One more
    // dispatch with a message in it, before quitting, puts that right.
    juce::MessageManager::callAsync ([] {});
    juce::MessageManager::getInstance()->runDispatchLoopUntil (0);

    quit();
}

void AppClass::shutdown()
{
    mainWindow.reset();
}

const juce::String AppClass::getApplicationName()
{
    return applicationName;
}

const juce::String AppClass::getApplicationVersion()
{
    return applicationVersion;
}

bool AppClass::moreThanOneInstanceAllowed()
{
    return true;
}

void AppClass::anotherInstanceStarted (const juce::String&)
{
}
