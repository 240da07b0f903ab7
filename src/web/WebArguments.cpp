#include "web/WebArguments.h"

#include "web/WebErrors.h"

#include <cmath>

namespace WebArguments
{
std::string numberText (double value)
{
    return std::abs (value) < 1.0e15 && value == std::floor (value) ? std::to_string ((long long) value) : juce::String (value).toStdString();
}

bool isIndexIn (double value, int size)
{
    return value >= 0 && value < size;
}

juce::uint32 colourOf (double argb, const char* argument)
{
    if (! (argb >= 0 && argb <= 0xffffffff))
        throw WebErrors::OutOfRange (std::string (argument) + " " + numberText (argb) + " is not a colour: 0xAARRGGBB, 0 to 0xffffffff");

    return (juce::uint32) argb;
}
} // namespace WebArguments
