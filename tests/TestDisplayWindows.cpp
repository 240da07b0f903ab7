#include "TestDisplay.h"

#include "app/WineRepaintPumpWindows.h"

namespace testdisplay
{
namespace
{
    struct WineDisplay : DisplaySetup
    {
        WineRepaintPump pump;
    };
} // namespace

std::unique_ptr<DisplaySetup> prepareDisplay()
{
    // Windows on screen repaint under Wine only with the pump the program uses.
    if (isRunningUnderWine())
        return std::make_unique<WineDisplay>();

    return nullptr;
}

std::string whyPressesInsideMenusMiss()
{
    // Seen under Wine 8 with windows that Wine manages itself (which the test
    // run sets, as no window manager runs on its X server): a press sent to
    // the hue strip inside the menu arrives at the strip's end. With Wine
    // leaving the windows to a window manager it lands right, but then every
    // hidden window costs a two-second wait for one.
    if (isRunningUnderWine())
        return "under Wine with windows it manages itself, a press sent into an open menu misses its place";

    return {};
}
} // namespace testdisplay
