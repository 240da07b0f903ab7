#pragma once

#include <juce_core/juce_core.h>

#include <emscripten/val.h>
#include <string>
#include <vector>

/** Bytes and numbers between JavaScript's typed arrays and the model, each
    copied once. Arrays handed to the page are its own: they stay valid when
    the module's memory grows or the scheme is closed. */
namespace WebArrays
{
// The page's arrays come checked by the module's wrapper (WebCalls.js):
// copying one out of a typed array runs none of the page's code.

/** The bytes of a Uint8Array. */
juce::MemoryBlock bytesOf (const emscripten::val& bytes);

/** Whole numbers from an Int32Array. */
std::vector<int> integersOf (const emscripten::val& numbers);

/** The code units of a string, from the Uint16Array the wrapper makes of it. */
std::u16string unitsOf (const emscripten::val& units);

emscripten::val toUint8Array (const std::string& bytes);
emscripten::val toUint32Array (const std::vector<juce::uint32>& values);
emscripten::val toInt32Array (const std::vector<int>& values);
} // namespace WebArrays
