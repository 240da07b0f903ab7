// The edits a user makes to a scheme, shared by the window and the command line.
#include "scheme/SchemeModel.h"

#include "scheme/SchemeNames.h"

ColourGroup* SchemeModel::findGroup (const juce::String& name) const noexcept
{
    for (auto* group : groups)
        if (group->getName() == name)
            return group;

    return nullptr;
}

ColourGroup* SchemeModel::addGroup (const juce::String& name)
{
    if (name.isEmpty() || SchemeNames::refusalFor (name).isNotEmpty())
        return nullptr;

    auto group = std::make_unique<ColourGroup>();
    group->setName (name);
    return &appendGroup (std::move (group));
}

bool SchemeModel::deleteGroup (int index)
{
    if (! juce::isPositiveAndBelow (index, groups.size()))
        return false;

    groups.remove (index);
    return true;
}

bool SchemeModel::renameGroup (ColourGroup& group, const juce::String& newName)
{
    if (newName.isEmpty() || newName == group.getName() || SchemeNames::refusalFor (newName).isNotEmpty())
        return false;

    group.setName (newName);
    return true;
}

bool SchemeModel::addColoursToGroup (ColourGroup& group, const juce::SparseSet<int>& colourIndices)
{
    group.reserveMembers (group.getNumMembers() + juce::jmin (colourIndices.size(), colours.size()));

    auto added = false;

    for (int i = 0; i < colourIndices.getNumRanges(); ++i)
    {
        const auto range = colourIndices.getRange (i).getIntersectionWith ({ 0, colours.size() });

        for (auto index = range.getStart(); index < range.getEnd(); ++index)
        {
            // The file names members by colour name, and a name reads back as
            // its first colour: a later colour of the same name joins as that
            // first one, so the group holds now what it will hold when reopened.
            auto* colour = colours.getUnchecked (index);
            added = group.addColour (*findColourByName (colour->name)) || added;
        }
    }

    return added;
}

bool SchemeModel::pickColour (ColourGroup& group, int memberIndex, juce::Colour newColour)
{
    auto* member = group.getMember (memberIndex);

    if (member == nullptr)
        return false;

    auto& stored = member->getSchemeColour();
    const auto changed = stored.colour != newColour;
    stored.colour = newColour;

    group.updateMember (memberIndex);
    member->recomputePreview();
    return changed;
}

bool SchemeModel::applyTweak (ColourGroup& group)
{
    return group.applyTweak();
}
