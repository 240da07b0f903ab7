#pragma once

// Tests that open real windows, menus or drags need a display. They live in
// suites whose names end in "OnScreen": CMake gives only those the display
// lock, so every other test runs in parallel. Each one also skips itself when
// there is no display at all.

#include <gtest/gtest.h>

#include <cstdlib>
#include <memory>
#include <string>

namespace testdisplay
{
inline bool haveDisplay()
{
    const auto* display = std::getenv ("DISPLAY");
    return display != nullptr && *display != 0;
}

/** Whatever this platform's display needs during a test run, for as long as
    it lives. Defined per platform (TestDisplayLinux.cpp, TestDisplayWindows.cpp). */
class DisplaySetup
{
public:
    virtual ~DisplaySetup() = default;
};

/** Called by main() once JUCE's GUI is initialised. */
std::unique_ptr<DisplaySetup> prepareDisplay();

/** Empty where mouse events sent through a peer to a component inside an
    open pop-up menu reach it as sent; otherwise why they do not here. */
std::string whyPressesInsideMenusMiss();
} // namespace testdisplay

// A test that needs it skips itself, with the reason, where it does not hold.
#define TINTWRIGHT_SKIP_IF(reasonFunction)                     \
    if (const auto skipReason = testdisplay::reasonFunction(); \
        ! skipReason.empty())                                  \
    GTEST_SKIP() << skipReason
