#include "app/PlatformWindowing.h"

#include "app/StaleScreenGuardLinux.h"
#include "app/XEventQueueDrainLinux.h"

namespace PlatformWindowing
{
namespace
{
    struct StaleScreenUpkeep : ScreenUpkeep
    {
        explicit StaleScreenUpkeep (juce::Component& window)
            : guard (window)
        {
        }

        StaleScreenGuard guard;
        XEventQueueDrain drain;
    };
} // namespace

std::unique_ptr<ScreenUpkeep> makeScreenUpkeep (juce::Component& mainWindow)
{
    return std::make_unique<StaleScreenUpkeep> (mainWindow);
}

void prepareRunLoopForQuit()
{
    // JUCE 7's Linux run loop keeps the callbacks of a dispatch in one list
    // that a nested (modal) loop empties, so the outer dispatch reports that
    // it ran nothing, and the main loop goes back to poll() without seeing
    // that quitting has begun: the program then never ends, with the closed
    // question still painted (no message can be posted once quitting, so
    // nothing wakes it). One more dispatch with a message in it, before
    // quitting, puts that right.
    juce::MessageManager::callAsync ([] {});
    juce::MessageManager::getInstance()->runDispatchLoopUntil (0);
}
} // namespace PlatformWindowing
