#include "scheme/PendingTweak.h"

void PendingTweak::setRedOffset (int offset) noexcept
{
    values.redOffset = offset;
    moved |= red;
}

void PendingTweak::setGreenOffset (int offset) noexcept
{
    values.greenOffset = offset;
    moved |= green;
}

void PendingTweak::setBlueOffset (int offset) noexcept
{
    values.blueOffset = offset;
    moved |= blue;
}

void PendingTweak::setHueShift (float shift) noexcept
{
    values.hueShift = shift;
    moved |= hue;
}

void PendingTweak::setSaturationMultiplier (float multiplier) noexcept
{
    values.saturationMultiplier = multiplier;
    moved |= saturation;
}

void PendingTweak::setBrightnessMultiplier (float multiplier) noexcept
{
    values.brightnessMultiplier = multiplier;
    moved |= brightness;
}

void PendingTweak::setContrast (float centre, float amount) noexcept
{
    values.contrastCentre = centre;
    values.contrastAmount = amount;
    moved |= contrast;
}

void PendingTweak::merge (const PendingTweak& newer) noexcept
{
    newer.applyTo (values);
    moved |= newer.moved;
}

void PendingTweak::applyTo (TweakMaths::TweakParameters& parameters) const noexcept
{
    if ((moved & red) != 0)
        parameters.redOffset = values.redOffset;
    if ((moved & green) != 0)
        parameters.greenOffset = values.greenOffset;
    if ((moved & blue) != 0)
        parameters.blueOffset = values.blueOffset;
    if ((moved & hue) != 0)
        parameters.hueShift = values.hueShift;
    if ((moved & saturation) != 0)
        parameters.saturationMultiplier = values.saturationMultiplier;
    if ((moved & brightness) != 0)
        parameters.brightnessMultiplier = values.brightnessMultiplier;

    if ((moved & contrast) != 0)
    {
        parameters.contrastCentre = values.contrastCentre;
        parameters.contrastAmount = values.contrastAmount;
    }
}
