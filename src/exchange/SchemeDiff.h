#pragma once

#include "scheme/SchemeModel.h"

#include <vector>

/** What changed from one scheme to another, as a scheme author reads it.
    Colours are matched by name (the second colour of a name with the second
    of that name, and so on); groups by name, and a group that is gone
    matched with a new one holding the same members counts as renamed. */
namespace SchemeDiff
{
struct Colour
{
    juce::String name;
    juce::Colour colour;
};

struct ChangedColour
{
    juce::String name;
    juce::Colour before, after;
    double difference; // CIEDE2000
};

struct MovedColour
{
    juce::String name;
    int from, to; // indices in the colour lists
};

struct RenamedGroup
{
    juce::String from, to;
};

struct GroupMembers
{
    juce::String group;
    juce::StringArray added, removed;
};

struct Differences
{
    std::vector<Colour> added, removed;
    std::vector<ChangedColour> changed;
    std::vector<MovedColour> moved;
    juce::StringArray groupsAdded, groupsRemoved;
    std::vector<RenamedGroup> groupsRenamed;
    std::vector<GroupMembers> members;

    bool empty() const noexcept;
};

Differences between (const SchemeModel& before, const SchemeModel& after);

/** A listing that stays the same while the scheme does, for line-based tools
    such as git's textconv: one line a colour ("colour aarrggbb NAME"), then
    one a group ("group NAME MEMBER..."), names as JSON strings. */
juce::String listing (const SchemeModel& model);
} // namespace SchemeDiff
