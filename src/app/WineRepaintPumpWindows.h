#pragma once

#include <juce_gui_basics/juce_gui_basics.h>

/** True when this Windows program runs under Wine (its ntdll exports
    wine_get_version), not on Windows itself. */
bool isRunningUnderWine();

/** Paints every window's pending repaints, 60 times a second.

    JUCE 7.0.5 on Windows paints from a thread that waits for the display's
    vertical blank (IDXGIOutput::WaitForVBlank), which Wine 8 has only as a
    stub: the first frame paints, then nothing repaints. Timers still run, so
    the repaints are sent from one.
*/
class WineRepaintPump : private juce::Timer
{
public:
    WineRepaintPump();
    ~WineRepaintPump() override;

private:
    void timerCallback() override;

    JUCE_DECLARE_NON_COPYABLE (WineRepaintPump)
};
