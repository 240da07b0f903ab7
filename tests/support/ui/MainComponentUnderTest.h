#pragma once

// The program's main component with its commands, as the window sets it up,
// for tests that drive it without a window.

#include "app/CalvastraTintwright.h"

#include <juce_gui_basics/juce_gui_basics.h>

#include <memory>

namespace testkit
{
struct MainComponentUnderTest
{
    MainComponentUnderTest()
    {
        main = std::make_unique<CalvastraTintwright> (&commands);
        commands.registerAllCommandsForTarget (main.get());
        commands.setFirstCommandTarget (main.get());
    }

    ~MainComponentUnderTest()
    {
        main.reset();
        commands.setFirstCommandTarget (nullptr);
    }

    juce::ApplicationCommandManager commands;
    std::unique_ptr<CalvastraTintwright> main;
};
} // namespace testkit
