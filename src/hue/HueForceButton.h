#pragma once

#include "hue/HueSelectorListener.h"
#include "hue/ModalMenu.h"

#include <juce_gui_basics/juce_gui_basics.h>

/** "Force hue...": opens a hue selector in a pop-up menu and hands the chosen
    hue to its listener. */
class HueForceButton : public juce::TextButton
{
public:
    HueForceButton();

    /** Used from the next click on; may be null. */
    void setListener (HueSelectorListener* newListener) noexcept { listener = newListener; }
    HueSelectorListener* getListener() const noexcept { return listener; }

    /** Shows the hue pop-up from the next click on; empty: the real menu. */
    void setMenuRunner (ModalMenu::Runner newRunner);

protected:
    using juce::TextButton::clicked;
    void clicked() override;

private:
    HueSelectorListener* listener = nullptr;
    ModalMenu::Runner menuRunner = ModalMenu::showAt;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (HueForceButton)
};
