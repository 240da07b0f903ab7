#include "hue/HueSelector.h"

#include <cmath>

//==============================================================================
HueSelectorArrow::HueSelectorArrow()
{
    // Pointer events must reach the strip underneath, which tracks the hue.
    setInterceptsMouseClicks (false, false);
}

void HueSelectorArrow::paint (juce::Graphics& g)
{
    const auto w = (float) getWidth();
    const auto h = (float) getHeight();

    juce::Path path;
    path.addTriangle (1.0f, 1.0f, 0.3f * w, 0.5f * h, 1.0f, h - 1.0f);
    path.addTriangle (w - 1.0f, 1.0f, 0.7f * w, 0.5f * h, w - 1.0f, h - 1.0f);

    g.setColour (juce::Colour (0xbfffffff));
    g.fillPath (path);

    g.setColour (juce::Colour (0xbf000000));
    g.strokePath (path, juce::PathStrokeType (1.2f, juce::PathStrokeType::mitered, juce::PathStrokeType::butt));
}

//==============================================================================
HueSelectorTool::HueSelectorTool (HueSelector& ownerToUse, float& hueToUse, float& saturationToUse, float& brightnessToUse)
    : owner (&ownerToUse),
      hue (hueToUse),
      saturation (saturationToUse),
      brightness (brightnessToUse)
{
    arrow = std::make_unique<HueSelectorArrow>();
    addAndMakeVisible (*arrow);
}

HueSelectorTool::~HueSelectorTool() = default;

float HueSelectorTool::hueAtY (int y) const noexcept
{
    return (float) (y - edge) / (float) (getHeight() - 2 * edge);
}

void HueSelectorTool::mouseMove (const juce::MouseEvent& e)
{
    owner->setHue (hueAtY (e.y));
}

void HueSelectorTool::paint (juce::Graphics& g)
{
    const auto w = getWidth();
    const auto h = getHeight();
    const auto scale = 1.0f / (float) (h - 2 * edge);
    const auto clip = g.getClipBounds();

    // One row at a time, and only the rows that need drawing.
    const auto firstRow = juce::jmax (edge, clip.getY());
    const auto endRow = juce::jmin (h - edge, clip.getBottom());

    for (int y = firstRow; y < endRow; ++y)
    {
        g.setColour (juce::Colour ((float) (y - edge) * scale, 1.0f, 1.0f, 1.0f));
        g.fillRect (edge, y, w - 2 * edge, 1);
    }
}

void HueSelectorTool::resized()
{
    // The arrow's centre row is the strip row of the hue.
    const auto y = (int) std::nearbyint ((float) (getHeight() - 2 * edge) * hue);
    arrow->setBounds (0, y, getWidth(), 2 * edge);
}

//==============================================================================
HueSelector::HueSelector()
    : juce::PopupMenu::CustomComponent (false) // a press triggers the item itself, after reporting
{
    tool = std::make_unique<HueSelectorTool> (*this, hue, saturation, brightness);
    tool->addMouseListener (this, true);
    addAndMakeVisible (*tool);
    setInterceptsMouseClicks (true, true);
}

HueSelector::~HueSelector()
{
    tool->removeMouseListener (this);
}

void HueSelector::setHue (float newHue)
{
    newHue = juce::jlimit (0.0f, 1.0f, newHue);

    if (newHue == hue)
        return;

    hue = newHue;
    tool->resized();
    repaint();
}

void HueSelector::mouseDown (const juce::MouseEvent&)
{
    // The hue is the one under the last pointer movement, not the press position.
    if (listener != nullptr)
        listener->hueSelected (hue);

    // Closes the menu; outside a shown menu there is nothing to close.
    if (getItem() != nullptr)
        triggerMenuItem();
}

void HueSelector::paint (juce::Graphics& g)
{
    // Shows in the margin around the strip.
    g.fillAll (juce::Colour (hue, saturation, brightness, 1.0f));
}

void HueSelector::resized()
{
    tool->setBounds (0, 0, getWidth(), getHeight());
}

void HueSelector::getIdealSize (int& idealWidth, int& idealHeight)
{
    idealWidth = 50;
    idealHeight = 200;
}
