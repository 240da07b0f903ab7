#pragma once

#include <juce_gui_basics/juce_gui_basics.h>

#include <functional>

/** Shows a pop-up menu next to a component and waits until it closes.

    The colour and hue pop-ups go through here, so that tests can answer them
    without a modal loop: while a runner is set it is called instead of
    showing the menu, and its result is returned as the menu's result.
*/
struct ModalMenu
{
    using Runner = std::function<int (juce::PopupMenu& menu, juce::Component& target)>;

    static int showAt (juce::PopupMenu& menu, juce::Component& target);

    /** Empty: show real menus. */
    static void setRunner (Runner newRunner);

    /** The custom component of the menu's first item, or null. */
    static juce::PopupMenu::CustomComponent* getFirstCustomComponent (const juce::PopupMenu& menu);
};
