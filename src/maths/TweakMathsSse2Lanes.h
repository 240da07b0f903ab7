#pragma once

#include "maths/TweakMaths.h"

#include <emmintrin.h>

/** The tweak of four colours at a time in SSE2's vector operations, for the
    platform files that build the batch: each supplies the four conversions
    of floats and doubles to integers (Convert), which the processors do
    differently, with x86's results: nearest with ties to even, or truncated,
    and INT_MIN for what is out of range or NaN. Every other operation is the
    same IEEE operation as in the portable tweakColour, lane by lane, so the
    bits are the same.

    One colour's steps form a long chain of dependent conversions, so a lone
    colour leaves most of the processor idle; four lanes in step keep it busy. */
namespace TweakMaths::Sse2::Lanes
{
// Four lanes of doubles, for the expressions evaluated in double.
struct Doubles
{
    __m128d lo, hi;
};

forcedinline Doubles toDoubles (__m128 x) noexcept
{
    return { _mm_cvtps_pd (x), _mm_cvtps_pd (_mm_movehl_ps (x, x)) };
}

forcedinline Doubles toDoubles (double x) noexcept { return { _mm_set1_pd (x), _mm_set1_pd (x) }; }

forcedinline __m128 toFloats (Doubles x) noexcept
{
    return _mm_movelh_ps (_mm_cvtpd_ps (x.lo), _mm_cvtpd_ps (x.hi));
}

forcedinline Doubles operator+ (Doubles a, Doubles b) noexcept
{
    return { _mm_add_pd (a.lo, b.lo), _mm_add_pd (a.hi, b.hi) };
}

forcedinline Doubles operator- (Doubles a, Doubles b) noexcept
{
    return { _mm_sub_pd (a.lo, b.lo), _mm_sub_pd (a.hi, b.hi) };
}

forcedinline Doubles operator* (Doubles a, Doubles b) noexcept
{
    return { _mm_mul_pd (a.lo, b.lo), _mm_mul_pd (a.hi, b.hi) };
}

forcedinline Doubles operator/ (Doubles a, Doubles b) noexcept
{
    return { _mm_div_pd (a.lo, b.lo), _mm_div_pd (a.hi, b.hi) };
}

// Nearest, ties to even, INT_MIN when out of range.
template <typename Convert>
forcedinline __m128i roundToEven (Doubles x) noexcept
{
    return _mm_unpacklo_epi64 (Convert::roundToEven (x.lo), Convert::roundToEven (x.hi));
}

forcedinline __m128 select (__m128 mask, __m128 ifTrue, __m128 ifFalse) noexcept
{
    return _mm_or_ps (_mm_and_ps (mask, ifTrue), _mm_andnot_ps (mask, ifFalse));
}

forcedinline __m128i select (__m128i mask, __m128i ifTrue, __m128i ifFalse) noexcept
{
    return _mm_or_si128 (_mm_and_si128 (mask, ifTrue), _mm_andnot_si128 (mask, ifFalse));
}

forcedinline __m128 absolute (__m128 x) noexcept { return _mm_andnot_ps (_mm_set1_ps (-0.0f), x); }

// Brightness and saturation times their multipliers, kept at most 1.
forcedinline __m128 scaledAtMostOne (__m128 x, __m128 multiplier) noexcept
{
    const auto one = _mm_set1_ps (1.0f), scaled = _mm_mul_ps (x, multiplier);
    return select (_mm_cmpgt_ps (scaled, one), one, scaled);
}

template <typename Convert>
forcedinline __m128 floorFloats (__m128 x) noexcept
{
    const auto truncated = _mm_cvtepi32_ps (Convert::truncate (x));
    const auto floored = _mm_sub_ps (truncated, _mm_and_ps (_mm_cmpgt_ps (truncated, x), _mm_set1_ps (1.0f)));
    return select (_mm_cmplt_ps (absolute (x), _mm_set1_ps (8388608.0f)), floored, x);
}

// Channels 0 to 255 (or -256 to 511 before clamping) fit the 16-bit halves.
forcedinline __m128i clampChannels (__m128i x) noexcept
{
    return _mm_min_epi16 (_mm_max_epi16 (x, _mm_setzero_si128()), _mm_set1_epi32 (255));
}

forcedinline __m128i clampBytes (__m128i x) noexcept
{
    x = select (_mm_cmplt_epi32 (x, _mm_setzero_si128()), _mm_setzero_si128(), x);
    return select (_mm_cmpgt_epi32 (x, _mm_set1_epi32 (255)), _mm_set1_epi32 (255), x);
}

template <typename Convert>
forcedinline __m128i truncateBytes (Doubles x) noexcept
{
    const auto zero = _mm_setzero_pd(), top = _mm_set1_pd (255.0);
    const auto lo = _mm_min_pd (_mm_max_pd (x.lo, zero), top);
    const auto hi = _mm_min_pd (_mm_max_pd (x.hi, zero), top);
    return _mm_unpacklo_epi64 (Convert::truncate (lo), Convert::truncate (hi));
}

struct Channels
{
    __m128i red, green, blue;
};

forcedinline Channels unpack (__m128i argb) noexcept
{
    const auto byte = _mm_set1_epi32 (0xff);
    return { _mm_and_si128 (_mm_srli_epi32 (argb, 16), byte),
             _mm_and_si128 (_mm_srli_epi32 (argb, 8), byte),
             _mm_and_si128 (argb, byte) };
}

forcedinline __m128i pack (__m128i alphaBits, __m128i red, __m128i green, __m128i blue) noexcept
{
    const auto byte = _mm_set1_epi32 (0xff);
    return _mm_or_si128 (_mm_or_si128 (alphaBits, _mm_slli_epi32 (_mm_and_si128 (red, byte), 16)),
                         _mm_or_si128 (_mm_slli_epi32 (_mm_and_si128 (green, byte), 8), _mm_and_si128 (blue, byte)));
}

forcedinline __m128i largest (Channels c) noexcept
{
    return _mm_max_epi16 (c.red, _mm_max_epi16 (c.green, c.blue));
}

struct HSBs
{
    __m128 hue, saturation, brightness;
};

forcedinline HSBs decompose (Channels c) noexcept
{
    const auto hi = largest (c);
    const auto lo = _mm_min_epi16 (c.red, _mm_min_epi16 (c.green, c.blue));
    const auto spread = _mm_sub_epi32 (hi, lo);
    const auto grey = _mm_castsi128_ps (_mm_cmpeq_epi32 (spread, _mm_setzero_si128()));

    const auto hiF = _mm_cvtepi32_ps (hi);
    const auto spreadF = _mm_cvtepi32_ps (spread);

    // Grey lanes divide by zero here; their results are masked off below.
    const auto d = _mm_div_ps (_mm_set1_ps (1.0f), spreadF);
    const auto r = _mm_mul_ps (_mm_cvtepi32_ps (_mm_sub_epi32 (hi, c.red)), d);
    const auto g = _mm_mul_ps (_mm_cvtepi32_ps (_mm_sub_epi32 (hi, c.green)), d);
    const auto b = _mm_mul_ps (_mm_cvtepi32_ps (_mm_sub_epi32 (hi, c.blue)), d);

    // b - g, 2 + r - b or 4 + g - r, red tested before green: pick the terms
    // first, then evaluate the one sum in double (its value is exact there).
    const auto redIsHi = _mm_castsi128_ps (_mm_cmpeq_epi32 (c.red, hi));
    const auto greenIsHi = _mm_castsi128_ps (_mm_cmpeq_epi32 (c.green, hi));
    const auto base = select (redIsHi, _mm_setzero_ps(), select (greenIsHi, _mm_set1_ps (2.0f), _mm_set1_ps (4.0f)));
    const auto plus = select (redIsHi, b, select (greenIsHi, r, g));
    const auto minus = select (redIsHi, g, select (greenIsHi, b, r));
    auto h = toFloats (toDoubles (base) + toDoubles (plus) - toDoubles (minus));
    h = _mm_mul_ps (h, _mm_set1_ps (oneSixth));
    h = select (_mm_cmplt_ps (h, _mm_setzero_ps()), _mm_add_ps (h, _mm_set1_ps (1.0f)), h);

    return { _mm_andnot_ps (grey, h),
             _mm_andnot_ps (grey, _mm_div_ps (spreadF, hiF)),
             _mm_mul_ps (hiF, _mm_set1_ps (oneOver255)) };
}

// Hues here are never negative (decomposed, or wrapped into 0 to 1) or are
// NaN: for those, hue - floor (hue) is exact in float as well as in double.
template <typename Convert>
forcedinline __m128i compose (HSBs hsb, __m128i alphaBits) noexcept
{
    const auto v = _mm_mul_ps (hsb.brightness, _mm_set1_ps (255.0f));
    const auto i = Convert::roundToEven (v);

    const auto fraction = _mm_sub_ps (hsb.hue, floorFloats<Convert> (hsb.hue));
    const auto h6 = toFloats (toDoubles (fraction) * toDoubles (6.0) + toDoubles (0.00001));
    const auto sextant = Convert::truncate (h6); // INT_MIN for NaN, masked off below
    const auto f = _mm_sub_ps (h6, _mm_cvtepi32_ps (sextant));

    const auto one = toDoubles (1.0), vd = toDoubles (v), s = toDoubles (hsb.saturation), fd = toDoubles (f);
    const auto x = Convert::roundToEven (toFloats (vd * (one - s)));
    const auto y = Convert::roundToEven (toFloats (vd * (one - s * fd)));
    const auto z = Convert::roundToEven (toFloats (vd * (one - s * (one - fd))));

    auto is = [sextant] (int n)
    { return _mm_cmpeq_epi32 (sextant, _mm_set1_epi32 (n)); };
    const auto s1 = is (1), s2 = is (2), s3 = is (3), s4 = is (4), s5 = is (5);

    // Sextants 0 and 6: i, z, x.
    auto red = select (s1, y, select (_mm_or_si128 (s2, s3), x, select (s4, z, i)));
    auto green = select (_mm_or_si128 (s1, s2), i, select (s3, y, select (_mm_or_si128 (s4, s5), x, z)));
    auto blue = select (s2, z, select (_mm_or_si128 (s3, s4), i, select (s5, y, x)));

    const auto validHue = _mm_castps_si128 (_mm_cmplt_ps (h6, _mm_set1_ps (7.0f)));
    const auto grey = _mm_castps_si128 (_mm_cmpeq_ps (hsb.saturation, _mm_setzero_ps()));

    red = select (grey, i, _mm_and_si128 (validHue, red));
    green = select (grey, i, _mm_and_si128 (validHue, green));
    blue = select (grey, i, _mm_and_si128 (validHue, blue));

    return pack (alphaBits, red, green, blue);
}

template <typename Value>
forcedinline __m128 laneFloats (const TweakParameters* p, Value TweakParameters::*field) noexcept
{
    return _mm_setr_ps (p[0].*field, p[1].*field, p[2].*field, p[3].*field);
}

// clamp (c + offset) equals clamp (c + clamp (offset, -256, 256)) for channels,
// and the narrowed offsets cannot overflow.
forcedinline __m128i laneOffsets (const TweakParameters* p, int TweakParameters::*field) noexcept
{
    auto narrow = [] (int offset)
    { return juce::jlimit (-256, 256, offset); };
    return _mm_setr_epi32 (narrow (p[0].*field), narrow (p[1].*field), narrow (p[2].*field), narrow (p[3].*field));
}

// Sets of four lanes go through each step together, so that the independent
// chains of several sets are in flight at once.
template <typename Convert, size_t sets>
forcedinline void tweakLanes (const juce::uint32* stored, const TweakParameters* p, juce::uint32* previews) noexcept
{
    __m128i argb[sets], alpha[sets], alphaBits[sets], colour[sets];
    Channels c[sets];
    HSBs hsb[sets];
    Doubles alphaMultiplier[sets];

    for (size_t n = 0; n < sets; ++n)
    {
        const auto* q = p + 4 * n;
        argb[n] = _mm_loadu_si128 (reinterpret_cast<const __m128i*> (stored + 4 * n));
        c[n] = unpack (argb[n]);
        c[n].red = clampChannels (_mm_add_epi32 (c[n].red, laneOffsets (q, &TweakParameters::redOffset)));
        c[n].green = clampChannels (_mm_add_epi32 (c[n].green, laneOffsets (q, &TweakParameters::greenOffset)));
        c[n].blue = clampChannels (_mm_add_epi32 (c[n].blue, laneOffsets (q, &TweakParameters::blueOffset)));

        alphaMultiplier[n] = toDoubles (laneFloats (q, &TweakParameters::alphaMultiplier));
        const auto storedAlpha = _mm_cvtepi32_ps (_mm_srli_epi32 (argb[n], 24));
        const auto a = toFloats (toDoubles (storedAlpha) * toDoubles ((double) oneOver255) * alphaMultiplier[n]);
        alpha[n] = clampBytes (roundToEven<Convert> (toDoubles (a) * toDoubles (255.0)));
        alphaBits[n] = _mm_slli_epi32 (alpha[n], 24);
    }

    for (size_t n = 0; n < sets; ++n)
    {
        hsb[n] = decompose (c[n]);
        hsb[n].brightness = scaledAtMostOne (hsb[n].brightness, laneFloats (p + 4 * n, &TweakParameters::brightnessMultiplier));
    }

    for (size_t n = 0; n < sets; ++n)
        colour[n] = compose<Convert> (hsb[n], alphaBits[n]);

    for (size_t n = 0; n < sets; ++n)
    {
        hsb[n] = decompose (unpack (colour[n]));
        hsb[n].saturation = scaledAtMostOne (hsb[n].saturation, laneFloats (p + 4 * n, &TweakParameters::saturationMultiplier));
    }

    for (size_t n = 0; n < sets; ++n)
        colour[n] = compose<Convert> (hsb[n], alphaBits[n]);

    for (size_t n = 0; n < sets; ++n)
    {
        hsb[n] = decompose (unpack (colour[n]));
        auto& h = hsb[n].hue;
        h = _mm_add_ps (h, laneFloats (p + 4 * n, &TweakParameters::hueShift));
        h = _mm_sub_ps (h, floorFloats<Convert> (h));
    }

    for (size_t n = 0; n < sets; ++n)
        colour[n] = compose<Convert> (hsb[n], alphaBits[n]);

    for (size_t n = 0; n < sets; ++n)
    {
        const auto* q = p + 4 * n;
        const auto finalAlpha = clampBytes (roundToEven<Convert> (toDoubles (_mm_cvtepi32_ps (alpha[n])) * alphaMultiplier[n]));

        c[n] = unpack (colour[n]);
        const auto centre = laneFloats (q, &TweakParameters::contrastCentre);
        const auto brightness = _mm_mul_ps (_mm_cvtepi32_ps (largest (c[n])), _mm_set1_ps (oneOver255));
        const auto distance = absolute (_mm_sub_ps (centre, brightness));
        const auto amount = toFloats (toDoubles (2.0) * toDoubles (laneFloats (q, &TweakParameters::contrastAmount))
                                      * toDoubles (distance));
        const auto k = toDoubles (toFloats (toDoubles (1.0) / (toDoubles (1.0) + toDoubles (amount))));
        const auto brighten = _mm_castps_si128 (_mm_cmpgt_ps (brightness, centre));
        const auto full = toDoubles (255.0);

        auto contrast = [&] (__m128i channel)
        {
            const auto value = toDoubles (_mm_cvtepi32_ps (channel));
            return select (brighten, truncateBytes<Convert> (full - k * (full - value)), truncateBytes<Convert> (k * value));
        };

        const auto result = pack (_mm_slli_epi32 (finalAlpha, 24),
                                  contrast (c[n].red),
                                  contrast (c[n].green),
                                  contrast (c[n].blue));
        _mm_storeu_si128 (reinterpret_cast<__m128i*> (previews + 4 * n), result);
    }
}

/** Tweaks the longest run from the start that fills whole sets of four lanes
    and returns its length. */
template <typename Convert>
size_t tweakColours (const juce::uint32* stored,
                     const TweakParameters* parameters,
                     juce::uint32* previews,
                     size_t count) noexcept
{
    constexpr size_t sets = 2;
    size_t i = 0;

    for (; i + 4 * sets <= count; i += 4 * sets)
        tweakLanes<Convert, sets> (stored + i, parameters + i, previews + i);

    for (; i + 4 <= count; i += 4)
        tweakLanes<Convert, 1> (stored + i, parameters + i, previews + i);

    return i;
}
} // namespace TweakMaths::Sse2::Lanes
