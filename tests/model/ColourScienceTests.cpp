// CIEDE2000 against Sharma, Wu and Dalal's published test pairs, and the
// colour-vision simulation against the published Machado matrices.

#include "SchemeFileTestSupport.h"
#include "maths/ColourDifference.h"
#include "maths/ColourVision.h"

#include <gtest/gtest.h>

#include <cmath>

using ColourDifference::Lab;

TEST (Ciede2000, SharmaWuDalalPairsToFourDecimals)
{
    juce::StringArray lines;
    lines.addLines (SchemeFileTestSupport::dataFile ("ciede2000-sharma-2005.txt").loadFileAsString());
    int pairs = 0;

    for (const auto& line : lines)
    {
        if (line.trim().isEmpty() || line.startsWithChar ('#'))
            continue;

        juce::StringArray v;
        v.addTokens (line, " ", "");
        v.removeEmptyStrings();
        ASSERT_EQ (v.size(), 7) << line;
        const Lab first { v[0].getDoubleValue(), v[1].getDoubleValue(), v[2].getDoubleValue() };
        const Lab second { v[3].getDoubleValue(), v[4].getDoubleValue(), v[5].getDoubleValue() };
        ++pairs;

        // The table gives four decimals; the hue pairs near 180 degrees apart (13 to 15) test the mean's rule.
        EXPECT_NEAR (ColourDifference::ciede2000 (first, second), v[6].getDoubleValue(), 0.00005) << "pair " << pairs << ": " << line;
        EXPECT_NEAR (ColourDifference::ciede2000 (second, first), v[6].getDoubleValue(), 0.00005) << "pair " << pairs << " swapped";
    }

    EXPECT_EQ (pairs, 34);
    EXPECT_EQ (ColourDifference::ciede2000 (juce::Colour (0xff39c46a), juce::Colour (0xff39c46a)), 0.0);
}

TEST (Ciede2000, LabOfSrgbColoursUnderD65)
{
    // White is L 100 with no chroma; sRGB's red and blue as commonly tabulated (D65, 2 degrees).
    const auto white = ColourDifference::lab (juce::Colours::white);
    EXPECT_NEAR (white.l, 100, 0.01);
    EXPECT_NEAR (white.a, 0, 0.01);
    EXPECT_NEAR (white.b, 0, 0.01);

    const auto red = ColourDifference::lab (juce::Colour (0xffff0000));
    EXPECT_NEAR (red.l, 53.24, 0.05);
    EXPECT_NEAR (red.a, 80.09, 0.05);
    EXPECT_NEAR (red.b, 67.20, 0.05);

    const auto blue = ColourDifference::lab (juce::Colour (0xff0000ff));
    EXPECT_NEAR (blue.l, 32.30, 0.05);
    EXPECT_NEAR (blue.a, 79.19, 0.05);
    EXPECT_NEAR (blue.b, -107.86, 0.05);

    // The transfer function's two pieces meet, and encoding undoes linearising.
    for (int i = 0; i <= 255; ++i)
        EXPECT_NEAR (ColourDifference::toEncoded (ColourDifference::toLinear (i / 255.0)), i / 255.0, 1e-12);
}

TEST (ColourVision, PublishedMatricesAndTheirSteps)
{
    using ColourVision::Deficiency;
    using ColourVision::matrixFor;

    // Severity 1 as the paper's table prints them.
    const ColourVision::Matrix protanopia { { { 0.152286, 1.052583, -0.204868 }, { 0.114503, 0.786281, 0.099216 }, { -0.003882, -0.048116, 1.051998 } } };
    const ColourVision::Matrix deuteranopia { { { 0.367322, 0.860646, -0.227968 }, { 0.280085, 0.672501, 0.047413 }, { -0.011820, 0.042940, 0.968881 } } };
    const ColourVision::Matrix tritanopia { { { 1.255528, -0.076749, -0.178779 }, { -0.078411, 0.930809, 0.147602 }, { 0.004733, 0.691367, 0.303900 } } };
    // Deuteranomaly at severities 0.5 and 0.6.
    const ColourVision::Matrix deutan5 { { { 0.547494, 0.607765, -0.155259 }, { 0.181692, 0.781742, 0.036566 }, { -0.010410, 0.027275, 0.983136 } } };
    const ColourVision::Matrix deutan6 { { { 0.498864, 0.674741, -0.173604 }, { 0.205199, 0.754872, 0.039929 }, { -0.011131, 0.030969, 0.980162 } } };

    const auto full = { std::pair { Deficiency::protan, protanopia }, std::pair { Deficiency::deutan, deuteranopia }, std::pair { Deficiency::tritan, tritanopia } };

    for (const auto& [deficiency, published] : full)
    {
        const auto none = matrixFor (deficiency, 0);

        for (size_t r = 0; r < 3; ++r)
        {
            for (size_t c = 0; c < 3; ++c)
            {
                EXPECT_EQ (matrixFor (deficiency, 1)[r][c], published[r][c]) << ColourVision::nameOf (deficiency);
                EXPECT_EQ (matrixFor (deficiency, 7)[r][c], published[r][c]) << "severity is clamped";
                EXPECT_EQ (none[r][c], r == c ? 1.0 : 0.0);
            }
        }

        // Every step keeps white white and grey grey: each row sums to 1.
        for (int step = 0; step <= 20; ++step)
            for (const auto& row : matrixFor (deficiency, step / 20.0))
                EXPECT_NEAR (row[0] + row[1] + row[2], 1.0, 2e-6);
    }

    for (size_t r = 0; r < 3; ++r)
    {
        for (size_t c = 0; c < 3; ++c)
        {
            EXPECT_NEAR (matrixFor (Deficiency::deutan, 0.5)[r][c], deutan5[r][c], 1e-12);
            EXPECT_NEAR (matrixFor (Deficiency::deutan, 0.53)[r][c], 0.7 * deutan5[r][c] + 0.3 * deutan6[r][c], 1e-12);
        }
    }

    EXPECT_EQ (ColourVision::fromName ("deuteranopia"), Deficiency::deutan);
    EXPECT_FALSE (ColourVision::fromName ("Deuteranopia").has_value());
}

TEST (ColourVision, ColoursAsSeen)
{
    using ColourVision::Deficiency;
    const auto deutan = ColourVision::matrixFor (Deficiency::deutan, 1);

    // No deficiency changes nothing; greys stay grey with every deficiency; alpha is kept.
    juce::Random random (38);

    for (int i = 0; i < 500; ++i)
    {
        const juce::Colour colour ((juce::uint32) random.nextInt());
        EXPECT_EQ (ColourVision::seen (ColourVision::matrixFor (Deficiency::protan, 0), colour), colour);
        const auto grey = juce::Colour::greyLevel (random.nextFloat()).withAlpha (colour.getAlpha());

        for (auto d : { Deficiency::protan, Deficiency::deutan, Deficiency::tritan })
            EXPECT_EQ (ColourVision::seen (ColourVision::matrixFor (d, 1), grey), grey);
    }

    // Pure green in linear light is (0.860646, 0.672501, 0.042940) to a deuteranope: out of
    // range nowhere, so only encoded; pure red's third row is negative and clamps to 0.
    const auto green = ColourVision::seenLinear (deutan, juce::Colour (0xff00ff00));
    EXPECT_NEAR (green.red, 0.860646, 1e-12);
    EXPECT_NEAR (green.green, 0.672501, 1e-12);
    EXPECT_NEAR (green.blue, 0.042940, 1e-12);
    EXPECT_EQ (ColourVision::seenLinear (deutan, juce::Colour (0xffff0000)).blue, 0.0);

    // Red and green, far apart to most eyes, come close for a deuteranope.
    const juce::Colour meterGreen (0xff39c46a), meterRed (0xffe23b3b);
    const auto seenDifference = ColourDifference::ciede2000 (ColourVision::seen (deutan, meterGreen), ColourVision::seen (deutan, meterRed));
    EXPECT_GT (ColourDifference::ciede2000 (meterGreen, meterRed), 70);
    EXPECT_LT (seenDifference, 13);
}
