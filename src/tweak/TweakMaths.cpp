#include "TweakMaths.h"

#include <array>
#include <cmath>
#include <cstring>

namespace TweakMaths
{
namespace
{
    // 1 / n for every possible channel spread, each the correctly rounded float
    // quotient, so a look-up gives the same bits as the division would.
    constexpr std::array<float, 256> makeReciprocals()
    {
        std::array<float, 256> table {};
        for (int i = 1; i < 256; ++i)
            table[(size_t) i] = 1.0f / (float) i;
        return table;
    }

    constexpr std::array<float, 256> reciprocals = makeReciprocals();

    // floorf is a library call without SSE4.1; this is exact for every float.
    inline float floorFloat (float x) noexcept
    {
        if (! (std::abs (x) < 8388608.0f)) // already whole, or NaN/infinite
            return x;

        const auto truncated = (float) (int) x;
        return truncated > x ? truncated - 1.0f : truncated;
    }

    inline int clampByte (juce::int64 value) noexcept
    {
        return (int) juce::jlimit<juce::int64> (0, 255, value);
    }

    // Truncation toward zero into a channel; out-of-range and NaN inputs are
    // pinned instead of being undefined.
    inline int truncateByte (double value) noexcept
    {
        if (! (value > 0.0))
            return 0;

        return value >= 255.0 ? 255 : (int) value;
    }

    inline juce::uint32 pack (juce::uint32 alpha, int red, int green, int blue) noexcept
    {
        return (alpha << 24) | ((juce::uint32) (red & 0xff) << 16) | ((juce::uint32) (green & 0xff) << 8)
               | (juce::uint32) (blue & 0xff);
    }

    // Channel order per hue sextant, as indexes into { I, X, Y, Z }. A sextant of
    // 6 only happens for hues a hair below a whole turn (the 0.00001 nudge pushes
    // them over); they are red-side hues and take the first sextant's order.
    constexpr unsigned char sextantOrder[7][3] = {
        { 0, 3, 1 }, // I, Z, X
        { 2, 0, 1 }, // Y, I, X
        { 1, 0, 3 }, // X, I, Z
        { 1, 2, 0 }, // X, Y, I
        { 3, 1, 0 }, // Z, X, I
        { 0, 1, 2 }, // I, X, Y
        { 0, 3, 1 }, // I, Z, X (a full turn is hue 0)
    };
} // namespace

int roundHalfEven (double value) noexcept
{
    // Adding 1.5 * 2^52 leaves no fraction bits in the mantissa, so the addition
    // itself rounds (to nearest, ties to even) and the low 32 bits hold the result.
    const double shifted = value + 6755399441055744.0;
    juce::uint64 bits;
    std::memcpy (&bits, &shifted, sizeof (bits));
    return (int) (juce::int32) (juce::uint32) bits;
}

HSB toHSB (int red, int green, int blue) noexcept
{
    jassert (juce::isPositiveAndBelow (red, 256) && juce::isPositiveAndBelow (green, 256)
             && juce::isPositiveAndBelow (blue, 256));

    const int hi = juce::jmax (red, green, blue);
    const int lo = juce::jmin (red, green, blue);

    HSB hsb;
    hsb.brightness = (float) hi * oneOver255;

    // With hi > 0, the saturation (hi - lo) / hi is 0 exactly when hi == lo.
    if (hi != lo)
    {
        hsb.saturation = (float) (hi - lo) / (float) hi;

        const float d = reciprocals[(size_t) (hi - lo)];
        const float r = (float) (hi - red) * d;
        const float g = (float) (hi - green) * d;
        const float b = (float) (hi - blue) * d;

        float h;

        if (red == hi)
            h = b - g;
        else if (green == hi)
            h = (float) (2.0 + (double) r - (double) b);
        else
            h = (float) (4.0 + (double) g - (double) r);

        h = h * oneSixth;

        if (h < 0.0f)
            h = h + 1.0f;

        hsb.hue = h;
    }

    return hsb;
}

HSB toHSB (juce::uint32 argb) noexcept
{
    return toHSB ((int) ((argb >> 16) & 0xff), (int) ((argb >> 8) & 0xff), (int) (argb & 0xff));
}

juce::uint32 fromHSB (float hue, float saturation, float brightness, juce::uint32 alpha) noexcept
{
    alpha &= 0xff;

    const float v = brightness * 255.0f;
    const int i = roundHalfEven (v);

    if (saturation == 0.0f)
        return pack (alpha, i, i, i);

    const auto h6 = (float) (((double) hue - (double) floorFloat (hue)) * 6.0 + 0.00001);

    if (! (h6 < 7.0f)) // only a NaN or infinite hue gets here
        return pack (alpha, 0, 0, 0);

    const int sextant = (int) h6;
    const float f = h6 - (float) sextant;
    const double s = saturation;

    const int values[4] = {
        i,
        roundHalfEven ((float) ((double) v * (1.0 - s))),
        roundHalfEven ((float) ((double) v * (1.0 - s * (double) f))),
        roundHalfEven ((float) ((double) v * (1.0 - s * (1.0 - (double) f)))),
    };

    const auto& order = sextantOrder[sextant];
    return pack (alpha, values[order[0]], values[order[1]], values[order[2]]);
}

juce::uint32 fromHSB (HSB hsb, juce::uint32 alpha) noexcept
{
    return fromHSB (hsb.hue, hsb.saturation, hsb.brightness, alpha);
}

juce::uint32 tweakColour (juce::uint32 stored, const TweakParameters& p) noexcept
{
    // Offsets: whatever goes past 0 or 255 is lost for the later steps.
    const int red = clampByte ((juce::int64) ((stored >> 16) & 0xff) + p.redOffset);
    const int green = clampByte ((juce::int64) ((stored >> 8) & 0xff) + p.greenOffset);
    const int blue = clampByte ((juce::int64) (stored & 0xff) + p.blueOffset);

    const auto storedAlpha = (double) (stored >> 24);
    const auto a = (float) (storedAlpha * (double) oneOver255 * (double) p.alphaMultiplier);
    const auto alpha = (juce::uint32) clampByte (roundHalfEven ((double) a * 255.0));

    auto hsb = toHSB (red, green, blue);
    hsb.brightness = hsb.brightness * p.brightnessMultiplier;
    if (hsb.brightness > 1.0f)
        hsb.brightness = 1.0f;
    auto colour = fromHSB (hsb, alpha);

    hsb = toHSB (colour);
    hsb.saturation = hsb.saturation * p.saturationMultiplier;
    if (hsb.saturation > 1.0f)
        hsb.saturation = 1.0f;
    colour = fromHSB (hsb, alpha);

    hsb = toHSB (colour);
    hsb.hue = hsb.hue + p.hueShift;
    hsb.hue = hsb.hue - floorFloat (hsb.hue);
    colour = fromHSB (hsb, alpha);

    const auto finalAlpha = (juce::uint32) clampByte (roundHalfEven ((double) alpha * (double) p.alphaMultiplier));

    // Contrast: away from the centre brightness, toward white above it and
    // toward black at or below it.
    int channels[3] = { (int) ((colour >> 16) & 0xff), (int) ((colour >> 8) & 0xff), (int) (colour & 0xff) };
    const float brightness = (float) juce::jmax (channels[0], channels[1], channels[2]) * oneOver255;
    const float distance = std::abs (p.contrastCentre - brightness);
    const auto amount = (float) (2.0 * (double) p.contrastAmount * (double) distance);
    const auto k = (double) (float) (1.0 / (1.0 + (double) amount));

    if (brightness > p.contrastCentre)
    {
        for (auto& c : channels)
            c = truncateByte (255.0 - k * (double) (255 - c));
    }
    else
    {
        for (auto& c : channels)
            c = truncateByte (k * (double) c);
    }

    return pack (finalAlpha, channels[0], channels[1], channels[2]);
}

juce::uint32 withForcedHue (juce::uint32 stored, float hue) noexcept
{
    const auto hsb = toHSB (stored);
    return fromHSB (hue, hsb.saturation, hsb.brightness, stored >> 24);
}

juce::uint32 invertedColour (juce::uint32 stored, float alphaMultiplier) noexcept
{
    const auto alpha = clampByte (
        roundHalfEven ((double) (stored >> 24) * (double) oneOver255 * (double) alphaMultiplier * 255.0));

    return pack ((juce::uint32) alpha, 255 - (int) ((stored >> 16) & 0xff), 255 - (int) ((stored >> 8) & 0xff), 255 - (int) (stored & 0xff));
}
} // namespace TweakMaths
