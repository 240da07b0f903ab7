#pragma once

#include <juce_graphics/juce_graphics.h>

#include <cmath>

/** Brightening and darkening as the program's colours are defined: exact
    quotients, truncated. JUCE 7's Colour::brighter and darker compute in float
    and drop a step for some components (17 darkened by 0.7 gives 9, not 10). */
namespace ColourShades
{
namespace detail
{
    // The small tolerance keeps results that are whole numbers in exact
    // arithmetic (130 / 1.3, say) from dropping one step through binary rounding.
    inline juce::uint8 truncated (double value)
    {
        return (juce::uint8) juce::jlimit (0.0, 255.0, std::floor (value + 1.0e-9));
    }
} // namespace detail

/** Each of red, green and blue becomes 255 - (255 - c) / (1 + amount), truncated; alpha kept. */
inline juce::Colour brightened (juce::Colour colour, double amount)
{
    const auto channel = [amount] (juce::uint8 c)
    { return detail::truncated (255.0 - (255.0 - (double) c) / (1.0 + amount)); };

    return juce::Colour (channel (colour.getRed()), channel (colour.getGreen()), channel (colour.getBlue()), colour.getAlpha());
}

/** Each of red, green and blue becomes c / (1 + amount), truncated; alpha kept. */
inline juce::Colour darkened (juce::Colour colour, double amount)
{
    const auto channel = [amount] (juce::uint8 c)
    { return detail::truncated ((double) c / (1.0 + amount)); };

    return juce::Colour (channel (colour.getRed()), channel (colour.getGreen()), channel (colour.getBlue()), colour.getAlpha());
}
} // namespace ColourShades
