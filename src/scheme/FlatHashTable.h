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

        for (auto i = firstSlot (hash);; i = (i + 1) & mask())
        {
            auto& slot = slots[i];

            if (! slot.used)
                return nullptr;

            if (slot.hash == hash && matches (slot.value))
                return &slot.value;
        }
    }

    /** Stores the value unless a matching one is there already (which then
        stays: the first one wins). Returns true if it was stored. */
    template <typename Matches>
    bool insert (std::uint64_t hash, Value value, Matches&& matches)
    {
        if (2 * (count + 1) > slots.size())
            grow();

        for (auto i = firstSlot (hash);; i = (i + 1) & mask())
        {
            auto& slot = slots[i];

            if (! slot.used)
            {
                slot = { hash, value, true };
                ++count;
                return true;
            }

            if (slot.hash == hash && matches (slot.value))
                return false;
        }
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
    struct Slot
    {
        std::uint64_t hash = 0;
        Value value {};
        bool used = false;
    };

    size_t mask() const noexcept { return slots.size() - 1; }

    // Fibonacci hashing: the top bits of the product spread hashes whose low
    // bits hardly differ (JUCE's string hash of "Colour 1", "Colour 2", ...).
    size_t firstSlot (std::uint64_t hash) const noexcept
    {
        return (size_t) ((hash * 0x9e3779b97f4a7c15ull) >> shift);
    }

    void grow()
    {
        auto old = std::move (slots);
        slots.assign (old.empty() ? 16 : 2 * old.size(), Slot {});
        shift = 64;

        for (auto n = slots.size(); n > 1; n >>= 1)
            --shift;

        for (auto& slot : old)
        {
            if (! slot.used)
                continue;

            auto i = firstSlot (slot.hash);

            while (slots[i].used)
                i = (i + 1) & mask();

            slots[i] = slot;
        }
    }

    std::vector<Slot> slots; // a power of two in size, at most half full
    size_t count = 0;
    int shift = 64;
};
