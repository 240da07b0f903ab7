#include "maths/ColourDifference.h"

#include <cmath>

namespace ColourDifference
{
namespace
{
    constexpr double pi = 3.14159265358979323846;
    constexpr double degrees = 180.0 / pi;

    // sRGB to XYZ as IEC 61966-2-1 gives it; the D65 white is what the
    // matrix makes of sRGB white, so that white has no chroma.
    constexpr double toXyz[3][3] = { { 0.4124, 0.3576, 0.1805 },
                                     { 0.2126, 0.7152, 0.0722 },
                                     { 0.0193, 0.1192, 0.9505 } };
    constexpr double whiteX = toXyz[0][0] + toXyz[0][1] + toXyz[0][2];
    constexpr double whiteY = toXyz[1][0] + toXyz[1][1] + toXyz[1][2];
    constexpr double whiteZ = toXyz[2][0] + toXyz[2][1] + toXyz[2][2];

    double labCurve (double t) noexcept
    {
        constexpr double delta = 6.0 / 29.0;
        return t > delta * delta * delta ? std::cbrt (t) : t / (3 * delta * delta) + 4.0 / 29.0;
    }

    double hueAngle (double b, double a) noexcept
    {
        if (a == 0 && b == 0)
            return 0;

        const auto h = std::atan2 (b, a) * degrees;
        return h < 0 ? h + 360 : h;
    }

    double pow7 (double x) noexcept
    {
        const auto x2 = x * x;
        return x2 * x2 * x2 * x;
    }
} // namespace

double toLinear (double encoded) noexcept
{
    return encoded <= 0.04045 ? encoded / 12.92 : std::pow ((encoded + 0.055) / 1.055, 2.4);
}

double toEncoded (double linear) noexcept
{
    return linear <= 0.0031308 ? linear * 12.92 : 1.055 * std::pow (linear, 1.0 / 2.4) - 0.055;
}

Lab labFromLinear (double red, double green, double blue) noexcept
{
    const auto x = toXyz[0][0] * red + toXyz[0][1] * green + toXyz[0][2] * blue;
    const auto y = toXyz[1][0] * red + toXyz[1][1] * green + toXyz[1][2] * blue;
    const auto z = toXyz[2][0] * red + toXyz[2][1] * green + toXyz[2][2] * blue;
    const auto fx = labCurve (x / whiteX), fy = labCurve (y / whiteY), fz = labCurve (z / whiteZ);
    return { 116 * fy - 16, 500 * (fx - fy), 200 * (fy - fz) };
}

Lab lab (juce::Colour colour) noexcept
{
    return labFromLinear (toLinear (colour.getRed() / 255.0), toLinear (colour.getGreen() / 255.0), toLinear (colour.getBlue() / 255.0));
}

// Sharma, Wu and Dalal's statement of the formula (2005), step by step; the
// hue mean and difference follow their rules for angles 180 degrees apart.
double ciede2000 (const Lab& first, const Lab& second) noexcept
{
    const auto c1 = std::hypot (first.a, first.b), c2 = std::hypot (second.a, second.b);
    const auto cMean7 = pow7 ((c1 + c2) / 2);
    const auto g = 0.5 * (1 - std::sqrt (cMean7 / (cMean7 + 6103515625.0))); // 25^7

    const auto a1 = (1 + g) * first.a, a2 = (1 + g) * second.a;
    const auto cp1 = std::hypot (a1, first.b), cp2 = std::hypot (a2, second.b);
    const auto h1 = hueAngle (first.b, a1), h2 = hueAngle (second.b, a2);

    const auto dL = second.l - first.l;
    const auto dC = cp2 - cp1;
    auto dh = 0.0;

    if (cp1 * cp2 != 0)
    {
        dh = h2 - h1;
        if (dh > 180)
            dh -= 360;
        else if (dh < -180)
            dh += 360;
    }

    const auto dH = 2 * std::sqrt (cp1 * cp2) * std::sin (dh / 2 / degrees);

    const auto lMean = (first.l + second.l) / 2;
    const auto cpMean = (cp1 + cp2) / 2;
    auto hMean = h1 + h2;

    if (cp1 * cp2 != 0)
    {
        if (std::abs (h1 - h2) <= 180)
            hMean /= 2;
        else
            hMean = hMean < 360 ? (hMean + 360) / 2 : (hMean - 360) / 2;
    }

    const auto t = 1 - 0.17 * std::cos ((hMean - 30) / degrees) + 0.24 * std::cos (2 * hMean / degrees)
                   + 0.32 * std::cos ((3 * hMean + 6) / degrees) - 0.20 * std::cos ((4 * hMean - 63) / degrees);
    const auto dTheta = 30 * std::exp (-std::pow ((hMean - 275) / 25, 2));
    const auto cpMean7 = pow7 (cpMean);
    const auto rc = 2 * std::sqrt (cpMean7 / (cpMean7 + 6103515625.0));
    const auto lShift = (lMean - 50) * (lMean - 50);
    const auto sl = 1 + 0.015 * lShift / std::sqrt (20 + lShift);
    const auto sc = 1 + 0.045 * cpMean;
    const auto sh = 1 + 0.015 * cpMean * t;
    const auto rt = -std::sin (2 * dTheta / degrees) * rc;

    const auto l = dL / sl, c = dC / sc, h = dH / sh;
    return std::sqrt (l * l + c * c + h * h + rt * c * h);
}
} // namespace ColourDifference
