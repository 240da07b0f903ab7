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
/** The bytes of a Uint8Array (or anything a Uint8Array can be set from). */
juce::MemoryBlock bytesOf (const emscripten::val& bytes);

/** Whole numbers from an Int32Array or an array of numbers. */
std::vector<int> integersOf (const emscripten::val& numbers);

emscripten::val toUint8Array (const std::string& bytes);
emscripten::val toUint32Array (const std::vector<juce::uint32>& values);
emscripten::val toInt32Array (const std::vector<int>& values);
} // namespace WebArrays
