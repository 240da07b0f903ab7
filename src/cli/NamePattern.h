#pragma once

#include <juce_core/juce_core.h>

/** Shell-style patterns on colour names: * any run of characters, ? any one,
    [abc], [a-z] and [!abc] one from (or not from) a set; letter case counts.
    The whole name must match. */
namespace NamePattern
{
bool matches (const juce::String& name, const juce::String& pattern);
} // namespace NamePattern
