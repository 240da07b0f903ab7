#include "SchemeModel.h"

//==============================================================================
ColourGroupMember::ColourGroupMember (SchemeColour& colourToTweak)
    : schemeColour (&colourToTweak),
      previewColour (colourToTweak.colour)
{
}

void ColourGroupMember::resetTweak()
{
    previewColour = schemeColour->colour;
    parameters = {};
}

//==============================================================================
bool ColourGroup::addColour (SchemeColour& colour)
{
    if (! memberColours.insert (&colour).second)
        return false;

    members.add (std::make_unique<ColourGroupMember> (colour));
    return true;
}

bool ColourGroup::containsColour (const SchemeColour& colour) const
{
    return memberColours.count (&colour) != 0;
}

//==============================================================================
SchemeColour* SchemeModel::findColourByName (const juce::String& name) const
{
    auto found = firstColourWithName.find (name);
    return found != firstColourWithName.end() ? colours[found->second] : nullptr;
}

SchemeColour& SchemeModel::appendColour (std::unique_ptr<SchemeColour> colour)
{
    jassert (colour != nullptr);
    // The name is final once appended (the reader sets it first), so the first
    // record with each name can be indexed here.
    firstColourWithName.emplace (colour->name, colours.size());
    return *colours.add (std::move (colour));
}

ColourGroup& SchemeModel::appendGroup (std::unique_ptr<ColourGroup> group)
{
    jassert (group != nullptr);
    return *groups.add (std::move (group));
}

void SchemeModel::removeGroup (int index)
{
    if (juce::isPositiveAndBelow (index, groups.size()))
        groups.remove (index);
}

void SchemeModel::clear()
{
    colours.clear();
    firstColourWithName.clear();
    groups.clear();
}
