// The tweak operations of ColourGroupMember and ColourGroup; the colour maths
// itself is in TweakMaths.
#include "maths/TweakMaths.h"
#include "scheme/SchemeModel.h"

//==============================================================================
void ColourGroupMember::recomputePreview()
{
    previewColour = juce::Colour (TweakMaths::tweakColour (schemeColour->colour.getARGB(), parameters));
}

void ColourGroupMember::setRedOffset (int offset)
{
    parameters.redOffset = offset;
    recomputePreview();
}

void ColourGroupMember::setGreenOffset (int offset)
{
    parameters.greenOffset = offset;
    recomputePreview();
}

void ColourGroupMember::setBlueOffset (int offset)
{
    parameters.blueOffset = offset;
    recomputePreview();
}

void ColourGroupMember::setHueShift (float shift)
{
    parameters.hueShift = shift;
    recomputePreview();
}

void ColourGroupMember::setSaturationMultiplier (float multiplier)
{
    parameters.saturationMultiplier = multiplier;
    recomputePreview();
}

void ColourGroupMember::setBrightnessMultiplier (float multiplier)
{
    parameters.brightnessMultiplier = multiplier;
    recomputePreview();
}

void ColourGroupMember::setContrast (float centre, float amount)
{
    parameters.contrastCentre = centre;
    parameters.contrastAmount = amount;
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
    previewColour = juce::Colour (TweakMaths::invertedColour (schemeColour->colour.getARGB(), parameters.alphaMultiplier));
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
            parameters[i] = member.parameters;
        }

        TweakMaths::tweakColours (stored, parameters, previews, (size_t) count);

        for (int i = 0; i < count; ++i)
            members.getUnchecked (start + i)->previewColour = juce::Colour (previews[i]);
    }
}

void ColourGroup::setRedOffset (int offset)
{
    setOnEveryMember ([offset] (auto& p)
                      { p.redOffset = offset; });
}

void ColourGroup::setGreenOffset (int offset)
{
    setOnEveryMember ([offset] (auto& p)
                      { p.greenOffset = offset; });
}

void ColourGroup::setBlueOffset (int offset)
{
    setOnEveryMember ([offset] (auto& p)
                      { p.blueOffset = offset; });
}

void ColourGroup::setHueShift (float shift)
{
    setOnEveryMember ([shift] (auto& p)
                      { p.hueShift = shift; });
}

void ColourGroup::setSaturationMultiplier (float multiplier)
{
    setOnEveryMember ([multiplier] (auto& p)
                      { p.saturationMultiplier = multiplier; });
}

void ColourGroup::setBrightnessMultiplier (float multiplier)
{
    setOnEveryMember ([multiplier] (auto& p)
                      { p.brightnessMultiplier = multiplier; });
}

void ColourGroup::setContrast (float centre, float amount)
{
    setOnEveryMember ([centre, amount] (auto& p)
                      {
                          p.contrastCentre = centre;
                          p.contrastAmount = amount; });
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
