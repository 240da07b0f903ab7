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
// bytes, as every name is shortest-form UTF-8.
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

bool hasName (const SchemeColour& colour, const char* utf8, size_t numBytes) noexcept
{
    return colour.name.getNumBytes() == numBytes && std::memcmp (colour.name.getUtf8(), utf8, numBytes) == 0;
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

    members.add (colour);
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
SchemeColour* SchemeModel::findColourByName (const ColourName& name) const
{
    return findColourByName (name.getUtf8(), name.getNumBytes());
}

SchemeColour* SchemeModel::findColourByName (const char* utf8, size_t numBytes) const
{
    indexNewColours();
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
    return colours.add (std::move (*colour));
}

SchemeColour& SchemeModel::appendColour (const char* utf8Name, size_t numBytes, juce::Colour colour)
{
    return colours.add (ColourName::referringTo (names.keep (utf8Name, numBytes), numBytes), colour);
}

void SchemeModel::indexNewColours() const
{
    const auto first = numIndexed, count = colours.size() - first;

    if (count == 0)
        return;

    // Records are indexed in list order, so the first with each name wins. In
    // a large scheme the index outgrows the caches and every insert would wait
    // for memory; with the slots fetched some records ahead, the waits overlap.
    firstColourWithName.reserve ((size_t) colours.size());

    constexpr int ahead = 16;
    std::uint64_t hashes[ahead];
    auto hashOfRecord = [this] (int index)
    {
        const auto& name = colours.getUnchecked (index)->name;
        return hashOf (name.getUtf8(), name.getNumBytes());
    };

    for (int i = 0; i < juce::jmin (ahead, count); ++i)
        firstColourWithName.prefetch (hashes[i] = hashOfRecord (first + i));

    for (int i = 0; i < count; ++i)
    {
        const auto hash = hashes[i % ahead];

        if (i + ahead < count)
            firstColourWithName.prefetch (hashes[i % ahead] = hashOfRecord (first + i + ahead));

        auto* record = colours.getUnchecked (first + i);
        firstColourWithName.insert (hash, record, [record] (const SchemeColour* c)
                                    { return hasName (*c, record->name.getUtf8(), record->name.getNumBytes()); });
    }

    numIndexed = colours.size();
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
    names.clear();
    firstColourWithName.clear();
    numIndexed = 0;
    groups.clear();
}
