#include "tweak/TweakPanel.h"

#include "look/ColourShades.h"
#include "look/UiConstants.h"

#include <cmath>

namespace
{
struct SliderSetting
{
    juce::Slider TweakPanel::*slider;
    double minimum, maximum, step, neutral;
};

// In creation order.
const SliderSetting sliderSettings[] = {
    { &TweakPanel::hueSlider, -0.5, 0.5, 0.0, 0.0 },
    { &TweakPanel::saturationSlider, 0.0, 2.0, 0.0, 1.0 },
    { &TweakPanel::brightnessSlider, 0.0, 2.0, 0.0, 1.0 },
    { &TweakPanel::redSlider, -255.0, 255.0, 1.0, 0.0 },
    { &TweakPanel::greenSlider, -255.0, 255.0, 1.0, 0.0 },
    { &TweakPanel::blueSlider, -255.0, 255.0, 1.0, 0.0 },
    { &TweakPanel::contrastCentreSlider, 0.0, 1.0, 0.0, 0.5 },
    { &TweakPanel::contrastValueSlider, 0.0, 1.0, 0.0, 0.0 },
};

struct PadLabel
{
    const char* text;
    float x, y;
};

const PadLabel padLabels[] = {
    { "Red", 15.0f, 90.0f },
    { "Green", 60.0f, 90.0f },
    { "Blue", 105.0f, 90.0f },
    { "Hue", 15.0f, 195.0f },
    { "Saturation", 60.0f, 195.0f },
    { "Brightness", 105.0f, 195.0f },
};

const juce::Point<int> padPositions[] = { { 0, 0 }, { 45, 0 }, { 90, 0 }, { 0, 105 }, { 45, 105 }, { 90, 105 } };

// The smallest main window leaves the panel 332 pixels high, so the free band
// between Apply and the force-hue button holds the two contrast rows (a label
// on the left, a horizontal slider on the right) and Invert goes below.
constexpr int contrastLabelWidth = 55;
constexpr int contrastRowHeight = 16;
constexpr int contrastValueRowY = 261;
constexpr int contrastCentreRowY = 278;
} // namespace

//==============================================================================
TweakPanel::TweakPanel()
{
    addAndMakeVisible (applyButton);
    addAndMakeVisible (resetButton);
    addAndMakeVisible (invertButton);
    addAndMakeVisible (forceHueButton);

    for (auto* button : { static_cast<juce::Button*> (&applyButton), static_cast<juce::Button*> (&resetButton), static_cast<juce::Button*> (&forceHueButton) })
    {
        button->setColour (juce::TextButton::buttonColourId, buttonColour());
        button->setColour (juce::TextButton::buttonOnColourId, buttonColour());
    }

    for (const auto& setting : sliderSettings)
    {
        auto& slider = this->*setting.slider;
        addAndMakeVisible (slider);
        slider.setRange (setting.minimum, setting.maximum, setting.step);
        slider.setValue (setting.neutral, juce::dontSendNotification);
    }

    for (auto* slider : { &redSlider, &greenSlider, &blueSlider, &hueSlider, &saturationSlider, &brightnessSlider })
        slider->setSliderStyle (juce::Slider::LinearVertical);

    contrastCentreSlider.setTextBoxStyle (juce::Slider::NoTextBox, true, 0, 0);
    contrastValueSlider.setTextBoxStyle (juce::Slider::NoTextBox, true, 0, 0);
}

TweakPanel::~TweakPanel() = default;

void TweakPanel::resetSliders()
{
    for (const auto& setting : sliderSettings)
        (this->*setting.slider).setValue (setting.neutral, juce::dontSendNotification);
}

juce::Colour TweakPanel::buttonColour() noexcept
{
    return ColourShades::brightened (UiConstants::cornflowerBlue, 0.7);
}

void TweakPanel::paint (juce::Graphics& g)
{
    g.setColour (juce::Colour (0x80ffffff)); // white at alpha 0.5

    for (auto pad : padPositions)
        g.fillRoundedRectangle ((float) pad.x, (float) pad.y, 40.0f, 100.0f, 10.0f);

    g.setColour (juce::Colour (0xff000000));
    const juce::Font font (12.0f, juce::Font::plain);
    g.setFont (font);

    for (const auto& label : padLabels)
    {
        // Rotated a quarter turn anticlockwise, so the text runs up the pad
        // from the start of its baseline.
        const auto transform = juce::AffineTransform::rotation (-1.5707964f).translated (label.x, label.y);

        juce::GlyphArrangement glyphs;
        glyphs.addLineOfText (font, label.text, 0.0f, 0.0f);

        juce::Path path;
        glyphs.createPath (path);
        g.fillPath (path, transform);
    }

    g.setColour (juce::Colour (0xffffffff));
    g.drawText ("Contrast", 0, contrastValueRowY, contrastLabelWidth - 4, contrastRowHeight, juce::Justification::centredRight, true);
    g.drawText ("Centre", 0, contrastCentreRowY, contrastLabelWidth - 4, contrastRowHeight, juce::Justification::centredRight, true);
}

void TweakPanel::resized()
{
    redSlider.setBounds (15, 0, 20, 100);
    greenSlider.setBounds (60, 0, 20, 100);
    blueSlider.setBounds (105, 0, 20, 100);
    hueSlider.setBounds (15, 105, 20, 100);
    saturationSlider.setBounds (60, 105, 20, 100);
    brightnessSlider.setBounds (105, 105, 20, 100);
    resetButton.setBounds (0, 215, 130, 20);
    applyButton.setBounds (0, 240, 130, 20);
    invertButton.setBounds (0, 316, 130, 16);
    forceHueButton.setBounds (0, 295, 130, 20);
    contrastValueSlider.setBounds (contrastLabelWidth, contrastValueRowY, 130 - contrastLabelWidth, contrastRowHeight);
    contrastCentreSlider.setBounds (contrastLabelWidth, contrastCentreRowY, 130 - contrastLabelWidth, contrastRowHeight);
}
