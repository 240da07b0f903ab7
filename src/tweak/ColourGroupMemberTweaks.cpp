// The tweak operations of ColourGroupMember and ColourGroup; the colour maths
// itself is in TweakMaths.
#include "SchemeModel.h"
#include "TweakMaths.h"

namespace
{
TweakMaths::TweakParameters parametersOf (const ColourGroupMember& member) noexcept
{
    TweakMaths::TweakParameters p;
    p.redOffset = member.getRedOffset();
    p.greenOffset = member.getGreenOffset();
    p.blueOffset = member.getBlueOffset();
    p.hueShift = member.getHueShift();
    p.saturationMultiplier = member.getSaturationMultiplier();
    p.brightnessMultiplier = member.getBrightnessMultiplier();
    p.alphaMultiplier = member.getAlphaMultiplier();
    p.contrastCentre = member.getContrastCentre();
    p.contrastAmount = member.getContrastAmount();
    return p;
}
} // namespace

//==============================================================================
void ColourGroupMember::recomputePreview()
{
    previewColour = juce::Colour (TweakMaths::tweakColour (schemeColour->colour.getARGB(), parametersOf (*this)));
}

void ColourGroupMember::setRedOffset (int offset)
{
    redOffset = offset;
    recomputePreview();
}

void ColourGroupMember::setGreenOffset (int offset)
{
    greenOffset = offset;
    recomputePreview();
}

void ColourGroupMember::setBlueOffset (int offset)
{
    blueOffset = offset;
    recomputePreview();
}

void ColourGroupMember::setHueShift (float shift)
{
    hueShift = shift;
    recomputePreview();
}

void ColourGroupMember::setSaturationMultiplier (float multiplier)
{
    saturationMultiplier = multiplier;
    recomputePreview();
}

void ColourGroupMember::setBrightnessMultiplier (float multiplier)
{
    brightnessMultiplier = multiplier;
    recomputePreview();
}

void ColourGroupMember::setContrast (float centre, float amount)
{
    contrastCentre = centre;
    contrastAmount = amount;
    recomputePreview();
}

void ColourGroupMember::applyTweak()
{
    schemeColour->colour = previewColour;
    resetTweak();
}

void ColourGroupMember::forceHue (float hue)
{
    resetTweak();
    previewColour = juce::Colour (TweakMaths::withForcedHue (schemeColour->colour.getARGB(), hue));
}

void ColourGroupMember::invertColour()
{
    resetTweak();
    previewColour = juce::Colour (TweakMaths::invertedColour (schemeColour->colour.getARGB(), alphaMultiplier));
}

//==============================================================================
void ColourGroup::applyTweak()
{
    for (auto* member : members)
        member->applyTweak();
}

void ColourGroup::resetTweak()
{
    for (auto* member : members)
        member->resetTweak();
}

void ColourGroup::setRedOffset (int offset)
{
    for (auto* member : members)
        member->setRedOffset (offset);
}

void ColourGroup::setGreenOffset (int offset)
{
    for (auto* member : members)
        member->setGreenOffset (offset);
}

void ColourGroup::setBlueOffset (int offset)
{
    for (auto* member : members)
        member->setBlueOffset (offset);
}

void ColourGroup::setHueShift (float shift)
{
    for (auto* member : members)
        member->setHueShift (shift);
}

void ColourGroup::setSaturationMultiplier (float multiplier)
{
    for (auto* member : members)
        member->setSaturationMultiplier (multiplier);
}

void ColourGroup::setBrightnessMultiplier (float multiplier)
{
    for (auto* member : members)
        member->setBrightnessMultiplier (multiplier);
}

void ColourGroup::setContrast (float centre, float amount)
{
    for (auto* member : members)
        member->setContrast (centre, amount);
}

void ColourGroup::forceHue (float hue)
{
    for (auto* member : members)
        member->forceHue (hue);
}

void ColourGroup::invertColours()
{
    for (auto* member : members)
        member->invertColour();
}

void ColourGroup::recomputePreviews()
{
    for (auto* member : members)
        member->recomputePreview();
}
