// Slider moves on a large group, on the real component tree (the main
// component with its scheme list and group pane, 600 x 450), timed from the
// value change to the group colour list painted into an image:
//   LiveSliderStep/N    one Red slider step (what the next message does
//                       included: the rows on screen and the first slice)
//   LiveSliderStepAllAtOnce/N  the same step as it was before slider moves
//                       were queued: every member at once, then the rows
//   LiveSliderBurst/N   100 Red slider values, then one paint
//   LiveApply/N         Apply right after a step
//   LiveSwitchToGroup/N selecting the N-member group after a small one
//   LivePaintGroupList/N painting the list with nothing changed
// Group 1 holds ten colours, group 2 all N colours of the scheme.

#include "app/CalvastraTintwright.h"
#include "document/CalvastraScheme.h"
#include "groups/ColourGroupControls.h"
#include "groups/ColourTweaker.h"
#include "tweak/ColourGroupTweakerComponent.h"
#include "tweak/ColourTweakerList.h"
#include "tweak/PreviewSweep.h"
#include "tweak/TweakPanel.h"

#include <benchmark/benchmark.h>

#include <map>

namespace
{
// Built once per size and kept until JUCE shuts down: a million colours
// take seconds to build, and every benchmark run would build them again.
struct LiveScheme : private juce::DeletedAtShutdown
{
    explicit LiveScheme (int numColours)
    {
        juce::Random random (11);

        for (int i = 0; i < numColours; ++i)
        {
            auto colour = std::make_unique<SchemeColour>();
            colour->name = "Colour " + juce::String (i);
            colour->colour = juce::Colour ((juce::uint32) random.nextInt());
            scheme.appendColour (std::move (colour));
        }

        auto& small = scheme.appendGroup (std::make_unique<ColourGroup>());
        small.setName ("Small");
        for (int i = 0; i < 10; ++i)
            small.addColour (*scheme.getColour (i));

        auto& everything = scheme.appendGroup (std::make_unique<ColourGroup>());
        everything.setName ("Everything");
        for (int i = 0; i < numColours; ++i)
            everything.addColour (*scheme.getColour (i));

        main.setSize (600, 450);
        main.setScheme (&scheme);
        selectGroup (2);
    }

    ~LiveScheme() override { main.setScheme (nullptr); }

    static LiveScheme& get (int numColours)
    {
        static std::map<int, LiveScheme*> built;
        auto& found = built[numColours];

        if (found == nullptr)
            found = new LiveScheme (numColours); // deleted at JUCE's shutdown

        return *found;
    }

    void selectGroup (int itemId)
    {
        main.getGroupPane().getGroupControls().getGroupSelector().setSelectedId (itemId, juce::sendNotificationSync);
    }

    ColourGroupTweakerComponent& tweaker() { return main.getGroupPane().getGroupTweaker(); }
    TweakPanel& panel() { return tweaker().getPanel(); }
    ColourTweakerList& list() { return tweaker().getList(); }

    // The next Red value: a drag back and forth over the whole range.
    int nextRed()
    {
        value = value >= 255 ? -255 : value + 1;
        return value;
    }

    void stepRed() { panel().slider (TweakSliders::red).setValue (nextRed(), juce::sendNotificationSync); }

    // The message that follows slider moves in the program.
    void deliverMoves() { tweaker().getPreviewSweep().refreshNow(); }

    void paintList()
    {
        juce::Graphics g (image);
        list().paintEntireComponent (g, true);
        benchmark::DoNotOptimize (image.getPixelAt (list().getWidth() - 5, 5));
    }

    CalvastraScheme scheme;
    CalvastraTintwrightComponent main;
    juce::Image image { juce::Image::ARGB, 400, 450, true };
    int value = 0;
};

ColourGroup& shownGroup (LiveScheme& live, benchmark::State& state)
{
    auto* group = live.tweaker().getColourGroup();
    if (group == nullptr || group->getNumMembers() != (int) state.range (0))
        state.SkipWithError ("the big group is not shown");
    return *group;
}

void LiveSliderStep (benchmark::State& state)
{
    auto& live = LiveScheme::get ((int) state.range (0));
    live.selectGroup (2);
    shownGroup (live, state);

    for (auto _ : state)
    {
        live.stepRed();
        live.deliverMoves();
        live.paintList();
    }

    live.tweaker().finishPendingPreviews();
}

void LiveSliderStepAllAtOnce (benchmark::State& state)
{
    auto& live = LiveScheme::get ((int) state.range (0));
    live.selectGroup (2);
    auto& group = shownGroup (live, state);

    for (auto _ : state)
    {
        const auto red = live.nextRed();
        live.panel().slider (TweakSliders::red).setValue (red, juce::dontSendNotification);
        group.setRedOffset (red);
        live.list().updateContent();
        live.paintList();
    }
}

void LiveSliderBurst (benchmark::State& state)
{
    auto& live = LiveScheme::get ((int) state.range (0));
    live.selectGroup (2);
    shownGroup (live, state);

    for (auto _ : state)
    {
        for (int i = 0; i < 100; ++i)
            live.stepRed();

        live.deliverMoves();
        live.paintList();
    }

    live.tweaker().finishPendingPreviews();
}

void LiveApply (benchmark::State& state)
{
    auto& live = LiveScheme::get ((int) state.range (0));
    live.selectGroup (2);
    auto& group = shownGroup (live, state);

    for (auto _ : state)
    {
        state.PauseTiming();
        live.stepRed();
        live.deliverMoves();
        live.paintList();
        state.ResumeTiming();

        live.tweaker().buttonClicked (&live.panel().applyButton);
        live.paintList();
    }

    if (group.getMember (0)->getParameters().redOffset != 0)
        state.SkipWithError ("Apply left a tweak behind");
}

void LiveSwitchToGroup (benchmark::State& state)
{
    auto& live = LiveScheme::get ((int) state.range (0));

    for (auto _ : state)
    {
        state.PauseTiming();
        live.selectGroup (1);
        live.paintList();
        state.ResumeTiming();

        live.selectGroup (2);
        live.paintList();
    }

    shownGroup (live, state);
}

void LivePaintGroupList (benchmark::State& state)
{
    auto& live = LiveScheme::get ((int) state.range (0));
    live.selectGroup (2);
    shownGroup (live, state);

    for (auto _ : state)
        live.paintList();
}
} // namespace

BENCHMARK (LiveSliderStep)->Arg (1000)->Arg (1000000)->Unit (benchmark::kMillisecond);
BENCHMARK (LiveSliderStepAllAtOnce)->Arg (1000)->Arg (1000000)->Unit (benchmark::kMillisecond);
BENCHMARK (LiveSliderBurst)->Arg (1000)->Arg (1000000)->Unit (benchmark::kMillisecond);
BENCHMARK (LiveApply)->Arg (1000000)->Unit (benchmark::kMillisecond);
BENCHMARK (LiveSwitchToGroup)->Arg (1000000)->Unit (benchmark::kMillisecond);
BENCHMARK (LivePaintGroupList)->Arg (1000)->Arg (1000000)->Unit (benchmark::kMillisecond);
