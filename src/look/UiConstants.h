#pragma once

// Colours and limits that more than one part of the interface uses.

#include <juce_graphics/juce_graphics.h>

namespace UiConstants
{
/** The program's one hue: the look's sliders and highlights, the window
    background (darkened) and the panel's buttons (brightened) derive from it. */
inline const juce::Colour cornflowerBlue { 0xff6495ed };

/** What a drag of scheme colours carries, and what a group's colour list accepts. */
inline const juce::String coloursDragDescription { "COLOURS" };

/** JUCE lays out every character of a text before it cuts it off, so a huge
    name from a file is cut to this many characters first: no row or box can
    show more. */
constexpr int longestShownName = 1000;
} // namespace UiConstants
