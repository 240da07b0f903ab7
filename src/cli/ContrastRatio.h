#pragma once

#include <juce_graphics/juce_graphics.h>

/** The WCAG 2.x contrast ratio of text on a background. */
namespace ContrastRatio
{
/** Relative luminance of an sRGB colour given as channels from 0 to 255
    (fractions allowed, as a blend leaves them). */
double relativeLuminance (double red, double green, double blue) noexcept;

/** The ratio (1 to 21) of the foreground on the background. A foreground
    with alpha below ff is laid over the background first, each channel
    fg * a + bg * (1 - a) with a = alpha / 255, unrounded; the background's
    own alpha plays no part. */
double ratio (juce::Colour foreground, juce::Colour background) noexcept;

// Normal-size text passes AA from 4.5 and AAA from 7; the ratio is not rounded first.
constexpr double normalTextAA = 4.5;
constexpr double normalTextAAA = 7.0;
} // namespace ContrastRatio
