#include "maths/TweakMathsSse2.h"

#if TINTWRIGHT_TWEAK_SSE2
#include "maths/TweakMathsSse2Lanes.h"

namespace TweakMaths::Sse2
{
namespace
{
    // An x86 processor's own conversions (nearest, ties to even: the default
    // rounding mode).
    struct Convert
    {
        static forcedinline __m128i roundToEven (__m128 x) noexcept { return _mm_cvtps_epi32 (x); }
        static forcedinline __m128i truncate (__m128 x) noexcept { return _mm_cvttps_epi32 (x); }
        static forcedinline __m128i roundToEven (__m128d x) noexcept { return _mm_cvtpd_epi32 (x); }
        static forcedinline __m128i truncate (__m128d x) noexcept { return _mm_cvttpd_epi32 (x); }
    };
} // namespace

size_t tweakColours (const juce::uint32* stored,
                     const TweakParameters* parameters,
                     juce::uint32* previews,
                     size_t count) noexcept
{
    return Lanes::tweakColours<Convert> (stored, parameters, previews, count);
}
} // namespace TweakMaths::Sse2
#endif
