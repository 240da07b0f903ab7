#pragma once

// Listeners that keep what they heard, in order, for a test to read back.

#include "groups/ColourGroupControlListener.h"
#include "groups/ColourTweakerListener.h"

#include <vector>

namespace testkit
{
/** Every tweaker that reported its colours applied. */
struct AppliedRecorder : public ColourTweakerListener
{
    void coloursApplied (ColourTweaker* source) override { sources.push_back (source); }
    std::vector<ColourTweaker*> sources;
};

/** Every group the group controls announced (nullptr for none). */
struct GroupSelectionRecorder : public ColourGroupControlListener
{
    void colourGroupSelected (ColourGroup* group) override { calls.push_back (group); }
    std::vector<ColourGroup*> calls;
};
} // namespace testkit
