#include "tweak/ColourBox.h"

ColourBox::ColourBox (bool isEditable)
    : editable (isEditable)
{
}

ColourBox::~ColourBox() = default;

void ColourBox::setMenuRunner (ModalMenu::Runner newRunner)
{
    menuRunner = newRunner != nullptr ? std::move (newRunner) : ModalMenu::showAt;
}

void ColourBox::mouseDown (const juce::MouseEvent&)
{
    if (! editable)
        return;

    juce::Component::SafePointer<ColourBox> safeThis (this);

    {
        juce::ColourSelector selector (selectorFlags, 4, 7);
        selector.setCurrentColour (colour, juce::dontSendNotification);
        selector.addChangeListener (this);

        juce::PopupMenu menu;
        menu.addCustomItem (1, selector, 200, 200, false);

        menuRunner (menu, *this);

        // The pop-up was modal, but the box may still have gone meanwhile.
        if (safeThis == nullptr)
            return;

        selector.removeChangeListener (this);

        // A change message still queued when the pop-up closed would be lost.
        colour = selector.getCurrentColour();
        repaint();
    }

    if (listener != nullptr)
        listener->colourBoxChanged (this);
}

void ColourBox::changeListenerCallback (juce::ChangeBroadcaster* source)
{
    if (auto* selector = dynamic_cast<juce::ColourSelector*> (source))
    {
        colour = selector->getCurrentColour();
        repaint();
    }
}

void ColourBox::paint (juce::Graphics& g)
{
    g.fillAll (colour);

    if (editable)
    {
        g.setColour (juce::Colour (0xff000000));
        g.drawRect (getLocalBounds(), 1);
    }
}
