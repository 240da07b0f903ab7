#pragma once

#include <juce_gui_basics/juce_gui_basics.h>

#include <memory>

/** What the platform's windowing needs beside the program's own drawing and
    event handling. Each platform defines these in its own file
    (PlatformWindowingLinux.cpp, PlatformWindowingWindows.cpp).
*/
namespace PlatformWindowing
{
/** Something that keeps the screen current while it lives. */
class ScreenUpkeep
{
public:
    virtual ~ScreenUpkeep() = default;
};

/** What keeps the main window's picture current on this platform, for as
    long as the window lives; nullptr when the platform needs nothing.
*/
std::unique_ptr<ScreenUpkeep> makeScreenUpkeep (juce::Component& mainWindow);

/** Called once quitting is agreed, from inside the modal loop of the
    question about unsaved changes; makes sure the main run loop sees the
    quit.
*/
void prepareRunLoopForQuit();
} // namespace PlatformWindowing
