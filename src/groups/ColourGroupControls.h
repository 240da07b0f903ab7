#pragma once

#include "groups/ColourGroupControlListener.h"
#include "scheme/SchemeModel.h"

#include <juce_gui_basics/juce_gui_basics.h>

#include <functional>

/** The group selector and the "Groups..." button above the group tweaker.

    Works directly on the scheme's group list (not owned) and tells one listener
    which group is selected. Group at position i is the selector's item ID i + 1.
*/
class ColourGroupControls : public juce::Component,
                            public juce::ComboBox::Listener,
                            public juce::Button::Listener
{
public:
    ColourGroupControls();
    ~ColourGroupControls() override;

    void setListener (ColourGroupControlListener* newListener) noexcept { listener = newListener; }

    /** Shows this list (null: no scheme), selects its first group and announces it. */
    void setColourGroups (ColourGroupList* newGroups);
    ColourGroupList* getColourGroups() const noexcept { return groups; }

    juce::ComboBox& getGroupSelector() noexcept { return groupSelector; }
    juce::TextButton& getGroupsButton() noexcept { return groupsButton; }

    void resized() override;
    void comboBoxChanged (juce::ComboBox* comboBox) override;
    void buttonClicked (juce::Button* button) override;

    enum MenuItemIds
    {
        addItemId = 1,
        deleteItemId = 2,
        renameItemId = 3
    };

    /** Answers the group menu: the chosen item ID (0: dismissed). */
    using MenuChooser = std::function<int (const juce::PopupMenu&)>;
    /** Answers the name window: the text left in its name field. */
    using NameAsker = std::function<juce::String (const juce::String& initialName)>;

    /** These answer the group menu and the name window in place of the modal
        menu and window (for driving the controls without a person); empty:
        the real ones. */
    void setMenuChooser (MenuChooser newChooser) { chooseFromMenu = std::move (newChooser); }
    void setNameAsker (NameAsker newAsker) { askForName = std::move (newAsker); }

private:
    void refill();
    void announce();
    void runGroupMenu();
    void addGroup();
    void deleteSelectedGroup();
    void renameSelectedGroup();
    void groupsEdited();

    /** Runs the name window modally; the text in its field when it closes. */
    juce::String askGroupName (const juce::String& initialName);

    juce::ComboBox groupSelector { "GroupSelector" };
    juce::TextButton groupsButton { "Groups...", "Click here for options to manage the groups." };
    ColourGroupList* groups = nullptr;
    ColourGroupControlListener* listener = nullptr;
    MenuChooser chooseFromMenu;
    NameAsker askForName;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (ColourGroupControls)
};
