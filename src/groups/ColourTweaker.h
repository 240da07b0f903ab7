#pragma once

#include "groups/ColourGroupControlListener.h"
#include "scheme/SchemeModel.h"

#include <juce_gui_basics/juce_gui_basics.h>

class ColourGroupControls;
class ColourGroupTweakerComponent;
class ColourTweakerListener;

/** The group pane: the group controls above the group tweaker, and the link
    between them and the main component. */
class ColourTweaker : public juce::Component,
                      public ColourGroupControlListener
{
public:
    ColourTweaker();
    ~ColourTweaker() override;

    /** Called whenever a scheme has been opened (null: no scheme). */
    void setScheme (SchemeModel* newScheme);
    void colourGroupSelected (ColourGroup* group) override;
    void setColourTweakerListener (ColourTweakerListener* listener) noexcept { tweakerListener = listener; }
    void notifyColoursApplied();
    /** Every edit in the pane that changed the scheme ends here. */
    void notifySchemeEdited();
    void refreshColours();
    /** Every preview of the shown group up to date for the latest slider values. */
    void finishPendingPreviews();

    ColourGroupControls& getGroupControls() noexcept { return *groupControls; }
    ColourGroupTweakerComponent& getGroupTweaker() noexcept { return *groupTweaker; }

    void paint (juce::Graphics& g) override;
    void resized() override;

private:
    std::unique_ptr<ColourGroupControls> groupControls;
    std::unique_ptr<ColourGroupTweakerComponent> groupTweaker;
    SchemeModel* scheme = nullptr;
    ColourTweakerListener* tweakerListener = nullptr;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (ColourTweaker)
};
