#pragma once

// Small helpers shared by the tests of the tweak controls and the hue selector.

#include <juce_gui_basics/juce_gui_basics.h>

#include <cstdlib>

namespace tweaktest
{
/** A mouse event at (x, y) of the component, for calling its handlers directly. */
inline juce::MouseEvent mouseEventAt (juce::Component& c, int x, int y)
{
    const auto now = juce::Time::getCurrentTime();
    const juce::Point<float> pos ((float) x, (float) y);
    return juce::MouseEvent (juce::Desktop::getInstance().getMainMouseSource(),
                             pos,
                             juce::ModifierKeys(),
                             juce::MouseInputSource::defaultPressure,
                             juce::MouseInputSource::defaultOrientation,
                             juce::MouseInputSource::defaultRotation,
                             juce::MouseInputSource::defaultTiltX,
                             juce::MouseInputSource::defaultTiltY,
                             &c,
                             &c,
                             now,
                             pos,
                             now,
                             1,
                             false);
}

/** Counts the repaints of the component it is attached to; otherwise inert. */
struct RepaintCounter : public juce::CachedComponentImage
{
    explicit RepaintCounter (int& counterToUse) : counter (counterToUse) {}

    void paint (juce::Graphics&) override {}
    bool invalidateAll() override
    {
        ++counter;
        return true;
    }
    bool invalidate (const juce::Rectangle<int>&) override
    {
        ++counter;
        return true;
    }
    void releaseResources() override {}

    int& counter;
};

inline void countRepaints (juce::Component& c, int& counter)
{
    c.setCachedComponentImage (std::make_unique<RepaintCounter> (counter).release());
}

template <typename Type>
Type* findDescendant (juce::Component& parent)
{
    for (auto* child : parent.getChildren())
    {
        if (auto* found = dynamic_cast<Type*> (child))
            return found;

        if (auto* found = findDescendant<Type> (*child))
            return found;
    }

    return nullptr;
}

/** Searches every window on the desktop. */
template <typename Type>
Type* findOnDesktop()
{
    auto& desktop = juce::Desktop::getInstance();

    for (int i = 0; i < desktop.getNumComponents(); ++i)
        if (auto* c = desktop.getComponent (i))
        {
            if (auto* found = dynamic_cast<Type*> (c))
                return found;

            if (auto* found = findDescendant<Type> (*c))
                return found;
        }

    return nullptr;
}

/** Sends a real mouse event through the peer of c's window, at (x, y) of c. */
inline void sendMouse (juce::Component& c, int x, int y, bool buttonDown)
{
    auto* peer = c.getPeer();
    jassert (peer != nullptr);

    const auto inPeer = peer->getComponent().getLocalPoint (&c, juce::Point<float> ((float) x, (float) y));
    const auto mods = buttonDown ? juce::ModifierKeys (juce::ModifierKeys::leftButtonModifier) : juce::ModifierKeys();
    peer->handleMouseEvent (juce::MouseInputSource::InputSourceType::mouse,
                            inPeer,
                            mods,
                            juce::MouseInputSource::defaultPressure,
                            juce::MouseInputSource::defaultOrientation,
                            juce::Time::currentTimeMillis());
}

/** Opaque ARGB image filled with the background, with the component painted over it. */
inline juce::Image paintOver (juce::Component& c, juce::Colour background)
{
    juce::Image image (juce::Image::ARGB, c.getWidth(), c.getHeight(), true);
    juce::Graphics g (image);
    g.fillAll (background);
    c.paintEntireComponent (g, false);
    return image;
}
} // namespace tweaktest
