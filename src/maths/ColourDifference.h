#pragma once

#include <juce_graphics/juce_graphics.h>

/** How far apart two colours look: sRGB (IEC 61966-2-1) to CIELAB under D65,
    and the CIEDE2000 colour difference (CIE 142-2001), kL = kC = kH = 1. */
namespace ColourDifference
{
struct Lab
{
    double l = 0, a = 0, b = 0;
};

/** An sRGB channel value from 0 to 1 to linear light, and back. */
double toLinear (double encoded) noexcept;
double toEncoded (double linear) noexcept;

/** CIELAB (D65) of a colour given in linear sRGB, channels 0 to 1. */
Lab labFromLinear (double red, double green, double blue) noexcept;

/** CIELAB (D65) of an 8-bit sRGB colour; alpha plays no part. */
Lab lab (juce::Colour colour) noexcept;

/** The CIEDE2000 difference; symmetric, 0 for equal colours. */
double ciede2000 (const Lab& first, const Lab& second) noexcept;

inline double ciede2000 (juce::Colour first, juce::Colour second) noexcept { return ciede2000 (lab (first), lab (second)); }
} // namespace ColourDifference
