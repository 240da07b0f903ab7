#pragma once

#include <juce_gui_basics/juce_gui_basics.h>

#include <functional>

/** Shows a pop-up menu next to a component and waits until it closes.

    The colour and hue pop-ups are shown through a runner that each component
    holds, so that a test can hand in its own and answer them without a modal
    loop; the runner's result is taken as the menu's result.
*/
struct ModalMenu
{
    using Runner = std::function<int (juce::PopupMenu& menu, juce::Component& target)>;

    /** The real one: shows the menu beside the target and returns the chosen item ID. */
    static int showAt (juce::PopupMenu& menu, juce::Component& target);

    /** The custom component of the menu's first item, or null. */
    static juce::PopupMenu::CustomComponent* getFirstCustomComponent (const juce::PopupMenu& menu);
};
