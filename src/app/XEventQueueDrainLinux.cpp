// JUCE's own X11 classes (its display connection and the Xlib functions it
// loaded) are declared only when asked for.
#define JUCE_GUI_BASICS_INCLUDE_XHEADERS 1

#include "app/XEventQueueDrainLinux.h"

#include <juce_events/native/juce_linux_EventLoopInternal.h>
#include <juce_gui_basics/juce_gui_basics.h>

namespace
{
// A frame at 60 Hz.
constexpr int checksPerSecond = 60;

::Display* programDisplay()
{
    auto* windowSystem = juce::XWindowSystem::getInstanceWithoutCreating();
    return windowSystem != nullptr ? windowSystem->getDisplay() : nullptr;
}
} // namespace

XEventQueueDrain::XEventQueueDrain()
{
    startTimerHz (checksPerSecond);
}

XEventQueueDrain::~XEventQueueDrain()
{
    stopTimer();
    cancelPendingUpdate();
}

void XEventQueueDrain::timerCallback()
{
    auto* display = programDisplay();

    if (display == nullptr)
        return;

    juce::XWindowSystemUtilities::ScopedXLock lock;

    // QueuedAlready: what Xlib holds, without touching the connection; events
    // still in the connection wake the run loop by themselves.
    if (juce::X11Symbols::getInstance()->xEventsQueued (display, QueuedAlready) > 0)
        triggerAsyncUpdate();
}

void XEventQueueDrain::handleAsyncUpdate()
{
    // Handled from a message of their own, not inside the timer callback: a
    // click may open a menu whose modal loop would hold up every timer.
    if (auto* display = programDisplay())
    {
        // The run loop's own handler for the connection handles everything
        // queued, exactly as if the descriptor had become readable.
        juce::LinuxEventLoopInternal::invokeEventLoopCallbackForFd (
            juce::X11Symbols::getInstance()->xConnectionNumber (display));
    }
}
