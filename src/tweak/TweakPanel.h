#pragma once

#include "hue/HueForceButton.h"

#include <juce_gui_basics/juce_gui_basics.h>

/** The column of tweak controls: six vertical sliders on translucent pads with
    rotated labels, two contrast sliders, and the Reset, Apply, Invert and
    force-hue buttons. The owner listens to all of them. */
class TweakPanel : public juce::Component
{
public:
    TweakPanel();
    ~TweakPanel() override;

    /** Every slider back to its neutral value, without notifying listeners. */
    void resetSliders();

    /** Cornflower blue brightened by 0.7: the colour of Apply, Reset and force hue. */
    static juce::Colour buttonColour() noexcept;

    void paint (juce::Graphics& g) override;
    void resized() override;

    juce::Slider hueSlider { "Hue" };
    juce::Slider saturationSlider { "Saturation" };
    juce::Slider brightnessSlider { "Brightness" };
    juce::Slider redSlider { "Red" };
    juce::Slider greenSlider { "Green" };
    juce::Slider blueSlider { "Blue" };
    juce::Slider contrastCentreSlider { "ContrastCentre" };
    juce::Slider contrastValueSlider { "ContrastValue" };
    HueForceButton forceHueButton;
    juce::TextButton applyButton { "Apply", "Click to apply the current tweak" };
    juce::TextButton resetButton { "Reset", "Click to reset the sliders." };
    juce::TextButton invertButton { "Invert", "Click to invert all the colours." };

private:
    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (TweakPanel)
};
