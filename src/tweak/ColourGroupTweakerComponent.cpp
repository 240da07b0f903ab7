#include "tweak/ColourGroupTweakerComponent.h"

#include "scheme/SchemeModel.h"
#include "tweak/ColourTweakerList.h"
#include "tweak/PreviewSweep.h"
#include "tweak/TweakControls.h"
#include "tweak/TweakPanel.h"

#include <algorithm>

ColourGroupTweakerComponent::ColourGroupTweakerComponent()
{
    list = std::make_unique<ColourTweakerList>();
    addAndMakeVisible (*list);

    panel = std::make_unique<TweakPanel>();
    addAndMakeVisible (*panel);

    sweep = std::make_unique<PreviewSweep> (*list);

    panel->forceHueButton.setListener (this);

    panel->resetButton.addListener (this);
    panel->applyButton.addListener (this);
    panel->invertButton.addListener (this);

    for (const auto& control : tweakControls)
        panel->slider (control.id).addListener (this);

    // A colour picked straight into the scheme must show in the scheme colour
    // list too, which the owner's listener refreshes.
    list->onSchemeColourEdited = [this] (ColourGroupMember&)
    { coloursApplied(); };

    list->onSchemeEdited = [this]
    { schemeEdited(); };
}

ColourGroupTweakerComponent::~ColourGroupTweakerComponent() = default;

void ColourGroupTweakerComponent::coloursApplied()
{
    if (onColoursApplied != nullptr)
        onColoursApplied();
}

void ColourGroupTweakerComponent::schemeEdited()
{
    if (onSchemeEdited != nullptr)
        onSchemeEdited();
}

void ColourGroupTweakerComponent::setMenuRunner (const ModalMenu::Runner& newRunner)
{
    list->setMenuRunner (newRunner);
    panel->forceHueButton.setMenuRunner (newRunner);
}

void ColourGroupTweakerComponent::setColourGroup (ColourGroup* group)
{
    // The group left behind keeps previews that match its parameters.
    finishPendingPreviews();

    currentGroup = group;
    list->setColourGroup (group);
    buttonClicked (&panel->resetButton);
}

void ColourGroupTweakerComponent::refreshColours()
{
    // Recomputed (queued values included) before the rows are refreshed, so
    // they show the new previews.
    sweep->finish();

    if (currentGroup != nullptr)
        currentGroup->recomputePreviews();

    list->updateContent();
}

void ColourGroupTweakerComponent::finishPendingPreviews()
{
    sweep->finish();
}

bool ColourGroupTweakerComponent::hasPendingPreviews() const
{
    return sweep->isRunning();
}

void ColourGroupTweakerComponent::sliderValueChanged (juce::Slider* slider)
{
    if (currentGroup == nullptr)
        return;

    const auto control = std::find_if (tweakControls.begin(), tweakControls.end(), [this, slider] (const TweakControl& c)
                                       { return &panel->slider (c.id) == slider; });

    if (control == tweakControls.end())
        return;

    // Only recorded here: the previews follow at the next message, so a burst
    // of moves costs one refresh, with the latest values.
    PendingTweak change;
    control->setOnTweak (change, *panel);
    currentGroup->queueTweak (change);
    sweep->valuesQueued();
}

void ColourGroupTweakerComponent::buttonClicked (juce::Button* button)
{
    if (currentGroup == nullptr)
        return;

    if (button == &panel->applyButton)
    {
        // Apply writes what the sliders show, every member included.
        sweep->finish();

        const auto schemeChanged = SchemeModel::applyTweak (*currentGroup);
        coloursApplied();

        if (schemeChanged)
            schemeEdited();
    }
    else if (button == &panel->resetButton)
    {
        currentGroup->resetTweak();
    }
    else if (button == &panel->invertButton)
    {
        currentGroup->invertColours();
    }
    else
    {
        return;
    }

    panel->resetSliders();
    list->updateContent();
}

void ColourGroupTweakerComponent::hueSelected (float hue)
{
    if (currentGroup == nullptr)
        return;

    // The sliders stay where they are, although the members are neutral now.
    currentGroup->forceHue (hue);
    list->updateContent();
}

void ColourGroupTweakerComponent::paint (juce::Graphics& g)
{
    g.setColour (juce::Colour (0xffffffff));
    g.drawText ("Colours to tweak", 5, 10, getWidth() - 150, 20, juce::Justification::centred, true);
    g.fillRoundedRectangle (5.0f, 35.0f, (float) getWidth() - 145.0f, (float) getHeight() - 35.0f, 10.0f);
}

void ColourGroupTweakerComponent::resized()
{
    list->setBounds (10, 40, getWidth() - 155, getHeight() - 45);
    panel->setBounds (getWidth() - 130, 10, 130, getHeight() - 10);
}
