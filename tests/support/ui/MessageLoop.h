#pragma once

// Running the message loop from a test, for as long as it takes and no longer.

#include <juce_gui_basics/juce_gui_basics.h>

#include <functional>

namespace testkit
{
/** Delivers the messages that arrive in this time. */
inline void pumpFor (int milliseconds)
{
    juce::MessageManager::getInstance()->runDispatchLoopUntil (milliseconds);
}

/** Runs the message loop until the condition holds or the time is up;
    true when it holds. */
inline bool pumpUntil (const std::function<bool()>& done, int timeoutMs = 2000)
{
    const auto end = juce::Time::getMillisecondCounter() + (juce::uint32) timeoutMs;

    while (! done() && juce::Time::getMillisecondCounter() < end)
        pumpFor (5);

    return done();
}

/** Clicks the button as the user would and delivers the click: triggerClick
    only posts it. */
inline void click (juce::Button& button)
{
    button.triggerClick();
    pumpFor (10);
}
} // namespace testkit
