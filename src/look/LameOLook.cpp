#include "look/LameOLook.h"

#include "look/ColourShades.h"
#include "look/UiConstants.h"

#include <cmath>

using ColourShades::brightened;
using ColourShades::darkened;

namespace
{
using UiConstants::cornflowerBlue;
const juce::Colour outlineColour (0x80000000);
} // namespace

LameOLook::LameOLook()
{
    setColour (juce::Slider::thumbColourId, cornflowerBlue);
    setColour (juce::ScrollBar::trackColourId, brightened (cornflowerBlue, 0.7).withSaturation (0.1f));
    setColour (juce::ScrollBar::thumbColourId, darkened (cornflowerBlue, 0.4));
    setColour (juce::Slider::backgroundColourId, cornflowerBlue);
    setColour (juce::PopupMenu::highlightedBackgroundColourId, cornflowerBlue);
    setColour (juce::PopupMenu::highlightedTextColourId, juce::Colours::white);
}

LameOLook::~LameOLook() = default;

//==============================================================================
juce::Colour LameOLook::gradientBottomColour (juce::Colour top, float hueRotation)
{
    return darkened (top.withRotatedHue (hueRotation), 0.2);
}

void LameOLook::drawGradientBox (juce::Graphics& g,
                                 juce::Colour colour,
                                 float w,
                                 float h,
                                 bool outline,
                                 float insetX,
                                 float insetY,
                                 float hueRotation)
{
    const juce::Rectangle<float> box (insetX, insetY, w - 2.0f * insetX, h - 2.0f * insetY);

    // An empty gradient (h == 0) has no direction; nothing would show anyway.
    if (h <= 0.0f || box.getWidth() <= 0.0f || box.getHeight() <= 0.0f)
        return;

    // JUCE samples gradients at pixel centres; half a pixel down, each row shows the
    // colour at its top edge, so the first row is exactly the box's colour.
    g.setGradientFill (juce::ColourGradient (colour, 0.0f, 0.5f, gradientBottomColour (colour, hueRotation), 0.0f, h + 0.5f, false));
    g.fillRect (box);

    if (outline)
    {
        g.setColour (outlineColour);
        g.drawRect ((int) box.getX(), (int) box.getY(), (int) box.getWidth(), (int) box.getHeight(), 1);
    }
}

//==============================================================================
void LameOLook::drawButtonBackground (juce::Graphics& g,
                                      juce::Button& button,
                                      const juce::Colour& backgroundColour,
                                      bool shouldDrawButtonAsHighlighted,
                                      bool shouldDrawButtonAsDown)
{
    auto colour = backgroundColour;

    if (shouldDrawButtonAsDown)
        colour = brightened (backgroundColour, 0.5);
    else if (shouldDrawButtonAsHighlighted)
        colour = brightened (backgroundColour, 0.2);

    drawGradientBox (g, colour, (float) button.getWidth(), (float) button.getHeight(), true, 0.0f, 0.0f, 0.1f);
}

void LameOLook::drawScrollbarButton (juce::Graphics& g,
                                     juce::ScrollBar& scrollbar,
                                     int width,
                                     int height,
                                     int buttonDirection,
                                     bool /*isScrollbarVertical*/,
                                     bool /*shouldDrawButtonAsHighlighted*/,
                                     bool /*shouldDrawButtonAsDown*/)
{
    const auto w = (float) width;
    const auto h = (float) height;
    const auto inset = 5.0f;

    juce::Path arrow;

    switch (buttonDirection)
    {
        case 0:
            arrow.addTriangle (w * 0.5f, inset, w - inset, h - inset, inset, h - inset);
            break;
        case 1:
            arrow.addTriangle (inset, inset, inset, h - inset, w - inset, h * 0.5f);
            break;
        case 2:
            arrow.addTriangle (w * 0.5f, h - inset, w - inset, inset, inset, inset);
            break;
        default: // 3: left, the mirror image of the right arrow
            arrow.addTriangle (w - inset, inset, w - inset, h - inset, inset, h * 0.5f);
            break;
    }

    g.setColour (scrollbar.findColour (juce::ScrollBar::thumbColourId));
    g.fillPath (arrow);
}

void LameOLook::drawScrollbar (juce::Graphics& g,
                               juce::ScrollBar& scrollbar,
                               int /*x*/,
                               int /*y*/,
                               int width,
                               int height,
                               bool isScrollbarVertical,
                               int thumbStartPosition,
                               int thumbSize,
                               bool /*isMouseOver*/,
                               bool /*isMouseDown*/)
{
    const juce::Graphics::ScopedSaveState state (g);

    const auto buttonSize = getScrollbarButtonSize (scrollbar);
    const auto trackColour = scrollbar.findColour (juce::ScrollBar::trackColourId);
    const auto thumbColour = scrollbar.findColour (juce::ScrollBar::thumbColourId);

    // The track lies between the two buttons; thumbStartPosition counts from the
    // bar's own start, the top of the up button.
    if (isScrollbarVertical)
    {
        g.setOrigin (0, buttonSize);
        drawGradientBox (g, trackColour, (float) width, (float) height, true, 6.0f, 6.0f, 0.1f);
        g.setOrigin (0, thumbStartPosition - buttonSize);
        drawGradientBox (g, thumbColour, (float) width, (float) thumbSize, true, 3.0f, 3.0f, 0.1f);
    }
    else
    {
        g.setOrigin (buttonSize, 0);
        drawGradientBox (g, trackColour, (float) width, (float) height, true, 6.0f, 6.0f, 0.1f);
        g.setOrigin (thumbStartPosition - buttonSize, 0);
        drawGradientBox (g, thumbColour, (float) thumbSize, (float) height, true, 3.0f, 3.0f, 0.1f);
    }
}

juce::ImageEffectFilter* LameOLook::getScrollbarEffect()
{
    // The V1 base hands sliders and scroll bars one shared drop shadow (black at
    // 50%, radius 2, no offset); scroll bars carry the sliders' effect.
    return LookAndFeel_V1::getScrollbarEffect();
}

//==============================================================================
void LameOLook::drawPopupMenuBackground (juce::Graphics& g, int width, int height)
{
    drawGradientBox (g, findColour (juce::PopupMenu::backgroundColourId), (float) width, (float) height, true, 0.0f, 0.0f, 0.1f);
}

void LameOLook::drawPopupMenuItem (juce::Graphics& g,
                                   const juce::Rectangle<int>& area,
                                   bool isSeparator,
                                   bool /*isActive*/,
                                   bool isHighlighted,
                                   bool /*isTicked*/,
                                   bool /*hasSubMenu*/,
                                   const juce::String& text,
                                   const juce::String& /*shortcutKeyText*/,
                                   const juce::Drawable* /*icon*/,
                                   const juce::Colour* textColour)
{
    // Separators are left as empty rows.
    if (isSeparator)
        return;

    const juce::Graphics::ScopedSaveState state (g);
    g.setOrigin (area.getPosition());

    const auto width = area.getWidth();
    const auto height = area.getHeight();

    auto colour = findColour (juce::PopupMenu::textColourId);

    if (isHighlighted)
    {
        drawGradientBox (g, findColour (juce::PopupMenu::highlightedBackgroundColourId), (float) width, (float) height, false, 2.0f, 0.0f, 0.05f);
        colour = findColour (juce::PopupMenu::highlightedTextColourId);
    }

    if (textColour != nullptr)
        colour = *textColour;

    g.setColour (colour);
    g.drawText (text, 10, 5, width - 20, height - 10, juce::Justification::centredLeft, true);
}

void LameOLook::drawMenuBarBackground (juce::Graphics& g,
                                       int width,
                                       int height,
                                       bool /*isMouseOverBar*/,
                                       juce::MenuBarComponent& menuBar)
{
    drawGradientBox (g, menuBar.findColour (juce::PopupMenu::backgroundColourId), (float) width, (float) height, false, 0.0f, 0.0f, 0.1f);
}

//==============================================================================
void LameOLook::drawLinearSlider (juce::Graphics& g,
                                  int x,
                                  int y,
                                  int width,
                                  int height,
                                  float sliderPos,
                                  float /*minSliderPos*/,
                                  float /*maxSliderPos*/,
                                  juce::Slider::SliderStyle /*style*/,
                                  juce::Slider& slider)
{
    const juce::Graphics::ScopedSaveState state (g);
    g.setOrigin (x, y);

    const auto background = slider.findColour (juce::Slider::backgroundColourId);
    const auto thumb = brightened (background, 0.4);
    const auto w = (float) width;
    const auto h = (float) height;
    const auto thumbLength = 10.0f;

    // sliderPos is in the slider's coordinates: the thumb is centred on it.
    if (slider.isHorizontal())
    {
        drawGradientBox (g, background, w, h, true, 0.0f, 5.0f, 0.1f);
        g.addTransform (juce::AffineTransform::translation (sliderPos - (float) x - thumbLength * 0.5f, 0.0f));
        drawGradientBox (g, thumb, thumbLength, h, true, 0.0f, 2.0f, 0.1f);
    }
    else
    {
        drawGradientBox (g, background, w, h, true, 5.0f, 0.0f, 0.1f);
        g.addTransform (juce::AffineTransform::translation (0.0f, sliderPos - (float) y - thumbLength * 0.5f));
        drawGradientBox (g, thumb, w, thumbLength, true, 2.0f, 0.0f, 0.1f);
    }
}

//==============================================================================
void LameOLook::drawDocumentWindowTitleBar (juce::DocumentWindow& window,
                                            juce::Graphics& g,
                                            int w,
                                            int h,
                                            int /*titleSpaceX*/,
                                            int /*titleSpaceW*/,
                                            const juce::Image* /*icon*/,
                                            bool /*drawTitleTextOnLeft*/)
{
    drawGradientBox (g, window.getBackgroundColour(), (float) w, (float) h, false, 0.0f, 0.0f, 0.0f);
}
