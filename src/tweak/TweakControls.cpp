#include "tweak/TweakControls.h"

#include "scheme/PendingTweak.h"
#include "tweak/TweakPanel.h"

namespace
{
float valueOf (const juce::Slider& slider) { return (float) slider.getValue(); }

// The smallest main window leaves the panel 332 pixels high, so the free band
// between Apply and the force-hue button holds the two contrast rows and
// Invert goes below.
constexpr int contrastLabelWidth = 55;
constexpr int contrastRowHeight = 16;
constexpr int contrastRowWidth = 130 - contrastLabelWidth;

void setContrast (PendingTweak& tweak, const TweakPanel& panel)
{
    tweak.setContrast (valueOf (panel.contrastCentreSlider), valueOf (panel.contrastValueSlider));
}
} // namespace

const std::vector<TweakControl> tweakControls {
    { &TweakPanel::hueSlider, "Hue", "Hue", TweakRanges::hueShift, { 15, 105, 20, 100 }, true, [] (PendingTweak& tweak, const TweakPanel& panel)
      { tweak.setHueShift (valueOf (panel.hueSlider)); } },
    { &TweakPanel::saturationSlider, "Saturation", "Saturation", TweakRanges::saturationMultiplier, { 60, 105, 20, 100 }, true, [] (PendingTweak& tweak, const TweakPanel& panel)
      { tweak.setSaturationMultiplier (valueOf (panel.saturationSlider)); } },
    { &TweakPanel::brightnessSlider, "Brightness", "Brightness", TweakRanges::brightnessMultiplier, { 105, 105, 20, 100 }, true, [] (PendingTweak& tweak, const TweakPanel& panel)
      { tweak.setBrightnessMultiplier (valueOf (panel.brightnessSlider)); } },
    { &TweakPanel::redSlider, "Red", "Red", TweakRanges::redOffset, { 15, 0, 20, 100 }, true, [] (PendingTweak& tweak, const TweakPanel& panel)
      { tweak.setRedOffset ((int) panel.redSlider.getValue()); } },
    { &TweakPanel::greenSlider, "Green", "Green", TweakRanges::greenOffset, { 60, 0, 20, 100 }, true, [] (PendingTweak& tweak, const TweakPanel& panel)
      { tweak.setGreenOffset ((int) panel.greenSlider.getValue()); } },
    { &TweakPanel::blueSlider, "Blue", "Blue", TweakRanges::blueOffset, { 105, 0, 20, 100 }, true, [] (PendingTweak& tweak, const TweakPanel& panel)
      { tweak.setBlueOffset ((int) panel.blueSlider.getValue()); } },
    { &TweakPanel::contrastCentreSlider, "ContrastCentre", "Centre", TweakRanges::contrastCentre, { contrastLabelWidth, 278, contrastRowWidth, contrastRowHeight }, false, setContrast },
    { &TweakPanel::contrastValueSlider, "ContrastValue", "Contrast", TweakRanges::contrastAmount, { contrastLabelWidth, 261, contrastRowWidth, contrastRowHeight }, false, setContrast },
};
