#pragma once

#include <juce_gui_basics/juce_gui_basics.h>

/** Repaints a window whenever another of the program's top-level windows (a
    menu, a question, a file chooser, the name window, a drag image) goes away.

    Under X11, JUCE 7 can leave the Expose events for the area such a window
    uncovered in Xlib's queue, unread until the next input arrives, so the
    closed window stays on screen until the mouse moves. A repaint of our own
    does not wait for those events.
*/
class StaleScreenGuard : private juce::Timer
{
public:
    explicit StaleScreenGuard (juce::Component& windowToRepaint);
    ~StaleScreenGuard() override;

private:
    void timerCallback() override;

    void rememberShownWindows();

    juce::Component& window;
    // Another window may open in the same moment as one closes (a question
    // after its menu), so the windows are followed one by one, not counted.
    std::vector<juce::Component::SafePointer<juce::Component>> shownWindows;

    JUCE_DECLARE_NON_COPYABLE (StaleScreenGuard)
};
