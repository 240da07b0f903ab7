// The same group tweak through the window's real component tree (sliders set,
// Apply, Save) and through tintwright-cli tweak gives byte-identical files.

#include "TweakTestSupport.h"
#include "app/CalvastraTintwright.h"
#include "cli/CliProcess.h"
#include "groups/ColourGroupControls.h"
#include "groups/ColourTweaker.h"
#include "hue/HueSelector.h"
#include "hue/ModalMenu.h"
#include "support/model/SchemeBuilders.h"
#include "support/model/TempFolder.h"
#include "support/ui/MainComponentUnderTest.h"
#include "support/ui/MessageLoop.h"
#include "tweak/ColourGroupTweakerComponent.h"
#include "tweak/PreviewSweep.h"
#include "tweak/TweakPanel.h"

#include <gtest/gtest.h>

namespace
{
using testkit::TempFolder;

/** What one run does: a group, then slider values typed into the panel's
    boxes (option and text, given to the CLI as they are), Invert, or a hue
    picked on the Force hue... strip at a row of a 200-pixel-high selector. */
struct Tweak
{
    juce::String group;
    std::vector<std::pair<juce::String, juce::String>> sliders;
    bool invert = false;
    int hueRow = -1;
};

juce::Slider& sliderFor (TweakPanel& panel, const juce::String& option)
{
    if (option == "--red")
        return panel.slider (TweakSliders::red);
    if (option == "--green")
        return panel.slider (TweakSliders::green);
    if (option == "--blue")
        return panel.slider (TweakSliders::blue);
    if (option == "--hue")
        return panel.slider (TweakSliders::hue);
    if (option == "--saturation")
        return panel.slider (TweakSliders::saturation);
    if (option == "--brightness")
        return panel.slider (TweakSliders::brightness);
    if (option == "--contrast")
        return panel.slider (TweakSliders::contrast);
    return panel.slider (TweakSliders::contrastCentre);
}

/** A scheme with colours of every kind: the shipped sample's, then 300 made
    from a fixed seed with alphas from 0 to ff, in a group of their own. */
juce::String testScheme()
{
    SchemeModel model;
    const juce::File sample (TINTWRIGHT_SOURCE_DIR "/docs/sample.calvastrascheme");
    juce::String text = sample.loadFileAsString();

    juce::Random random (24);
    juce::String colours, members;
    for (int i = 0; i < 300; ++i)
    {
        const auto value = (juce::uint32) random.nextInt() ^ ((juce::uint32) (i % 4 == 0 ? 0xff : i) << 24);
        colours << "  <COLOUR name=\"Made " << i << "\" colour=\"" << juce::String::toHexString ((juce::int64) value) << "\"/>\n";
        members << "      <COLOUR name=\"Made " << i << "\"/>\n";
    }

    return text.replace ("  <COLOURGROUPS>", colours + "  <COLOURGROUPS>")
        .replace ("  </COLOURGROUPS>", "    <COLOURGROUP name=\"Made\">\n" + members + "    </COLOURGROUP>\n  </COLOURGROUPS>");
}

class CliMatchesWindowTest : public ::testing::Test,
                             protected testkit::MainComponentUnderTest
{
protected:
    /** Opens the file in the window, tweaks, applies and saves it. */
    void tweakInTheWindow (const juce::File& file, const Tweak& tweak)
    {
        ASSERT_TRUE (main->openScheme (file));

        auto& pane = main->getGroupPane();
        const auto index = main->getScheme()->getColourGroups().indexOf (main->getScheme()->findGroup (tweak.group));
        ASSERT_GE (index, 0);
        pane.getGroupControls().getGroupSelector().setSelectedId (index + 1, juce::sendNotificationSync);

        auto& tweaker = pane.getGroupTweaker();
        auto& panel = tweaker.getPanel();

        for (const auto& [option, text] : tweak.sliders)
        {
            auto& slider = sliderFor (panel, option);
            slider.setValue (slider.getValueFromText (text), juce::sendNotificationSync);
            tweaker.getPreviewSweep().refreshNow();
        }

        if (tweak.invert)
            testkit::click (panel.invertButton);

        if (tweak.hueRow >= 0)
        {
            tweaker.setMenuRunner ([row = tweak.hueRow] (juce::PopupMenu& menu, juce::Component&)
                                   {
                auto* selector = dynamic_cast<HueSelector*> (ModalMenu::getFirstCustomComponent (menu));
                if (selector == nullptr)
                    return 0;
                selector->setSize (50, 200);
                auto& tool = selector->getTool();
                tool.mouseMove (tweaktest::mouseEventAt (tool, 25, row));
                selector->mouseDown (tweaktest::mouseEventAt (tool, 25, row));
                return 1; });
            testkit::click (panel.forceHueButton);
        }

        testkit::click (panel.applyButton);
        ASSERT_TRUE (main->perform (CalvastraTintwright::saveFile));
    }

    /** The hue the strip gives at that row, as text that reads back as that float. */
    static juce::String hueTextAtRow (int row)
    {
        HueSelector selector;
        selector.setSize (50, 200);
        selector.getTool().mouseMove (tweaktest::mouseEventAt (selector.getTool(), 25, row));
        return juce::String (selector.getHue(), 9);
    }

    TempFolder temp;
};
} // namespace

TEST_F (CliMatchesWindowTest, TweakAppliedAndSavedGivesTheSameBytes)
{
    const std::vector<Tweak> tweaks {
        { "Meters", { { "--red", "40" }, { "--green", "-30" }, { "--blue", "255" } } },
        { "Clips", { { "--hue", "0.137" }, { "--saturation", "1.33" }, { "--brightness", "0.71" } } },
        { "Accents", { { "--contrast", "0.8" }, { "--contrast-centre", "0.35" } } },
        { "Accents", { { "--contrast", "0.6" } } },
        { "Made", { { "--red", "-7" }, { "--green", "12" }, { "--blue", "-255" }, { "--hue", "-0.4999" }, { "--saturation", "1.9" }, { "--brightness", "0.1" }, { "--contrast-centre", "0.123456789" }, { "--contrast", "0.3" } } },
        { "Made", { { "--hue", "0.333333333333333333" }, { "--saturation", "0.05" } } },
        { "Made", {}, true },
        { "Meters", {}, true },
        { "Made", {}, false, 69 },
        { "Clips", {}, false, 8 + 92 },
        { "Accents", {}, false, 191 },
    };

    const auto scheme = testScheme();
    int run = 0;

    for (const auto& tweak : tweaks)
    {
        juce::StringArray options { "tweak", "", "--group", tweak.group };
        for (const auto& [option, text] : tweak.sliders)
            options.addArray ({ option, text });
        if (tweak.invert)
            options.add ("--invert");
        if (tweak.hueRow >= 0)
            options.addArray ({ "--force-hue", hueTextAtRow (tweak.hueRow) });

        SCOPED_TRACE (options.joinIntoString (" "));
        ++run;

        const auto inWindow = temp.write ("Window" + juce::String (run) + ".calvastrascheme", scheme);
        const auto fromCli = temp.write ("Cli" + juce::String (run) + ".calvastrascheme", scheme);
        const auto before = testkit::bytesOf (fromCli);

        tweakInTheWindow (inWindow, tweak);

        options.set (1, fromCli.getFullPathName());
        options.add ("--in-place");
        const auto result = CliProcess::run (options);
        ASSERT_EQ (result.exitCode, 0) << result.err;

        EXPECT_NE (testkit::bytesOf (fromCli), before) << "the tweak changed something";
        EXPECT_TRUE (testkit::bytesOf (fromCli) == testkit::bytesOf (inWindow)) << "the window's and the CLI's files differ";
    }
}
