#pragma once

#include <juce_events/juce_events.h>

/** Hands the program the X events that sit unread in Xlib's own queue.

    JUCE 7 reads X events when the X connection's file descriptor has data,
    but Xlib also reads the connection whenever it waits for a reply or looks
    for one kind of event (as JUCE does after each shared-memory paint), and
    keeps whatever else it finds in its queue. Nothing more arrives on the
    connection for those, so a last mouse move (the final position of a slider
    drag) or a click stays unhandled until the next input. Once a frame this
    looks in the queue, without reading the connection, and dispatches what
    waits there.
*/
class XEventQueueDrain : private juce::Timer,
                         private juce::AsyncUpdater
{
public:
    XEventQueueDrain();
    ~XEventQueueDrain() override;

private:
    void timerCallback() override;
    void handleAsyncUpdate() override;

    JUCE_DECLARE_NON_COPYABLE (XEventQueueDrain)
};
