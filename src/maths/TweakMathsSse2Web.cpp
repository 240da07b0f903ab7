#include "maths/TweakMathsSse2.h"

#if TINTWRIGHT_TWEAK_SSE2
#include "maths/TweakMathsSse2Lanes.h"

#include <cstdint>
#include <wasm_simd128.h>

namespace TweakMaths::Sse2
{
namespace
{
    // Emscripten's SSE2 header converts one lane at a time through the C
    // library; WebAssembly's own vector conversions saturate instead of giving
    // INT_MIN, so the lanes out of range (|x| >= 2^31, or NaN) get it here.
    struct Convert
    {
        static forcedinline v128_t outOfRangeToMin (v128_t values, v128_t inRange) noexcept
        {
            return wasm_v128_bitselect (values, wasm_i32x4_splat (INT32_MIN), inRange);
        }

        static forcedinline v128_t inRange (v128_t x) noexcept
        {
            return wasm_f32x4_lt (wasm_f32x4_abs (x), wasm_f32x4_splat (2147483648.0f));
        }

        // The two doubles' results go to the low lanes, zeros to the high ones.
        static forcedinline v128_t narrowed (v128_t values, v128_t x) noexcept
        {
            const auto fits = wasm_f64x2_lt (wasm_f64x2_abs (x), wasm_f64x2_splat (2147483648.0));
            const auto lowLanes = wasm_i32x4_shuffle (fits, wasm_i32x4_splat (0), 0, 2, 4, 4);
            return wasm_v128_bitselect (values, wasm_i32x4_make (INT32_MIN, INT32_MIN, 0, 0), lowLanes);
        }

        static forcedinline __m128i roundToEven (__m128 x) noexcept
        {
            const auto nearest = wasm_f32x4_nearest ((v128_t) x);
            return (__m128i) outOfRangeToMin (wasm_i32x4_trunc_sat_f32x4 (nearest), inRange (nearest));
        }

        static forcedinline __m128i truncate (__m128 x) noexcept
        {
            return (__m128i) outOfRangeToMin (wasm_i32x4_trunc_sat_f32x4 ((v128_t) x), inRange ((v128_t) x));
        }

        static forcedinline __m128i roundToEven (__m128d x) noexcept
        {
            const auto nearest = wasm_f64x2_nearest ((v128_t) x);
            return (__m128i) narrowed (wasm_i32x4_trunc_sat_f64x2_zero (nearest), nearest);
        }

        static forcedinline __m128i truncate (__m128d x) noexcept
        {
            return (__m128i) narrowed (wasm_i32x4_trunc_sat_f64x2_zero ((v128_t) x), (v128_t) x);
        }
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
