#pragma once

#include "scheme/PendingTweak.h"

#include <emscripten/val.h>
#include <string>

/** The tweak panel's sliders as the page names them, with the ranges, steps
    and neutral values of the model's one table (TweakSliders). A value reaches
    the model as the window's slider hands it on: a float, or an int for the
    offsets. */
namespace WebSliders
{
/** { red: { minimum, maximum, step, neutral }, ... every slider of the table, forcedHue }. */
emscripten::val ranges();

/** Records one slider's value ("red" ... "brightness") on the tweak; refuses
    an unknown slider or a value the slider cannot hold. */
void setSlider (PendingTweak& tweak, const std::string& slider, double value);

/** Records both contrast sliders, as either of them does. */
void setContrast (PendingTweak& tweak, double centre, double amount);

/** Every slider of an object { red, green, ... } by the table's names; a
    slider left out stays at its neutral position. */
PendingTweak fromObject (const emscripten::val& sliders);

/** A forced hue from the Force hue... strip, checked against its range. */
float forcedHue (double hue);
} // namespace WebSliders
