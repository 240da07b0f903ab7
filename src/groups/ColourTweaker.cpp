#include "groups/ColourTweaker.h"

#include "groups/ColourGroupControls.h"
#include "groups/ColourTweakerListener.h"
#include "tweak/ColourGroupTweakerComponent.h"

ColourTweaker::ColourTweaker()
{
    groupControls = std::make_unique<ColourGroupControls>();
    addAndMakeVisible (*groupControls);
    groupControls->setListener (this);
    groupControls->onSchemeEdited = [this]
    { notifySchemeEdited(); };

    groupTweaker = std::make_unique<ColourGroupTweakerComponent>();
    groupTweaker->onColoursApplied = [this]
    { notifyColoursApplied(); };
    groupTweaker->onSchemeEdited = [this]
    { notifySchemeEdited(); };
    addAndMakeVisible (*groupTweaker);
}

ColourTweaker::~ColourTweaker() = default;

void ColourTweaker::setScheme (SchemeModel* newScheme)
{
    scheme = newScheme;

    // Let go of the old scheme's group before the controls announce the new
    // scheme's first group (which arrives back here, synchronously).
    groupTweaker->setColourGroup (nullptr);
    groupControls->setScheme (newScheme);
}

void ColourTweaker::colourGroupSelected (ColourGroup* group)
{
    groupTweaker->setColourGroup (group);
}

void ColourTweaker::notifyColoursApplied()
{
    if (tweakerListener != nullptr)
        tweakerListener->coloursApplied (this);
}

void ColourTweaker::notifySchemeEdited()
{
    if (tweakerListener != nullptr)
        tweakerListener->schemeEdited (this);
}

void ColourTweaker::refreshColours()
{
    groupTweaker->refreshColours();
}

void ColourTweaker::finishPendingPreviews()
{
    groupTweaker->finishPendingPreviews();
}

void ColourTweaker::paint (juce::Graphics&)
{
    // No background of its own: the margins show what lies behind the pane.
}

void ColourTweaker::resized()
{
    groupControls->setBounds (10, 10, getWidth() - 20, 26);
    groupTweaker->setBounds (10, 45, getWidth() - 20, getHeight() - 50);
}
