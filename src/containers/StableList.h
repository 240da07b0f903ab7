#pragma once

#include <juce_core/juce_core.h>

#include <functional>
#include <vector>

/** An indexed list of objects that keep their address while they live, held
    in chunks of many objects rather than one allocation each. Objects are
    only appended, or all removed at once; that is all the scheme's colour
    records and a group's members need. */
template <typename Object>
class StableList
{
public:
    int size() const noexcept { return (int) items.size(); }
    bool isEmpty() const noexcept { return items.empty(); }

    /** Null for an index outside the list. */
    Object* operator[] (int index) const noexcept
    {
        return juce::isPositiveAndBelow (index, size()) ? items[(size_t) index] : nullptr;
    }

    Object* getUnchecked (int index) const noexcept { return items[(size_t) index]; }

    /** The index of an object of this list, or -1 for any other address. Each
        chunk holds a run of consecutive indices, and there are few chunks. */
    int indexOf (const Object* object) const noexcept
    {
        const std::less_equal<const Object*> notAfter;
        size_t first = 0;

        for (const auto& chunk : chunks)
        {
            if (! chunk.empty() && notAfter (chunk.data(), object) && notAfter (object, &chunk.back()))
                return (int) (first + (size_t) (object - chunk.data()));

            first += chunk.size();
        }

        return -1;
    }

    Object* const* begin() const noexcept { return items.data(); }
    Object* const* end() const noexcept { return items.data() + items.size(); }

    /** Makes room for this many objects in all, in one chunk. */
    void ensureStorageAllocated (int numObjects)
    {
        const auto more = (size_t) juce::jmax (0, numObjects - size());
        items.reserve ((size_t) juce::jmax (0, numObjects));

        if (more > spareInLastChunk())
            startChunk (more);
    }

    template <typename... Args>
    Object& add (Args&&... args)
    {
        if (spareInLastChunk() == 0)
            startChunk ((size_t) juce::jmax (16, size()));

        // A chunk never grows past what it reserved, so nothing in it moves.
        auto& chunk = chunks.back();
        chunk.emplace_back (std::forward<Args> (args)...);
        items.push_back (&chunk.back());
        return chunk.back();
    }

    void clear() noexcept
    {
        items.clear();
        chunks.clear();
    }

private:
    size_t spareInLastChunk() const noexcept
    {
        return chunks.empty() ? 0 : chunks.back().capacity() - chunks.back().size();
    }

    void startChunk (size_t capacity)
    {
        chunks.emplace_back();
        chunks.back().reserve (capacity);
    }

    std::vector<std::vector<Object>> chunks;
    std::vector<Object*> items;
};
