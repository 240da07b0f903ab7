// The tweak operations of ColourGroupMember and ColourGroup; the colour maths
// itself is in TweakMaths.
#include "maths/TweakMaths.h"
#include "scheme/SchemeModel.h"

//==============================================================================
void ColourGroupMember::recomputePreview()
{
    previewColour = juce::Colour (TweakMaths::tweakColour (schemeColour->colour.getARGB(), parameters));
}

void ColourGroupMember::setNow (const PendingTweak& change)
{
    change.applyTo (parameters);
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
bool ColourGroup::applyTweak()
{
    finishTweak();

    auto changed = false;

    for (auto* member : members)
    {
        changed = changed || member->getStoredColour() != member->getPreviewColour();
        member->applyTweak();
    }

    return changed;
}

void ColourGroup::resetTweak()
{
    dropQueuedTweak();

    for (auto* member : members)
        member->resetTweak();
}

void ColourGroup::recomputePreviews()
{
    recomputeRange (0, members.size());
    dropQueuedTweak();
}

void ColourGroup::queueTweak (const PendingTweak& change)
{
    // With no member there is nobody to remember the values for.
    if (members.isEmpty())
        return;

    queued.merge (change);

    // Members the round passed already must take the newer values as well.
    membersDue = members.size();
    if (nextDue >= members.size())
        nextDue = 0;
}

void ColourGroup::updateMember (int index)
{
    if (! hasQueuedTweak() || ! juce::isPositiveAndBelow (index, members.size()))
        return;

    auto& member = *members.getUnchecked (index);
    queued.applyTo (member.parameters);
    member.recomputePreview();
}

bool ColourGroup::continueTweak (int maxMembers)
{
    if (! hasQueuedTweak())
        return false;

    const auto count = juce::jmin (juce::jmax (0, maxMembers), membersDue, members.size() - nextDue);
    recomputeRange (nextDue, count);

    nextDue = (nextDue + count) % members.size();
    membersDue -= count;

    if (membersDue == 0)
        queued.clear();

    return hasQueuedTweak();
}

void ColourGroup::finishTweak()
{
    while (continueTweak (members.size()))
    {
    }
}

void ColourGroup::setNow (const PendingTweak& change)
{
    queueTweak (change);
    finishTweak();
}

void ColourGroup::dropQueuedTweak() noexcept
{
    queued.clear();
    membersDue = 0;
}

// Previews are computed in batches (same bits as one by one), through fixed
// buffers on the stack so that nothing is allocated.
void ColourGroup::recomputeRange (int start, int count)
{
    constexpr int batchSize = 64;
    juce::uint32 stored[batchSize], previews[batchSize];
    TweakMaths::TweakParameters parameters[batchSize];

    for (int done = 0; done < count; done += batchSize)
    {
        const int n = juce::jmin (batchSize, count - done);

        for (int i = 0; i < n; ++i)
        {
            auto& member = *members.getUnchecked (start + done + i);
            queued.applyTo (member.parameters);
            stored[i] = member.schemeColour->colour.getARGB();
            parameters[i] = member.parameters;
        }

        TweakMaths::tweakColours (stored, parameters, previews, (size_t) n);

        for (int i = 0; i < n; ++i)
            members.getUnchecked (start + done + i)->previewColour = juce::Colour (previews[i]);
    }
}

void ColourGroup::forceHue (float hue)
{
    dropQueuedTweak();

    for (auto* member : members)
        member->forceHue (hue);
}

void ColourGroup::invertColours()
{
    dropQueuedTweak();

    for (auto* member : members)
        member->invertColour();
}
