#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

/** An open-addressing hash table of small values (indices, pointers) kept in
    one array. The caller supplies each value's 64-bit hash and says which stored
    value matches, so the keys themselves are not copied. Reading a scheme puts
    one entry per colour and per group member in such tables; without a node
    allocation per entry, filling and freeing them stays cheap. */
template <typename Value>
class FlatHashTable
{
public:
    /** The stored value for which matches (value) is true, or null. */
    template <typename Matches>
    const Value* find (std::uint64_t hash, Matches&& matches) const
    {
        if (slots.empty())
            return nullptr;

        const auto tag = tagOf (hash);

        for (auto i = firstSlot (tag);; i = (i + 1) & mask())
        {
            auto& slot = slots[i];

            if (slot.tag == 0)
                return nullptr;

            if (slot.tag == tag && matches (slot.value))
                return &slot.value;
        }
    }

    /** Starts loading the slot where a value of this hash would go, so that a
        find or insert of it a little later need not wait for memory. */
    void prefetch (std::uint64_t hash) const noexcept
    {
        if (! slots.empty())
            __builtin_prefetch (&slots[firstSlot (tagOf (hash))]);
    }

    /** Stores the value unless a matching one is there already (which then
        stays: the first one wins). Returns true if it was stored. */
    template <typename Matches>
    bool insert (std::uint64_t hash, Value value, Matches&& matches)
    {
        if (isTooFullFor (count + 1))
            resize (2 * slots.size());

        const auto tag = tagOf (hash);

        for (auto i = firstSlot (tag);; i = (i + 1) & mask())
        {
            auto& slot = slots[i];

            if (slot.tag == 0)
            {
                slot = { tag, value };
                ++count;
                return true;
            }

            if (slot.tag == tag && matches (slot.value))
                return false;
        }
    }

    /** Makes room for this many values in all, so that filling up to there
        never moves the stored ones again. */
    void reserve (size_t numValues)
    {
        auto size = slots.empty() ? (size_t) 16 : slots.size();

        while (isTooFullFor (numValues, size))
            size *= 2;

        if (numValues > 0 && size != slots.size())
            resize (size);
    }

    void clear()
    {
        slots.clear();
        slots.shrink_to_fit();
        count = 0;
        shift = 64;
    }

    size_t size() const noexcept { return count; }

private:
    // The tag is the hash with its lowest bit set, so that 0 marks a free slot
    // and a slot stays 16 bytes; a lost bit only costs an extra call of matches.
    struct Slot
    {
        std::uint64_t tag = 0;
        Value value {};
    };

    static std::uint64_t tagOf (std::uint64_t hash) noexcept { return hash | 1; }

    // At most three quarters full: a smaller array stays in the caches, and
    // linear probing is still short at that load.
    static bool isTooFullFor (size_t numValues, size_t numSlots) noexcept { return 4 * numValues > 3 * numSlots; }
    bool isTooFullFor (size_t numValues) const noexcept { return isTooFullFor (numValues, slots.size()); }

    size_t mask() const noexcept { return slots.size() - 1; }

    // Fibonacci hashing: the top bits of the product spread hashes whose low
    // bits hardly differ (JUCE's string hash of "Colour 1", "Colour 2", ...).
    size_t firstSlot (std::uint64_t tag) const noexcept
    {
        return (size_t) ((tag * 0x9e3779b97f4a7c15ull) >> shift);
    }

    void resize (size_t numSlots)
    {
        auto old = std::move (slots);
        slots.assign (numSlots < 16 ? 16 : numSlots, Slot {});
        shift = 64;

        for (auto n = slots.size(); n > 1; n >>= 1)
            --shift;

        for (auto& slot : old)
        {
            if (slot.tag == 0)
                continue;

            auto i = firstSlot (slot.tag);

            while (slots[i].tag != 0)
                i = (i + 1) & mask();

            slots[i] = slot;
        }
    }

    std::vector<Slot> slots; // a power of two in size (or empty), at most three quarters full
    size_t count = 0;
    int shift = 64;
};
