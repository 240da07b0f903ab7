#pragma once

#include <juce_core/juce_core.h>

#include <string>

/** The checks of the page's numbers that need no scheme: the module's
    wrapper (WebCalls.js) has made sure each is a number, and a whole one
    where an index or a colour is meant; these check the ranges. */
namespace WebArguments
{
/** A number as the page wrote it, for messages. */
std::string numberText (double value);

/** Whether the number is an index of a list of this size. */
bool isIndexIn (double value, int size);

/** The colour 0xAARRGGBB; a RangeError naming the argument outside 0 to 0xffffffff. */
juce::uint32 colourOf (double argb, const char* argument = "argb");
} // namespace WebArguments
