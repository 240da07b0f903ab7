#include "cli/TweakOptions.h"

#include "cli/CliSupport.h"
#include "scheme/PendingTweak.h"
#include "scheme/TweakSliders.h"

#include <cmath>

namespace Cli
{
namespace
{
    TweakSliders::Id sliderOption (const std::string& option)
    {
        const auto id = TweakSliders::find (&TweakSliders::Slider::option, option);

        if (id == TweakSliders::count)
            throw Refusal ("unknown tweak option " + option);

        return id;
    }

    juce::String rangeText (const TweakRange& range)
    {
        return juce::String (range.minimum) + " to " + juce::String (range.maximum)
               + (range.step > 0 ? " in steps of " + juce::String (range.step) : juce::String());
    }

    /** A plain decimal: an optional sign, digits, an optional fraction. */
    bool isDecimal (const std::string& text)
    {
        size_t i = (! text.empty() && (text[0] == '-' || text[0] == '+')) ? 1 : 0;
        size_t digits = 0, points = 0;

        for (; i < text.size(); ++i)
        {
            if (text[i] >= '0' && text[i] <= '9')
                ++digits;
            else if (text[i] == '.' && points++ == 0)
                continue;
            else
                return false;
        }

        return digits > 0;
    }

    /** The value a slider of this range would hold with this text typed into
        its box: read by JUCE's own number reader, as the box reads it, so the
        double (and the float made of it) is the window's to the last bit.
        Refused outside the range and off the steps, where the slider would
        quietly move the value. */
    double parseValue (const std::string& option, const std::string& text, const TweakRange& range)
    {
        const auto refuse = [&] (const juce::String& why)
        { throw Refusal (option + " " + text + ": " + why.toStdString()); };

        if (! isDecimal (text))
            refuse ("not a number; give a value from " + rangeText (range));

        const auto value = juce::String (text).getDoubleValue();

        if (! range.contains (value))
            refuse ("out of range; give a value from " + rangeText (range));

        if (range.step > 0 && (text.find ('.') != std::string::npos || std::fmod (value - range.minimum, range.step) != 0))
            refuse ("must be a whole number from " + rangeText (range));

        return value;
    }
} // namespace

void TweakOptions::addTo (CLI::App& command)
{
    for (const auto& s : TweakSliders::all)
    {
        const auto description = "Set the " + std::string (s.help) + " slider: " + rangeText (s.range).toStdString()
                                 + ", neutral " + juce::String (s.range.neutral).toStdString();

        command.add_option_function<std::string> (
                   std::string (s.option), [this, name = s.option] (const std::string& text)
                   { sliders.push_back ({ name, text }); },
                   description)
            ->type_name ("N");
    }

    command.add_flag ("--invert", invert, "Invert the group's colours, as the Invert button");
    command.add_option_function<std::string> (
               "--force-hue", [this] (const std::string& text)
               { forcedHue = text; },
               "Give every colour this hue, as the Force hue... strip: " + rangeText (TweakSliders::forcedHue).toStdString())
        ->type_name ("X");
}

void TweakOptions::validate() const
{
    for (const auto& s : sliders)
        parseValue (s.option, s.text, TweakSliders::all[sliderOption (s.option)].range);

    if (forcedHue.has_value())
        parseValue ("--force-hue", *forcedHue, TweakSliders::forcedHue);

    // Invert and a forced hue replace every member's tweak; a slider moved
    // afterwards starts again from the stored colours and drops them, one moved
    // before is dropped by them. No order of the window's controls combines them.
    const auto replacing = (invert ? 1 : 0) + (forcedHue.has_value() ? 1 : 0);

    if (replacing > 1 || (replacing == 1 && ! sliders.empty()))
        throw Refusal ("--invert and --force-hue each replace the whole tweak: give one of them alone, or only slider options");
}

void TweakOptions::setOn (ColourGroup& group) const
{
    validate();

    if (invert)
    {
        group.invertColours();
        return;
    }

    if (forcedHue.has_value())
    {
        group.forceHue ((float) parseValue ("--force-hue", *forcedHue, TweakSliders::forcedHue));
        return;
    }

    // The panel hands slider values on as the slider holds them: a double,
    // made a float (or an int for the offsets). Both contrast sliders set the
    // pair, the other one at its neutral position unless given.
    PendingTweak tweak;

    for (const auto& s : sliders)
    {
        const auto id = sliderOption (s.option);
        tweak.set (id, parseValue (s.option, s.text, TweakSliders::all[id].range));
    }

    group.queueTweak (tweak);
    group.finishTweak();
}
} // namespace Cli
