#include "tweak/PreviewSweep.h"

#include "scheme/SchemeModel.h"
#include "tweak/ColourTweakerList.h"

#include <cmath>

namespace
{
// A slice stays well inside one frame, so input waits at most this long.
constexpr double sliceMilliseconds = 4.0;
// Members between looks at the clock: a small fraction of a slice.
constexpr int membersPerChunk = 512;
// The pause after each slice. JUCE calls a timer again at once when its period
// has run out by the time its callback returns, and handles every message
// posted while it works through the queue, so window events (mouse, paint)
// would wait for the whole sweep; the period is therefore the slice's own
// length plus this pause, in which the queue runs dry and those events come.
constexpr int pauseMilliseconds = 3;
} // namespace

PreviewSweep::PreviewSweep (ColourTweakerList& listToRefresh)
    : list (listToRefresh)
{
}

PreviewSweep::~PreviewSweep()
{
    cancelPendingUpdate();
    stopTimer();
}

void PreviewSweep::valuesQueued()
{
    triggerAsyncUpdate();
}

void PreviewSweep::refreshNow()
{
    handleUpdateNowIfNeeded();
}

void PreviewSweep::finish()
{
    cancelPendingUpdate();
    stopTimer();

    auto* group = list.getColourGroup();

    if (group == nullptr || ! group->hasQueuedTweak())
        return;

    group->finishTweak();
    list.updateContent();
}

bool PreviewSweep::isRunning() const
{
    auto* group = list.getColourGroup();
    return group != nullptr && group->hasQueuedTweak();
}

void PreviewSweep::handleAsyncUpdate()
{
    // The rows on screen take the queued values as the list refreshes them.
    list.updateContent();

    // A small group is done within this first slice.
    runSliceAndPause();
}

void PreviewSweep::timerCallback()
{
    runSliceAndPause();
}

void PreviewSweep::runSliceAndPause()
{
    auto* group = list.getColourGroup();

    if (group == nullptr || ! group->hasQueuedTweak())
    {
        stopTimer();
        return;
    }

    const auto start = juce::Time::getMillisecondCounterHiRes();

    while (group->continueTweak (membersPerChunk)
           && juce::Time::getMillisecondCounterHiRes() - start < sliceMilliseconds)
    {
    }

    if (! group->hasQueuedTweak())
    {
        stopTimer();
        return;
    }

    const auto took = juce::Time::getMillisecondCounterHiRes() - start;
    startTimer ((int) std::ceil (took) + pauseMilliseconds);
}
