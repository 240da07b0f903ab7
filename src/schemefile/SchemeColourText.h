#pragma once

#include <juce_graphics/juce_graphics.h>

/** The text form of a colour in a scheme file. */
namespace SchemeColourText
{
/** Lower-case hex of 0xAARRGGBB without leading zeros ("0" for 0x00000000). */
juce::String toText (juce::Colour colour);

/** The most characters toText gives. */
constexpr int maxTextLength = 8;

/** toText's characters, zero-terminated, in the caller's room (no allocation,
    for a writer that does this for every colour); returns their number. */
int writeText (juce::Colour colour, char (&text)[maxTextLength + 1]);

/** Every hex digit shifts in, anything else is skipped; the last 8 digits count. */
juce::Colour fromText (const char* utf8);
} // namespace SchemeColourText
