#include "cli/SwatchSheet.h"

#include <cmath>

void SwatchSheet::addHeading (const juce::String& text)
{
    lines.push_back ({ text, {}, {}, 0 });
}

void SwatchSheet::addSwatch (const juce::String& name, juce::Colour colour)
{
    lines.push_back ({ name, colour, {}, 1 });
}

void SwatchSheet::addSwatch (const juce::String& name, juce::Colour stored, juce::Colour preview)
{
    lines.push_back ({ name, stored, preview, 2 });
}

int SwatchSheet::columnWidth() const noexcept
{
    auto colours = 1;
    for (const auto& line : lines)
        colours = std::max (colours, line.numColours);

    return margin + swatchWidth + (colours - 1) * swatchGap + 8 + nameWidth;
}

int SwatchSheet::linesPerColumn() const noexcept
{
    const auto square = std::sqrt ((double) getNumLines() * columnWidth() / lineHeight);
    return std::max (minLinesPerColumn, (int) std::ceil (square));
}

juce::Image SwatchSheet::draw() const
{
    const auto linesPerColumn = this->linesPerColumn();
    const auto numLines = std::max (1, getNumLines());
    const auto numColumns = (numLines + linesPerColumn - 1) / linesPerColumn;
    const auto width = numColumns * columnWidth() + margin;
    const auto height = 2 * margin + std::min (numLines, linesPerColumn) * lineHeight;

    juce::Image image (juce::Image::ARGB, width, height, true, juce::SoftwareImageType());
    juce::Graphics g (image);
    g.fillAll (juce::Colours::white);

    const juce::Font headingFont (15.0f, juce::Font::bold);
    const juce::Font nameFont (13.0f);

    for (int n = 0; n < getNumLines(); ++n)
    {
        const auto& line = lines[(size_t) n];
        const auto x = margin + (n / linesPerColumn) * columnWidth();
        const auto y = margin + (n % linesPerColumn) * lineHeight;

        g.setColour (juce::Colours::black);

        if (line.numColours == 0)
        {
            g.setFont (headingFont);
            g.drawText (line.text, x, y, columnWidth() - margin, lineHeight, juce::Justification::centredLeft, true);
            continue;
        }

        for (int c = 0; c < line.numColours; ++c)
        {
            const juce::Rectangle<int> swatch (x + c * swatchGap, y + swatchInset, swatchWidth, swatchHeight);

            // Translucent colours over a checkerboard, as colour pickers show them.
            if ((c == 0 ? line.first : line.second).getAlpha() < 0xff)
                g.fillCheckerBoard (swatch.toFloat(), 6.0f, 6.0f, juce::Colour (0xffd0d0d0), juce::Colours::white);

            g.setColour (c == 0 ? line.first : line.second);
            g.fillRect (swatch);

            // A grey frame just outside, so that white shows on the white sheet.
            g.setColour (juce::Colour (0xff909090));
            g.drawRect (swatch.expanded (1), 1);
        }

        const auto textX = x + swatchWidth + (line.numColours - 1) * swatchGap + 8;
        g.setColour (juce::Colours::black);
        g.setFont (nameFont);
        g.drawText (line.text, textX, y, nameWidth, lineHeight, juce::Justification::centredLeft, true);
    }

    return image;
}
