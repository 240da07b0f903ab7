#pragma once

#include <emscripten/val.h>

#include <memory>
#include <new>
#include <stdexcept>
#include <string>
#include <type_traits>

/** Failures on their way to the page. Every binding does its work through
    guarded(), which turns whatever failed into a JavaScript error handed to
    the module's wrapper (WebCalls.js) and returns normally: the wrapper
    throws it once the call is out of the module. Nothing is ever thrown
    through the module's own frames, so every call frees what it took and
    leaves the module's stack as it found it, running out of memory included
    (WebAssembly exceptions let the module catch that). */
namespace WebErrors
{
/** A request the model will not carry out; the page gets an Error. */
struct Refusal : public std::runtime_error
{
    using std::runtime_error::runtime_error;
};

/** An index or a value outside what the call accepts; the page gets a RangeError. */
struct OutOfRange : public std::runtime_error
{
    using std::runtime_error::runtime_error;
};

/** What the page is told when the model's memory runs out (unless the call
    names what was too large). */
constexpr const char* memoryRanOut = "the model's memory ran out";

/** Hands the wrapper an error of this type ("Error", "RangeError") with this
    message, for it to throw when the call returns. Allocates nothing in the
    module's memory. */
void fail (const char* type, const char* message) noexcept;

/** What a call that failed returns (the wrapper throws instead). */
template <typename Result>
Result nothing()
{
    if constexpr (std::is_same_v<Result, emscripten::val>)
        return emscripten::val::undefined();
    else if constexpr (! std::is_void_v<Result>)
        return Result {};
}

/** The work's result; or, when it throws, the page's error handed on and nothing. */
template <typename Work>
auto guarded (Work&& work, const char* whenMemoryRunsOut = memoryRanOut) -> decltype (work())
{
    try
    {
        return work();
    }
    catch (const OutOfRange& failure)
    {
        fail ("RangeError", failure.what());
    }
    catch (const std::bad_alloc&)
    {
        fail ("Error", whenMemoryRunsOut);
    }
    catch (const std::length_error&)
    {
        fail ("Error", whenMemoryRunsOut); // a size the library cannot hold at all
    }
    catch (const std::exception& failure)
    {
        fail ("Error", failure.what());
    }

    return nothing<decltype (work())>();
}
} // namespace WebErrors
