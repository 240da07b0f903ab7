#pragma once

#include <new>
#include <stdexcept>
#include <string>

/** Failures on their way to the page. Every binding does its work through
    guarded(), so that whatever fails reaches JavaScript as an Error whose
    message is the reason, and the module goes on running: running out of
    memory included, which WebAssembly exceptions let the module catch. */
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

/** Throws a JavaScript error of this type ("Error", "RangeError") with this message. */
[[noreturn]] void throwToPage (const std::string& type, const std::string& message);

/** The work's result, or the page's error for what it threw. */
template <typename Work>
auto guarded (Work&& work, const char* whenMemoryRunsOut = memoryRanOut) -> decltype (work())
{
    std::string type, message;

    try
    {
        return work();
    }
    catch (const OutOfRange& failure)
    {
        type = "RangeError", message = failure.what();
    }
    catch (const Refusal& failure)
    {
        type = "Error", message = failure.what();
    }
    catch (const std::bad_alloc&)
    {
        type = "Error", message = whenMemoryRunsOut;
    }

    throwToPage (type, message);
}
} // namespace WebErrors
