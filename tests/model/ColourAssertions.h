#pragma once

// Colour comparisons that print both sides as 0xAARRGGBB when they fail.

#include <juce_core/juce_core.h>

#include <gtest/gtest.h>

#include <ostream>

namespace colourtest
{
struct Hex
{
    juce::uint32 value;
    bool operator== (const Hex& other) const { return value == other.value; }
};

inline std::ostream& operator<< (std::ostream& out, const Hex& h)
{
    return out << "0x" << juce::String::toHexString ((juce::int64) h.value).paddedLeft ('0', 8);
}
} // namespace colourtest

#define EXPECT_COLOUR(actual, expected) \
    EXPECT_EQ (colourtest::Hex { (juce::uint32) (actual) }, colourtest::Hex { (juce::uint32) (expected) })
#define ASSERT_COLOUR(actual, expected) \
    ASSERT_EQ (colourtest::Hex { (juce::uint32) (actual) }, colourtest::Hex { (juce::uint32) (expected) })
