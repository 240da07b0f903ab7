#pragma once

#include "groups/ColourGroupControlListener.h"
#include "scheme/SchemeModel.h"

#include <juce_gui_basics/juce_gui_basics.h>

#include <functional>

/** The group selector and the "Groups..." button above the group tweaker.

    Edits the scheme's groups (not owned) through the scheme's own edits and
    tells one listener which group is selected. Group at position i is the
    selector's item ID i + 1.
*/
class ColourGroupControls : public juce::Component,
                            public juce::ComboBox::Listener,
                            public juce::Button::Listener
{
public:
    ColourGroupControls();
    ~ColourGroupControls() override;

    void setListener (ColourGroupControlListener* newListener) noexcept { listener = newListener; }

    /** Shows this scheme's groups (null: no scheme), selects its first group
        and announces it. */
    void setScheme (SchemeModel* newScheme);
    SchemeModel* getScheme() const noexcept { return scheme; }

    /** Called after Add, Delete or Rename changed the scheme. */
    std::function<void()> onSchemeEdited;

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
    /** Answers the name window: the text left in its name field. The window
        says why the name it was last given was refused, when it was. */
    using NameAsker = std::function<juce::String (const juce::String& initialName, const juce::String& refusal)>;

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
    void schemeEdited();

    /** Runs the name window modally until it holds a name the model takes,
        the current one or nothing (backing out): the text in its field. */
    juce::String askGroupName (const juce::String& currentName);

    juce::ComboBox groupSelector { "GroupSelector" };
    juce::TextButton groupsButton { "Groups...", "Click here for options to manage the groups." };
    SchemeModel* scheme = nullptr;
    ColourGroupControlListener* listener = nullptr;
    MenuChooser chooseFromMenu;
    NameAsker askForName;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (ColourGroupControls)
};
