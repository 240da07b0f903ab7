#include "app/AppClass.h"

#include "app/CalvastraTintwright.h"
#include "app/PlatformWindowing.h"

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
    // run-loop dispatch as the question's modal loop.
    PlatformWindowing::prepareRunLoopForQuit();

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
