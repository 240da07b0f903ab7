// Preview recomputation of whole groups, against the same three HSB passes
// done with juce::Colour's own conversions on the same colours.

#include "maths/TweakMaths.h"
#include "scheme/SchemeModel.h"

#include <benchmark/benchmark.h>

#include <random>
#include <vector>

namespace
{
constexpr float hueShift = 0.1f, saturationMultiplier = 1.5f, brightnessMultiplier = 0.8f;

std::vector<juce::uint32> randomColours (int count)
{
    std::mt19937 rng (12345);
    std::vector<juce::uint32> colours ((size_t) count);

    for (auto& c : colours)
        c = (juce::uint32) rng();

    return colours;
}

// A scheme whose one group holds every colour, with every parameter moved.
struct TweakedScheme
{
    explicit TweakedScheme (int count)
    {
        for (auto argb : randomColours (count))
        {
            auto colour = std::make_unique<SchemeColour>();
            colour->colour = juce::Colour (argb);
            group.addColour (model.appendColour (std::move (colour)));
        }

        group.setRedOffset (10);
        group.setGreenOffset (-20);
        group.setBlueOffset (30);
        group.setHueShift (hueShift);
        group.setSaturationMultiplier (saturationMultiplier);
        group.setBrightnessMultiplier (brightnessMultiplier);
        group.setContrast (0.4f, 0.5f);
    }

    SchemeModel model;
    ColourGroup group;
};

void setPerColourCounter (benchmark::State& state, int count)
{
    state.SetItemsProcessed ((int64_t) state.iterations() * count);
    state.counters["per_colour"] = benchmark::Counter ((double) count,
                                                       benchmark::Counter::kIsIterationInvariantRate
                                                           | benchmark::Counter::kInvert);
}

void BM_RecomputePreviews (benchmark::State& state)
{
    const auto count = (int) state.range (0);
    TweakedScheme scheme (count);

    for (auto _ : state)
    {
        scheme.group.recomputePreviews();
        benchmark::ClobberMemory();
    }

    setPerColourCounter (state, count);
}

// The same kind of loop over the group's members, with the three decompose /
// compose passes (brightness, saturation, hue) done by juce::Colour.
void BM_JuceColourHsbBaseline (benchmark::State& state)
{
    const auto count = (int) state.range (0);
    TweakedScheme scheme (count);
    std::vector<juce::Colour> results ((size_t) count);

    for (auto _ : state)
    {
        for (int i = 0; i < count; ++i)
        {
            auto c = scheme.group.getMember (i)->getStoredColour();

            c = juce::Colour::fromHSV (c.getHue(),
                                       c.getSaturation(),
                                       juce::jmin (1.0f, c.getBrightness() * brightnessMultiplier),
                                       c.getFloatAlpha());
            c = juce::Colour::fromHSV (c.getHue(),
                                       juce::jmin (1.0f, c.getSaturation() * saturationMultiplier),
                                       c.getBrightness(),
                                       c.getFloatAlpha());
            const auto h = c.getHue() + hueShift;
            c = juce::Colour::fromHSV (h - std::floor (h), c.getSaturation(), c.getBrightness(), c.getFloatAlpha());

            results[(size_t) i] = c;
        }

        benchmark::DoNotOptimize (results.data());
        benchmark::ClobberMemory();
    }

    setPerColourCounter (state, count);
}

TweakMaths::TweakParameters allParameters()
{
    TweakMaths::TweakParameters p;
    p.redOffset = 10;
    p.greenOffset = -20;
    p.blueOffset = 30;
    p.hueShift = hueShift;
    p.saturationMultiplier = saturationMultiplier;
    p.brightnessMultiplier = brightnessMultiplier;
    p.contrastCentre = 0.4f;
    p.contrastAmount = 0.5f;
    return p;
}

// The pure computation on flat arrays, without the members around it.
void BM_TweakColoursFlat (benchmark::State& state)
{
    const auto count = (int) state.range (0);
    const auto colours = randomColours (count);
    const std::vector<TweakMaths::TweakParameters> parameters ((size_t) count, allParameters());
    std::vector<juce::uint32> results ((size_t) count);

    for (auto _ : state)
    {
        TweakMaths::tweakColours (colours.data(), parameters.data(), results.data(), colours.size());
        benchmark::DoNotOptimize (results.data());
        benchmark::ClobberMemory();
    }

    setPerColourCounter (state, count);
}

// The same, one colour at a time.
void BM_TweakColourOneByOne (benchmark::State& state)
{
    const auto count = (int) state.range (0);
    const auto colours = randomColours (count);
    const auto p = allParameters();
    std::vector<juce::uint32> results ((size_t) count);

    for (auto _ : state)
    {
        for (size_t i = 0; i < colours.size(); ++i)
            results[i] = TweakMaths::tweakColour (colours[i], p);

        benchmark::DoNotOptimize (results.data());
        benchmark::ClobberMemory();
    }

    setPerColourCounter (state, count);
}
} // namespace

BENCHMARK (BM_RecomputePreviews)->Arg (1000)->Arg (10000)->Arg (100000)->Unit (benchmark::kMicrosecond);
BENCHMARK (BM_JuceColourHsbBaseline)->Arg (1000)->Arg (10000)->Arg (100000)->Unit (benchmark::kMicrosecond);
BENCHMARK (BM_TweakColoursFlat)->Arg (1000)->Arg (10000)->Arg (100000)->Unit (benchmark::kMicrosecond);
BENCHMARK (BM_TweakColourOneByOne)->Arg (1000)->Arg (10000)->Arg (100000)->Unit (benchmark::kMicrosecond);
