// Test entry point: JUCE's GUI subsystem is initialised once per test process,
// so components can be built and painted into Images.

#include "TestDisplay.h"

#include <gtest/gtest.h>
#include <juce_gui_basics/juce_gui_basics.h>

int main (int argc, char** argv)
{
    testing::InitGoogleTest (&argc, argv);

    juce::ScopedJuceInitialiser_GUI juce;
    const auto display = testdisplay::prepareDisplay();

    return RUN_ALL_TESTS();
}
