#include "hue/ModalMenu.h"

int ModalMenu::showAt (juce::PopupMenu& menu, juce::Component& target)
{
    return menu.showAt (&target);
}

juce::PopupMenu::CustomComponent* ModalMenu::getFirstCustomComponent (const juce::PopupMenu& menu)
{
    juce::PopupMenu::MenuItemIterator items (menu);
    return items.next() ? items.getItem().customComponent.get() : nullptr;
}
