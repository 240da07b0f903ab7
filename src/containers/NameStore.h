#pragma once

#include <algorithm>
#include <cstring>
#include <memory>
#include <vector>

/** Keeps the bytes of many names in a few large blocks, so that a scheme's
    names cost a handful of allocations instead of one each. Kept bytes stay
    where they are until clear(). */
class NameStore
{
public:
    /** A copy of the bytes followed by a zero, valid until clear(). */
    const char* keep (const char* utf8, size_t numBytes)
    {
        if (numBytes == 0)
            return "";

        if (spare < numBytes + 1)
        {
            // Blocks grow with what is kept so far, and a long name gets a block of its own size.
            const auto size = std::max (numBytes + 1, std::min (std::max (used, smallestBlock), largestBlock));
            blocks.push_back (std::make_unique<char[]> (size));
            next = blocks.back().get();
            spare = size;
        }

        auto* kept = next;
        std::memcpy (kept, utf8, numBytes);
        kept[numBytes] = 0;
        next += numBytes + 1;
        spare -= numBytes + 1;
        used += numBytes + 1;
        return kept;
    }

    void clear() noexcept
    {
        blocks.clear();
        next = nullptr;
        spare = used = 0;
    }

private:
    static constexpr size_t smallestBlock = 4096, largestBlock = 1 << 20;

    std::vector<std::unique_ptr<char[]>> blocks;
    char* next = nullptr;
    size_t spare = 0, used = 0;
};
