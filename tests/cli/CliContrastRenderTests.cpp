// tintwright-cli as a process: contrast ratios worked out by hand, and the
// render's picture read back.

#include "cli/CliProcess.h"

#include <gtest/gtest.h>
#include <juce_graphics/juce_graphics.h>

using CliProcess::run;
using CliProcess::TempFolder;

namespace
{
const char* schemeText = R"(<?xml version="1.0" encoding="UTF-8"?>
<COLOURS>
  <COLOUR name="Black" colour="ff000000"/>
  <COLOUR name="White" colour="ffffffff"/>
  <COLOUR name="Half black" colour="80000000"/>
  <COLOUR name="Glass" colour="40ffffff"/>
  <COLOUR name="Red" colour="ffff0000"/>
  <COLOUR name="Blue" colour="ff3050c0"/>
  <COLOURGROUPS>
    <COLOURGROUP name="Brights">
      <COLOUR name="Red"/>
      <COLOUR name="Blue"/>
    </COLOURGROUP>
  </COLOURGROUPS>
</COLOURS>
)";
} // namespace

TEST (CliContrast, RatiosWorkedOutByHand)
{
    TempFolder temp;
    const auto path = temp.write ("Scheme.calvastrascheme", schemeText).getFullPathName();

    // Black on white: (1 + 0.05) / (0 + 0.05) = 21. Any colour on itself: 1.
    // Black at alpha 0x80 over white: every channel 255 * (1 - 128/255) = 127,
    // linear ((127/255 + 0.055) / 1.055)^2.4 = 0.21223, ratio 1.05 / 0.26223 = 4.004.
    // White on glass: the glass's alpha is ignored, so white on white.
    const auto text = run ({ "contrast", path, "--pair", "Black", "White", "--pair", "Red", "Red", "--pair", "Half black", "White", "--pair", "White", "Glass" });
    EXPECT_EQ (text.exitCode, 0) << text.err;
    EXPECT_EQ (text.out, "Black on White: 21.00:1  AA pass  AAA pass\n"
                         "Red on Red: 1.00:1  AA fail  AAA fail\n"
                         "Half black on White: 4.00:1  AA fail  AAA fail  (foreground alpha 80 laid over the background)\n"
                         "White on Glass: 1.00:1  AA fail  AAA fail  (background alpha 40 ignored)\n");

    const auto json = run ({ "contrast", path, "--pair", "White", "Black", "--json" });
    EXPECT_EQ (json.out.trim(), R"({"pairs":[{"foreground":"White","background":"Black","ratio":21.00,"aa":true,"aaa":true}]})");

    const auto below = run ({ "contrast", path, "--pair", "Black", "White", "--pair", "Half black", "White", "--min", "4.5" });
    EXPECT_EQ (below.exitCode, 1) << "4.004 is below 4.5";
    EXPECT_TRUE (below.out.contains ("below --min 4.5"));
    EXPECT_EQ (run ({ "contrast", path, "--pair", "Half black", "White", "--min", "4" }).exitCode, 0);

    const auto pairs = temp.write ("Pairs.txt", "# text on panels\nBlack,White\n\n White , Black \n");
    const auto fromFile = run ({ "contrast", path, "--pairs-file", pairs.getFullPathName() });
    EXPECT_EQ (fromFile.out, "Black on White: 21.00:1  AA pass  AAA pass\nWhite on Black: 21.00:1  AA pass  AAA pass\n");

    const auto unknown = run ({ "contrast", path, "--pair", "Black", "Purple" });
    EXPECT_EQ (unknown.exitCode, 2);
    EXPECT_TRUE (unknown.err.contains ("no colour named \"Purple\""));
    EXPECT_EQ (run ({ "contrast", path }).exitCode, 2) << "no pairs";
    EXPECT_EQ (run ({ "contrast", path, "--pair", "Black" }).exitCode, 2) << "half a pair";
}

TEST (CliRender, TheSwatchesHoldTheSchemesColours)
{
    TempFolder temp;
    const auto path = temp.write ("Scheme.calvastrascheme", schemeText).getFullPathName();
    const auto png = temp.folder.getChildFile ("Sheet.png");

    const auto result = run ({ "render", path, "-o", png.getFullPathName() });
    ASSERT_EQ (result.exitCode, 0) << result.err;
    const auto image = juce::ImageFileFormat::loadFrom (png);
    ASSERT_TRUE (image.isValid());

    // The layout of SwatchSheet: a heading line, then a line a colour, 24
    // pixels each from y 8; a swatch 40 by 18 at x 8, 3 pixels into its line.
    const auto swatchPixel = [&image] (int line, int column)
    { return image.getPixelAt (8 + column * 44 + 20, 8 + line * 24 + 12).getARGB(); };

    const juce::uint32 expected[] = { 0xff000000, 0xffffffff, 0, 0, 0xffff0000, 0xff3050c0 };
    for (int i = 0; i < 6; ++i)
        if (expected[i] != 0) // the translucent ones lie over a checkerboard
            EXPECT_EQ (swatchPixel (1 + i, 0), expected[i]) << "colour " << i;

    // Then the group, under its own heading.
    EXPECT_EQ (swatchPixel (8, 0), 0xffff0000u);
    EXPECT_EQ (swatchPixel (9, 0), 0xff3050c0u);
    EXPECT_EQ (image.getHeight(), 8 + 10 * 24 + 8);

    // One group, stored beside tweaked: hue shift 0.5 turns red to cyan.
    ASSERT_EQ (run ({ "render", path, "-o", png.getFullPathName(), "--group", "Brights", "--hue", "0.5" }).exitCode, 0);
    const auto tweaked = juce::ImageFileFormat::loadFrom (png);
    const auto dryRun = run ({ "tweak", path, "--group", "Brights", "--hue", "0.5", "--dry-run" });
    const auto previewOfBlue = (juce::uint32) juce::StringArray::fromTokens (juce::StringArray::fromLines (dryRun.out)[1], " ", "")[1].getHexValue64();

    EXPECT_EQ (tweaked.getPixelAt (8 + 20, 8 + 24 + 12).getARGB(), 0xffff0000u);
    EXPECT_EQ (tweaked.getPixelAt (8 + 44 + 20, 8 + 24 + 12).getARGB(), 0xff00ffffu);
    EXPECT_EQ (tweaked.getPixelAt (8 + 44 + 20, 8 + 48 + 12).getARGB(), previewOfBlue);
    EXPECT_NE (previewOfBlue, 0xff3050c0u);

    // Tweak options belong to a group.
    EXPECT_EQ (run ({ "render", path, "-o", png.getFullPathName(), "--hue", "0.5" }).exitCode, 2);
}
