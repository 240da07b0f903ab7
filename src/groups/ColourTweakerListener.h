#pragma once

#include <juce_core/juce_core.h>

class ColourTweaker;

/** Told after a group's tweak has been written into the scheme's colours
    (Apply, a direct pick), and whenever what a save would write has changed. */
class ColourTweakerListener
{
public:
    virtual ~ColourTweakerListener() = default;
    virtual void coloursApplied (ColourTweaker* source) = 0;

    /** What a save would write has changed: stored colours (Apply, a direct
        pick) or the groups (add, delete, rename, members added). Slider moves,
        Reset, Invert, Force hue and selection never call it. */
    virtual void schemeEdited (ColourTweaker* source) { juce::ignoreUnused (source); }
};
