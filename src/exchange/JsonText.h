#pragma once

#include <juce_core/juce_core.h>

/** Text as a JSON string literal: quotes, backslashes and control characters
    escaped, everything else kept as it is. */
namespace JsonText
{
juce::String quoted (const juce::String& text);
} // namespace JsonText
