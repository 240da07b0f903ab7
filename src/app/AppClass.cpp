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

    const auto probeFolder = juce::SystemStats::getEnvironmentVariable ("TINTWRIGHT_PROBE_DIR", {});

    if (probeFolder.isNotEmpty())
    {
        probe = std::make_unique<TestProbe> (juce::File (probeFolder), *mainWindow);
        mainWindow->getMainComponent().setSaveObserver (
            [p = probe.get()] (const juce::File& target, const SchemeModel& scheme, bool succeeded)
            { p->recordSave (target, scheme, succeeded); });
    }
}

void AppClass::systemRequestedQuit()
{
    if (mainWindow != nullptr && ! mainWindow->getMainComponent().saveIfNeededAndUserAgrees())
        return;

    quitAgreed();
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
    // The window first: its documents hold the probe's save observer.
    mainWindow.reset();
    probe.reset();
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
