#pragma once

#include "maths/TweakMaths.h"

// The four-lane batch is built where SSE2 is there (every x86-64); building
// with -DTINTWRIGHT_TWEAK_SSE2=0 leaves only the portable code.
#ifndef TINTWRIGHT_TWEAK_SSE2
#if defined(__SSE2__) || defined(_M_X64) || (defined(_M_IX86_FP) && _M_IX86_FP >= 2)
#define TINTWRIGHT_TWEAK_SSE2 1
#else
#define TINTWRIGHT_TWEAK_SSE2 0
#endif
#endif

#if TINTWRIGHT_TWEAK_SSE2
/** tweakColours four colours at a time with SSE2, bit for bit the same as the
    portable tweakColour. */
namespace TweakMaths::Sse2
{
/** Tweaks the longest run from the start that fills whole sets of four lanes
    and returns its length; the caller does the rest one colour at a time. */
size_t tweakColours (const juce::uint32* stored,
                     const TweakParameters* parameters,
                     juce::uint32* previews,
                     size_t count) noexcept;
} // namespace TweakMaths::Sse2
#endif
