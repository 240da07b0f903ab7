#pragma once

#include <juce_gui_basics/juce_gui_basics.h>

#include "scheme/TweakRanges.h"

#include <vector>

class PendingTweak;
class TweakPanel;

/** One slider of the tweak panel: everything the panel and the group tweaker
    need to know about it. Adding a slider is one row of tweakControls plus
    its maths. */
struct TweakControl
{
    juce::Slider TweakPanel::*slider;
    const char* name; // the component's name
    const char* label; // rotated up its pad, or left of its row
    TweakRange range; // shared with the command line

    /** Where the slider sits in the panel. A vertical slider stands on a pad
        around it; a horizontal one is a row with its label on the left. */
    juce::Rectangle<int> bounds;
    bool vertical;

    /** Records the panel's values of this control as a slider move. */
    void (*setOnTweak) (PendingTweak& tweak, const TweakPanel& panel);
};

/** Every slider of the tweak panel, in creation order. */
extern const std::vector<TweakControl> tweakControls;
