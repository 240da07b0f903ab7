#pragma once

#include <juce_graphics/juce_graphics.h>

/** A sheet of named colour swatches under headings, in columns, drawn with
    JUCE's software renderer (no display needed). A swatch may have a second
    colour beside it: a group's preview next to its stored colour. */
class SwatchSheet
{
public:
    void addHeading (const juce::String& text);
    void addSwatch (const juce::String& name, juce::Colour colour);
    void addSwatch (const juce::String& name, juce::Colour stored, juce::Colour preview);

    int getNumLines() const noexcept { return (int) lines.size(); }

    juce::Image draw() const;

    // The layout, which tests read pictures by: line n sits in column
    // n / linesPerColumn(), row n % linesPerColumn(); a swatch's first colour
    // fills swatchWidth by swatchHeight at (margin, row top + swatchInset)
    // of its column, the second colour the same size swatchGap further right.
    static constexpr int margin = 8;
    static constexpr int lineHeight = 24;
    static constexpr int minLinesPerColumn = 40; // more on large sheets, which come out about square
    static constexpr int swatchWidth = 40;
    static constexpr int swatchHeight = 18;
    static constexpr int swatchInset = (lineHeight - swatchHeight) / 2;
    static constexpr int swatchGap = swatchWidth + 4;
    static constexpr int nameWidth = 220;
    static constexpr int maxLines = 12000; // about 320 megabytes of picture

    int linesPerColumn() const noexcept;

private:
    struct Line
    {
        juce::String text;
        juce::Colour first, second;
        int numColours; // 0 for a heading
    };

    int columnWidth() const noexcept;

    std::vector<Line> lines;
};
