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

// A slider step sets one parameter on every member and recomputes every
// preview; the previews are computed in batches (same bits as one by one),
// through fixed buffers on the stack so that nothing is allocated.
void ColourGroup::recomputePreviews()
{
    constexpr int batchSize = 64;
    juce::uint32 stored[batchSize], previews[batchSize];
    TweakMaths::TweakParameters parameters[batchSize];

    for (int start = 0; start < members.size(); start += batchSize)
    {
        const int count = juce::jmin (batchSize, members.size() - start);

        for (int i = 0; i < count; ++i)
        {
            const auto& member = *members.getUnchecked (start + i);
            stored[i] = member.schemeColour->colour.getARGB();
            parameters[i] = parametersOf (member);
        }

        TweakMaths::tweakColours (stored, parameters, previews, (size_t) count);

        for (int i = 0; i < count; ++i)
            members.getUnchecked (start + i)->previewColour = juce::Colour (previews[i]);
    }
}

void ColourGroup::setRedOffset (int offset)
{
    for (auto* member : members)
        member->redOffset = offset;

    recomputePreviews();
}

void ColourGroup::setGreenOffset (int offset)
{
    for (auto* member : members)
        member->greenOffset = offset;

    recomputePreviews();
}

void ColourGroup::setBlueOffset (int offset)
{
    for (auto* member : members)
        member->blueOffset = offset;

    recomputePreviews();
}

void ColourGroup::setHueShift (float shift)
{
    for (auto* member : members)
        member->hueShift = shift;

    recomputePreviews();
}

void ColourGroup::setSaturationMultiplier (float multiplier)
{
    for (auto* member : members)
        member->saturationMultiplier = multiplier;

    recomputePreviews();
}

void ColourGroup::setBrightnessMultiplier (float multiplier)
{
    for (auto* member : members)
        member->brightnessMultiplier = multiplier;

    recomputePreviews();
}

void ColourGroup::setContrast (float centre, float amount)
{
    for (auto* member : members)
    {
        member->contrastCentre = centre;
        member->contrastAmount = amount;
    }

    recomputePreviews();
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
