#pragma once

// The program's menus read back, and the group menu and its name window
// answered, without showing either.

#include "groups/ColourGroupControls.h"

#include <juce_gui_basics/juce_gui_basics.h>

#include <ostream>
#include <vector>

namespace testkit
{
struct MenuEntry
{
    int id = 0;
    juce::String text;
    bool separator = false, enabled = true, ticked = false;

    /** Same id, text and kind; enabled and ticked are checked on their own. */
    bool operator== (const MenuEntry& other) const
    {
        return id == other.id && text == other.text && separator == other.separator;
    }
};

const MenuEntry menuSeparator { 0, {}, true };

inline std::ostream& operator<< (std::ostream& out, const MenuEntry& e)
{
    return out << (e.separator ? juce::String ("----") : juce::String (e.id) + " " + e.text);
}

/** The menu's items from top to bottom. */
inline std::vector<MenuEntry> menuEntries (const juce::PopupMenu& menu)
{
    std::vector<MenuEntry> entries;

    for (juce::PopupMenu::MenuItemIterator it (menu); it.next();)
    {
        const auto& item = it.getItem();
        entries.push_back ({ item.itemID, item.text, item.isSeparator, item.isEnabled, item.isTicked });
    }

    return entries;
}

/** Answers the group menu of these controls with this item, and their name
    window with this name (backing out with an empty field if it is refused). */
inline void answerGroupMenu (ColourGroupControls& controls, int menuItem, const juce::String& name)
{
    controls.setMenuChooser ([menuItem] (const juce::PopupMenu&)
                             { return menuItem; });
    controls.setNameAsker ([name] (const juce::String&, const juce::String& refusal)
                           { return refusal.isEmpty() ? name : juce::String(); });
}
} // namespace testkit
