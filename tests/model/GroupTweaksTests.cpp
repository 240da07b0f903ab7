#include "ColourAssertions.h"
#include "maths/TweakMaths.h"
#include "scheme/SchemeModel.h"

#include <gtest/gtest.h>

using TweakMaths::TweakParameters;

namespace
{
// A scheme with a group holding one member per given colour.
struct GroupFixture
{
    explicit GroupFixture (std::initializer_list<juce::uint32> colours)
    {
        for (auto argb : colours)
            addToGroup (argb);
    }

    ColourGroupMember& addToGroup (juce::uint32 argb)
    {
        auto colour = std::make_unique<SchemeColour>();
        colour->name = "colour " + juce::String (model.getNumColours());
        colour->colour = juce::Colour (argb);
        group.addColour (model.appendColour (std::move (colour)));
        return *group.getMember (group.getNumMembers() - 1);
    }

    ColourGroupMember& member (int index) { return *group.getMember (index); }
    juce::uint32 preview (int index) { return member (index).getPreviewColour().getARGB(); }
    juce::uint32 stored (int index) { return member (index).getStoredColour().getARGB(); }

    SchemeModel model;
    ColourGroup group;
};
} // namespace

//==============================================================================
TEST (ColourGroupTweaks, SettersRecomputeFromTheStoredColourAndCombine)
{
    GroupFixture f { 0xff336699, 0x80102030 };

    f.group.setRedOffset (10);
    f.group.setGreenOffset (-20);
    f.group.setBlueOffset (30);
    f.group.setHueShift (0.1f);
    f.group.setSaturationMultiplier (1.5f);
    f.group.setBrightnessMultiplier (0.8f);
    f.group.setContrast (0.4f, 0.5f);
    EXPECT_COLOUR (f.preview (0), 0xff5a25a2);

    // Setting the same value again does not accumulate.
    f.group.setHueShift (0.1f);
    f.group.recomputePreviews();
    EXPECT_COLOUR (f.preview (0), 0xff5a25a2);
    EXPECT_COLOUR (f.stored (0), 0xff336699);

    const auto& m = f.member (1);
    EXPECT_EQ (m.getParameters().redOffset, 10);
    EXPECT_EQ (m.getParameters().greenOffset, -20);
    EXPECT_EQ (m.getParameters().blueOffset, 30);
    EXPECT_EQ (m.getParameters().hueShift, 0.1f);
    EXPECT_EQ (m.getParameters().saturationMultiplier, 1.5f);
    EXPECT_EQ (m.getParameters().brightnessMultiplier, 0.8f);
    EXPECT_EQ (m.getParameters().contrastCentre, 0.4f);
    EXPECT_EQ (m.getParameters().contrastAmount, 0.5f);

    TweakParameters p;
    p.redOffset = 10;
    p.greenOffset = -20;
    p.blueOffset = 30;
    p.hueShift = 0.1f;
    p.saturationMultiplier = 1.5f;
    p.brightnessMultiplier = 0.8f;
    p.contrastCentre = 0.4f;
    p.contrastAmount = 0.5f;
    EXPECT_COLOUR (f.preview (1), TweakMaths::tweakColour (0x80102030, p));

    // Back to neutral gives the stored colours again, alpha included.
    f.group.setRedOffset (0);
    f.group.setGreenOffset (0);
    f.group.setBlueOffset (0);
    f.group.setHueShift (0.0f);
    f.group.setSaturationMultiplier (1.0f);
    f.group.setBrightnessMultiplier (1.0f);
    f.group.setContrast (0.5f, 0.0f);
    EXPECT_COLOUR (f.preview (0), 0xff336699);
    EXPECT_COLOUR (f.preview (1), 0x80102030);
}

TEST (ColourGroupTweaks, ApplyWritesPreviewsOnceAndResets)
{
    GroupFixture f { 0xffff0000, 0x804080c0 };

    f.group.setHueShift (0.5f);
    EXPECT_COLOUR (f.stored (0), 0xffff0000); // nothing reaches the scheme before Apply

    f.group.applyTweak();
    EXPECT_COLOUR (f.stored (0), 0xff00ffff);
    EXPECT_COLOUR (f.stored (1), 0x80c08040);
    EXPECT_COLOUR (f.preview (0), 0xff00ffff);
    EXPECT_EQ (f.member (0).getParameters().hueShift, 0.0f);

    f.group.recomputePreviews();
    EXPECT_COLOUR (f.preview (0), 0xff00ffff);
    EXPECT_COLOUR (f.preview (1), 0x80c08040);

    f.group.applyTweak();
    EXPECT_COLOUR (f.stored (0), 0xff00ffff);
    EXPECT_COLOUR (f.stored (1), 0x80c08040);
}

TEST (ColourGroupTweaks, ResetCopiesTheStoredColourWithoutConversion)
{
    GroupFixture f { 0x00000000, 0x01fe0203 };

    f.group.setSaturationMultiplier (0.3f);
    f.group.setContrast (0.1f, 0.9f);
    f.member (0).getSchemeColour().colour = juce::Colour (0x7f123456); // a direct edit
    EXPECT_COLOUR (f.preview (0), 0x00000000); // previews wait for the next operation

    f.group.resetTweak();
    EXPECT_COLOUR (f.preview (0), 0x7f123456);
    EXPECT_COLOUR (f.preview (1), 0x01fe0203);
    EXPECT_EQ (f.member (1).getParameters().saturationMultiplier, 1.0f);
    EXPECT_EQ (f.member (1).getParameters().contrastCentre, 0.5f);
    EXPECT_EQ (f.member (1).getParameters().contrastAmount, 0.0f);
}

TEST (ColourGroupTweaks, MemberAddedLaterKeepsEarlierSlidersNeutral)
{
    GroupFixture f { 0xffff0000 };
    f.group.setHueShift (0.5f);

    auto& late = f.addToGroup (0xffff0000);
    EXPECT_EQ (late.getParameters().hueShift, 0.0f);
    EXPECT_COLOUR (late.getPreviewColour().getARGB(), 0xffff0000);

    // Another slider moves: the late member still has no hue shift.
    f.group.setBrightnessMultiplier (0.5f);
    EXPECT_EQ (late.getParameters().hueShift, 0.0f);
    EXPECT_COLOUR (late.getPreviewColour().getARGB(), 0xff800000);
    EXPECT_COLOUR (f.preview (0), 0xff008080);

    f.group.setHueShift (0.5f);
    EXPECT_COLOUR (late.getPreviewColour().getARGB(), 0xff008080);
}

TEST (ColourGroupTweaks, ForcedHueAndInvertLiveOnlyInThePreview)
{
    GroupFixture f { 0xffff0000, 0xff808080, 0x80102030 };

    f.group.setBrightnessMultiplier (0.5f);
    f.group.forceHue (0.5f);
    EXPECT_COLOUR (f.preview (0), 0xff00ffff); // from the stored colour, not the darkened preview
    EXPECT_COLOUR (f.preview (1), 0xff808080);
    EXPECT_EQ (f.member (0).getParameters().brightnessMultiplier, 1.0f);

    f.group.setRedOffset (-55);
    EXPECT_COLOUR (f.preview (0), 0xffc80000);
    EXPECT_COLOUR (f.preview (1), 0xff498080);

    f.group.invertColours();
    EXPECT_COLOUR (f.preview (0), 0xff00ffff);
    EXPECT_COLOUR (f.preview (2), 0x80efdfcf);
    EXPECT_EQ (f.member (0).getParameters().redOffset, 0);
    EXPECT_COLOUR (f.stored (2), 0x80102030);

    f.group.setSaturationMultiplier (1.0f);
    EXPECT_COLOUR (f.preview (0), 0xffff0000);
    EXPECT_COLOUR (f.preview (2), 0x80102030);

    f.group.invertColours();
    f.group.applyTweak();
    EXPECT_COLOUR (f.stored (0), 0xff00ffff);
    EXPECT_COLOUR (f.stored (1), 0xff7f7f7f);
    EXPECT_COLOUR (f.stored (2), 0x80efdfcf);
}

TEST (ColourGroupTweaks, SharedSchemeColourHasIndependentTweaks)
{
    GroupFixture f { 0xff4080c0 };
    ColourGroup other;
    other.addColour (f.member (0).getSchemeColour());

    f.group.setSaturationMultiplier (0.0f);
    other.setBrightnessMultiplier (0.5f);
    EXPECT_COLOUR (f.preview (0), 0xffc0c0c0);
    EXPECT_COLOUR (other.getMember (0)->getPreviewColour().getARGB(), 0xff204060);

    f.group.applyTweak();
    EXPECT_COLOUR (other.getMember (0)->getStoredColour().getARGB(), 0xffc0c0c0);
    other.recomputePreviews();
    EXPECT_COLOUR (other.getMember (0)->getPreviewColour().getARGB(), 0xff606060);
}
