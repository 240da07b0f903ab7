#pragma once

#include "scheme/SchemeModel.h"

#include <CLI/CLI.hpp>
#include <optional>
#include <string>

namespace Cli
{
/** A group tweak given on the command line, as the tweak panel would set
    it: the eight sliders (same ranges, steps and neutral values), or Invert,
    or a forced hue. Shared by tweak and render. */
class TweakOptions
{
public:
    void addTo (CLI::App& command);

    bool any() const noexcept { return ! sliders.empty() || invert || forcedHue.has_value(); }

    /** Checks the values; refuses one outside its control's range (naming
        the range), a fraction for a whole-number control, and Invert or a
        forced hue together with sliders or each other. */
    void validate() const;

    /** Gives the group the tweak as the panel would (sliders moved, or the
        button pressed), with every member's preview up to date. */
    void setOn (ColourGroup& group) const;

private:
    struct SliderValue
    {
        const char* option;
        std::string text;
    };

    std::vector<SliderValue> sliders; // in the order given
    bool invert = false;
    std::optional<std::string> forcedHue;
};
} // namespace Cli
