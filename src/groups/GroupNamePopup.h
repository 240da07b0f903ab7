#pragma once

#include <juce_gui_basics/juce_gui_basics.h>

/** The "Name group" window: one name field, "GROUPNAME", and one "Okay!" button.

    There is no cancel: leaving the field empty is how the user backs out, so
    Escape does not close it. Run it with runModalLoop() and read the field.
    Given the reason the last name was refused, it says that in place of its
    usual request.
*/
class GroupNamePopup : public juce::AlertWindow
{
public:
    explicit GroupNamePopup (const juce::String& initialName, const juce::String& refusal = {});

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (GroupNamePopup)
};
