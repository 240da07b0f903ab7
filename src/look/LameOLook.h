#pragma once

#include <juce_gui_basics/juce_gui_basics.h>

/** The program's own look: flat blue gradients on a light base.

    Everything is drawn with one primitive, a rectangle filled with a vertical
    two-colour gradient (drawGradientBox). The base is JUCE's V1 look: it is light,
    keeps the light blue-grey menu background, shows scroll-bar buttons and gives
    sliders and scroll bars a soft drop shadow.
*/
class LameOLook : public juce::LookAndFeel_V1
{
public:
    LameOLook();
    ~LameOLook() override;

    //==============================================================================
    /** The colour a gradient box ends with at its bottom: the top colour with its hue
        rotated by hueRotation, then darkened by 0.2. */
    static juce::Colour gradientBottomColour (juce::Colour top, float hueRotation);

    /** Fills the rectangle (insetX, insetY, w - 2 insetX, h - 2 insetY) with a linear
        gradient running from the colour at (0, 0) to its bottom colour at (0, h): the
        gradient spans the full height even when the box is inset. With an outline, a
        1-pixel 50% black frame is drawn around the same rectangle, truncated to whole
        pixels. */
    static void drawGradientBox (juce::Graphics& g,
                                 juce::Colour colour,
                                 float w,
                                 float h,
                                 bool outline,
                                 float insetX,
                                 float insetY,
                                 float hueRotation);

    //==============================================================================
    void drawButtonBackground (juce::Graphics&,
                               juce::Button&,
                               const juce::Colour& backgroundColour,
                               bool shouldDrawButtonAsHighlighted,
                               bool shouldDrawButtonAsDown) override;

    void drawScrollbarButton (juce::Graphics&,
                              juce::ScrollBar&,
                              int width,
                              int height,
                              int buttonDirection,
                              bool isScrollbarVertical,
                              bool shouldDrawButtonAsHighlighted,
                              bool shouldDrawButtonAsDown) override;

    void drawScrollbar (juce::Graphics&,
                        juce::ScrollBar&,
                        int x,
                        int y,
                        int width,
                        int height,
                        bool isScrollbarVertical,
                        int thumbStartPosition,
                        int thumbSize,
                        bool isMouseOver,
                        bool isMouseDown) override;

    juce::ImageEffectFilter* getScrollbarEffect() override;

    void drawPopupMenuBackground (juce::Graphics&, int width, int height) override;

    void drawPopupMenuItem (juce::Graphics&,
                            const juce::Rectangle<int>& area,
                            bool isSeparator,
                            bool isActive,
                            bool isHighlighted,
                            bool isTicked,
                            bool hasSubMenu,
                            const juce::String& text,
                            const juce::String& shortcutKeyText,
                            const juce::Drawable* icon,
                            const juce::Colour* textColour) override;

    void drawMenuBarBackground (juce::Graphics&,
                                int width,
                                int height,
                                bool isMouseOverBar,
                                juce::MenuBarComponent&) override;

    void drawLinearSlider (juce::Graphics&,
                           int x,
                           int y,
                           int width,
                           int height,
                           float sliderPos,
                           float minSliderPos,
                           float maxSliderPos,
                           juce::Slider::SliderStyle,
                           juce::Slider&) override;

    void drawDocumentWindowTitleBar (juce::DocumentWindow&,
                                     juce::Graphics&,
                                     int w,
                                     int h,
                                     int titleSpaceX,
                                     int titleSpaceW,
                                     const juce::Image* icon,
                                     bool drawTitleTextOnLeft) override;

private:
    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (LameOLook)
};
