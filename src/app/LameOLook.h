#pragma once

#include <juce_gui_basics/juce_gui_basics.h>

/** The program's own look: flat blue gradients on a light base. */
class LameOLook : public juce::LookAndFeel_V2
{
public:
    LameOLook() = default;
};
