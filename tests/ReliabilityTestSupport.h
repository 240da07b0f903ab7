#pragma once

// What the reliability tests share: scratch folders and filled schemes.

#include "scheme/SchemeModel.h"
#include "support/model/TempFolder.h"

#include <juce_core/juce_core.h>

namespace ReliabilityTestSupport
{
using ScratchFolder = testkit::TempFolder;

/** numColours colours with names that need escaping, and numGroups groups
    of membersPerGroup members; salt makes the colours of two schemes differ. */
inline void fillModel (SchemeModel& model, int numColours, int numGroups, int membersPerGroup, juce::uint32 salt)
{
    for (int i = 0; i < numColours; ++i)
    {
        auto colour = std::make_unique<SchemeColour>();
        colour->name = "Colour " + juce::String (i) + " & <" + juce::String (salt) + ">";
        colour->colour = juce::Colour ((juce::uint32) (i * 2654435761u) ^ salt);
        model.appendColour (std::move (colour));
    }

    for (int g = 0; g < numGroups; ++g)
    {
        auto& group = model.appendGroup (std::make_unique<ColourGroup>());
        group.setName ("Group " + juce::String (g));

        for (int m = 0; m < membersPerGroup; ++m)
            group.addColour (*model.getColour ((g * membersPerGroup + m) % numColours));
    }
}
} // namespace ReliabilityTestSupport
