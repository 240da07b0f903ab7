#include "tweak/TweakControls.h"

#include "scheme/PendingTweak.h"
#include "tweak/TweakPanel.h"

namespace
{
// The smallest main window leaves the panel 332 pixels high, so the free band
// between Apply and the force-hue button holds the two contrast rows and
// Invert goes below.
constexpr int contrastLabelWidth = 55;
constexpr int contrastRowHeight = 16;
constexpr int contrastRowWidth = 130 - contrastLabelWidth;

struct Place
{
    juce::Rectangle<int> bounds;
    bool vertical;
};

// In the model's order: the offsets on top, hue, saturation and brightness
// below them, then the contrast amount and centre rows.
const Place places[TweakSliders::count] = {
    { { 15, 0, 20, 100 }, true },
    { { 60, 0, 20, 100 }, true },
    { { 105, 0, 20, 100 }, true },
    { { 15, 105, 20, 100 }, true },
    { { 60, 105, 20, 100 }, true },
    { { 105, 105, 20, 100 }, true },
    { { contrastLabelWidth, 261, contrastRowWidth, contrastRowHeight }, false },
    { { contrastLabelWidth, 278, contrastRowWidth, contrastRowHeight }, false },
};

std::vector<TweakControl> placed()
{
    std::vector<TweakControl> controls;

    for (int id = 0; id < TweakSliders::count; ++id)
        controls.push_back ({ (TweakSliders::Id) id, places[id].bounds, places[id].vertical });

    return controls;
}
} // namespace

const std::vector<TweakControl> tweakControls = placed();

void TweakControl::setOnTweak (PendingTweak& tweak, const TweakPanel& panel) const
{
    const auto partner = model().movesWith;
    tweak.set (partner, panel.slider (partner).getValue());
    tweak.set (id, panel.slider (id).getValue());
}
