#pragma once

#include "hue/HueForceButton.h"
#include "scheme/TweakSliders.h"

#include <juce_gui_basics/juce_gui_basics.h>

#include <array>

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

    /** The sliders by the model's ids (TweakSliders); named, ranged and
        placed from tweakControls (TweakControls.h). */
    juce::Slider& slider (TweakSliders::Id id) noexcept { return sliders[(size_t) id]; }
    const juce::Slider& slider (TweakSliders::Id id) const noexcept { return sliders[(size_t) id]; }

    HueForceButton forceHueButton;
    juce::TextButton applyButton { "Apply", "Click to apply the current tweak" };
    juce::TextButton resetButton { "Reset", "Click to reset the sliders." };
    juce::TextButton invertButton { "Invert", "Click to invert all the colours." };

private:
    std::array<juce::Slider, TweakSliders::count> sliders;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (TweakPanel)
};
