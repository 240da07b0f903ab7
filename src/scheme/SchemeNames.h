#pragma once

#include <juce_core/juce_core.h>

#include <cstddef>

/** The one rule for names a user types, shared by the window, the command
    line and the page: a name must be valid Unicode. A lone surrogate is no
    character at all, and a NUL is one no scheme file can hold; either is
    refused with a reason, never dropped or changed. Names read from a file
    are not held to it: they keep their exact characters, lone surrogates from
    a &#xD800; included, so that a name shown and given back unchanged is the
    same name. */
namespace SchemeNames
{
/** A name as the user gave it, and why it cannot be a name (empty when it can). */
struct Typed
{
    juce::String text;
    juce::String refusal;
};

/** Why this text cannot be a name: empty when it can. */
juce::String refusalFor (const juce::String& text);

/** Bytes as the command line receives them: UTF-8, and nothing else. A lone
    surrogate written as three bytes is kept in the text (and refused), so that
    it can be compared with a name read from a file. */
Typed fromUtf8 (const char* bytes, size_t numBytes);

/** UTF-16 code units, as a JavaScript string holds them: pairs are one
    character, a lone surrogate stays the one it is. */
Typed fromUtf16 (const char16_t* units, size_t numUnits);
} // namespace SchemeNames
