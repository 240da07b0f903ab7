// Slider moves queued on a group and handed to the members gradually must end
// in exactly the parameters and previews that setting every member at once
// gives. The expectation is kept apart from the group: one parameter set per
// member, updated the way a slider move is specified, and each preview
// computed by the one-colour maths.

#include "ColourAssertions.h"
#include "maths/TweakMaths.h"
#include "scheme/PendingTweak.h"
#include "scheme/SchemeModel.h"

#include <gtest/gtest.h>

#include <random>
#include <vector>

using TweakMaths::TweakParameters;

namespace
{
// One slider move, both as the queued change and as what it does to a
// member's parameters.
struct Move
{
    PendingTweak change;
    std::function<void (TweakParameters&)> expected;
};

// A move of one slider to v, which sets that field.
template <typename Value>
Move moveOf (TweakSliders::Id slider, Value v, Value TweakParameters::*field)
{
    Move m;
    m.change.set (slider, v);
    m.expected = [v, field] (TweakParameters& p)
    { p.*field = v; };
    return m;
}

Move randomMove (std::mt19937& rng)
{
    std::uniform_int_distribution<int> offset (-255, 255);
    std::uniform_real_distribution<float> unit (0.0f, 1.0f);

    switch (rng() % 7)
    {
        case 0:
            return moveOf (TweakSliders::red, offset (rng), &TweakParameters::redOffset);
        case 1:
            return moveOf (TweakSliders::green, offset (rng), &TweakParameters::greenOffset);
        case 2:
            return moveOf (TweakSliders::blue, offset (rng), &TweakParameters::blueOffset);
        case 3:
            return moveOf (TweakSliders::hue, unit (rng) - 0.5f, &TweakParameters::hueShift);
        case 4:
            return moveOf (TweakSliders::saturation, 2.0f * unit (rng), &TweakParameters::saturationMultiplier);
        case 5:
            return moveOf (TweakSliders::brightness, 2.0f * unit (rng), &TweakParameters::brightnessMultiplier);
        default:
            break;
    }

    // The contrast pair moves as one: a slider moved alone brings its
    // partner's neutral value.
    Move m;
    const auto centreMoves = rng() % 2 == 0;
    const auto centre = centreMoves ? unit (rng) : 0.5f, amount = unit (rng);
    if (centreMoves)
        m.change.set (TweakSliders::contrastCentre, centre);
    m.change.set (TweakSliders::contrast, amount);
    m.expected = [centre, amount] (TweakParameters& p)
    {
        p.contrastCentre = centre;
        p.contrastAmount = amount;
    };
    return m;
}

bool sameParameters (const TweakParameters& a, const TweakParameters& b)
{
    return a.redOffset == b.redOffset && a.greenOffset == b.greenOffset && a.blueOffset == b.blueOffset
           && a.hueShift == b.hueShift && a.saturationMultiplier == b.saturationMultiplier
           && a.brightnessMultiplier == b.brightnessMultiplier && a.alphaMultiplier == b.alphaMultiplier
           && a.contrastCentre == b.contrastCentre && a.contrastAmount == b.contrastAmount;
}

struct QueuedGroup
{
    void add (juce::uint32 argb)
    {
        auto colour = std::make_unique<SchemeColour>();
        colour->colour = juce::Colour (argb);
        group.addColour (model.appendColour (std::move (colour)));
        expected.emplace_back();
    }

    void move (const Move& m)
    {
        group.queueTweak (m.change);
        for (auto& p : expected)
            m.expected (p);
    }

    // Member i as a slider move specifies it.
    void expectUpToDate (int i) const
    {
        const auto& member = *group.getMember (i);
        EXPECT_TRUE (sameParameters (member.getParameters(), expected[(size_t) i])) << "member " << i;
        EXPECT_COLOUR (member.getPreviewColour().getARGB(),
                       TweakMaths::tweakColour (member.getStoredColour().getARGB(), expected[(size_t) i]))
            << "member " << i;
    }

    void expectAllUpToDate() const
    {
        for (int i = 0; i < group.getNumMembers(); ++i)
            expectUpToDate (i);
    }

    SchemeModel model;
    ColourGroup group;
    std::vector<TweakParameters> expected;
};
} // namespace

//==============================================================================
TEST (QueuedTweak, MembersTakingMovesInSlicesEndExactlyAsSettingThemAtOnce)
{
    std::mt19937 rng (2024);

    for (int round = 0; round < 20; ++round)
    {
        QueuedGroup g;
        const auto size = 1 + (int) (rng() % 300);
        for (int i = 0; i < size; ++i)
            g.add ((juce::uint32) rng());

        for (int step = 0; step < 60; ++step)
        {
            switch (rng() % 5)
            {
                case 0:
                case 1:
                    g.move (randomMove (rng));
                    break;
                case 2:
                    g.group.continueTweak ((int) (rng() % 80));
                    break;
                case 3:
                {
                    // A row on screen is right at once, whatever else lags.
                    const auto i = (int) (rng() % (unsigned) g.group.getNumMembers());
                    g.group.updateMember (i);
                    g.expectUpToDate (i);
                    break;
                }
                default:
                    // Adding finishes what is queued: the newcomer stays neutral.
                    g.add ((juce::uint32) rng());
                    break;
            }
        }

        while (g.group.continueTweak (1 + (int) (rng() % 100)))
        {
        }

        EXPECT_FALSE (g.group.hasQueuedTweak());
        g.expectAllUpToDate();

        if (testing::Test::HasFailure())
            FAIL() << "round " << round;
    }
}

TEST (QueuedTweak, OnlyTheLatestValueOfEachMovedParameterArrives)
{
    QueuedGroup g;
    for (auto argb : { 0xff336699u, 0x80102030u, 0xff4080c0u, 0xffffffffu })
        g.add (argb);

    // Half-way through the red moves, the first members already took red 10.
    PendingTweak red10, red90, hue;
    red10.set (TweakSliders::red, 10);
    red90.set (TweakSliders::red, 90);
    hue.set (TweakSliders::hue, 0.25f);

    g.group.queueTweak (red10);
    EXPECT_TRUE (g.group.continueTweak (2));
    EXPECT_EQ (g.group.getMember (0)->getParameters().redOffset, 10);
    EXPECT_EQ (g.group.getMember (3)->getParameters().redOffset, 0);

    g.group.queueTweak (red90);
    g.group.queueTweak (hue);
    g.group.finishTweak();

    for (int i = 0; i < 4; ++i)
    {
        EXPECT_EQ (g.group.getMember (i)->getParameters().redOffset, 90) << i;
        EXPECT_EQ (g.group.getMember (i)->getParameters().hueShift, 0.25f) << i;
        EXPECT_EQ (g.group.getMember (i)->getParameters().saturationMultiplier, 1.0f) << i;
    }

    // The same as setting them one after the other at once.
    QueuedGroup direct;
    for (auto argb : { 0xff336699u, 0x80102030u, 0xff4080c0u, 0xffffffffu })
        direct.add (argb);
    direct.group.setRedOffset (10);
    direct.group.setRedOffset (90);
    direct.group.setHueShift (0.25f);

    for (int i = 0; i < 4; ++i)
        EXPECT_COLOUR (g.group.getMember (i)->getPreviewColour().getARGB(),
                       direct.group.getMember (i)->getPreviewColour().getARGB());
}

TEST (QueuedTweak, EveryMemberIsVisitedOnceMoreAfterTheLatestMove)
{
    QueuedGroup g;
    for (int i = 0; i < 10; ++i)
        g.add (0xff000000u | (juce::uint32) (i * 0x111111));

    PendingTweak first, second;
    first.set (TweakSliders::blue, 40);
    second.set (TweakSliders::green, -30);

    g.group.queueTweak (first);
    EXPECT_TRUE (g.group.continueTweak (6));

    // The move restarts the round where it stands: ten more members, wrapping.
    g.group.queueTweak (second);
    EXPECT_TRUE (g.group.continueTweak (4)); // members 6 to 9
    EXPECT_TRUE (g.group.continueTweak (5)); // members 0 to 4
    EXPECT_EQ (g.group.getMember (5)->getParameters().greenOffset, 0);
    EXPECT_FALSE (g.group.continueTweak (5)); // member 5, the last one due
    EXPECT_FALSE (g.group.hasQueuedTweak());
    EXPECT_FALSE (g.group.continueTweak (5));

    g.move ({ first, [] (TweakParameters& p)
              { p.blueOffset = 40; } });
    g.move ({ second, [] (TweakParameters& p)
              { p.greenOffset = -30; } });
    g.group.finishTweak();
    g.expectAllUpToDate();
}

TEST (QueuedTweak, ResetInvertAndForcedHueDropWhatIsQueued)
{
    const std::initializer_list<juce::uint32> colours { 0xffff0000u, 0xff808080u, 0x80102030u };
    PendingTweak dark;
    dark.set (TweakSliders::brightness, 0.5f);

    QueuedGroup reset;
    for (auto c : colours)
        reset.add (c);
    reset.group.queueTweak (dark);
    reset.group.continueTweak (1);
    reset.group.resetTweak();
    EXPECT_FALSE (reset.group.hasQueuedTweak());
    reset.group.continueTweak (10);
    reset.expectAllUpToDate(); // neutral everywhere: previews are the stored colours

    QueuedGroup inverted;
    for (auto c : colours)
        inverted.add (c);
    inverted.group.queueTweak (dark);
    inverted.group.invertColours();
    inverted.group.finishTweak();
    EXPECT_COLOUR (inverted.group.getMember (0)->getPreviewColour().getARGB(), 0xff00ffff);
    EXPECT_COLOUR (inverted.group.getMember (2)->getPreviewColour().getARGB(), 0x80efdfcf);
    EXPECT_EQ (inverted.group.getMember (1)->getParameters().brightnessMultiplier, 1.0f);

    QueuedGroup forced;
    for (auto c : colours)
        forced.add (c);
    forced.group.queueTweak (dark);
    forced.group.forceHue (0.5f);
    forced.group.finishTweak();
    EXPECT_COLOUR (forced.group.getMember (0)->getPreviewColour().getARGB(), 0xff00ffff);
    EXPECT_EQ (forced.group.getMember (0)->getParameters().brightnessMultiplier, 1.0f);
}

TEST (QueuedTweak, ApplyRecomputeAndAddingFinishFirst)
{
    QueuedGroup g;
    g.add (0xffff0000u);
    g.add (0x804080c0u);

    PendingTweak hue;
    hue.set (TweakSliders::hue, 0.5f);
    g.group.queueTweak (hue);

    EXPECT_TRUE (g.group.applyTweak());
    EXPECT_COLOUR (g.group.getMember (0)->getStoredColour().getARGB(), 0xff00ffff);
    EXPECT_COLOUR (g.group.getMember (1)->getStoredColour().getARGB(), 0x80c08040);
    EXPECT_FALSE (g.group.hasQueuedTweak());
    EXPECT_FALSE (g.group.applyTweak()) << "nothing left to apply";

    g.group.queueTweak (hue);
    g.group.getMember (0)->getSchemeColour().colour = juce::Colour (0xff00ff00);
    g.group.recomputePreviews();
    EXPECT_COLOUR (g.group.getMember (0)->getPreviewColour().getARGB(), 0xffff00ff);
    EXPECT_FALSE (g.group.hasQueuedTweak());

    // Queued on an empty group, nothing is kept for members that come later.
    ColourGroup empty;
    PendingTweak red;
    red.set (TweakSliders::red, 100);
    empty.queueTweak (red);
    EXPECT_FALSE (empty.hasQueuedTweak());
    empty.addColour (*g.model.getColour (0));
    empty.queueTweak (hue);
    empty.finishTweak();
    EXPECT_EQ (empty.getMember (0)->getParameters().redOffset, 0);
    EXPECT_EQ (empty.getMember (0)->getParameters().hueShift, 0.5f);
}
