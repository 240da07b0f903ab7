#include "ModalMenu.h"

namespace
{
ModalMenu::Runner& currentRunner()
{
    static ModalMenu::Runner runner;
    return runner;
}
} // namespace

int ModalMenu::showAt (juce::PopupMenu& menu, juce::Component& target)
{
    if (auto& runner = currentRunner())
        return runner (menu, target);

    return menu.showAt (&target);
}

void ModalMenu::setRunner (Runner newRunner)
{
    currentRunner() = std::move (newRunner);
}

juce::PopupMenu::CustomComponent* ModalMenu::getFirstCustomComponent (const juce::PopupMenu& menu)
{
    juce::PopupMenu::MenuItemIterator items (menu);
    return items.next() ? items.getItem().customComponent.get() : nullptr;
}
