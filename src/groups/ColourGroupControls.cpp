#include "groups/ColourGroupControls.h"

#include "groups/GroupNamePopup.h"
#include "look/UiConstants.h"

ColourGroupControls::ColourGroupControls()
{
    addAndMakeVisible (groupSelector);
    groupSelector.addListener (this);
    groupSelector.setTextWhenNoChoicesAvailable ("Create a group using the button to the right...");

    addAndMakeVisible (groupsButton);
    groupsButton.addListener (this);
}

ColourGroupControls::~ColourGroupControls()
{
    groupSelector.removeListener (this);
    groupsButton.removeListener (this);
}

void ColourGroupControls::setColourGroups (ColourGroupList* newGroups)
{
    groups = newGroups;
    refill();
    groupSelector.setSelectedItemIndex (0, juce::dontSendNotification);
    announce();
}

void ColourGroupControls::resized()
{
    const auto w = getWidth();
    const auto h = getHeight();

    groupSelector.setBounds (5, 0, w - 90, h);
    groupsButton.setBounds (w - 75, 0, 75, h);
}

void ColourGroupControls::comboBoxChanged (juce::ComboBox* comboBox)
{
    if (comboBox == &groupSelector)
        announce();
}

void ColourGroupControls::buttonClicked (juce::Button* button)
{
    if (button == &groupsButton)
        runGroupMenu();
}

//==============================================================================
void ColourGroupControls::refill()
{
    groupSelector.clear (juce::dontSendNotification);
    groupSelector.setText ({}, juce::dontSendNotification);

    if (groups == nullptr)
        return;

    for (int i = 0; i < groups->size(); ++i)
    {
        // A combo box item cannot have empty text; such a group simply has no
        // item, and the others keep the ID of their position.
        const auto& name = groups->getUnchecked (i)->getName();

        // The box lays out all of its text on every paint: a huge name from a
        // file is cut to what the box could ever show.
        if (name.isNotEmpty())
            groupSelector.addItem (name.substring (0, UiConstants::longestShownName), i + 1);
    }
}

void ColourGroupControls::announce()
{
    if (listener == nullptr || groups == nullptr)
        return;

    const auto index = groupSelector.getSelectedId() - 1;
    listener->colourGroupSelected (juce::isPositiveAndBelow (index, groups->size()) ? groups->getUnchecked (index)
                                                                                    : nullptr);
}

void ColourGroupControls::runGroupMenu()
{
    if (groups == nullptr)
        return;

    juce::PopupMenu menu;
    menu.addItem (addItemId, "Add");
    menu.addItem (deleteItemId, "Delete");
    menu.addSeparator();
    menu.addItem (renameItemId, "Rename");

    const auto* listShown = groups;
    juce::Component::SafePointer<ColourGroupControls> safeThis (this);

    const auto result = chooseFromMenu != nullptr ? chooseFromMenu (menu) : menu.show();

    // The menu ran a modal loop: make sure we and our list are still the same.
    if (safeThis == nullptr || groups != listShown)
        return;

    switch (result)
    {
        case addItemId:
            addGroup();
            break;
        case deleteItemId:
            deleteSelectedGroup();
            break;
        case renameItemId:
            renameSelectedGroup();
            break;
        default:
            break;
    }
}

void ColourGroupControls::addGroup()
{
    const auto* listShown = groups;
    juce::Component::SafePointer<ColourGroupControls> safeThis (this);

    const auto name = askGroupName ({});

    if (safeThis == nullptr || groups != listShown || name.isEmpty())
        return;

    auto group = std::make_unique<ColourGroup>();
    group->setName (name);
    groups->add (group.release());
    groupsEdited();

    refill();
    // By ID rather than by index: a group without a name has no item, so the
    // last item is not always the last group.
    groupSelector.setSelectedId (groups->size(), juce::dontSendNotification);
    announce();
}

void ColourGroupControls::deleteSelectedGroup()
{
    auto k = groupSelector.getSelectedId() - 1;

    if (! juce::isPositiveAndBelow (k, groups->size()))
        return;

    // Nobody may keep working on the group while it goes away.
    if (listener != nullptr)
        listener->colourGroupSelected (nullptr);

    groups->remove (k);
    groupsEdited();
    refill();

    if (k == groups->size())
        --k;

    groupSelector.setSelectedId (k + 1, juce::dontSendNotification);
    announce();
}

void ColourGroupControls::renameSelectedGroup()
{
    const auto id = groupSelector.getSelectedId();

    if (! juce::isPositiveAndBelow (id - 1, groups->size()))
        return;

    auto* group = groups->getUnchecked (id - 1);
    const auto* listShown = groups;
    juce::Component::SafePointer<ColourGroupControls> safeThis (this);

    const auto name = askGroupName (group->getName());

    if (safeThis == nullptr || groups != listShown || groups->indexOf (group) != id - 1 || name.isEmpty())
        return;

    // The same text again changes nothing that a save would write.
    if (name == group->getName())
        return;

    group->setName (name);
    groupsEdited();
    refill();

    // The group's own item, even when another item bears the same name: the
    // listener still works on this group, and the box must show it.
    groupSelector.setSelectedId (id, juce::dontSendNotification);
}

void ColourGroupControls::groupsEdited()
{
    if (listener != nullptr)
        listener->colourGroupsEdited();
}

juce::String ColourGroupControls::askGroupName (const juce::String& initialName)
{
    if (askForName != nullptr)
        return askForName (initialName);

    GroupNamePopup popup (initialName);
    popup.runModalLoop();
    return popup.getTextEditorContents ("GROUPNAME");
}
