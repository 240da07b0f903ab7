#include "cli/ContrastRatio.h"

#include <cmath>

namespace ContrastRatio
{
namespace
{
    double linear (double channel) noexcept
    {
        // 0.04045 (sRGB's own threshold; WCAG 2.0 printed 0.03928): no 8-bit
        // value lies between the two, so both give the same result here.
        const auto c = channel / 255.0;
        return c <= 0.04045 ? c / 12.92 : std::pow ((c + 0.055) / 1.055, 2.4);
    }
} // namespace

double relativeLuminance (double red, double green, double blue) noexcept
{
    return 0.2126 * linear (red) + 0.7152 * linear (green) + 0.0722 * linear (blue);
}

double ratio (juce::Colour foreground, juce::Colour background) noexcept
{
    const auto a = foreground.getAlpha() / 255.0;
    const auto over = [a] (juce::uint8 fg, juce::uint8 bg)
    { return fg * a + bg * (1.0 - a); };

    const auto lf = relativeLuminance (over (foreground.getRed(), background.getRed()),
                                       over (foreground.getGreen(), background.getGreen()),
                                       over (foreground.getBlue(), background.getBlue()));
    const auto lb = relativeLuminance (background.getRed(), background.getGreen(), background.getBlue());

    return (std::max (lf, lb) + 0.05) / (std::min (lf, lb) + 0.05);
}
} // namespace ContrastRatio
