#pragma once

// What the benchmarks share: large made-up schemes, and two steps timed in
// turns.

#include "scheme/SchemeModel.h"

#include <benchmark/benchmark.h>

/** Appends numColours colours named by nameOf (index), their values drawn
    from seed, then 100 groups of 100 members drawn from the first numColours
    colours: the same scheme for the same arguments. */
template <typename NameOf>
void fillLargeScheme (SchemeModel& model, int numColours, int seed, NameOf nameOf)
{
    juce::Random random (seed);

    for (int i = 0; i < numColours; ++i)
    {
        auto colour = std::make_unique<SchemeColour>();
        colour->name = nameOf (i);
        colour->colour = juce::Colour ((juce::uint32) random.nextInt());
        model.appendColour (std::move (colour));
    }

    for (int g = 0; g < 100; ++g)
    {
        auto& group = model.appendGroup (std::make_unique<ColourGroup>());
        group.setName ("Group " + juce::String (g));

        for (int m = 0; m < 100; ++m)
            group.addColour (*model.getColour (random.nextInt (numColours)));
    }
}

/** Runs first and then second in every iteration, so that a machine whose
    speed drifts slows both alike, timed by seconds() (a CPU clock). Reports
    each one's mean milliseconds under its counter's name, and first's time
    over second's as "ratio". */
template <typename Clock, typename First, typename Second>
void timeInTurns (benchmark::State& state, Clock seconds, const char* firstCounter, First first, const char* secondCounter, Second second)
{
    double firstSeconds = 0, secondSeconds = 0;

    for (auto _ : state)
    {
        const auto start = seconds();
        first();
        const auto between = seconds();
        second();
        const auto end = seconds();

        firstSeconds += between - start;
        secondSeconds += end - between;
    }

    const auto iterations = (double) juce::jmax ((benchmark::IterationCount) 1, state.iterations());
    state.counters[firstCounter] = 1000.0 * firstSeconds / iterations;
    state.counters[secondCounter] = 1000.0 * secondSeconds / iterations;
    state.counters["ratio"] = secondSeconds > 0 ? firstSeconds / secondSeconds : 0.0;
}
