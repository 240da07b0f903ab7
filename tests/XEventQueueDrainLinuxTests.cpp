// JUCE's X connection and its Xlib functions, to put an event into Xlib's
// queue the way a paint's or a reply's read of the connection does.
#define JUCE_GUI_BASICS_INCLUDE_XHEADERS 1

// gtest first: Xlib's macros (None, Bool) would change its names.
#include <gtest/gtest.h>

#include "TestDisplay.h"
#include "app/XEventQueueDrainLinux.h"
#include "support/ui/MessageLoop.h"

#include <juce_events/native/juce_linux_EventLoopInternal.h>
#include <juce_gui_basics/juce_gui_basics.h>

namespace
{
struct MouseWatchingWindow : juce::Component
{
    void mouseEnter (const juce::MouseEvent&) override { ++moves; }
    void mouseMove (const juce::MouseEvent&) override { ++moves; }

    int moves = 0;
};

::Display* juceDisplay()
{
    return juce::XWindowSystem::getInstance()->getDisplay();
}

// The pointer moved through JUCE's own connection, and a round trip on it,
// which reads the motion the server sends back into Xlib's queue and leaves
// nothing on the connection for the run loop's poll to see.
void movePointerAndReadItsEventsIntoXlib (int x, int y)
{
    auto* display = juceDisplay();
    auto* x11 = juce::X11Symbols::getInstance();
    juce::XWindowSystemUtilities::ScopedXLock lock;
    x11->xWarpPointer (display, None, x11->xDefaultRootWindow (display), 0, 0, 0, 0, x, y);
    x11->xSync (display, False);
}

int eventsWaitingInXlib()
{
    juce::XWindowSystemUtilities::ScopedXLock lock;
    return juce::X11Symbols::getInstance()->xEventsQueued (juceDisplay(), QueuedAlready);
}
} // namespace

// A slider drag's last move, or a click, read off the connection by something
// else than the run loop: left alone it waits for the next input; with the
// drain it is handled within a frame or two.
TEST (XEventQueueDrainOnScreen, HandlesTheEventsXlibReadAheadWithinAFrame)
{
    if (! testdisplay::haveDisplay())
        GTEST_SKIP() << "needs a display";

    MouseWatchingWindow window;
    window.setBounds (20, 20, 200, 100);
    window.addToDesktop (juce::ComponentPeer::windowIsTemporary);
    window.setVisible (true);
    movePointerAndReadItsEventsIntoXlib (600, 600);
    testkit::pumpFor (300);
    // Whatever the start left behind is handled, as the next input would.
    juce::LinuxEventLoopInternal::invokeEventLoopCallbackForFd (
        juce::X11Symbols::getInstance()->xConnectionNumber (juceDisplay()));
    testkit::pumpFor (100);

    // Without the drain the move waits in Xlib's queue. Other traffic on the
    // connection (another client on the shared display) wakes the run loop,
    // which then handles it: try again a few times for a quiet moment.
    auto waitsUnhandled = false;

    for (int attempt = 0; attempt < 5 && ! waitsUnhandled; ++attempt)
    {
        window.moves = 0;
        movePointerAndReadItsEventsIntoXlib (60 + attempt, 50);
        ASSERT_GT (eventsWaitingInXlib(), 0);
        testkit::pumpFor (200);
        waitsUnhandled = window.moves == 0 && eventsWaitingInXlib() > 0;
    }

    if (! waitsUnhandled)
        GTEST_SKIP() << "the display was never quiet for 200 ms: the run loop kept being woken by other traffic";

    XEventQueueDrain drain;
    EXPECT_TRUE (testkit::pumpUntil ([&window]
                                     { return window.moves > 0; },
                                     150));
    EXPECT_EQ (eventsWaitingInXlib(), 0);

    // And again, now that it runs: the next move too, within a frame.
    const auto movesBefore = window.moves;
    movePointerAndReadItsEventsIntoXlib (80, 60);
    EXPECT_TRUE (testkit::pumpUntil ([&]
                                     { return window.moves > movesBefore; },
                                     150));
}
