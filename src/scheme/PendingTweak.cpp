#include "scheme/PendingTweak.h"

namespace
{
unsigned bitOf (TweakSliders::Id slider) noexcept
{
    return 1u << slider;
}
} // namespace

void PendingTweak::set (TweakSliders::Id slider, double value) noexcept
{
    const auto& row = TweakSliders::all[slider];
    row.write (values, value);
    moved |= bitOf (slider) | bitOf (row.movesWith);
}

void PendingTweak::merge (const PendingTweak& newer) noexcept
{
    newer.applyTo (values);
    moved |= newer.moved;
}

void PendingTweak::applyTo (TweakMaths::TweakParameters& parameters) const noexcept
{
    for (int slider = 0; slider < TweakSliders::count; ++slider)
        if ((moved & bitOf ((TweakSliders::Id) slider)) != 0)
            TweakSliders::all[slider].copy (values, parameters);
}
