#include "exchange/SchemeDiff.h"

#include "exchange/JsonText.h"
#include "maths/ColourDifference.h"

#include <algorithm>
#include <map>
#include <set>

namespace SchemeDiff
{
namespace
{
    // A colour or group by its name and how many before it share that name.
    using Key = std::pair<juce::String, int>;

    struct Keys
    {
        std::vector<Key> byIndex;
        std::map<Key, int> indexOf;
    };

    template <typename NameAt>
    Keys keysOf (int count, NameAt nameAt)
    {
        Keys keys;
        std::map<juce::String, int> seen;

        for (int i = 0; i < count; ++i)
        {
            const auto name = nameAt (i);
            keys.byIndex.push_back ({ name, seen[name]++ });
            keys.indexOf.emplace (keys.byIndex.back(), i);
        }

        return keys;
    }

    /** Which of the positions form a longest increasing run (not necessarily
        adjacent); the rest are the ones that moved. */
    std::vector<bool> longestIncreasing (const std::vector<int>& positions)
    {
        std::vector<int> tails, tailIndex, previous (positions.size(), -1);

        for (size_t i = 0; i < positions.size(); ++i)
        {
            const auto at = (size_t) (std::lower_bound (tails.begin(), tails.end(), positions[i]) - tails.begin());

            if (at > 0)
                previous[i] = tailIndex[at - 1];

            if (at == tails.size())
            {
                tails.push_back (positions[i]);
                tailIndex.push_back ((int) i);
            }
            else
            {
                tails[at] = positions[i];
                tailIndex[at] = (int) i;
            }
        }

        std::vector<bool> kept (positions.size(), false);

        for (auto i = tailIndex.empty() ? -1 : tailIndex.back(); i >= 0; i = previous[(size_t) i])
            kept[(size_t) i] = true;

        return kept;
    }

    juce::StringArray memberNames (const ColourGroup& group)
    {
        juce::StringArray names;

        for (int i = 0; i < group.getNumMembers(); ++i)
            names.add (group.getMember (i)->getSchemeColour().name.toString());

        return names;
    }

    juce::StringArray sorted (juce::StringArray names)
    {
        names.sort (false);
        return names;
    }

    juce::StringArray missingFrom (const juce::StringArray& names, const juce::StringArray& others)
    {
        const std::set<juce::String> present (others.begin(), others.end());
        std::set<juce::String> listed;
        juce::StringArray missing;

        for (const auto& name : names)
            if (present.count (name) == 0 && listed.insert (name).second)
                missing.add (name);

        return missing;
    }

    void compareColours (const SchemeModel& before, const SchemeModel& after, Differences& d)
    {
        const auto colourName = [] (const SchemeModel& m)
        { return [&m] (int i)
          { return m.getColour (i)->name.toString(); }; };
        const auto oldKeys = keysOf (before.getNumColours(), colourName (before));
        const auto newKeys = keysOf (after.getNumColours(), colourName (after));

        std::vector<int> oldIndices, newIndices;

        for (int i = 0; i < before.getNumColours(); ++i)
        {
            const auto* colour = before.getColour (i);
            const auto match = newKeys.indexOf.find (oldKeys.byIndex[(size_t) i]);

            if (match == newKeys.indexOf.end())
            {
                d.removed.push_back ({ colour->name.toString(), colour->colour });
                continue;
            }

            const auto* now = after.getColour (match->second);

            if (now->colour != colour->colour)
                d.changed.push_back ({ colour->name.toString(), colour->colour, now->colour, ColourDifference::ciede2000 (colour->colour, now->colour) });

            oldIndices.push_back (i);
            newIndices.push_back (match->second);
        }

        for (int i = 0; i < after.getNumColours(); ++i)
            if (oldKeys.indexOf.count (newKeys.byIndex[(size_t) i]) == 0)
                d.added.push_back ({ after.getColour (i)->name.toString(), after.getColour (i)->colour });

        const auto kept = longestIncreasing (newIndices);

        for (size_t i = 0; i < kept.size(); ++i)
            if (! kept[i])
                d.moved.push_back ({ before.getColour (oldIndices[i])->name.toString(), oldIndices[i], newIndices[i] });
    }

    void compareGroups (const SchemeModel& before, const SchemeModel& after, Differences& d)
    {
        const auto groupName = [] (const SchemeModel& m)
        { return [&m] (int i)
          { return m.getGroup (i)->getName(); }; };
        const auto oldKeys = keysOf (before.getNumGroups(), groupName (before));
        const auto newKeys = keysOf (after.getNumGroups(), groupName (after));

        std::vector<int> gone, added;

        for (int i = 0; i < before.getNumGroups(); ++i)
        {
            const auto match = newKeys.indexOf.find (oldKeys.byIndex[(size_t) i]);

            if (match == newKeys.indexOf.end())
            {
                gone.push_back (i);
                continue;
            }

            const auto oldMembers = memberNames (*before.getGroup (i));
            const auto newMembers = memberNames (*after.getGroup (match->second));
            GroupMembers change { before.getGroup (i)->getName(), missingFrom (newMembers, oldMembers), missingFrom (oldMembers, newMembers) };

            if (! change.added.isEmpty() || ! change.removed.isEmpty())
                d.members.push_back (change);
        }

        for (int i = 0; i < after.getNumGroups(); ++i)
            if (oldKeys.indexOf.count (newKeys.byIndex[(size_t) i]) == 0)
                added.push_back (i);

        for (auto g : gone)
        {
            const auto members = sorted (memberNames (*before.getGroup (g)));
            const auto same = std::find_if (added.begin(), added.end(), [&] (int a)
                                            { return sorted (memberNames (*after.getGroup (a))) == members; });

            if (same != added.end())
            {
                d.groupsRenamed.push_back ({ before.getGroup (g)->getName(), after.getGroup (*same)->getName() });
                added.erase (same);
            }
            else
            {
                d.groupsRemoved.add (before.getGroup (g)->getName());
            }
        }

        for (auto a : added)
            d.groupsAdded.add (after.getGroup (a)->getName());
    }
} // namespace

bool Differences::empty() const noexcept
{
    return added.empty() && removed.empty() && changed.empty() && moved.empty() && groupsAdded.isEmpty()
           && groupsRemoved.isEmpty() && groupsRenamed.empty() && members.empty();
}

Differences between (const SchemeModel& before, const SchemeModel& after)
{
    Differences d;
    compareColours (before, after, d);
    compareGroups (before, after, d);
    return d;
}

juce::String listing (const SchemeModel& model)
{
    juce::MemoryOutputStream out;

    for (int i = 0; i < model.getNumColours(); ++i)
    {
        const auto* colour = model.getColour (i);
        out << "colour " << juce::String::toHexString ((juce::int64) colour->colour.getARGB()).paddedLeft ('0', 8) << " "
            << JsonText::quoted (colour->name.toString()) << "\n";
    }

    for (const auto* group : model.getColourGroups())
    {
        out << "group " << JsonText::quoted (group->getName());

        for (const auto& member : memberNames (*group))
            out << " " << JsonText::quoted (member);

        out << "\n";
    }

    return out.toUTF8();
}
} // namespace SchemeDiff
