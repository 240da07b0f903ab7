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
    { &TweakPanel::hueSlider, "Hue", "Hue", -0.5, 0.5, 0.0, 0.0, { 15, 105, 20, 100 }, true, [] (PendingTweak& tweak, const TweakPanel& panel)
      { tweak.setHueShift (valueOf (panel.hueSlider)); } },
    { &TweakPanel::saturationSlider, "Saturation", "Saturation", 0.0, 2.0, 0.0, 1.0, { 60, 105, 20, 100 }, true, [] (PendingTweak& tweak, const TweakPanel& panel)
      { tweak.setSaturationMultiplier (valueOf (panel.saturationSlider)); } },
    { &TweakPanel::brightnessSlider, "Brightness", "Brightness", 0.0, 2.0, 0.0, 1.0, { 105, 105, 20, 100 }, true, [] (PendingTweak& tweak, const TweakPanel& panel)
      { tweak.setBrightnessMultiplier (valueOf (panel.brightnessSlider)); } },
    { &TweakPanel::redSlider, "Red", "Red", -255.0, 255.0, 1.0, 0.0, { 15, 0, 20, 100 }, true, [] (PendingTweak& tweak, const TweakPanel& panel)
      { tweak.setRedOffset ((int) panel.redSlider.getValue()); } },
    { &TweakPanel::greenSlider, "Green", "Green", -255.0, 255.0, 1.0, 0.0, { 60, 0, 20, 100 }, true, [] (PendingTweak& tweak, const TweakPanel& panel)
      { tweak.setGreenOffset ((int) panel.greenSlider.getValue()); } },
    { &TweakPanel::blueSlider, "Blue", "Blue", -255.0, 255.0, 1.0, 0.0, { 105, 0, 20, 100 }, true, [] (PendingTweak& tweak, const TweakPanel& panel)
      { tweak.setBlueOffset ((int) panel.blueSlider.getValue()); } },
    { &TweakPanel::contrastCentreSlider, "ContrastCentre", "Centre", 0.0, 1.0, 0.0, 0.5, { contrastLabelWidth, 278, contrastRowWidth, contrastRowHeight }, false, setContrast },
    { &TweakPanel::contrastValueSlider, "ContrastValue", "Contrast", 0.0, 1.0, 0.0, 0.0, { contrastLabelWidth, 261, contrastRowWidth, contrastRowHeight }, false, setContrast },
};
