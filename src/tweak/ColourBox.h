#pragma once

#include "hue/ModalMenu.h"

#include <juce_gui_extra/juce_gui_extra.h>

class ColourBox;

/** Told when the colour pop-up of an editable ColourBox has closed. */
class ColourBoxListener
{
public:
    virtual ~ColourBoxListener() = default;
    virtual void colourBoxChanged (ColourBox* box) = 0;
};

//==============================================================================
/** A colour swatch. An editable one opens a colour selector in a pop-up on a
    press, follows it live, and tells its listener when the pop-up closes. */
class ColourBox : public juce::Component,
                  public juce::ChangeListener
{
public:
    explicit ColourBox (bool isEditable);
    ~ColourBox() override;

    /** Does not repaint; the owner does. */
    void setColour (juce::Colour newColour) noexcept { colour = newColour; }
    juce::Colour getColour() const noexcept { return colour; }
    bool isEditable() const noexcept { return editable; }

    void setListener (ColourBoxListener* newListener) noexcept { listener = newListener; }

    /** Shows the colour pop-up from the next press on; empty: the real menu. */
    void setMenuRunner (ModalMenu::Runner newRunner);

    void mouseDown (const juce::MouseEvent& e) override;
    void changeListenerCallback (juce::ChangeBroadcaster* source) override;
    void paint (juce::Graphics& g) override;

    /** The selector's options: alpha channel, colour at the top, sliders and colour space. */
    static constexpr int selectorFlags = juce::ColourSelector::showAlphaChannel
                                         | juce::ColourSelector::showColourAtTop
                                         | juce::ColourSelector::showSliders
                                         | juce::ColourSelector::showColourspace;

private:
    const bool editable;
    juce::Colour colour;
    ColourBoxListener* listener = nullptr;
    ModalMenu::Runner menuRunner = ModalMenu::showAt;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (ColourBox)
};
