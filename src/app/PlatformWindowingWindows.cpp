#include "app/PlatformWindowing.h"

#include "app/WineRepaintPumpWindows.h"

namespace PlatformWindowing
{
namespace
{
    struct WineUpkeep : ScreenUpkeep
    {
        WineRepaintPump pump;
    };
} // namespace

std::unique_ptr<ScreenUpkeep> makeScreenUpkeep (juce::Component&)
{
    // Windows itself repaints; only Wine needs the pump.
    if (isRunningUnderWine())
        return std::make_unique<WineUpkeep>();

    return nullptr;
}

void prepareRunLoopForQuit()
{
    // The Windows message loop sees the quit message that quitting posts.
}
} // namespace PlatformWindowing
