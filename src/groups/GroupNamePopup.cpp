#include "groups/GroupNamePopup.h"

GroupNamePopup::GroupNamePopup (const juce::String& initialName, const juce::String& refusal)
    : juce::AlertWindow ("Name group",
                         refusal.isEmpty() ? juce::String ("Please enter a name for this colour group.") : "This name cannot be used: " + refusal + ".",
                         juce::MessageBoxIconType::NoIcon)
{
    addTextEditor ("GROUPNAME", initialName, "Name", false);
    addButton ("Okay!", 1, juce::KeyPress (juce::KeyPress::returnKey));

    // An alert window normally closes on Escape, even with buttons; this one
    // only closes through its button.
    setEscapeKeyCancels (false);
}
