// The baseline of the start-up benchmark: the plainest JUCE window app, built
// from the same JUCE library with the same settings as the program. A 600 by
// 450 document window, centred, with a content that paints one colour.

#include <juce_gui_basics/juce_gui_basics.h>

namespace
{
struct FilledContent : public juce::Component
{
    void paint (juce::Graphics& g) override { g.fillAll (juce::Colours::lightgrey); }
};

struct BareWindow : public juce::DocumentWindow
{
    BareWindow()
        : juce::DocumentWindow ("Bare window", juce::Colours::grey, juce::DocumentWindow::allButtons, true)
    {
        setUsingNativeTitleBar (false);
        setResizable (true, false);
        setContentOwned (std::make_unique<FilledContent>().release(), false);
        centreWithSize (600, 450);
        setVisible (true);
    }

    void closeButtonPressed() override { juce::JUCEApplication::quit(); }
};

struct BareWindowApp : public juce::JUCEApplication
{
    const juce::String getApplicationName() override { return "Bare window"; }
    const juce::String getApplicationVersion() override { return "0.0"; }
    bool moreThanOneInstanceAllowed() override { return true; }

    void initialise (const juce::String&) override { window = std::make_unique<BareWindow>(); }
    void shutdown() override { window.reset(); }

    std::unique_ptr<BareWindow> window;
};
} // namespace

START_JUCE_APPLICATION (BareWindowApp)
