#include "hue/HueForceButton.h"

#include "hue/HueSelector.h"

HueForceButton::HueForceButton()
    : juce::TextButton ("Force hue...", "Click to set a hue for this group.")
{
}

void HueForceButton::setMenuRunner (ModalMenu::Runner newRunner)
{
    menuRunner = newRunner != nullptr ? std::move (newRunner) : ModalMenu::showAt;
}

void HueForceButton::clicked()
{
    // A fresh selector each time, so every click starts at hue 1.0.
    auto selector = std::make_unique<HueSelector>();
    selector->setListener (listener);

    juce::PopupMenu menu;
    menu.addCustomItem (1, std::move (selector));

    menuRunner (menu, *this);
}
