#include "web/WebErrors.h"

#include <emscripten/emscripten.h>

// pendingFailure belongs to the wrapper (WebCalls.js), in the same scope.
EM_JS (void, tintwright_fail, (const char* type, const char* message), {
    pendingFailure = new globalThis[UTF8ToString (type)](UTF8ToString (message));
});

namespace WebErrors
{
void fail (const char* type, const char* message) noexcept
{
    tintwright_fail (type, message);
}
} // namespace WebErrors
