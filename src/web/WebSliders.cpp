#include "web/WebSliders.h"

#include "scheme/TweakRanges.h"
#include "web/WebErrors.h"

namespace WebSliders
{
namespace
{
    struct Slider
    {
        const char* name;
        TweakRange range;
        void (*set) (PendingTweak&, double);
    };

    // The six sliders that move alone; the two contrast sliders move as a pair.
    const Slider sliders[] = {
        { "red", TweakRanges::redOffset, [] (PendingTweak& t, double v)
          { t.setRedOffset ((int) v); } },
        { "green", TweakRanges::greenOffset, [] (PendingTweak& t, double v)
          { t.setGreenOffset ((int) v); } },
        { "blue", TweakRanges::blueOffset, [] (PendingTweak& t, double v)
          { t.setBlueOffset ((int) v); } },
        { "hue", TweakRanges::hueShift, [] (PendingTweak& t, double v)
          { t.setHueShift ((float) v); } },
        { "saturation", TweakRanges::saturationMultiplier, [] (PendingTweak& t, double v)
          { t.setSaturationMultiplier ((float) v); } },
        { "brightness", TweakRanges::brightnessMultiplier, [] (PendingTweak& t, double v)
          { t.setBrightnessMultiplier ((float) v); } },
    };

    double checked (const char* name, const TweakRange& range, double value)
    {
        if (! range.allows (value))
            throw WebErrors::OutOfRange (std::string (name) + " " + juce::String (value).toStdString() + " is not a value of the slider: "
                                         + juce::String (range.minimum).toStdString() + " to " + juce::String (range.maximum).toStdString()
                                         + (range.step > 0 ? " in whole steps" : ""));
        return value;
    }

    emscripten::val rangeObject (const TweakRange& range)
    {
        auto object = emscripten::val::object();
        object.set ("minimum", range.minimum);
        object.set ("maximum", range.maximum);
        object.set ("step", range.step);
        object.set ("neutral", range.neutral);
        return object;
    }

    double valueIn (const emscripten::val& sliders, const char* name, const TweakRange& range)
    {
        const auto value = sliders[name];
        return value.isUndefined() ? range.neutral : checked (name, range, value.as<double>());
    }
} // namespace

emscripten::val ranges()
{
    auto object = emscripten::val::object();

    for (const auto& slider : sliders)
        object.set (slider.name, rangeObject (slider.range));

    object.set ("contrast", rangeObject (TweakRanges::contrastAmount));
    object.set ("contrastCentre", rangeObject (TweakRanges::contrastCentre));
    object.set ("forcedHue", rangeObject (TweakRanges::forcedHue));
    return object;
}

void setSlider (PendingTweak& tweak, const std::string& name, double value)
{
    for (const auto& slider : sliders)
        if (name == slider.name)
            return slider.set (tweak, checked (slider.name, slider.range, value));

    throw WebErrors::OutOfRange ("no slider named \"" + name + "\"");
}

void setContrast (PendingTweak& tweak, double centre, double amount)
{
    tweak.setContrast ((float) checked ("contrastCentre", TweakRanges::contrastCentre, centre),
                       (float) checked ("contrast", TweakRanges::contrastAmount, amount));
}

PendingTweak fromObject (const emscripten::val& values)
{
    if (! (values.typeOf().as<std::string>() == "object") || values.isNull())
        throw WebErrors::Refusal ("expected the sliders as an object { red, green, blue, hue, saturation, brightness, contrast, contrastCentre }");

    PendingTweak tweak;

    for (const auto& slider : sliders)
        slider.set (tweak, valueIn (values, slider.name, slider.range));

    setContrast (tweak, valueIn (values, "contrastCentre", TweakRanges::contrastCentre), valueIn (values, "contrast", TweakRanges::contrastAmount));
    return tweak;
}

float forcedHue (double hue)
{
    return (float) checked ("forcedHue", TweakRanges::forcedHue, hue);
}
} // namespace WebSliders
