#pragma once

#include "maths/TweakMaths.h"

#include <cmath>

/** What the tweak panel's controls deliver, for the window's sliders and the
    command line alike: the lowest and highest value, the step (0 for
    continuous) and the neutral value, which is the maths' neutral parameter. */
struct TweakRange
{
    double minimum, maximum, step, neutral;

    bool contains (double value) const noexcept { return value >= minimum && value <= maximum; }

    /** A value the control can hold: in the range and, for a stepped control, on a step. */
    bool allows (double value) const noexcept
    {
        return contains (value) && (step <= 0 || std::fmod (value - minimum, step) == 0);
    }
};

namespace TweakRanges
{
constexpr TweakMaths::TweakParameters neutral {};

constexpr TweakRange hueShift { -0.5, 0.5, 0.0, neutral.hueShift };
constexpr TweakRange saturationMultiplier { 0.0, 2.0, 0.0, neutral.saturationMultiplier };
constexpr TweakRange brightnessMultiplier { 0.0, 2.0, 0.0, neutral.brightnessMultiplier };
constexpr TweakRange redOffset { -255.0, 255.0, 1.0, neutral.redOffset };
constexpr TweakRange greenOffset { -255.0, 255.0, 1.0, neutral.greenOffset };
constexpr TweakRange blueOffset { -255.0, 255.0, 1.0, neutral.blueOffset };
constexpr TweakRange contrastCentre { 0.0, 1.0, 0.0, neutral.contrastCentre };
constexpr TweakRange contrastAmount { 0.0, 1.0, 0.0, neutral.contrastAmount };

/** The hue strip of the Force hue... pop-up runs from 0 at the top to 1 at the bottom. */
constexpr TweakRange forcedHue { 0.0, 1.0, 0.0, 0.0 };
} // namespace TweakRanges
