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

/** Empty where text is drawn with the fonts the pixel tests were written
    against (DejaVu, through JUCE's Linux font code); otherwise why pictures
    of text come out differently here. */
std::string whyRenderedTextDiffers();
} // namespace testdisplay

// A test that compares pictures of rendered text skips itself, with the
// reason, where text is drawn differently.
#define TINTWRIGHT_SKIP_IF_RENDERED_TEXT_DIFFERS()                         \
    if (const auto whyTextDiffers = testdisplay::whyRenderedTextDiffers(); \
        ! whyTextDiffers.empty())                                          \
    GTEST_SKIP() << whyTextDiffers
