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

std::string whyRenderedTextDiffers()
{
    return "text is drawn by Windows' GDI fonts, not the Linux font renderer these pictures were made with";
}
} // namespace testdisplay
