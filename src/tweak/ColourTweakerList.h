#pragma once

#include "tweak/ColourBox.h"

#include <juce_gui_basics/juce_gui_basics.h>

#include <functional>

class ColourGroup;
class ColourGroupMember;
class ColourTweakerList;

/** One row of the group colour list: the stored colour (editable), the
    colour's name and the preview colour. */
class ColourTweakerListItem : public juce::Component,
                              public ColourBoxListener
{
public:
    explicit ColourTweakerListItem (ColourTweakerList& owner);
    ~ColourTweakerListItem() override;

    void setMember (ColourGroupMember* newMember);
    ColourGroupMember* getMember() const noexcept { return member; }
    void setSelected (bool shouldBeSelected);
    bool isSelected() const noexcept { return selected; }
    void setRow (int newRow) noexcept { row = newRow; }
    int getRow() const noexcept { return row; }

    ColourBox& getStoredBox() noexcept { return *storedBox; }
    ColourBox& getPreviewBox() noexcept { return *previewBox; }

    void colourBoxChanged (ColourBox* box) override;
    void mouseDown (const juce::MouseEvent& e) override;
    void resized() override;
    void paint (juce::Graphics& g) override;

private:
    ColourGroupMember* member = nullptr;
    std::unique_ptr<ColourBox> storedBox;
    std::unique_ptr<ColourBox> previewBox;
    bool selected = false;
    int row = 0;
    ColourTweakerList& owner;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (ColourTweakerListItem)
};

//==============================================================================
/** The colours of the current group, one row per member, and the drop target
    for colours dragged from the scheme colour list. */
class ColourTweakerList : public juce::ListBoxModel,
                          public juce::ListBox,
                          public juce::DragAndDropTarget
{
public:
    ColourTweakerList();
    ~ColourTweakerList() override;

    void setColourGroup (ColourGroup* group);
    ColourGroup* getColourGroup() const noexcept { return currentGroup; }

    /** Shows the rows' colour pop-ups; empty: the real menu. */
    void setMenuRunner (ModalMenu::Runner newRunner);

    /** Called after a scheme colour was picked directly in a row's left swatch. */
    std::function<void (ColourGroupMember&)> onSchemeColourEdited;

    /** Called when what a save would write has changed here: a pick that gave
        a stored colour another value, or a drop that added a member. */
    std::function<void()> onSchemeEdited;

    int getNumRows() override;
    void paintListBoxItem (int rowNumber, juce::Graphics& g, int width, int height, bool rowIsSelected) override;
    juce::Component* refreshComponentForRow (int rowNumber, bool isRowSelected, juce::Component* existingComponentToUpdate) override;

    bool isInterestedInDragSource (const SourceDetails& dragSourceDetails) override;
    void itemDropped (const SourceDetails& dragSourceDetails) override;

private:
    friend class ColourTweakerListItem;
    void schemeColourEdited (ColourGroupMember& member, bool colourChanged);
    void schemeEdited();

    ColourGroup* currentGroup = nullptr;
    ModalMenu::Runner menuRunner = ModalMenu::showAt;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (ColourTweakerList)
};
