#pragma once

#include "hue/HueSelectorListener.h"

#include <juce_gui_basics/juce_gui_basics.h>

class HueSelector;

/** The marker that shows the current hue on the strip: two triangles
    pointing inward from the sides. Transparent to the mouse. */
class HueSelectorArrow : public juce::Component
{
public:
    HueSelectorArrow();

    void paint (juce::Graphics& g) override;

private:
    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (HueSelectorArrow)
};

//==============================================================================
/** The vertical hue strip inside a HueSelector, with an edge margin on every
    side; pointer movement over it sets the owner's hue. */
class HueSelectorTool : public juce::Component
{
public:
    HueSelectorTool (HueSelector& owner, float& hue, float& saturation, float& brightness);
    ~HueSelectorTool() override;

    void mouseMove (const juce::MouseEvent& e) override;
    void paint (juce::Graphics& g) override;
    void resized() override;

    HueSelectorArrow& getArrow() noexcept { return *arrow; }
    int getEdge() const noexcept { return edge; }

    /** The hue of a pointer at this height of the tool. */
    float hueAtY (int y) const noexcept;

private:
    HueSelector* owner;
    float& hue;
    float& saturation;
    float& brightness;
    std::unique_ptr<HueSelectorArrow> arrow;
    int edge = 8;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (HueSelectorTool)
};

//==============================================================================
/** A pop-up menu item holding a hue strip: the pointer picks a hue, a press
    reports it to the listener and closes the menu. */
class HueSelector : public juce::PopupMenu::CustomComponent
{
public:
    HueSelector();
    ~HueSelector() override;

    void setListener (HueSelectorListener* newListener) noexcept { listener = newListener; }
    HueSelectorListener* getListener() const noexcept { return listener; }

    /** Clamps to [0, 1]; moves the arrow and repaints only when the hue changes. */
    void setHue (float newHue);
    float getHue() const noexcept { return hue; }

    HueSelectorTool& getTool() noexcept { return *tool; }

    void mouseDown (const juce::MouseEvent& e) override;
    void paint (juce::Graphics& g) override;
    void resized() override;
    void getIdealSize (int& idealWidth, int& idealHeight) override;

private:
    std::unique_ptr<HueSelectorTool> tool;
    HueSelectorListener* listener = nullptr;
    float hue = 1.0f;
    float saturation = 1.0f;
    float brightness = 1.0f;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (HueSelector)
};
