#include "web/WebErrors.h"

#include <emscripten/val.h>

namespace WebErrors
{
void throwToPage (const std::string& type, const std::string& message)
{
    emscripten::val::global (type.c_str()).new_ (message).throw_();
}
} // namespace WebErrors
