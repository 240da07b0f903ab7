#include "web/WebArrays.h"

#include "web/WebErrors.h"

#include <emscripten/bind.h>

namespace WebArrays
{
namespace
{
    size_t lengthOf (const emscripten::val& array, const char* what)
    {
        const auto length = array.isNull() || array.isUndefined() ? emscripten::val::undefined() : array["length"];

        if (! length.isNumber())
            throw WebErrors::Refusal (std::string ("expected ") + what);

        return (size_t) length.as<double>();
    }

    // A view of the module's memory, which the page's array is copied into
    // or out of; it is used at once, before any allocation could move it.
    template <typename Value>
    emscripten::val viewOf (const Value* data, size_t count)
    {
        return emscripten::val (emscripten::typed_memory_view (count, data));
    }

    // An array of the page's own with the values: made from the view, which
    // lets the engine leave its new memory unfilled before copying (slice
    // fills it with zeros first).
    template <typename Value>
    emscripten::val copyOf (const Value* data, size_t count)
    {
        const auto view = viewOf (data, count);
        return view["constructor"].new_ (view);
    }
} // namespace

juce::MemoryBlock bytesOf (const emscripten::val& bytes)
{
    juce::MemoryBlock block (lengthOf (bytes, "the file's bytes as a Uint8Array"));
    viewOf (static_cast<const juce::uint8*> (block.getData()), block.getSize()).call<void> ("set", bytes);
    return block;
}

std::vector<int> integersOf (const emscripten::val& numbers)
{
    std::vector<int> values (lengthOf (numbers, "colour indices as an Int32Array"));
    viewOf (values.data(), values.size()).call<void> ("set", numbers);
    return values;
}

std::u16string unitsOf (const emscripten::val& units)
{
    std::u16string text (lengthOf (units, "a string"), u'\0');
    viewOf (reinterpret_cast<const juce::uint16*> (text.data()), text.size()).call<void> ("set", units);
    return text;
}

emscripten::val toUint8Array (const std::string& bytes)
{
    return copyOf (reinterpret_cast<const juce::uint8*> (bytes.data()), bytes.size());
}

emscripten::val toUint32Array (const std::vector<juce::uint32>& values)
{
    return copyOf (values.data(), values.size());
}

emscripten::val toInt32Array (const std::vector<int>& values)
{
    return copyOf (values.data(), values.size());
}
} // namespace WebArrays
