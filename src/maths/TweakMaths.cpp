#include "maths/TweakMaths.h"

#include "maths/TweakMathsSse2.h"

#include <cmath>
#include <cstring>
#include <limits>

namespace TweakMaths
{
namespace
{
    //==============================================================================
    // One colour at a time, in portable C++. This is the reference for the
    // four-lane batch, which must give the same bits for every input.

    // Nearest, ties to even; results outside the int range give INT_MIN, as the
    // SSE conversions do, so both versions agree even on absurd inputs.
    forcedinline int roundToEven (double value) noexcept
    {
        if (! (value >= -2147483648.5 && value < 2147483647.5))
            return std::numeric_limits<int>::min();

        // Adding 1.5 * 2^52 leaves no fraction bits in the mantissa, so the
        // addition itself rounds and the low 32 bits hold the result.
        const double shifted = value + 6755399441055744.0;
        juce::uint64 bits;
        std::memcpy (&bits, &shifted, sizeof (bits));
        return (int) (juce::int32) (juce::uint32) bits;
    }

    // floorf is a library call without SSE4.1; this is exact for every float.
    forcedinline float floorFloat (float x) noexcept
    {
        if (! (std::abs (x) < 8388608.0f)) // already whole, or NaN/infinite
            return x;

        const auto truncated = (float) (int) x;
        return truncated > x ? truncated - 1.0f : truncated;
    }

    forcedinline int clampByte (juce::int64 value) noexcept
    {
        return (int) juce::jlimit<juce::int64> (0, 255, value);
    }

    // Truncation toward zero into a channel; out-of-range and NaN inputs are
    // pinned instead of being undefined.
    forcedinline int truncateByte (double value) noexcept
    {
        value = value > 0.0 ? value : 0.0;
        return (int) (value < 255.0 ? value : 255.0);
    }

    forcedinline juce::uint32 pack (juce::uint32 alpha, int red, int green, int blue) noexcept
    {
        return (alpha << 24) | ((juce::uint32) (red & 0xff) << 16) | ((juce::uint32) (green & 0xff) << 8)
               | (juce::uint32) (blue & 0xff);
    }

    forcedinline HSB decompose (int red, int green, int blue) noexcept
    {
        const int hi = juce::jmax (red, green, blue);
        const int lo = juce::jmin (red, green, blue);

        HSB hsb;
        hsb.brightness = (float) hi * oneOver255;

        // With hi > 0, the saturation (hi - lo) / hi is 0 exactly when hi == lo.
        if (hi != lo)
        {
            hsb.saturation = (float) (hi - lo) / (float) hi;

            const float d = 1.0f / (float) (hi - lo);
            const float r = (float) (hi - red) * d;
            const float g = (float) (hi - green) * d;
            const float b = (float) (hi - blue) * d;

            float h;

            if (red == hi) // red before green
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

    forcedinline HSB decompose (juce::uint32 argb) noexcept
    {
        return decompose ((int) ((argb >> 16) & 0xff), (int) ((argb >> 8) & 0xff), (int) (argb & 0xff));
    }

    forcedinline juce::uint32 compose (float hue, float saturation, float brightness, juce::uint32 alpha) noexcept
    {
        const float v = brightness * 255.0f;
        const int i = roundToEven (v);

        if (saturation == 0.0f)
            return pack (alpha, i, i, i);

        const auto h6 = (float) (((double) hue - (double) floorFloat (hue)) * 6.0 + 0.00001);

        if (! (h6 < 7.0f)) // only a NaN or infinite hue gets here
            return pack (alpha, 0, 0, 0);

        const int sextant = (int) h6;
        const float f = h6 - (float) sextant;
        const double s = saturation;

        const int x = roundToEven ((float) ((double) v * (1.0 - s)));
        const int y = roundToEven ((float) ((double) v * (1.0 - s * (double) f)));
        const int z = roundToEven ((float) ((double) v * (1.0 - s * (1.0 - (double) f))));

        switch (sextant)
        {
            case 1:
                return pack (alpha, y, i, x);
            case 2:
                return pack (alpha, x, i, z);
            case 3:
                return pack (alpha, x, y, i);
            case 4:
                return pack (alpha, z, x, i);
            case 5:
                return pack (alpha, i, x, y);
            // 6 only happens for hues a hair below a whole turn (the 0.00001
            // nudge pushes them over): they are hue 0, like sextant 0.
            default:
                return pack (alpha, i, z, x);
        }
    }

    juce::uint32 tweakOne (juce::uint32 stored, const TweakParameters& p) noexcept
    {
        // Offsets: whatever goes past 0 or 255 is lost for the later steps.
        const int red = clampByte ((juce::int64) ((stored >> 16) & 0xff) + p.redOffset);
        const int green = clampByte ((juce::int64) ((stored >> 8) & 0xff) + p.greenOffset);
        const int blue = clampByte ((juce::int64) (stored & 0xff) + p.blueOffset);

        const auto a = (float) ((double) (stored >> 24) * (double) oneOver255 * (double) p.alphaMultiplier);
        const auto alpha = (juce::uint32) clampByte (roundToEven ((double) a * 255.0));

        auto hsb = decompose (red, green, blue);
        hsb.brightness = hsb.brightness * p.brightnessMultiplier;
        if (hsb.brightness > 1.0f)
            hsb.brightness = 1.0f;
        auto colour = compose (hsb.hue, hsb.saturation, hsb.brightness, alpha);

        hsb = decompose (colour);
        hsb.saturation = hsb.saturation * p.saturationMultiplier;
        if (hsb.saturation > 1.0f)
            hsb.saturation = 1.0f;
        colour = compose (hsb.hue, hsb.saturation, hsb.brightness, alpha);

        hsb = decompose (colour);
        hsb.hue = hsb.hue + p.hueShift;
        hsb.hue = hsb.hue - floorFloat (hsb.hue);
        colour = compose (hsb.hue, hsb.saturation, hsb.brightness, alpha);

        const auto finalAlpha = (juce::uint32) clampByte (roundToEven ((double) alpha * (double) p.alphaMultiplier));

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

} // namespace

//==============================================================================
int roundHalfEven (double value) noexcept
{
    return roundToEven (value);
}

HSB toHSB (int red, int green, int blue) noexcept
{
    jassert (juce::isPositiveAndBelow (red, 256) && juce::isPositiveAndBelow (green, 256)
             && juce::isPositiveAndBelow (blue, 256));
    return decompose (red, green, blue);
}

HSB toHSB (juce::uint32 argb) noexcept
{
    return decompose (argb);
}

juce::uint32 fromHSB (float hue, float saturation, float brightness, juce::uint32 alpha) noexcept
{
    return compose (hue, saturation, brightness, alpha & 0xff);
}

juce::uint32 fromHSB (HSB hsb, juce::uint32 alpha) noexcept
{
    return compose (hsb.hue, hsb.saturation, hsb.brightness, alpha & 0xff);
}

juce::uint32 tweakColour (juce::uint32 stored, const TweakParameters& parameters) noexcept
{
    return tweakOne (stored, parameters);
}

void tweakColours (const juce::uint32* stored,
                   const TweakParameters* parameters,
                   juce::uint32* previews,
                   size_t count) noexcept
{
#if TINTWRIGHT_TWEAK_SSE2
    const auto done = Sse2::tweakColours (stored, parameters, previews, count);
#else
    const size_t done = 0;
#endif

    tweakColoursPortable (stored + done, parameters + done, previews + done, count - done);
}

void tweakColoursPortable (const juce::uint32* stored,
                           const TweakParameters* parameters,
                           juce::uint32* previews,
                           size_t count) noexcept
{
    for (size_t i = 0; i < count; ++i)
        previews[i] = tweakOne (stored[i], parameters[i]);
}

juce::uint32 withForcedHue (juce::uint32 stored, float hue) noexcept
{
    const auto hsb = decompose (stored);
    return compose (hue, hsb.saturation, hsb.brightness, stored >> 24);
}

juce::uint32 invertedColour (juce::uint32 stored, float alphaMultiplier) noexcept
{
    const auto alpha = clampByte (
        roundToEven ((double) (stored >> 24) * (double) oneOver255 * (double) alphaMultiplier * 255.0));

    return pack ((juce::uint32) alpha,
                 255 - (int) ((stored >> 16) & 0xff),
                 255 - (int) ((stored >> 8) & 0xff),
                 255 - (int) (stored & 0xff));
}
} // namespace TweakMaths
