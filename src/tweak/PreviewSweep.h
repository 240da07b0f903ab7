#pragma once

#include <juce_events/juce_events.h>

class ColourTweakerList;

/** Brings the previews of the list's group up to date after slider moves,
    without holding up the window: the rows on screen at the next message
    (however many moves arrived before it, only the latest values count), the
    other members in short slices between events. */
class PreviewSweep : private juce::AsyncUpdater,
                     private juce::Timer
{
public:
    explicit PreviewSweep (ColourTweakerList& listToRefresh);
    ~PreviewSweep() override;

    /** Slider values were queued on the list's group. */
    void valuesQueued();

    /** Does now what the next message would: the rows on screen take the
        latest values and the first slice runs. */
    void refreshNow();

    /** Every preview of the list's group up to date now, the rows included. */
    void finish();

    /** True while members of the group are still behind the sliders. */
    bool isRunning() const;

private:
    void handleAsyncUpdate() override;
    void timerCallback() override;
    void runSliceAndPause();

    ColourTweakerList& list;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (PreviewSweep)
};
