#pragma once

#include "maths/TweakMaths.h"

#include <cmath>
#include <string>

/** What a tweak control delivers: the lowest and highest value, the step (0
    for continuous) and the neutral value, which is the maths' neutral
    parameter. */
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

/** The tweak panel's sliders, one row each, for the window, the command line
    and the web page alike. A new slider is one row here plus its maths. */
namespace TweakSliders
{
using Parameters = TweakMaths::TweakParameters;

enum Id
{
    red,
    green,
    blue,
    hue,
    saturation,
    brightness,
    contrast,
    contrastCentre,
    count
};

struct Slider
{
    const char* name; // the web page's name
    const char* componentName; // the window's slider
    const char* label; // the window's label
    const char* option; // the command line's option
    const char* help; // what the command line's help says it sets
    TweakRange range;

    // The parameter the slider's value reaches, as the slider hands it on:
    // a whole number cut from it, or a float.
    int Parameters::*whole;
    float Parameters::*fraction;

    /** The slider whose parameter moves whenever this one's does, with the
        value it holds then (itself for a slider that moves alone). */
    Id movesWith;

    void write (Parameters& parameters, double value) const noexcept
    {
        if (whole != nullptr)
            parameters.*whole = (int) value;
        else
            parameters.*fraction = (float) value;
    }

    void copy (const Parameters& from, Parameters& to) const noexcept
    {
        if (whole != nullptr)
            to.*whole = from.*whole;
        else
            to.*fraction = from.*fraction;
    }
};

constexpr Parameters neutral {};

inline constexpr Slider all[count] = {
    { "red", "Red", "Red", "--red", "red offset", { -255.0, 255.0, 1.0, neutral.redOffset }, &Parameters::redOffset, nullptr, red },
    { "green", "Green", "Green", "--green", "green offset", { -255.0, 255.0, 1.0, neutral.greenOffset }, &Parameters::greenOffset, nullptr, green },
    { "blue", "Blue", "Blue", "--blue", "blue offset", { -255.0, 255.0, 1.0, neutral.blueOffset }, &Parameters::blueOffset, nullptr, blue },
    { "hue", "Hue", "Hue", "--hue", "hue shift (turns)", { -0.5, 0.5, 0.0, neutral.hueShift }, nullptr, &Parameters::hueShift, hue },
    { "saturation", "Saturation", "Saturation", "--saturation", "saturation multiplier", { 0.0, 2.0, 0.0, neutral.saturationMultiplier }, nullptr, &Parameters::saturationMultiplier, saturation },
    { "brightness", "Brightness", "Brightness", "--brightness", "brightness multiplier", { 0.0, 2.0, 0.0, neutral.brightnessMultiplier }, nullptr, &Parameters::brightnessMultiplier, brightness },
    { "contrast", "ContrastValue", "Contrast", "--contrast", "contrast amount", { 0.0, 1.0, 0.0, neutral.contrastAmount }, nullptr, &Parameters::contrastAmount, contrastCentre },
    { "contrastCentre", "ContrastCentre", "Centre", "--contrast-centre", "contrast centre (brightness)", { 0.0, 1.0, 0.0, neutral.contrastCentre }, nullptr, &Parameters::contrastCentre, contrast },
};

/** The slider whose text in this field (name, option) is this one; count when none. */
inline Id find (const char* Slider::*field, const std::string& text) noexcept
{
    int id = 0;

    while (id < count && text != all[id].*field)
        ++id;

    return (Id) id;
}

/** The two sliders that setContrast moves, in its order: centre, amount. */
constexpr Id contrastPair[] = { contrastCentre, contrast };

/** The hue strip of the Force hue... pop-up runs from 0 at the top to 1 at the bottom. */
constexpr TweakRange forcedHue { 0.0, 1.0, 0.0, 0.0 };
} // namespace TweakSliders
