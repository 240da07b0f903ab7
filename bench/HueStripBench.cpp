// The hue strip is drawn row by row, so a repaint of a few rows (the arrow
// moving) must cost in proportion to those rows, not to the whole strip.
// Compare: the full strip (baseline) against a 16-row repaint.

#include "hue/HueSelector.h"

#include <benchmark/benchmark.h>

namespace
{
void paintStrip (benchmark::State& state, int clipRows)
{
    HueSelector selector;
    selector.setSize (50, 2000);
    auto& tool = selector.getTool();
    juce::Image image (juce::Image::ARGB, 50, 2000, true);

    for (auto _ : state)
    {
        juce::Graphics g (image);
        if (clipRows > 0)
            g.reduceClipRegion (0, 1000, 50, clipRows);
        tool.paint (g);
        benchmark::DoNotOptimize (image.getPixelAt (25, 1000));
    }
}

void HueStripFull (benchmark::State& state) { paintStrip (state, 0); }
void HueStripSixteenRows (benchmark::State& state) { paintStrip (state, 16); }
} // namespace

BENCHMARK (HueStripFull);
BENCHMARK (HueStripSixteenRows);
