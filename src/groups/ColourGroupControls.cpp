#include "groups/ColourGroupControls.h"

#include "groups/GroupNamePopup.h"
#include "look/UiConstants.h"
#include "scheme/SchemeNames.h"

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

void ColourGroupControls::setScheme (SchemeModel* newScheme)
{
    scheme = newScheme;
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

    if (scheme == nullptr)
        return;

    for (int i = 0; i < scheme->getNumGroups(); ++i)
    {
        // A combo box item cannot have empty text; such a group simply has no
        // item, and the others keep the ID of their position.
        const auto& name = scheme->getGroup (i)->getName();

        // The box lays out all of its text on every paint: a huge name from a
        // file is cut to what the box could ever show.
        if (name.isNotEmpty())
            groupSelector.addItem (name.substring (0, UiConstants::longestShownName), i + 1);
    }
}

void ColourGroupControls::announce()
{
    if (listener == nullptr || scheme == nullptr)
        return;

    // Null for an ID outside the list.
    listener->colourGroupSelected (scheme->getGroup (groupSelector.getSelectedId() - 1));
}

void ColourGroupControls::runGroupMenu()
{
    if (scheme == nullptr)
        return;

    juce::PopupMenu menu;
    menu.addItem (addItemId, "Add");
    menu.addItem (deleteItemId, "Delete");
    menu.addSeparator();
    menu.addItem (renameItemId, "Rename");

    const auto* schemeShown = scheme;
    juce::Component::SafePointer<ColourGroupControls> safeThis (this);

    const auto result = chooseFromMenu != nullptr ? chooseFromMenu (menu) : menu.show();

    // The menu ran a modal loop: make sure we and our scheme are still the same.
    if (safeThis == nullptr || scheme != schemeShown)
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
    const auto* schemeShown = scheme;
    juce::Component::SafePointer<ColourGroupControls> safeThis (this);

    const auto name = askGroupName ({});

    if (safeThis == nullptr || scheme != schemeShown || scheme->addGroup (name) == nullptr)
        return;

    schemeEdited();

    refill();
    // By ID rather than by index: a group without a name has no item, so the
    // last item is not always the last group.
    groupSelector.setSelectedId (scheme->getNumGroups(), juce::dontSendNotification);
    announce();
}

void ColourGroupControls::deleteSelectedGroup()
{
    auto k = groupSelector.getSelectedId() - 1;

    if (scheme->getGroup (k) == nullptr)
        return;

    // Nobody may keep working on the group while it goes away.
    if (listener != nullptr)
        listener->colourGroupSelected (nullptr);

    if (scheme->deleteGroup (k))
        schemeEdited();

    refill();

    if (k == scheme->getNumGroups())
        --k;

    groupSelector.setSelectedId (k + 1, juce::dontSendNotification);
    announce();
}

void ColourGroupControls::renameSelectedGroup()
{
    const auto id = groupSelector.getSelectedId();
    auto* group = scheme->getGroup (id - 1);

    if (group == nullptr)
        return;

    const auto* schemeShown = scheme;
    juce::Component::SafePointer<ColourGroupControls> safeThis (this);

    const auto name = askGroupName (group->getName());

    if (safeThis == nullptr || scheme != schemeShown || scheme->getGroup (id - 1) != group
        || ! scheme->renameGroup (*group, name))
        return;

    schemeEdited();
    refill();

    // The group's own item, even when another item bears the same name: the
    // listener still works on this group, and the box must show it.
    groupSelector.setSelectedId (id, juce::dontSendNotification);
}

void ColourGroupControls::schemeEdited()
{
    if (onSchemeEdited != nullptr)
        onSchemeEdited();
}

juce::String ColourGroupControls::askGroupName (const juce::String& currentName)
{
    juce::Component::SafePointer<ColourGroupControls> safeThis (this);
    auto name = currentName;
    juce::String refusal;

    for (;;)
    {
        if (askForName != nullptr)
        {
            name = askForName (name, refusal);
        }
        else
        {
            GroupNamePopup popup (name, refusal);
            popup.runModalLoop();
            name = popup.getTextEditorContents ("GROUPNAME");
        }

        // The name it has passes as itself, whatever its characters (a file's
        // lone surrogate included); a typed one must be one the model takes.
        refusal = name == currentName ? juce::String() : SchemeNames::refusalFor (name);

        if (refusal.isEmpty() || safeThis == nullptr)
            return name;
    }
}
