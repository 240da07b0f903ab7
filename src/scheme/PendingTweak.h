#pragma once

#include "scheme/TweakSliders.h"

/** Slider values on their way to the members of a group: the latest value of
    each parameter that moved. Handing it to a member twice changes nothing
    more than handing it once, so members can take it in any order, and again
    after newer values joined it. */
class PendingTweak
{
public:
    /** Records the slider's value as the slider hands it on. The slider it
        moves with moves too, with the value recorded for it here (its
        neutral value unless one was). */
    void set (TweakSliders::Id slider, double value) noexcept;

    /** Takes every parameter that moved in newer; its values win. */
    void merge (const PendingTweak& newer) noexcept;

    /** Writes the parameters that moved, and only those. */
    void applyTo (TweakMaths::TweakParameters& parameters) const noexcept;

    void clear() noexcept { moved = 0; }

private:
    TweakMaths::TweakParameters values;
    unsigned moved = 0; // a bit for each slider, by its Id
};

/** The tweak's setters by the names the window's code and the command line
    use, for a member and a group alike: each moves its sliders and hands the
    change to the owner's setNow. */
template <typename Owner>
class NamedTweakSetters
{
public:
    void setRedOffset (int offset) { set (TweakSliders::red, offset); }
    void setGreenOffset (int offset) { set (TweakSliders::green, offset); }
    void setBlueOffset (int offset) { set (TweakSliders::blue, offset); }
    void setHueShift (float shift) { set (TweakSliders::hue, shift); }
    void setSaturationMultiplier (float multiplier) { set (TweakSliders::saturation, multiplier); }
    void setBrightnessMultiplier (float multiplier) { set (TweakSliders::brightness, multiplier); }

    /** Both contrast sliders move together. */
    void setContrast (float centre, float amount)
    {
        PendingTweak change;
        change.set (TweakSliders::contrastPair[0], centre);
        change.set (TweakSliders::contrastPair[1], amount);
        static_cast<Owner&> (*this).setNow (change);
    }

private:
    void set (TweakSliders::Id slider, double value)
    {
        PendingTweak change;
        change.set (slider, value);
        static_cast<Owner&> (*this).setNow (change);
    }
};
