#pragma once

#include <juce_graphics/juce_graphics.h>

#include <array>
#include <optional>

/** Colours as people with a colour-vision deficiency see them, by the model of
    Machado, Oliveira and Fernandes (2009): their published matrices, applied
    to linear sRGB. Severity 1 is the full dichromacy (protanopia,
    deuteranopia, tritanopia); between the published steps of 0.1 the
    matrices are interpolated, as the authors suggest. */
namespace ColourVision
{
enum class Deficiency
{
    protan,
    deutan,
    tritan
};

using Matrix = std::array<std::array<double, 3>, 3>;

/** The name of the full form ("protanopia", ...), and a deficiency from one. */
const char* nameOf (Deficiency deficiency) noexcept;
std::optional<Deficiency> fromName (const juce::String& name);

/** The matrix for a severity from 0 (no deficiency) to 1, clamped. */
Matrix matrixFor (Deficiency deficiency, double severity) noexcept;

struct Linear
{
    double red = 0, green = 0, blue = 0;
};

/** The colour as seen, in linear sRGB, each channel clamped to 0..1 (the
    matrices take some colours a little outside the screen's range). */
Linear seenLinear (const Matrix& matrix, juce::Colour colour) noexcept;

/** The same as an 8-bit sRGB colour, rounded, with the colour's own alpha. */
juce::Colour seen (const Matrix& matrix, juce::Colour colour) noexcept;
} // namespace ColourVision
