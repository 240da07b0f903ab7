#include "web/WebSliders.h"

#include "web/WebErrors.h"

namespace WebSliders
{
namespace
{
    using TweakSliders::all;

    double checked (const char* name, const TweakRange& range, double value)
    {
        if (! range.allows (value))
            throw WebErrors::OutOfRange (std::string (name) + " " + juce::String (value).toStdString() + " is not a value of the slider: "
                                         + juce::String (range.minimum).toStdString() + " to " + juce::String (range.maximum).toStdString()
                                         + (range.step > 0 ? " in whole steps" : ""));
        return value;
    }

    void setChecked (PendingTweak& tweak, TweakSliders::Id id, double value)
    {
        tweak.set (id, checked (all[id].name, all[id].range, value));
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
} // namespace

emscripten::val ranges()
{
    auto object = emscripten::val::object();

    for (const auto& slider : all)
        object.set (slider.name, rangeObject (slider.range));

    object.set ("forcedHue", rangeObject (TweakSliders::forcedHue));
    return object;
}

void setSlider (PendingTweak& tweak, const std::string& name, double value)
{
    const auto id = TweakSliders::find (&TweakSliders::Slider::name, name);

    // The sliders that move as a pair move through setContrast.
    if (id == TweakSliders::count || all[id].movesWith != id)
        throw WebErrors::OutOfRange ("no slider named \"" + name + "\"");

    setChecked (tweak, id, value);
}

void setContrast (PendingTweak& tweak, double centre, double amount)
{
    setChecked (tweak, TweakSliders::contrastPair[0], centre);
    setChecked (tweak, TweakSliders::contrastPair[1], amount);
}

PendingTweak fromObject (const emscripten::val& values)
{
    if (! (values.typeOf().as<std::string>() == "object") || values.isNull())
    {
        std::string names;

        for (const auto& slider : all)
            names += (names.empty() ? "" : ", ") + std::string (slider.name);

        throw WebErrors::Refusal ("expected the sliders as an object { " + names + " }");
    }

    PendingTweak tweak;

    for (int id = 0; id < TweakSliders::count; ++id)
    {
        const auto value = values[all[id].name];
        setChecked (tweak, (TweakSliders::Id) id, value.isUndefined() ? all[id].range.neutral : value.as<double>());
    }

    return tweak;
}

float forcedHue (double hue)
{
    return (float) checked ("forcedHue", TweakSliders::forcedHue, hue);
}
} // namespace WebSliders
