#include "scheme/SchemeModel.h"

#include <cstring>

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

namespace
{
std::uint64_t hashOf (const SchemeColour* colour) noexcept
{
    return (std::uint64_t) reinterpret_cast<std::uintptr_t> (colour);
}

// Names are hashed as UTF-8 bytes, eight at a time: equal names have equal
// bytes, since JUCE keeps every String in shortest-form UTF-8.
std::uint64_t hashOf (const char* utf8, size_t numBytes) noexcept
{
    std::uint64_t hash = numBytes * 0x9e3779b97f4a7c15ull;
    std::uint64_t word;

    for (; numBytes >= 8; utf8 += 8, numBytes -= 8)
    {
        std::memcpy (&word, utf8, 8);
        hash = (hash ^ word) * 0xff51afd7ed558ccdull;
        hash ^= hash >> 32;
    }

    word = 0;
    std::memcpy (&word, utf8, numBytes);
    hash = (hash ^ word) * 0xc4ceb9fe1a85ec53ull;
    return hash ^ (hash >> 29);
}

// The String's own bytes, without the call of toRawUTF8: a lookup while
// reading a scheme is mostly waiting for memory already.
const char* bytesOf (const SchemeColour& colour) noexcept
{
    return colour.name.getCharPointer().getAddress();
}

bool hasName (const SchemeColour& colour, const char* utf8, size_t numBytes) noexcept
{
    auto* name = bytesOf (colour);
    return std::strlen (name) == numBytes && std::memcmp (name, utf8, numBytes) == 0;
}
} // namespace

//==============================================================================
bool ColourGroup::addColour (SchemeColour& colour)
{
    // A new member keeps neutral values for sliders that moved before it came.
    finishTweak();

    const SchemeColour* record = &colour;

    if (! memberColours.insert (hashOf (record), record, [record] (const SchemeColour* c)
                                { return c == record; }))
        return false;

    members.add (std::make_unique<ColourGroupMember> (colour));
    return true;
}

void ColourGroup::reserveMembers (int numMembers)
{
    members.ensureStorageAllocated (numMembers);
    memberColours.reserve ((size_t) juce::jmax (0, numMembers));
}

bool ColourGroup::containsColour (const SchemeColour& colour) const
{
    const SchemeColour* record = &colour;
    return memberColours.find (hashOf (record), [record] (const SchemeColour* c)
                               { return c == record; })
           != nullptr;
}

//==============================================================================
SchemeColour* SchemeModel::findColourByName (const juce::String& name) const
{
    auto* utf8 = name.getCharPointer().getAddress();
    return findColourByName (utf8, std::strlen (utf8));
}

SchemeColour* SchemeModel::findColourByName (const char* utf8, size_t numBytes) const
{
    auto* found = firstColourWithName.find (hashOf (utf8, numBytes),
                                            [&] (const SchemeColour* colour)
                                            { return hasName (*colour, utf8, numBytes); });
    return found != nullptr ? *found : nullptr;
}

void SchemeModel::reserveColours (int numColours)
{
    colours.ensureStorageAllocated (numColours);
    firstColourWithName.reserve ((size_t) juce::jmax (0, numColours));
}

SchemeColour& SchemeModel::appendColour (std::unique_ptr<SchemeColour> colour)
{
    jassert (colour != nullptr);
    // The name is final once appended (the reader sets it first), so the first
    // record with each name can be indexed here.
    auto* record = colours.add (std::move (colour));
    auto* name = bytesOf (*record);
    auto numBytes = std::strlen (name);
    firstColourWithName.insert (hashOf (name, numBytes), record, [&] (const SchemeColour* c)
                                { return hasName (*c, name, numBytes); });
    return *record;
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
