#pragma once

// The fixture of the live preview tests: a scheme with one large group and
// one small, shown in the group tweaker.

#include "groups/ColourTweaker.h"
#include "maths/TweakMaths.h"
#include "scheme/SchemeModel.h"
#include "support/ui/MessageLoop.h"
#include "tweak/ColourGroupTweakerComponent.h"
#include "tweak/ColourTweakerList.h"
#include "tweak/PreviewSweep.h"
#include "tweak/TweakPanel.h"

#include <gtest/gtest.h>

class LivePreviewTest : public ::testing::Test
{
protected:
    void build (int numMembers)
    {
        juce::Random random (5);

        for (int i = 0; i < numMembers; ++i)
        {
            auto colour = std::make_unique<SchemeColour>();
            colour->colour = juce::Colour ((juce::uint32) random.nextInt());
            big.addColour (scheme.appendColour (std::move (colour)));
        }

        small.addColour (*scheme.getColour (0));

        pane.setSize (470, 426);
        pane.colourGroupSelected (&big);
    }

    ColourGroupTweakerComponent& tweaker() { return pane.getGroupTweaker(); }
    TweakPanel& panel() { return tweaker().getPanel(); }
    ColourTweakerList& list() { return tweaker().getList(); }

    juce::uint32 withRed (int member, int red) const
    {
        TweakMaths::TweakParameters p;
        p.redOffset = red;
        return TweakMaths::tweakColour (big.getMember (member)->getStoredColour().getARGB(), p);
    }

    juce::uint32 preview (int member) const { return big.getMember (member)->getPreviewColour().getARGB(); }

    // Every member's preview as a Red offset alone gives it; the first
    // mismatch, or -1.
    int firstMemberNotAtRed (int red) const
    {
        for (int i = 0; i < big.getNumMembers(); ++i)
            if (preview (i) != withRed (i, red) || big.getMember (i)->getParameters().redOffset != red)
                return i;
        return -1;
    }

    // Row components on screen whose preview swatch is not Red offset alone.
    std::vector<int> rowsNotAtRed (int red)
    {
        std::vector<int> wrong;
        auto& l = list();
        const auto first = l.getRowContainingPosition (5, 5);
        for (int r = first; r < first + l.getNumRowsOnScreen(); ++r)
            if (auto* item = dynamic_cast<ColourTweakerListItem*> (l.getComponentForRowNumber (r)))
                if (item->getPreviewBox().getColour().getARGB() != withRed (r, red))
                    wrong.push_back (r);
        return wrong;
    }

    // Runs the message loop as the program would, until the sweep is done.
    bool runUntilCaughtUp()
    {
        return testkit::pumpUntil ([this]
                                   { return ! tweaker().hasPendingPreviews(); },
                                   10000);
    }

    SchemeModel scheme;
    ColourGroup big, small;
    ColourTweaker pane;
};
