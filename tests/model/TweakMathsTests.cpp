#include "ColourAssertions.h"
#include "maths/TweakMaths.h"
#include "maths/TweakMathsSse2.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <random>
#include <vector>

using TweakMaths::TweakParameters;

namespace
{
// The examples below run over both ways of computing previews: the portable
// reference and the batch the program uses (SIMD where the build has it).
struct Implementation
{
    const char* name;
    void (*tweakColours) (const juce::uint32*, const TweakParameters*, juce::uint32*, size_t) noexcept;
};

// Test names and failures show the implementation's name, not its bytes.
void PrintTo (const Implementation& implementation, std::ostream* out)
{
    *out << implementation.name;
}

// A build with the batch compiled out (the portable test binary) has only the
// portable loop behind tweakColours: comparing the two would compare it with
// itself, so that build runs the examples once.
constexpr bool batchBuilt = TINTWRIGHT_TWEAK_SSE2 != 0;

const std::vector<Implementation> implementations = batchBuilt
                                                        ? std::vector<Implementation> { { "Portable", TweakMaths::tweakColoursPortable },
                                                                                        { "Batch", TweakMaths::tweakColours } }
                                                        : std::vector<Implementation> { { "Portable", TweakMaths::tweakColoursPortable } };

class TweakPreview : public ::testing::TestWithParam<Implementation>
{
protected:
    // Enough copies to fill whole sets of lanes and leave a remainder, which
    // must all agree.
    juce::uint32 preview (juce::uint32 argb, const TweakParameters& p)
    {
        constexpr size_t copies = 11;
        std::vector<juce::uint32> stored (copies, argb), previews (copies);
        const std::vector<TweakParameters> parameters (copies, p);
        GetParam().tweakColours (stored.data(), parameters.data(), previews.data(), copies);

        for (auto other : previews)
            EXPECT_COLOUR (other, previews[0]);

        return previews[0];
    }

    juce::uint32 tweak (juce::uint32 argb, void (*set) (TweakParameters&))
    {
        TweakParameters p;
        set (p);
        return preview (argb, p);
    }

    // One parameter set, the others neutral.
    template <typename Value>
    juce::uint32 tweak (juce::uint32 argb, Value TweakParameters::*field, Value value)
    {
        TweakParameters p;
        p.*field = value;
        return preview (argb, p);
    }
};

INSTANTIATE_TEST_SUITE_P (Implementations,
                          TweakPreview,
                          ::testing::ValuesIn (implementations),
                          [] (const auto& info)
                          { return std::string (info.param.name); });
} // namespace

//==============================================================================
TEST (TweakMaths, RoundingIsHalfToEvenLikeNearbyint)
{
    EXPECT_EQ (TweakMaths::roundHalfEven (127.5), 128);
    EXPECT_EQ (TweakMaths::roundHalfEven (128.5), 128);
    EXPECT_EQ (TweakMaths::roundHalfEven (-2.5), -2);
    EXPECT_EQ (TweakMaths::roundHalfEven (-3.5), -4);
    EXPECT_EQ (TweakMaths::roundHalfEven (0.49999999999999994), 0);
    EXPECT_EQ (TweakMaths::roundHalfEven (254.50000000000003), 255);

    std::mt19937 rng (7);
    std::uniform_real_distribution<double> wide (-1.0e6, 1.0e6);

    for (int i = 0; i < 100000; ++i)
    {
        const double x = (i % 2 == 0) ? wide (rng) : std::floor (wide (rng)) + 0.5;
        ASSERT_EQ (TweakMaths::roundHalfEven (x), (int) std::nearbyint (x)) << x;
    }
}

TEST (TweakMaths, DecompositionFollowsTheFloatFormulas)
{
    // 0xff4080c0: blue is the largest, spread 128; h = (4 + 0.5 - 1) / 6.
    const auto hsb = TweakMaths::toHSB (0xff4080c0);
    EXPECT_EQ (hsb.saturation, 128.0f / 192.0f);
    EXPECT_EQ (hsb.brightness, 192.0f * TweakMaths::oneOver255);
    EXPECT_EQ (hsb.hue, 3.5f * TweakMaths::oneSixth);

    // Red and blue both largest: the red formula gives 1 - 1/6, which as a float
    // is one step below what the blue formula (5/6) would give.
    EXPECT_EQ (TweakMaths::toHSB (0xffff00ff).hue, 1.0f - TweakMaths::oneSixth);
    EXPECT_NE (TweakMaths::toHSB (0xffff00ff).hue, 5.0f * TweakMaths::oneSixth);

    const auto black = TweakMaths::toHSB (0x80000000);
    EXPECT_EQ (black.hue, 0.0f);
    EXPECT_EQ (black.saturation, 0.0f);
    EXPECT_EQ (black.brightness, 0.0f);

    const auto grey = TweakMaths::toHSB (0xff777777);
    EXPECT_EQ (grey.hue, 0.0f);
    EXPECT_EQ (grey.saturation, 0.0f);
    EXPECT_EQ (grey.brightness, (float) 0x77 * TweakMaths::oneOver255);
}

TEST (TweakMaths, CompositionKeepsAlphaAndTreatsWholeTurnsAlike)
{
    EXPECT_COLOUR (TweakMaths::fromHSB (0.0f, 1.0f, 1.0f, 0x12), 0x12ff0000);
    EXPECT_COLOUR (TweakMaths::fromHSB (1.0f, 1.0f, 1.0f, 0x34), 0x34ff0000);
    EXPECT_COLOUR (TweakMaths::fromHSB (-2.0f, 1.0f, 1.0f, 0xff), 0xffff0000);
    EXPECT_COLOUR (TweakMaths::fromHSB (0.5f, 1.0f, 1.0f, 0x00), 0x0000ffff);
    EXPECT_COLOUR (TweakMaths::fromHSB (1.5f, 1.0f, 1.0f, 0x00), 0x0000ffff);
    EXPECT_COLOUR (TweakMaths::fromHSB (0.3f, 0.0f, 0.5f, 0xff), 0xff808080); // 127.5 rounds to 128
}

TEST (TweakMaths, RoundTripAndNeutralPreviewReproduceEveryColour)
{
    // One decompose/compose pass gives back every RGB value; the neutral
    // preview chains three such passes around an alpha step that keeps every
    // alpha and a contrast step with k = 1. The batch path is checked for the
    // whole preview.
    int passFailures = 0;

    for (juce::uint32 rgb = 0; rgb < (1u << 24); ++rgb)
    {
        const auto argb = 0xff000000 | rgb;
        passFailures += TweakMaths::fromHSB (TweakMaths::toHSB (argb), 0xff) != argb;
    }

    EXPECT_EQ (passFailures, 0);

    constexpr size_t chunk = 4096;
    std::vector<juce::uint32> stored (chunk), previews (chunk);
    const std::vector<TweakParameters> neutral (chunk);
    int previewFailures = 0;

    for (juce::uint32 first = 0; first < (1u << 24); first += (juce::uint32) chunk)
    {
        for (size_t i = 0; i < chunk; ++i)
        {
            const auto rgb = first + (juce::uint32) i;
            stored[i] = ((rgb * 0x9e3779b1u) & 0xff000000) | rgb; // scattered alphas
        }

        TweakMaths::tweakColours (stored.data(), neutral.data(), previews.data(), chunk);

        for (size_t i = 0; i < chunk; ++i)
            previewFailures += previews[i] != stored[i];
    }

    EXPECT_EQ (previewFailures, 0);

    const TweakParameters single;
    for (juce::uint32 alpha = 0; alpha < 256; ++alpha)
        for (juce::uint32 rgb = 0; rgb < (1u << 24); rgb += 65521)
            ASSERT_COLOUR (TweakMaths::tweakColour ((alpha << 24) | rgb, single), (alpha << 24) | rgb);
}

TEST (TweakMaths, BatchGivesTheSameBitsAsOneByOne)
{
    if (! batchBuilt)
        GTEST_SKIP() << "the batch is compiled out: tweakColours is the one-by-one loop itself";

    std::mt19937 rng (2024);
    auto uniform = [&rng] (float lo, float hi)
    { return std::uniform_real_distribution<float> (lo, hi) (rng); };
    auto integer = [&rng] (int lo, int hi)
    { return std::uniform_int_distribution<int> (lo, hi) (rng); };

    // Mostly the controls' ranges, some values far outside them, and the
    // hues a hair below a whole turn.
    const float odd[] = { -1.0e9f, -3.0f, -1.0e-7f, 0.0f, 1.0f, 7.5f, 3.0e38f, std::numeric_limits<float>::infinity(), std::nanf ("") };
    auto value = [&] (float lo, float hi)
    { return integer (0, 9) == 0 ? odd[integer (0, 8)] : uniform (lo, hi); };

    constexpr size_t count = 200003; // not a multiple of the lane count
    std::vector<juce::uint32> stored (count), batch (count);
    std::vector<TweakParameters> parameters (count);

    for (size_t i = 0; i < count; ++i)
    {
        stored[i] = (juce::uint32) rng();
        auto& p = parameters[i];
        const bool wild = integer (0, 9) == 0;
        p.redOffset = wild ? (int) rng() : integer (-255, 255);
        p.greenOffset = integer (-255, 255);
        p.blueOffset = wild ? integer (-300, 300) : integer (-255, 255);
        p.hueShift = value (-0.5f, 0.5f);
        p.saturationMultiplier = value (0.0f, 2.0f);
        p.brightnessMultiplier = value (0.0f, 2.0f);
        p.alphaMultiplier = integer (0, 3) == 0 ? value (-1.0f, 3.0f) : 1.0f;
        p.contrastCentre = value (0.0f, 1.0f);
        p.contrastAmount = value (0.0f, 1.0f);
    }

    TweakMaths::tweakColours (stored.data(), parameters.data(), batch.data(), count);

    for (size_t i = 0; i < count; ++i)
        ASSERT_COLOUR (batch[i], TweakMaths::tweakColour (stored[i], parameters[i])) << "colour " << i;
}

//==============================================================================
TEST_P (TweakPreview, HueShiftExamples)
{
    EXPECT_COLOUR (tweak (0xffff0000, &TweakParameters::hueShift, 0.5f), 0xff00ffff);
    EXPECT_COLOUR (tweak (0xffff0000, &TweakParameters::hueShift, -0.5f), 0xff00ffff);
    EXPECT_COLOUR (tweak (0xffff0000, &TweakParameters::hueShift, 0.25f), 0xff7fff00);
    EXPECT_COLOUR (tweak (0x804080c0, &TweakParameters::hueShift, 0.5f), 0x80c08040);
}

TEST_P (TweakPreview, GreysAndBlackResistAllButOffsetsAndInvert)
{
    for (juce::uint32 level = 0; level < 256; ++level)
    {
        const auto grey = 0xff000000 | (level * 0x010101);

        for (float shift : { -0.5f, -0.1f, 0.25f, 0.5f })
        {
            TweakParameters p;
            p.hueShift = shift;
            ASSERT_COLOUR (preview (grey, p), grey);
            ASSERT_COLOUR (TweakMaths::withForcedHue (grey, shift + 0.5f), grey);
        }

        for (float multiplier : { 0.0f, 0.5f, 2.0f })
        {
            TweakParameters p;
            p.saturationMultiplier = multiplier;
            ASSERT_COLOUR (preview (grey, p), grey);
        }
    }

    const juce::uint32 black = 0xff000000;
    EXPECT_COLOUR (tweak (black, &TweakParameters::brightnessMultiplier, 2.0f), black);
    EXPECT_COLOUR (tweak (black, &TweakParameters::hueShift, 0.3f), black);
    EXPECT_COLOUR (tweak (black, &TweakParameters::saturationMultiplier, 2.0f), black);
    EXPECT_COLOUR (tweak (black,
                          [] (TweakParameters& p)
                          {
                              p.contrastCentre = 0.0f;
                              p.contrastAmount = 1.0f;
                          }),
                   black);
    EXPECT_COLOUR (tweak (black, &TweakParameters::blueOffset, 5), 0xff000005);
    EXPECT_COLOUR (TweakMaths::invertedColour (black), 0xffffffff);
}

TEST_P (TweakPreview, OffsetsClipAtTheChannelLimits)
{
    EXPECT_COLOUR (tweak (0xff808080, &TweakParameters::redOffset, 255), 0xffff8080);
    EXPECT_COLOUR (tweak (0xff808080, &TweakParameters::redOffset, -255), 0xff008080);

    // Offsets far beyond the range only pin the channel.
    EXPECT_COLOUR (tweak (0xff808080, &TweakParameters::greenOffset, 1000000000), 0xff80ff80);
    EXPECT_COLOUR (tweak (0xff808080, &TweakParameters::blueOffset, -2147483647 - 1), 0xff808000);
}

TEST_P (TweakPreview, SaturationAndBrightnessExamples)
{
    const juce::uint32 c = 0xff4080c0;
    EXPECT_COLOUR (tweak (c, &TweakParameters::saturationMultiplier, 2.0f), 0xff0060c0);
    EXPECT_COLOUR (tweak (c, &TweakParameters::saturationMultiplier, 0.0f), 0xffc0c0c0);
    EXPECT_COLOUR (tweak (c, &TweakParameters::brightnessMultiplier, 2.0f), 0xff55aaff);
    EXPECT_COLOUR (tweak (c, &TweakParameters::brightnessMultiplier, 0.5f), 0xff204060);
    EXPECT_COLOUR (tweak (c, &TweakParameters::brightnessMultiplier, 0.0f), 0xff000000);
}

TEST_P (TweakPreview, ContrastAboutTheCentre)
{
    auto contrast = [this] (juce::uint32 argb)
    {
        TweakParameters p;
        p.contrastCentre = 0.5f;
        p.contrastAmount = 1.0f;
        return preview (argb, p);
    };

    EXPECT_COLOUR (contrast (0xffc0c0c0), 0xffd5d5d5);
    EXPECT_COLOUR (contrast (0xff404040), 0xff2a2a2a);
    EXPECT_COLOUR (contrast (0xff808080), 0xff808080);
    EXPECT_COLOUR (contrast (0xff7f7f7f), 0xff7e7e7e);
    EXPECT_COLOUR (contrast (0x40ffffff), 0x40ffffff); // alpha untouched, white stays white

    // Amount 0, and a colour exactly at the centre, change nothing.
    TweakParameters p;
    p.contrastCentre = 0.2f;
    p.contrastAmount = 0.0f;
    EXPECT_COLOUR (preview (0xff123456, p), 0xff123456);
    p.contrastCentre = 0x56 * TweakMaths::oneOver255;
    p.contrastAmount = 1.0f;
    EXPECT_COLOUR (preview (0xff123456, p), 0xff123456);
}

TEST_P (TweakPreview, AllParametersAtOnce)
{
    TweakParameters p;
    p.redOffset = 10;
    p.greenOffset = -20;
    p.blueOffset = 30;
    p.hueShift = 0.1f;
    p.saturationMultiplier = 1.5f;
    p.brightnessMultiplier = 0.8f;
    p.contrastCentre = 0.4f;
    p.contrastAmount = 0.5f;
    EXPECT_COLOUR (preview (0xff336699, p), 0xff5a25a2);
}

TEST (TweakMaths, ForcedHueAndInversion)
{
    EXPECT_COLOUR (TweakMaths::withForcedHue (0xffff0000, 0.5f), 0xff00ffff);
    EXPECT_COLOUR (TweakMaths::withForcedHue (0xff00ff00, 1.0f), 0xffff0000);
    EXPECT_COLOUR (TweakMaths::withForcedHue (0xff808080, 0.7f), 0xff808080);
    EXPECT_COLOUR (TweakMaths::withForcedHue (0x7f00ff00, 0.0f), 0x7fff0000);

    EXPECT_COLOUR (TweakMaths::invertedColour (0x80102030), 0x80efdfcf);
    for (juce::uint32 alpha = 0; alpha < 256; ++alpha)
        ASSERT_COLOUR (TweakMaths::invertedColour ((alpha << 24) | 0x00ff00), (alpha << 24) | 0xff00ff);
}

TEST_P (TweakPreview, HueAHairBelowAWholeTurnIsRedNotBlack)
{
    // The 0.00001 nudge pushes hues within about 1.7e-6 of a whole turn to
    // sextant 6; they must come out as hue 0, not as black. A real slider
    // value reaches this: 0xff26ed9d (hue 0.43...) shifted by -0.433.
    TweakParameters p;
    p.hueShift = -0.433f;
    EXPECT_COLOUR (preview (0xff26ed9d, p), 0xffed2626);

    const float justBelowOne = std::nextafter (1.0f, 0.0f);
    EXPECT_COLOUR (TweakMaths::withForcedHue (0xff00ff00, justBelowOne), 0xffff0000);
    EXPECT_COLOUR (TweakMaths::fromHSB (justBelowOne, 0.5f, 1.0f, 0xff), 0xffff8080);
    EXPECT_COLOUR (TweakMaths::fromHSB (-1.0e-7f, 1.0f, 1.0f, 0xff), 0xffff0000);

    // Only a hue that is not a number still gives black.
    EXPECT_COLOUR (TweakMaths::fromHSB (std::nanf (""), 1.0f, 1.0f, 0xff), 0xff000000);
}
