#include "look/ColourShades.h"
#include "look/LameOLook.h"

#include <gtest/gtest.h>

namespace
{
const juce::Colour cornflower (0xff6495ed);

juce::Image blankImage (int w, int h)
{
    return juce::Image (juce::Image::ARGB, w, h, true);
}

bool isEmpty (const juce::Image& image, int x, int y)
{
    return image.getPixelAt (x, y).getAlpha() == 0;
}

::testing::AssertionResult isNear (juce::Colour actual, juce::Colour expected, int tolerance)
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

// Half of a colour, as 50% black over it leaves it.
juce::Colour underOutline (juce::Colour c)
{
    return juce::Colour ((juce::uint8) (c.getRed() / 2), (juce::uint8) (c.getGreen() / 2), (juce::uint8) (c.getBlue() / 2));
}

// Bounds of all pixels that are not fully transparent.
juce::Rectangle<int> paintedBounds (const juce::Image& image)
{
    juce::Rectangle<int> bounds;

    for (int y = 0; y < image.getHeight(); ++y)
        for (int x = 0; x < image.getWidth(); ++x)
            if (! isEmpty (image, x, y))
                bounds = bounds.isEmpty() ? juce::Rectangle<int> (x, y, 1, 1)
                                          : bounds.getUnion ({ x, y, 1, 1 });

    return bounds;
}

int alphaSumOfRow (const juce::Image& image, int y)
{
    int sum = 0;
    for (int x = 0; x < image.getWidth(); ++x)
        sum += image.getPixelAt (x, y).getAlpha();
    return sum;
}

int alphaSumOfColumn (const juce::Image& image, int x)
{
    int sum = 0;
    for (int y = 0; y < image.getHeight(); ++y)
        sum += image.getPixelAt (x, y).getAlpha();
    return sum;
}

bool imagesEqual (const juce::Image& a, const juce::Image& b)
{
    for (int y = 0; y < a.getHeight(); ++y)
        for (int x = 0; x < a.getWidth(); ++x)
            if (a.getPixelAt (x, y) != b.getPixelAt (x, y))
                return false;
    return true;
}
} // namespace

//==============================================================================
TEST (LameOLook, ColourArithmeticIsExact)
{
    // Integer oracles: 1 + a is 6/5, 7/5, 3/2 and 17/10 for the amounts the look uses.
    struct Amount
    {
        double amount;
        int num, den; // 1 / (1 + amount) = num / den
    };

    for (auto [amount, num, den] : { Amount { 0.2, 5, 6 }, Amount { 0.4, 5, 7 }, Amount { 0.5, 2, 3 }, Amount { 0.7, 10, 17 } })
    {
        for (int c = 0; c < 256; ++c)
        {
            const auto colour = juce::Colour ((juce::uint8) c, (juce::uint8) (255 - c), (juce::uint8) c, (juce::uint8) 0x7f);
            const auto darker = ColourShades::darkened (colour, amount);
            const auto brighter = ColourShades::brightened (colour, amount);

            const auto down = [num = num, den = den] (int v)
            { return v * num / den; };
            const auto up = [num = num, den = den] (int v)
            { return 255 - ((255 - v) * num + den - 1) / den; };

            ASSERT_EQ (darker.getRed(), down (c)) << amount << " " << c;
            ASSERT_EQ (darker.getGreen(), down (255 - c)) << amount << " " << c;
            ASSERT_EQ (darker.getAlpha(), 0x7f);
            ASSERT_EQ (brighter.getRed(), up (c)) << amount << " " << c;
            ASSERT_EQ (brighter.getGreen(), up (255 - c)) << amount << " " << c;
            ASSERT_EQ (brighter.getAlpha(), 0x7f);
        }
    }

    EXPECT_EQ (ColourShades::brightened (cornflower, 0.7), juce::Colour (0xffa3c0f4));
    EXPECT_EQ (ColourShades::brightened (cornflower, 0.4), juce::Colour (0xff90b3f2));
    EXPECT_EQ (ColourShades::darkened (cornflower, 0.4), juce::Colour (0xff476aa9));
    EXPECT_EQ (ColourShades::darkened (cornflower, 0.3), juce::Colour (0xff4c72b6));
}

TEST (LameOLook, ColoursOfTheLook)
{
    LameOLook look;

    EXPECT_EQ (look.findColour (juce::Slider::thumbColourId), juce::Colour (0xff6495ed));
    EXPECT_EQ (look.findColour (juce::ScrollBar::trackColourId), juce::Colour (0xffdce4f4));
    EXPECT_EQ (look.findColour (juce::ScrollBar::thumbColourId), juce::Colour (0xff476aa9));
    EXPECT_EQ (look.findColour (juce::Slider::backgroundColourId), juce::Colour (0xff6495ed));
    EXPECT_EQ (look.findColour (juce::PopupMenu::highlightedBackgroundColourId), juce::Colour (0xff6495ed));
    EXPECT_EQ (look.findColour (juce::PopupMenu::highlightedTextColourId), juce::Colour (0xffffffff));
    EXPECT_EQ (look.findColour (juce::PopupMenu::backgroundColourId), juce::Colour (0xffeef5f8));
    EXPECT_EQ (look.findColour (juce::PopupMenu::textColourId), juce::Colour (0xff000000));

    // The track is the brightened blue with only its saturation changed.
    EXPECT_EQ (juce::Colour (0xffa3c0f4).withSaturation (0.1f), juce::Colour (0xffdce4f4));
}

TEST (LameOLook, ScrollBarsShareTheSlidersDropShadow)
{
    LameOLook look;
    juce::Slider slider;

    auto* effect = look.getScrollbarEffect();
    EXPECT_NE (dynamic_cast<juce::DropShadowEffect*> (effect), nullptr);
    EXPECT_EQ (effect, look.getSliderEffect (slider));
}

//==============================================================================
TEST (LameOLook, GradientBoxRunsFromTheColourToItsRotatedDarkerBottom)
{
    // Hue 0.607 + 0.1 gives (133, 100, 237), darkened by 0.2.
    const juce::Colour bottom (0xff6e53c5);
    EXPECT_EQ (LameOLook::gradientBottomColour (cornflower, 0.1f), bottom);

    auto image = blankImage (40, 200);
    {
        juce::Graphics g (image);
        LameOLook::drawGradientBox (g, cornflower, 40.0f, 200.0f, false, 0.0f, 0.0f, 0.1f);
    }

    for (int x : { 0, 20, 39 })
    {
        EXPECT_EQ (image.getPixelAt (x, 0), cornflower);
        EXPECT_TRUE (isNear (image.getPixelAt (x, 199), bottom, 1));
        EXPECT_TRUE (isNear (image.getPixelAt (x, 100), cornflower.interpolatedWith (bottom, 0.5f), 1));
    }
}

TEST (LameOLook, InsetGradientBoxKeepsTheFullHeightGradient)
{
    const auto bottom = LameOLook::gradientBottomColour (cornflower, 0.1f);
    auto image = blankImage (40, 200);
    {
        juce::Graphics g (image);
        LameOLook::drawGradientBox (g, cornflower, 40.0f, 200.0f, false, 5.0f, 40.0f, 0.1f);
    }

    EXPECT_TRUE (isEmpty (image, 4, 100));
    EXPECT_TRUE (isEmpty (image, 35, 100));
    EXPECT_TRUE (isEmpty (image, 20, 39));
    EXPECT_TRUE (isEmpty (image, 20, 160));
    // The first inset row is a fifth of the way down the gradient, not the top colour.
    EXPECT_TRUE (isNear (image.getPixelAt (5, 40), cornflower.interpolatedWith (bottom, 0.2f), 1));
    EXPECT_TRUE (isNear (image.getPixelAt (34, 159), cornflower.interpolatedWith (bottom, 0.8f), 1));
}

TEST (LameOLook, GradientBoxOutlineIsHalfBlackOnTruncatedPixels)
{
    auto image = blankImage (40, 100);
    {
        juce::Graphics g (image);
        LameOLook::drawGradientBox (g, cornflower, 40.0f, 100.0f, true, 0.0f, 0.0f, 0.1f);
    }

    EXPECT_TRUE (isNear (image.getPixelAt (20, 0), underOutline (cornflower), 1));
    EXPECT_TRUE (isNear (image.getPixelAt (20, 1), cornflower, 1));
    EXPECT_EQ (image.getPixelAt (0, 50).getAlpha(), 0xff);
    EXPECT_LT (image.getPixelAt (0, 50).getBlue(), image.getPixelAt (1, 50).getBlue() * 3 / 4);
    EXPECT_LT (image.getPixelAt (39, 50).getBlue(), image.getPixelAt (38, 50).getBlue() * 3 / 4);

    // Insets of 2.7 and 3.5: the frame is (2, 3, 34, 93), whole pixels.
    auto inset = blankImage (40, 100);
    {
        juce::Graphics g (inset);
        LameOLook::drawGradientBox (g, juce::Colours::white, 40.0f, 100.0f, true, 2.7f, 3.5f, 0.0f);
    }

    const auto framed = [&] (int x, int y)
    {
        const auto c = inset.getPixelAt (x, y);
        return c.getAlpha() >= 0x80 && c.getRed() < 0x80;
    };
    const auto filledOnly = [&] (int x, int y)
    { return inset.getPixelAt (x, y).getRed() > 0xc0; };

    EXPECT_TRUE (isEmpty (inset, 1, 50));
    EXPECT_TRUE (framed (2, 50));
    EXPECT_TRUE (filledOnly (3, 50));
    EXPECT_TRUE (framed (20, 3));
    EXPECT_TRUE (filledOnly (20, 4));
    EXPECT_TRUE (framed (35, 50));
    EXPECT_TRUE (filledOnly (36, 50));
    EXPECT_TRUE (framed (20, 95));
    EXPECT_FALSE (framed (20, 96));
    EXPECT_TRUE (isEmpty (inset, 20, 97));
}

//==============================================================================
TEST (LameOLook, ButtonStatesBrightenTheBackground)
{
    LameOLook look;
    juce::TextButton button ("Apply");
    button.setSize (60, 200);

    const auto draw = [&] (bool over, bool down)
    {
        auto image = blankImage (60, 200);
        juce::Graphics g (image);
        look.drawButtonBackground (g, button, cornflower, over, down);
        return image;
    };

    const juce::Colour normal = cornflower;
    const juce::Colour hovered (0xff7da6f0); // brightened by 0.2; 255 - 18 / 1.2 is exactly 240
    const juce::Colour pressed (0xff97b8f3); // brightened by 0.5

    struct State
    {
        bool over, down;
        juce::Colour expected;
    };

    for (auto state : { State { false, false, normal }, State { true, false, hovered }, State { false, true, pressed }, State { true, true, pressed } })
    {
        const auto image = draw (state.over, state.down);
        EXPECT_TRUE (isNear (image.getPixelAt (30, 1), state.expected, 1));
        EXPECT_TRUE (isNear (image.getPixelAt (30, 0), underOutline (state.expected), 1));
        EXPECT_TRUE (isNear (image.getPixelAt (30, 198), LameOLook::gradientBottomColour (state.expected, 0.1f), 1));

        // Square corners with the same frame in every state.
        EXPECT_EQ (image.getPixelAt (0, 0).getAlpha(), 0xff);
        EXPECT_EQ (image.getPixelAt (59, 199).getAlpha(), 0xff);
        EXPECT_TRUE (isNear (image.getPixelAt (0, 100), underOutline (image.getPixelAt (1, 100)), 1));
    }
}

TEST (LameOLook, TextButtonPaintsThroughTheLook)
{
    LameOLook look;
    juce::TextButton button;
    button.setLookAndFeel (&look);
    button.setColour (juce::TextButton::buttonColourId, juce::Colour (0xffa3c0f4));
    button.setBounds (0, 0, 130, 20);

    const auto image = button.createComponentSnapshot (button.getLocalBounds());
    EXPECT_TRUE (isNear (image.getPixelAt (65, 0), underOutline (juce::Colour (0xffa3c0f4)), 1));
    EXPECT_TRUE (isNear (image.getPixelAt (65, 1), juce::Colour (0xffa3c0f4), 4));
    EXPECT_EQ (image.getPixelAt (0, 0).getAlpha(), 0xff);

    button.setLookAndFeel (nullptr);
}

//==============================================================================
TEST (LameOLook, HighlightedMenuItemLeavesTwoPixelsEachSideWithoutOutline)
{
    LameOLook look;
    auto image = blankImage (100, 24);
    {
        juce::Graphics g (image);
        look.drawPopupMenuItem (g, { 0, 0, 100, 24 }, false, true, true, false, false, {}, {}, nullptr, nullptr);
    }

    for (int y : { 0, 12, 23 })
    {
        EXPECT_TRUE (isEmpty (image, 0, y));
        EXPECT_TRUE (isEmpty (image, 1, y));
        EXPECT_TRUE (isEmpty (image, 98, y));
        EXPECT_TRUE (isEmpty (image, 99, y));
        // No frame: the edge columns match the middle of the row.
        EXPECT_EQ (image.getPixelAt (2, y), image.getPixelAt (50, y));
        EXPECT_EQ (image.getPixelAt (97, y), image.getPixelAt (50, y));
    }

    EXPECT_EQ (image.getPixelAt (2, 0), cornflower);
    EXPECT_TRUE (isNear (image.getPixelAt (50, 23), LameOLook::gradientBottomColour (cornflower, 0.05f), 2));
}

TEST (LameOLook, MenuItemTextSitsInItsBoxInTheRightColour)
{
    LameOLook look;

    const auto draw = [&] (bool highlighted, const juce::Colour* colour)
    {
        auto image = blankImage (120, 24);
        juce::Graphics g (image);
        look.drawPopupMenuItem (g, { 0, 0, 120, 24 }, false, true, highlighted, false, false, "WWWWWWWWWWWWWWWWWWWWWW", {}, nullptr, colour);
        return image;
    };

    const auto plain = draw (false, nullptr);
    const auto text = paintedBounds (plain);
    EXPECT_FALSE (text.isEmpty());
    EXPECT_GE (text.getX(), 10);
    EXPECT_LE (text.getRight(), 110);
    EXPECT_GE (text.getY(), 5);
    EXPECT_LE (text.getBottom(), 19);
    EXPECT_EQ (plain.getPixelAt (text.getCentreX(), text.getCentreY()).withAlpha ((juce::uint8) 0xff), juce::Colours::black);

    const auto highlighted = draw (true, nullptr);
    int whitePixels = 0;
    for (int y = 5; y < 19; ++y)
        for (int x = 10; x < 110; ++x)
            if (highlighted.getPixelAt (x, y) == juce::Colours::white)
                ++whitePixels;
    EXPECT_GT (whitePixels, 10);

    const juce::Colour red (0xffff0000);
    const auto own = draw (true, &red);
    int redPixels = 0;
    for (int y = 5; y < 19; ++y)
        for (int x = 10; x < 110; ++x)
            if (own.getPixelAt (x, y) == red)
                ++redPixels;
    EXPECT_GT (redPixels, 10);
}

TEST (LameOLook, MenuItemShowsNoSeparatorTickArrowOrShortcut)
{
    LameOLook look;

    const auto draw = [&] (bool separator, bool active, bool ticked, bool subMenu, const juce::String& shortcut)
    {
        auto image = blankImage (150, 24);
        juce::Graphics g (image);
        look.drawPopupMenuItem (g, { 0, 0, 150, 24 }, separator, active, true, ticked, subMenu, "Open file...", shortcut, nullptr, nullptr);
        return image;
    };

    EXPECT_TRUE (paintedBounds (draw (true, true, false, false, {})).isEmpty());

    const auto reference = draw (false, true, false, false, {});
    EXPECT_TRUE (imagesEqual (draw (false, false, false, false, {}), reference));
    EXPECT_TRUE (imagesEqual (draw (false, true, true, false, {}), reference));
    EXPECT_TRUE (imagesEqual (draw (false, true, false, true, {}), reference));
    EXPECT_TRUE (imagesEqual (draw (false, true, false, false, "Ctrl+O"), reference));
}

TEST (LameOLook, MenuBackgrounds)
{
    LameOLook look;
    const juce::Colour menu (0xffeef5f8);

    auto popup = blankImage (100, 300);
    {
        juce::Graphics g (popup);
        look.drawPopupMenuBackground (g, 100, 300);
    }
    EXPECT_TRUE (isNear (popup.getPixelAt (50, 0), underOutline (menu), 1));
    EXPECT_TRUE (isNear (popup.getPixelAt (50, 1), menu, 1));
    EXPECT_TRUE (isNear (popup.getPixelAt (50, 298), LameOLook::gradientBottomColour (menu, 0.1f), 1));

    juce::MenuBarComponent bar;
    bar.setLookAndFeel (&look);
    auto barImage = blankImage (200, 24);
    {
        juce::Graphics g (barImage);
        look.drawMenuBarBackground (g, 200, 24, false, bar);
    }
    EXPECT_EQ (barImage.getPixelAt (0, 0), menu);
    EXPECT_EQ (barImage.getPixelAt (199, 0), menu);
    EXPECT_TRUE (isNear (barImage.getPixelAt (100, 23), LameOLook::gradientBottomColour (menu, 0.1f), 2));
}

//==============================================================================
TEST (LameOLook, VerticalSliderThumbIsCentredOnTheValue)
{
    LameOLook look;
    juce::Slider slider (juce::Slider::LinearVertical, juce::Slider::NoTextBox);
    slider.setLookAndFeel (&look);
    slider.setSize (20, 100);

    // The track area starts at y 8; sliderPos is in the slider's own coordinates.
    auto image = blankImage (20, 100);
    {
        juce::Graphics g (image);
        look.drawLinearSlider (g, 0, 8, 20, 84, 50.0f, 92.0f, 8.0f, juce::Slider::LinearVertical, slider);
    }

    // Track: 5 free pixels on each side, only within the track area.
    EXPECT_TRUE (isEmpty (image, 4, 30));
    EXPECT_FALSE (isEmpty (image, 5, 30));
    EXPECT_FALSE (isEmpty (image, 14, 30));
    EXPECT_TRUE (isEmpty (image, 15, 30));
    EXPECT_TRUE (isEmpty (image, 10, 7));
    EXPECT_FALSE (isEmpty (image, 10, 8));
    EXPECT_FALSE (isEmpty (image, 10, 91));
    EXPECT_TRUE (isEmpty (image, 10, 92));

    // Thumb: rows 45 to 54, 2 free pixels on each side.
    for (int y = 0; y < 100; ++y)
        EXPECT_EQ (isEmpty (image, 3, y), y < 45 || y > 54) << y;

    EXPECT_TRUE (isEmpty (image, 1, 50));
    EXPECT_FALSE (isEmpty (image, 2, 50));
    EXPECT_FALSE (isEmpty (image, 17, 50));
    EXPECT_TRUE (isEmpty (image, 18, 50));

    // The thumb's top edge is its frame over its own colour.
    EXPECT_TRUE (isNear (image.getPixelAt (10, 45), underOutline (juce::Colour (0xff90b3f2)), 1));
    EXPECT_TRUE (isNear (image.getPixelAt (10, 30), cornflower.interpolatedWith (LameOLook::gradientBottomColour (cornflower, 0.1f), 22.0f / 84.0f), 2));
}

TEST (LameOLook, HorizontalSliderThumbIsCentredOnTheValue)
{
    LameOLook look;
    juce::Slider slider (juce::Slider::LinearHorizontal, juce::Slider::NoTextBox);
    slider.setLookAndFeel (&look);
    slider.setSize (100, 20);

    auto image = blankImage (100, 20);
    {
        juce::Graphics g (image);
        look.drawLinearSlider (g, 8, 0, 84, 20, 40.0f, 8.0f, 92.0f, juce::Slider::LinearHorizontal, slider);
    }

    EXPECT_TRUE (isEmpty (image, 20, 4));
    EXPECT_FALSE (isEmpty (image, 20, 5));
    EXPECT_FALSE (isEmpty (image, 20, 14));
    EXPECT_TRUE (isEmpty (image, 20, 15));
    EXPECT_TRUE (isEmpty (image, 7, 10));
    EXPECT_FALSE (isEmpty (image, 8, 10));
    EXPECT_FALSE (isEmpty (image, 91, 10));
    EXPECT_TRUE (isEmpty (image, 92, 10));

    for (int x = 0; x < 100; ++x)
        EXPECT_EQ (isEmpty (image, x, 3), x < 35 || x > 44) << x;

    EXPECT_TRUE (isEmpty (image, 40, 1));
    EXPECT_FALSE (isEmpty (image, 40, 2));
    EXPECT_FALSE (isEmpty (image, 40, 17));
    EXPECT_TRUE (isEmpty (image, 40, 18));
}

//==============================================================================
TEST (LameOLook, ScrollBarTrackAndThumb)
{
    LameOLook look;
    juce::ScrollBar bar (true);
    bar.setLookAndFeel (&look);
    bar.setSize (18, 200);
    ASSERT_EQ (look.getScrollbarButtonSize (bar), 20);

    // Thumb area from 20 to 180; thumb from 60, 40 long.
    auto image = blankImage (18, 200);
    {
        juce::Graphics g (image);
        look.drawScrollbar (g, bar, 0, 20, 18, 160, true, 60, 40, false, false);
    }

    const juce::Colour track (0xffdce4f4);
    const juce::Colour thumb (0xff476aa9);

    // Track: (6, 26) to (12, 174).
    EXPECT_TRUE (isEmpty (image, 8, 25));
    const auto trackAt = [&] (float proportion)
    { return track.interpolatedWith (LameOLook::gradientBottomColour (track, 0.1f), proportion); };
    EXPECT_TRUE (isNear (image.getPixelAt (8, 26), underOutline (trackAt (6.0f / 160.0f)), 1));
    EXPECT_TRUE (isNear (image.getPixelAt (8, 27), trackAt (7.0f / 160.0f), 1));
    EXPECT_FALSE (isEmpty (image, 8, 173));
    EXPECT_TRUE (isEmpty (image, 8, 174));
    EXPECT_TRUE (isEmpty (image, 5, 150));
    EXPECT_FALSE (isEmpty (image, 6, 150));
    EXPECT_FALSE (isEmpty (image, 11, 150));
    EXPECT_TRUE (isEmpty (image, 12, 150));

    // Thumb: (3, 63) to (15, 97).
    for (int y = 0; y < 200; ++y)
        EXPECT_EQ (isEmpty (image, 4, y), y < 63 || y > 96) << y;

    EXPECT_TRUE (isEmpty (image, 2, 80));
    EXPECT_FALSE (isEmpty (image, 3, 80));
    EXPECT_FALSE (isEmpty (image, 14, 80));
    EXPECT_TRUE (isEmpty (image, 15, 80));
    // Its gradient spans the thumb's full length, inset included.
    const auto thumbAt = [&] (float proportion)
    { return thumb.interpolatedWith (LameOLook::gradientBottomColour (thumb, 0.1f), proportion); };
    EXPECT_TRUE (isNear (image.getPixelAt (8, 63), underOutline (thumbAt (3.0f / 40.0f)), 1));
    EXPECT_TRUE (isNear (image.getPixelAt (8, 64), thumbAt (4.0f / 40.0f), 1));
    EXPECT_TRUE (isNear (image.getPixelAt (8, 95), thumbAt (35.0f / 40.0f), 1));
}

TEST (LameOLook, ScrollBarButtonsAreArrowsFiveInFromTheEdges)
{
    LameOLook look;
    juce::ScrollBar bar (true);
    bar.setLookAndFeel (&look);
    bar.setSize (18, 200);

    const auto draw = [&] (int direction)
    {
        auto image = blankImage (18, 20);
        juce::Graphics g (image);
        look.drawScrollbarButton (g, bar, 18, 20, direction, true, true, true);
        return image;
    };

    for (int direction = 0; direction < 4; ++direction)
    {
        const auto image = draw (direction);
        EXPECT_EQ (paintedBounds (image), juce::Rectangle<int> (5, 5, 8, 10)) << direction;
        EXPECT_EQ (image.getPixelAt (9, 10), juce::Colour (0xff476aa9)) << direction;

        // The point is on the arrow's side, the wide base opposite it.
        switch (direction)
        {
            case 0:
                EXPECT_LT (alphaSumOfRow (image, 5), alphaSumOfRow (image, 14));
                break;
            case 1:
                EXPECT_GT (alphaSumOfColumn (image, 5), alphaSumOfColumn (image, 12));
                break;
            case 2:
                EXPECT_GT (alphaSumOfRow (image, 5), alphaSumOfRow (image, 14));
                break;
            default:
                EXPECT_LT (alphaSumOfColumn (image, 5), alphaSumOfColumn (image, 12));
                break;
        }
    }

    // The up arrow's point is exactly halfway across.
    const auto up = draw (0);
    EXPECT_EQ (up.getPixelAt (8, 5), up.getPixelAt (9, 5));
}

//==============================================================================
TEST (LameOLook, TitleBarIsAPlainGradientWithoutText)
{
    LameOLook look;
    const juce::Colour background (0xff4c72b6);

    juce::DocumentWindow window ("Tintwright", background, juce::DocumentWindow::allButtons, false);
    window.setLookAndFeel (&look);
    window.setSize (300, 200);

    const auto area = window.getTitleBarArea();
    ASSERT_EQ (area.getHeight(), 26);

    const auto image = window.createComponentSnapshot (window.getLocalBounds());
    EXPECT_EQ (image.getPixelAt (area.getX(), area.getY()), background);
    EXPECT_EQ (image.getPixelAt (area.getCentreX(), area.getY()), background);
    EXPECT_TRUE (isNear (image.getPixelAt (area.getX(), area.getBottom() - 1), LameOLook::gradientBottomColour (background, 0.0f), 2));

    // Every row is one colour up to the buttons: no title text and no icon.
    for (int y = area.getY(); y < area.getBottom(); ++y)
        for (int x = area.getX(); x < area.getCentreX(); ++x)
            ASSERT_EQ (image.getPixelAt (x, y), image.getPixelAt (area.getX(), y)) << x << ", " << y;

    window.setLookAndFeel (nullptr);
}
