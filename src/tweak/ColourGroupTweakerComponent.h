#pragma once

#include "hue/HueSelectorListener.h"
#include "hue/ModalMenu.h"

#include <juce_gui_basics/juce_gui_basics.h>

class ColourGroup;
class ColourTweakerList;
class PreviewSweep;
class TweakPanel;

/** The group's colour list beside the tweak panel; turns every control into
    tweak operations on the current group. */
class ColourGroupTweakerComponent : public juce::Component,
                                    public juce::Slider::Listener,
                                    public juce::Button::Listener,
                                    public HueSelectorListener
{
public:
    ColourGroupTweakerComponent();
    ~ColourGroupTweakerComponent() override;

    /** Shows and resets this group (null: no group). */
    void setColourGroup (ColourGroup* group);
    ColourGroup* getColourGroup() const noexcept { return currentGroup; }
    void refreshColours();

    /** Slider moves reach the rows on screen at the next message and the
        other members in slices after it; this brings every preview of the
        group up to date now. Apply and a change of group do so themselves. */
    void finishPendingPreviews();
    /** True while some members of the group are still behind the sliders. */
    bool hasPendingPreviews() const;

    /** Called after Apply, and after a pick in a row's left swatch: stored colours were written. */
    std::function<void()> onColoursApplied;

    /** Called when what a save would write has changed here. */
    std::function<void()> onSchemeEdited;

    /** Shows the colour and hue pop-ups of the list and the panel; empty: the real menus. */
    void setMenuRunner (const ModalMenu::Runner& newRunner);

    ColourTweakerList& getList() noexcept { return *list; }
    PreviewSweep& getPreviewSweep() noexcept { return *sweep; }
    TweakPanel& getPanel() noexcept { return *panel; }

    void sliderValueChanged (juce::Slider* slider) override;
    void buttonClicked (juce::Button* button) override;
    void hueSelected (float hue) override;

    void paint (juce::Graphics& g) override;
    void resized() override;

private:
    void coloursApplied();
    void schemeEdited();

    std::unique_ptr<ColourTweakerList> list;
    std::unique_ptr<TweakPanel> panel;
    std::unique_ptr<PreviewSweep> sweep; // refers to the list, so goes before it
    ColourGroup* currentGroup = nullptr;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (ColourGroupTweakerComponent)
};
