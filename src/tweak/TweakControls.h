#pragma once

#include <juce_gui_basics/juce_gui_basics.h>

#include "scheme/TweakSliders.h"

#include <vector>

class PendingTweak;
class TweakPanel;

/** One slider of the tweak panel: what the model's row of it (TweakSliders)
    leaves to the window. */
struct TweakControl
{
    TweakSliders::Id id;

    /** Where the slider sits in the panel. A vertical slider stands on a pad
        around it; a horizontal one is a row with its label on the left. */
    juce::Rectangle<int> bounds;
    bool vertical;

    const TweakSliders::Slider& model() const noexcept { return TweakSliders::all[id]; }

    /** Records the panel's values of this control (and of the one it moves
        with) as a slider move. */
    void setOnTweak (PendingTweak& tweak, const TweakPanel& panel) const;
};

/** Every slider of the tweak panel, in the model's order. */
extern const std::vector<TweakControl> tweakControls;
