#include "TweakTestSupport.h"
#include "look/ColourShades.h"
#include "scheme/TweakSliders.h"
#include "support/ui/Pixels.h"
#include "tweak/TweakPanel.h"

#include <gtest/gtest.h>

namespace
{
struct CountingSliderListener : public juce::Slider::Listener
{
    void sliderValueChanged (juce::Slider*) override { ++calls; }
    int calls = 0;
};

std::vector<juce::Slider*> allSliders (TweakPanel& p)
{
    return { &p.slider (TweakSliders::hue), &p.slider (TweakSliders::saturation), &p.slider (TweakSliders::brightness), &p.slider (TweakSliders::red), &p.slider (TweakSliders::green), &p.slider (TweakSliders::blue), &p.slider (TweakSliders::contrastCentre), &p.slider (TweakSliders::contrast) };
}

/** Bounding box of the pixels darker than mid grey inside an area. */
juce::Rectangle<int> darkPixelBounds (const juce::Image& image, juce::Rectangle<int> area)
{
    return testkit::boundsOfPixels (image, area, [] (juce::Colour c)
                                    { return c.getBrightness() < 0.4f; });
}
} // namespace

// The ranges are the ones the command line takes too (scheme/TweakSliders.h);
// what is checked here is that each slider carries its own control's range,
// as the user meets it: dragged past either end it stops there, and it starts
// at the neutral value.
TEST (TweakPanel, SlidersHaveTheirNamesRangesStepsStylesAndNeutralValues)
{
    TweakPanel panel;

    struct Expected
    {
        juce::Slider* slider;
        const char* name;
        TweakRange range;
        juce::Slider::SliderStyle style;
        juce::Slider::TextEntryBoxPosition textBox;
    };

    const auto vertical = juce::Slider::LinearVertical;
    const auto horizontal = juce::Slider::LinearHorizontal;
    const Expected expected[] = {
        { &panel.slider (TweakSliders::hue), "Hue", TweakSliders::all[TweakSliders::hue].range, vertical, juce::Slider::TextBoxLeft },
        { &panel.slider (TweakSliders::saturation), "Saturation", TweakSliders::all[TweakSliders::saturation].range, vertical, juce::Slider::TextBoxLeft },
        { &panel.slider (TweakSliders::brightness), "Brightness", TweakSliders::all[TweakSliders::brightness].range, vertical, juce::Slider::TextBoxLeft },
        { &panel.slider (TweakSliders::red), "Red", TweakSliders::all[TweakSliders::red].range, vertical, juce::Slider::TextBoxLeft },
        { &panel.slider (TweakSliders::green), "Green", TweakSliders::all[TweakSliders::green].range, vertical, juce::Slider::TextBoxLeft },
        { &panel.slider (TweakSliders::blue), "Blue", TweakSliders::all[TweakSliders::blue].range, vertical, juce::Slider::TextBoxLeft },
        { &panel.slider (TweakSliders::contrastCentre), "ContrastCentre", TweakSliders::all[TweakSliders::contrastCentre].range, horizontal, juce::Slider::NoTextBox },
        { &panel.slider (TweakSliders::contrast), "ContrastValue", TweakSliders::all[TweakSliders::contrast].range, horizontal, juce::Slider::NoTextBox },
    };

    for (const auto& e : expected)
    {
        SCOPED_TRACE (e.name);
        EXPECT_EQ (e.slider->getName(), e.name);
        EXPECT_EQ (e.slider->getParentComponent(), &panel);
        EXPECT_TRUE (e.slider->isVisible());
        EXPECT_EQ (e.slider->getValue(), e.range.neutral);
        EXPECT_EQ (e.slider->getInterval(), e.range.step);
        EXPECT_EQ (e.slider->getSliderStyle(), e.style);
        EXPECT_EQ (e.slider->getTextBoxPosition(), e.textBox);
        EXPECT_TRUE (e.slider->getTooltip().isEmpty());

        e.slider->setValue (1.0e9, juce::dontSendNotification);
        EXPECT_EQ (e.slider->getValue(), e.range.maximum);
        e.slider->setValue (-1.0e9, juce::dontSendNotification);
        EXPECT_EQ (e.slider->getValue(), e.range.minimum);
        e.slider->setValue (e.range.neutral, juce::dontSendNotification);
    }

    for (auto* s : { &panel.slider (TweakSliders::hue), &panel.slider (TweakSliders::red) })
    {
        EXPECT_EQ (s->getTextBoxWidth(), 80);
        EXPECT_EQ (s->getTextBoxHeight(), 20);
        EXPECT_FALSE (s->isTextBoxEditable() == false);
    }

    for (auto* s : { &panel.slider (TweakSliders::contrastCentre), &panel.slider (TweakSliders::contrast) })
    {
        EXPECT_EQ (s->getTextBoxWidth(), 0);
        EXPECT_EQ (s->getTextBoxHeight(), 0);
        EXPECT_FALSE (s->isTextBoxEditable());
    }

    // Offsets are whole numbers in range; the others are continuous.
    panel.slider (TweakSliders::red).setValue (12.6, juce::dontSendNotification);
    EXPECT_EQ (panel.slider (TweakSliders::red).getValue(), 13.0);
    panel.slider (TweakSliders::green).setValue (-300.0, juce::dontSendNotification);
    EXPECT_EQ (panel.slider (TweakSliders::green).getValue(), -255.0);
    panel.slider (TweakSliders::hue).setValue (0.123, juce::dontSendNotification);
    EXPECT_EQ (panel.slider (TweakSliders::hue).getValue(), 0.123);
    panel.slider (TweakSliders::saturation).setValue (1.2345, juce::dontSendNotification);
    EXPECT_EQ (panel.slider (TweakSliders::saturation).getValue(), 1.2345);
}

TEST (TweakPanel, ButtonsHaveTheirTextsTooltipsAndColours)
{
    TweakPanel panel;

    EXPECT_EQ (panel.applyButton.getButtonText(), "Apply");
    EXPECT_EQ (panel.applyButton.getTooltip(), "Click to apply the current tweak");
    EXPECT_EQ (panel.resetButton.getButtonText(), "Reset");
    EXPECT_EQ (panel.resetButton.getTooltip(), "Click to reset the sliders.");
    EXPECT_EQ (panel.invertButton.getButtonText(), "Invert");
    EXPECT_EQ (panel.invertButton.getTooltip(), "Click to invert all the colours.");
    EXPECT_EQ (panel.forceHueButton.getButtonText(), "Force hue...");

    for (juce::Button* b : { (juce::Button*) &panel.applyButton, (juce::Button*) &panel.resetButton, (juce::Button*) &panel.forceHueButton })
    {
        SCOPED_TRACE (b->getButtonText());
        EXPECT_EQ (b->getParentComponent(), &panel);
        EXPECT_EQ (b->findColour (juce::TextButton::buttonColourId).getARGB(), 0xffa3c0f4u);
        EXPECT_EQ (b->findColour (juce::TextButton::buttonOnColourId).getARGB(), 0xffa3c0f4u);
    }

    EXPECT_FALSE (panel.invertButton.isColourSpecified (juce::TextButton::buttonColourId));
    EXPECT_FALSE (panel.invertButton.isColourSpecified (juce::TextButton::buttonOnColourId));
}

TEST (TweakPanel, BrighteningTruncatesWithAFloatFactor)
{
    EXPECT_EQ (TweakPanel::buttonColour().getARGB(), 0xffa3c0f4u);
    EXPECT_EQ (ColourShades::brightened (juce::Colour (0xff6495ed), 0.7).getARGB(), 0xffa3c0f4u);

    // Alpha is kept; amount 0 changes nothing; white stays white.
    EXPECT_EQ (ColourShades::brightened (juce::Colour (0x806495ed), 0.7).getARGB(), 0x80a3c0f4u);
    EXPECT_EQ (ColourShades::brightened (juce::Colour (0xff123456), 0.0).getARGB(), 0xff123456u);
    EXPECT_EQ (ColourShades::brightened (juce::Colour (0xffffffff), 3.0).getARGB(), 0xffffffffu);

    // 255 - 0.5 * 255 = 127.5 truncates to 127; 255 - 0.5 * 1 = 254.5 to 254.
    EXPECT_EQ (ColourShades::brightened (juce::Colour (0xff0000fe), 1.0).getARGB(), 0xff7f7ffeu);
}

TEST (TweakPanel, ResetSlidersReturnsAllEightToNeutralWithoutNotifying)
{
    TweakPanel panel;
    CountingSliderListener listener;

    for (auto* s : allSliders (panel))
        s->addListener (&listener);

    // As a user would move them: with notifications.
    for (auto* s : allSliders (panel))
        s->setValue (s->getMinimum() + 0.25 * (s->getMaximum() - s->getMinimum()) + 0.1, juce::sendNotificationSync);
    EXPECT_EQ (listener.calls, 8);

    panel.resetSliders();
    EXPECT_EQ (listener.calls, 8);

    const double neutral[] = { 0.0, 1.0, 1.0, 0.0, 0.0, 0.0, 0.5, 0.0 };
    auto sliders = allSliders (panel);
    for (size_t i = 0; i < sliders.size(); ++i)
        EXPECT_EQ (sliders[i]->getValue(), neutral[i]) << sliders[i]->getName();

    for (auto* s : allSliders (panel))
        s->removeListener (&listener);
}

TEST (TweakPanel, LayoutIsFixedAtEverySize)
{
    TweakPanel panel;

    for (auto size : { juce::Point<int> (130, 332), juce::Point<int> (300, 700), juce::Point<int> (10, 10) })
    {
        panel.setSize (size.x, size.y);
        SCOPED_TRACE (size.toString());

        EXPECT_EQ (panel.slider (TweakSliders::red).getBounds(), juce::Rectangle<int> (15, 0, 20, 100));
        EXPECT_EQ (panel.slider (TweakSliders::green).getBounds(), juce::Rectangle<int> (60, 0, 20, 100));
        EXPECT_EQ (panel.slider (TweakSliders::blue).getBounds(), juce::Rectangle<int> (105, 0, 20, 100));
        EXPECT_EQ (panel.slider (TweakSliders::hue).getBounds(), juce::Rectangle<int> (15, 105, 20, 100));
        EXPECT_EQ (panel.slider (TweakSliders::saturation).getBounds(), juce::Rectangle<int> (60, 105, 20, 100));
        EXPECT_EQ (panel.slider (TweakSliders::brightness).getBounds(), juce::Rectangle<int> (105, 105, 20, 100));
        EXPECT_EQ (panel.resetButton.getBounds(), juce::Rectangle<int> (0, 215, 130, 20));
        EXPECT_EQ (panel.applyButton.getBounds(), juce::Rectangle<int> (0, 240, 130, 20));
        EXPECT_EQ (panel.forceHueButton.getBounds(), juce::Rectangle<int> (0, 295, 130, 20));
        EXPECT_EQ (panel.forceHueButton.getBottom(), 315);

        // Placed in the free band and below the force-hue button, within the
        // 130 x 332 the panel gets in the smallest main window.
        EXPECT_EQ (panel.slider (TweakSliders::contrast).getBounds(), juce::Rectangle<int> (55, 261, 75, 16));
        EXPECT_EQ (panel.slider (TweakSliders::contrastCentre).getBounds(), juce::Rectangle<int> (55, 278, 75, 16));
        EXPECT_EQ (panel.invertButton.getBounds(), juce::Rectangle<int> (0, 316, 130, 16));
    }
}

TEST (TweakPanel, PaintsTranslucentPadsAndRotatedLabels)
{
    TweakPanel panel;
    panel.setSize (130, 332);

    const auto background = juce::Colour (0xff000000);
    const auto image = tweaktest::paintOver (panel, background);

    // White at alpha 0x80 over black (JUCE's blend gives 0x7f), in each pad
    // beside its slider and clear of its label.
    for (auto pad : { juce::Point<int> (0, 0), { 45, 0 }, { 90, 0 }, { 0, 105 }, { 45, 105 }, { 90, 105 } })
    {
        EXPECT_EQ (image.getPixelAt (pad.x + 2, pad.y + 30).getARGB(), 0xff7f7f7fu) << pad.toString();
        EXPECT_EQ (image.getPixelAt (pad.x + 38, pad.y + 50).getARGB(), 0xff7f7f7fu) << pad.toString();

        // Rounded corners of size 10: the very corner stays almost background.
        EXPECT_LT (image.getPixelAt (pad.x, pad.y).getRed(), 0x40) << pad.toString();
    }

    // Nothing between the pads.
    EXPECT_EQ (image.getPixelAt (42, 50), background);
    EXPECT_EQ (image.getPixelAt (20, 102), background);

    // The same pads on a transparent image carry exactly alpha 0x80.
    {
        juce::Image clear (juce::Image::ARGB, 130, 332, true);
        juce::Graphics g (clear);
        panel.paint (g);

        for (auto pad : { juce::Point<int> (0, 0), { 45, 0 }, { 90, 0 }, { 0, 105 }, { 45, 105 }, { 90, 105 } })
        {
            const auto p = clear.getPixelAt (pad.x + 20, pad.y + 5);
            EXPECT_EQ (p.getAlpha(), 0x80) << pad.toString();
            EXPECT_GE (p.getRed(), 0xfd); // white, give or take the unpremultiplying
        }
    }

    // The labels: black text running up each pad from its baseline start,
    // the letters left of the baseline, as long as the text is wide.
    const juce::Font font (12.0f, juce::Font::plain);
    const struct
    {
        const char* text;
        int x, y;
    } labels[] = { { "Red", 15, 90 }, { "Green", 60, 90 }, { "Blue", 105, 90 }, { "Hue", 15, 195 }, { "Saturation", 60, 195 }, { "Brightness", 105, 195 } };

    const auto onWhite = tweaktest::paintOver (panel, juce::Colour (0xffffffff));

    for (const auto& label : labels)
    {
        SCOPED_TRACE (label.text);
        const auto area = juce::Rectangle<int> (label.x - 15, label.y - 85, 15 + 4, 95);
        const auto ink = darkPixelBounds (onWhite, area);

        ASSERT_FALSE (ink.isEmpty());
        const auto width = font.getStringWidthFloat (label.text);
        EXPECT_NEAR ((float) ink.getHeight(), width, 3.0f);
        EXPECT_NEAR (ink.getBottom(), label.y, 2);
        EXPECT_LE (ink.getRight(), label.x + 4); // only descenders cross the baseline
        EXPECT_GE (ink.getX(), label.x - (int) font.getAscent() - 1);
        EXPECT_GT (ink.getHeight(), ink.getWidth());
    }

    // The contrast labels in white, left of their sliders.
    const auto contrastInk = testkit::countPixels (image, { 0, 261, 55, 294 - 261 }, [] (juce::Colour c)
                                                   { return c.getBrightness() > 0.7f; });
    EXPECT_GT (contrastInk, 40);
}
