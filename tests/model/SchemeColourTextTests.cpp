#include "schemefile/SchemeColourText.h"

#include <gtest/gtest.h>

namespace
{
juce::uint32 argbOf (const juce::String& text)
{
    return SchemeColourText::fromText (text.toRawUTF8()).getARGB();
}
} // namespace

TEST (SchemeColourText, EveryHexDigitShiftsInAndOtherCharactersAreSkipped)
{
    EXPECT_EQ (argbOf ("ffd3d3d3"), 0xffd3d3d3u);
    EXPECT_EQ (argbOf ("FFD3D3D3"), 0xffd3d3d3u);
    EXPECT_EQ (argbOf ("#ffd3d3d3"), 0xffd3d3d3u);
    EXPECT_EQ (argbOf ("0xffd3d3d3"), 0xffd3d3d3u);
    EXPECT_EQ (argbOf ("ff d3-d3 zz d3"), 0xffd3d3d3u);
    EXPECT_EQ (argbOf ("#xyz;ghost!"), 0u);
    EXPECT_EQ (argbOf (""), 0u);
    // Non-ASCII characters are skipped, even those whose bytes look like digits elsewhere.
    EXPECT_EQ (argbOf (juce::String::fromUTF8 (u8"\u00e9\uff21a\U0001F600b")), 0xabu);

    // Only the last eight digits count.
    EXPECT_EQ (argbOf ("123456789"), 0x23456789u);
    auto thousandDigits = juce::String::repeatedString ("0123456789abcdef", 62) + "deadbeef";
    ASSERT_EQ (thousandDigits.length(), 1000);
    EXPECT_EQ (argbOf (thousandDigits), 0xdeadbeefu);
}

TEST (SchemeColourText, WrittenInLowerCaseWithoutLeadingZeros)
{
    EXPECT_EQ (SchemeColourText::toText (juce::Colour (0xffd3d3d3)), "ffd3d3d3");
    EXPECT_EQ (SchemeColourText::toText (juce::Colour (0x0a102030)), "a102030");
    EXPECT_EQ (SchemeColourText::toText (juce::Colour (0x00ffffffu)), "ffffff");
    EXPECT_EQ (SchemeColourText::toText (juce::Colour (0x00000001u)), "1");
    EXPECT_EQ (SchemeColourText::toText (juce::Colour (0x00000000u)), "0");

    // Every value reads back as itself.
    juce::Random random (3);
    for (int i = 0; i < 10000; ++i)
    {
        juce::Colour colour ((juce::uint32) random.nextInt() >> (i % 32));
        ASSERT_EQ (argbOf (SchemeColourText::toText (colour)), colour.getARGB());
    }
}
