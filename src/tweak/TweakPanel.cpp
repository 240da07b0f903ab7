#include "tweak/TweakPanel.h"

#include "look/ColourShades.h"
#include "look/UiConstants.h"
#include "tweak/TweakControls.h"

#include <cmath>

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

    for (const auto& control : tweakControls)
    {
        auto& s = slider (control.id);
        const auto& range = control.model().range;
        s.setName (control.model().componentName);
        addAndMakeVisible (s);
        s.setRange (range.minimum, range.maximum, range.step);
        s.setValue (range.neutral, juce::dontSendNotification);

        if (control.vertical)
            s.setSliderStyle (juce::Slider::LinearVertical);
        else
            s.setTextBoxStyle (juce::Slider::NoTextBox, true, 0, 0);
    }
}

TweakPanel::~TweakPanel() = default;

void TweakPanel::resetSliders()
{
    for (const auto& control : tweakControls)
        slider (control.id).setValue (control.model().range.neutral, juce::dontSendNotification);
}

juce::Colour TweakPanel::buttonColour() noexcept
{
    return ColourShades::brightened (UiConstants::cornflowerBlue, 0.7);
}

void TweakPanel::paint (juce::Graphics& g)
{
    g.setColour (juce::Colour (0x80ffffff)); // white at alpha 0.5

    // A pad reaches 15 pixels either side of its slider.
    for (const auto& control : tweakControls)
        if (control.vertical)
            g.fillRoundedRectangle ((float) control.bounds.getX() - 15.0f, (float) control.bounds.getY(), 40.0f, 100.0f, 10.0f);

    g.setColour (juce::Colour (0xff000000));
    const juce::Font font (12.0f, juce::Font::plain);
    g.setFont (font);

    for (const auto& control : tweakControls)
    {
        if (! control.vertical)
            continue;

        // Rotated a quarter turn anticlockwise, so the text runs up the pad
        // from the start of its baseline, 10 pixels above the pad's foot.
        const auto transform = juce::AffineTransform::rotation (-1.5707964f)
                                   .translated ((float) control.bounds.getX(), (float) control.bounds.getBottom() - 10.0f);

        juce::GlyphArrangement glyphs;
        glyphs.addLineOfText (font, control.model().label, 0.0f, 0.0f);

        juce::Path path;
        glyphs.createPath (path);
        g.fillPath (path, transform);
    }

    g.setColour (juce::Colour (0xffffffff));
    for (const auto& control : tweakControls)
        if (! control.vertical)
            g.drawText (control.model().label, 0, control.bounds.getY(), control.bounds.getX() - 4, control.bounds.getHeight(), juce::Justification::centredRight, true);
}

void TweakPanel::resized()
{
    for (const auto& control : tweakControls)
        slider (control.id).setBounds (control.bounds);

    resetButton.setBounds (0, 215, 130, 20);
    applyButton.setBounds (0, 240, 130, 20);
    invertButton.setBounds (0, 316, 130, 16);
    forceHueButton.setBounds (0, 295, 130, 20);
}
