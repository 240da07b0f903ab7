#include "app/StaleScreenGuardLinux.h"

namespace
{
// Well inside the 200 ms after which a person notices the closed window.
constexpr int checkIntervalMs = 40;

bool isShown (const juce::Component* component)
{
    return component != nullptr && component->isOnDesktop() && component->isVisible();
}
} // namespace

StaleScreenGuard::StaleScreenGuard (juce::Component& windowToRepaint)
    : window (windowToRepaint)
{
    rememberShownWindows();
    startTimer (checkIntervalMs);
}

StaleScreenGuard::~StaleScreenGuard()
{
    stopTimer();
}

void StaleScreenGuard::rememberShownWindows()
{
    auto& desktop = juce::Desktop::getInstance();
    shownWindows.clear();

    for (int i = 0; i < desktop.getNumComponents(); ++i)
        if (auto* component = desktop.getComponent (i); isShown (component))
            shownWindows.emplace_back (component);
}

void StaleScreenGuard::timerCallback()
{
    const auto oneClosed = std::any_of (shownWindows.begin(),
                                        shownWindows.end(),
                                        [] (const auto& shown)
                                        { return ! isShown (shown.getComponent()); });
    if (oneClosed)
        window.repaint();

    rememberShownWindows();
}
