#pragma once

// Pixels of a painted image, printed the way the picture reads.

#include <juce_graphics/juce_graphics.h>

#include <gtest/gtest.h>

#include <cstdlib>

namespace testkit
{
/** The pixels of row y from x to x + count - 1, left to right, as
    "x: AARRGGBB" entries; for failure messages. */
inline juce::String rowOfPixels (const juce::Image& image, int y, int x, int count)
{
    juce::StringArray row;

    for (int i = x; i < x + count; ++i)
        row.add (juce::String (i) + ": " + image.getPixelAt (i, y).toDisplayString (true));

    return "row " + juce::String (y) + " [" + row.joinIntoString (", ") + "]";
}

/** Bounding box of the pixels of the area for which the test holds; empty when none does. */
template <typename PixelTest>
juce::Rectangle<int> boundsOfPixels (const juce::Image& image, juce::Rectangle<int> area, PixelTest&& test)
{
    juce::Rectangle<int> bounds;
    bool any = false;

    for (int y = area.getY(); y < area.getBottom(); ++y)
        for (int x = area.getX(); x < area.getRight(); ++x)
            if (test (image.getPixelAt (x, y)))
            {
                const juce::Rectangle<int> pixel (x, y, 1, 1);
                bounds = any ? bounds.getUnion (pixel) : pixel;
                any = true;
            }

    return bounds;
}

/** How many pixels of the area pass the test. */
template <typename PixelTest>
int countPixels (const juce::Image& image, juce::Rectangle<int> area, PixelTest&& test)
{
    int count = 0;

    for (int y = area.getY(); y < area.getBottom(); ++y)
        for (int x = area.getX(); x < area.getRight(); ++x)
            count += test (image.getPixelAt (x, y)) ? 1 : 0;

    return count;
}

/** Whether the two images hold the same pixels in the area; a failure names
    the first pixel that differs and prints its row in both. */
inline ::testing::AssertionResult samePixels (const juce::Image& actual, const juce::Image& expected, juce::Rectangle<int> area)
{
    for (int y = area.getY(); y < area.getBottom(); ++y)
        for (int x = area.getX(); x < area.getRight(); ++x)
            if (actual.getPixelAt (x, y) != expected.getPixelAt (x, y))
                return ::testing::AssertionFailure()
                       << "pixel (" << x << ", " << y << ") differs\n  actual   "
                       << rowOfPixels (actual, y, x, juce::jmin (8, area.getRight() - x)) << "\n  expected "
                       << rowOfPixels (expected, y, x, juce::jmin (8, area.getRight() - x));

    return ::testing::AssertionSuccess() << "the pixels of " << area.toString() << " are the same";
}

inline ::testing::AssertionResult samePixels (const juce::Image& actual, const juce::Image& expected)
{
    return samePixels (actual, expected, actual.getBounds());
}

/** Whether each channel of the colour is within the tolerance of the expected one. */
inline ::testing::AssertionResult isNear (juce::Colour actual, juce::Colour expected, int tolerance)
{
    const auto diff = [] (juce::uint8 a, juce::uint8 b)
    { return std::abs ((int) a - (int) b); };

    if (diff (actual.getAlpha(), expected.getAlpha()) <= tolerance
        && diff (actual.getRed(), expected.getRed()) <= tolerance
        && diff (actual.getGreen(), expected.getGreen()) <= tolerance
        && diff (actual.getBlue(), expected.getBlue()) <= tolerance)
        return ::testing::AssertionSuccess();

    return ::testing::AssertionFailure() << actual.toDisplayString (true) << " is not within "
                                         << tolerance << " of " << expected.toDisplayString (true);
}
} // namespace testkit
