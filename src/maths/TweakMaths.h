#pragma once

#include <juce_core/juce_core.h>

/** The colour maths behind a group tweak, on plain 0xAARRGGBB values.

    Everything here is bit-exact by design: hue, saturation and brightness are
    32-bit floats, every compound expression is evaluated in double and rounded
    to float only where a named value is kept, and rounding to an integer goes
    to the nearest value with ties to even. Nothing needs a window or the
    message thread, and nothing allocates.
*/
namespace TweakMaths
{
/** The float nearest to 1/255, used for every byte-to-fraction conversion. */
constexpr float oneOver255 = 1.0f / 255.0f;
/** The float nearest to 1/6, used to turn a hue sextant into turns. */
constexpr float oneSixth = 1.0f / 6.0f;

/** Hue in turns, saturation and brightness, each 0 to 1. */
struct HSB
{
    float hue = 0.0f;
    float saturation = 0.0f;
    float brightness = 0.0f;
};

/** The parameters of one member's tweak. Default-constructed = neutral. */
struct TweakParameters
{
    int redOffset = 0;
    int greenOffset = 0;
    int blueOffset = 0;
    float hueShift = 0.0f;
    float saturationMultiplier = 1.0f;
    float brightnessMultiplier = 1.0f;
    float alphaMultiplier = 1.0f;
    float contrastCentre = 0.5f;
    float contrastAmount = 0.0f;
};

/** Nearest integer, ties to even (127.5 -> 128, 128.5 -> 128). Values beyond
    the int range wrap instead of being undefined. */
int roundHalfEven (double value) noexcept;

/** Splits red, green and blue (alpha plays no part) into hue, saturation and
    brightness. When red and green are both the largest, red's formula wins. */
HSB toHSB (juce::uint32 argb) noexcept;
HSB toHSB (int red, int green, int blue) noexcept;

/** Builds a colour from hue (any value; only its fraction counts), saturation
    and brightness, with the alpha byte copied unchanged. Each channel keeps
    the low eight bits of its integer. */
juce::uint32 fromHSB (float hue, float saturation, float brightness, juce::uint32 alpha) noexcept;
juce::uint32 fromHSB (HSB hsb, juce::uint32 alpha) noexcept;

/** The preview of a stored colour: offsets, alpha, brightness, saturation,
    hue, alpha multiplier, contrast, each step starting again from the
    eight-bit colour of the step before. */
juce::uint32 tweakColour (juce::uint32 stored, const TweakParameters& parameters) noexcept;

/** tweakColour for many colours, each with its own parameters; same results,
    several times faster per colour where the processor has a batch for it. */
void tweakColours (const juce::uint32* stored,
                   const TweakParameters* parameters,
                   juce::uint32* previews,
                   size_t count) noexcept;

/** The same, one colour at a time with no processor-specific code: the
    reference that the batch is tested against. */
void tweakColoursPortable (const juce::uint32* stored,
                           const TweakParameters* parameters,
                           juce::uint32* previews,
                           size_t count) noexcept;

/** The stored colour with its hue replaced; saturation, brightness and alpha
    stay. A grey is unchanged. */
juce::uint32 withForcedHue (juce::uint32 stored, float hue) noexcept;

/** Red, green and blue become 255 minus themselves; alpha goes through the
    alpha multiplier (1 keeps it as it is). */
juce::uint32 invertedColour (juce::uint32 stored, float alphaMultiplier = 1.0f) noexcept;
} // namespace TweakMaths
