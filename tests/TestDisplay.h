#pragma once

// Tests that open real windows, menus or drags need an X display. They live in
// suites whose names end in "OnScreen": CMake gives only those the display
// lock, so every other test runs in parallel. Each one also skips itself when
// there is no display at all.

#include <cstdlib>

namespace testdisplay
{
inline bool haveDisplay()
{
    const auto* display = std::getenv ("DISPLAY");
    return display != nullptr && *display != 0;
}
} // namespace testdisplay
