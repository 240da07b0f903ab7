#pragma once

#include "maths/TweakMaths.h"

/** Slider values on their way to the members of a group: the latest value of
    each parameter that moved. Handing it to a member twice changes nothing
    more than handing it once, so members can take it in any order, and again
    after newer values joined it. */
class PendingTweak
{
public:
    void setRedOffset (int offset) noexcept;
    void setGreenOffset (int offset) noexcept;
    void setBlueOffset (int offset) noexcept;
    void setHueShift (float shift) noexcept;
    void setSaturationMultiplier (float multiplier) noexcept;
    void setBrightnessMultiplier (float multiplier) noexcept;
    void setContrast (float centre, float amount) noexcept;

    /** Takes every parameter that moved in newer; its values win. */
    void merge (const PendingTweak& newer) noexcept;

    /** Writes the parameters that moved, and only those. */
    void applyTo (TweakMaths::TweakParameters& parameters) const noexcept;

    void clear() noexcept { moved = 0; }

private:
    enum Parameter : unsigned
    {
        red = 1u << 0,
        green = 1u << 1,
        blue = 1u << 2,
        hue = 1u << 3,
        saturation = 1u << 4,
        brightness = 1u << 5,
        contrast = 1u << 6 // centre and amount always move together
    };

    TweakMaths::TweakParameters values;
    unsigned moved = 0;
};
