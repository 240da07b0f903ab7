#include "tweak/PreviewSweep.h"

#include "scheme/SchemeModel.h"
#include "tweak/ColourTweakerList.h"

namespace
{
// A slice stays well inside one frame, so input waits at most this long.
constexpr double sliceMilliseconds = 4.0;
// Members between looks at the clock: a fraction of a millisecond's work.
constexpr int membersPerChunk = 2048;
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
    runSlice();

    if (isRunning())
        startTimer (1);
}

void PreviewSweep::timerCallback()
{
    runSlice();

    if (! isRunning())
        stopTimer();
}

void PreviewSweep::runSlice()
{
    auto* group = list.getColourGroup();

    if (group == nullptr)
        return;

    const auto start = juce::Time::getMillisecondCounterHiRes();

    while (group->continueTweak (membersPerChunk)
           && juce::Time::getMillisecondCounterHiRes() - start < sliceMilliseconds)
    {
    }
}
