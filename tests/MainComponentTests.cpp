// The main component: commands, the File menu, opening schemes and the layout.

#include "TestDisplay.h"
#include "app/CalvastraTintwright.h"
#include "groups/ColourTweaker.h"
#include "support/model/SchemeBuilders.h"
#include "support/model/TempFolder.h"
#include "support/ui/MainComponentUnderTest.h"
#include "support/ui/Menus.h"
#include "support/ui/MessageLoop.h"
#include "tweak/ColourGroupTweakerComponent.h"

#include <gtest/gtest.h>

using testkit::schemeText;
using testkit::TempFolder;

namespace
{
using testkit::MenuEntry;
const auto separator = testkit::menuSeparator;

class MainComponentTest : public ::testing::Test,
                          protected testkit::MainComponentUnderTest
{
protected:
    std::vector<MenuEntry> fileMenu()
    {
        return testkit::menuEntries (main->getMenuForIndex (0, "File"));
    }

    bool perform (int commandID)
    {
        return main->perform (juce::ApplicationCommandTarget::InvocationInfo (commandID));
    }

    ColourGroup* shownGroup()
    {
        return main->getGroupPane().getGroupTweaker().getColourGroup();
    }

    TempFolder temp;
};

/** The same fixture, for the tests that need the display (see TestDisplay.h). */
using MainComponentOnScreen = MainComponentTest;
} // namespace

TEST_F (MainComponentTest, CommandsHaveTheirNamesDescriptionsAndNoKeys)
{
    juce::Array<juce::CommandID> ids;
    main->getAllCommands (ids);
    EXPECT_EQ (ids, juce::Array<juce::CommandID> ({ 1, 2, 3, 4 }));

    const std::tuple<int, const char*, const char*> expected[] = {
        { 1, "Open file...", "Open a Calvastra scheme file." },
        { 2, "Save file...", "Save the current Calvastra scheme." },
        { 3, "Save as new file...", "Save this Calvastra scheme to a new file." },
        { 4, "Quit", "Quit the program." },
    };

    for (const auto& [id, name, description] : expected)
    {
        SCOPED_TRACE (id);
        const auto* info = commands.getCommandForID (id);
        ASSERT_NE (info, nullptr);
        EXPECT_EQ (info->shortName, name);
        EXPECT_EQ (info->description, description);
        EXPECT_EQ (info->categoryName, "File");
        EXPECT_EQ (info->flags, 0);
        EXPECT_TRUE (info->defaultKeypresses.isEmpty());
    }

    EXPECT_EQ (commands.getCommandCategories(), juce::StringArray ("File"));
    EXPECT_EQ (main->getNextCommandTarget(), nullptr);
}

TEST_F (MainComponentTest, PerformHandlesItsCommandsAndNothingElse)
{
    // Without a scheme, Save and Save as do nothing (no chooser, no message) but
    // still count as handled; Quit without a running application does nothing.
    EXPECT_TRUE (perform (2));
    EXPECT_TRUE (perform (3));
    EXPECT_TRUE (perform (4));
    EXPECT_EQ (juce::Component::getCurrentlyModalComponent(), nullptr);

    EXPECT_FALSE (perform (0));
    EXPECT_FALSE (perform (5));
    EXPECT_FALSE (perform (500));
}

TEST_F (MainComponentTest, FileMenuAtStartHasThreeSeparatorsAndNoRecentFiles)
{
    EXPECT_EQ (main->getMenuBarNames(), juce::StringArray ("File"));

    const std::vector<MenuEntry> expected {
        { 1, "Open file..." },
        separator,
        { 2, "Save file..." },
        { 3, "Save as new file..." },
        separator,
        separator,
        { 4, "Quit" },
    };
    EXPECT_EQ (fileMenu(), expected);

    EXPECT_EQ (main->getMenuForIndex (0, "file").getNumItems(), 0) << "the name is compared case-sensitively";
    EXPECT_EQ (main->getMenuForIndex (1, "Edit").getNumItems(), 0);
}

TEST_F (MainComponentTest, OpenedFilesAreListedNewestFirstAndDeletedOnesLeftOut)
{
    const auto first = temp.write ("First.calvastrascheme", schemeText ("A"));
    const auto second = temp.write ("Second.calvastrascheme", schemeText ("B"));

    ASSERT_TRUE (main->openScheme (first));
    ASSERT_TRUE (main->openScheme (second));

    std::vector<MenuEntry> expected {
        { 1, "Open file..." },
        separator,
        { 2, "Save file..." },
        { 3, "Save as new file..." },
        separator,
        { 500, second.getFullPathName() },
        { 501, first.getFullPathName() },
        separator,
        { 4, "Quit" },
    };
    EXPECT_EQ (fileMenu(), expected);

    // Choosing a recent item opens that file and moves it to the top.
    main->menuItemSelected (501, 0);
    ASSERT_NE (main->getScheme(), nullptr);
    EXPECT_EQ (main->getScheme()->getFile(), first);
    EXPECT_EQ (main->getRecentFiles().getFile (0), first);

    // A file deleted from disk drops out of the menu; the others keep their list index as ID.
    first.deleteFile();
    const auto menu = fileMenu();
    ASSERT_EQ (menu.size(), 8u);
    EXPECT_EQ (menu[5], (MenuEntry { 501, second.getFullPathName() }));
    EXPECT_EQ (menu[6], separator);

    // Selecting it anyway (a menu shown before the deletion) changes nothing.
    auto* shown = main->getScheme();
    main->menuItemSelected (500, 0);
    EXPECT_EQ (main->getScheme(), shown);

    // Command items and IDs off the list are not recent files.
    main->menuItemSelected (4, 0);
    main->menuItemSelected (520, 0);
    EXPECT_EQ (main->getScheme(), shown);
}

TEST_F (MainComponentTest, OpeningShowsTheSchemeInBothPanesAndReplacesTheOldOne)
{
    auto& list = main->getSchemeListPane().getList();
    EXPECT_EQ (main->getScheme(), nullptr);
    EXPECT_EQ (list.getNumRows(), 0);

    ASSERT_TRUE (main->openScheme (temp.write ("One.calvastrascheme", schemeText ("A", "First group"))));
    auto* one = main->getScheme();
    ASSERT_NE (one, nullptr);
    EXPECT_EQ (list.getScheme(), one);
    EXPECT_EQ (list.getNumRows(), 3);
    EXPECT_EQ (shownGroup(), one->getGroup (0));

    ASSERT_TRUE (main->openScheme (temp.write ("Two.calvastrascheme", schemeText ("B", "Second group"))));
    auto* two = main->getScheme();
    ASSERT_NE (two, nullptr);
    EXPECT_EQ (list.getScheme(), two);
    EXPECT_EQ (two->getColour (0)->name, "B");
    ASSERT_NE (shownGroup(), nullptr);
    EXPECT_EQ (shownGroup()->getName(), "Second group");
}

TEST_F (MainComponentTest, FailedOpensLeaveSchemePanesAndRecentFilesUntouched)
{
    const auto good = temp.write ("Good.calvastrascheme", schemeText ("A", "Kept group"));
    ASSERT_TRUE (main->openScheme (good));

    auto* shown = main->getScheme();
    auto* group = shownGroup();
    ASSERT_NE (group, nullptr);
    group->setRedOffset (40); // a pending tweak survives a failed open
    const auto preview = group->getMember (0)->getPreviewColour();

    const juce::File failing[] = {
        temp.folder.getChildFile ("Missing.calvastrascheme"),
        temp.write ("Text.calvastrascheme", "not XML"),
        temp.write ("Deep.calvastrascheme", testkit::deeplyNestedText()),
    };

    for (const auto& file : failing)
    {
        SCOPED_TRACE (file.getFileName());
        EXPECT_FALSE (main->openScheme (file));
        EXPECT_EQ (main->getScheme(), shown);
        EXPECT_EQ (main->getSchemeListPane().getList().getScheme(), shown);
        EXPECT_EQ (main->getSchemeListPane().getList().getNumRows(), 3);
        EXPECT_EQ (shownGroup(), group);
        EXPECT_EQ (group->getMember (0)->getParameters().redOffset, 40);
        EXPECT_EQ (group->getMember (0)->getPreviewColour(), preview);
        EXPECT_EQ (main->getRecentFiles().getNumFiles(), 1);
        EXPECT_EQ (main->getRecentFiles().getFile (0), good);
    }
}

TEST_F (MainComponentTest, SaveWritesTheOpenFile)
{
    const auto file = temp.write ("Saved.calvastrascheme", schemeText());
    ASSERT_TRUE (main->openScheme (file));
    main->getScheme()->getColour (0)->colour = juce::Colour (0xff0a0b0c);

    EXPECT_TRUE (perform (2));

    CalvastraScheme reread;
    ASSERT_TRUE (reread.loadFrom (file, false).wasOk());
    EXPECT_EQ (reread.getColour (0)->colour.getARGB(), 0xff0a0b0cu);
    EXPECT_EQ (main->getRecentFiles().getNumFiles(), 1) << "a plain save adds nothing";
}

TEST_F (MainComponentOnScreen, AFailedSaveIsReported)
{
    if (! testdisplay::haveDisplay())
        GTEST_SKIP() << "the failure message is a window: needs a display";

    const auto file = temp.write ("Doomed.calvastrascheme", schemeText());
    ASSERT_TRUE (main->openScheme (file));

    // Make the target a folder: every write to it fails, for root too.
    file.deleteFile();
    file.getChildFile ("inside.txt").create();

    EXPECT_TRUE (perform (2));

    auto* alert = dynamic_cast<juce::AlertWindow*> (juce::Component::getCurrentlyModalComponent());
    ASSERT_NE (alert, nullptr) << "Save failed silently";

    alert->exitModalState (0);
    testkit::pumpFor (50);
    EXPECT_EQ (juce::Component::getCurrentlyModalComponent(), nullptr);
}

TEST_F (MainComponentTest, LayoutKeepsTheSchemeListTwoHundredWide)
{
    main->setSize (600, 400);
    EXPECT_EQ (main->getSchemeListPane().getBounds(), juce::Rectangle<int> (0, 0, 200, 400));
    EXPECT_EQ (main->getGroupPane().getBounds(), juce::Rectangle<int> (200, 0, 400, 400));

    main->setSize (1234, 777);
    EXPECT_EQ (main->getSchemeListPane().getBounds(), juce::Rectangle<int> (0, 0, 200, 777));
    EXPECT_EQ (main->getGroupPane().getBounds(), juce::Rectangle<int> (200, 0, 1034, 777));

    EXPECT_EQ (main->getSchemeListPane().getParentComponent(), main.get());
    EXPECT_EQ (main->getGroupPane().getParentComponent(), main.get());
    EXPECT_NE (dynamic_cast<juce::DragAndDropContainer*> (main.get()), nullptr);
}

TEST (MainComponentLookTest, LookIsTheDefaultWhileTheMainComponentLives)
{
    juce::ApplicationCommandManager commands;
    {
        CalvastraTintwright main (&commands);
        EXPECT_NE (dynamic_cast<LameOLook*> (&juce::LookAndFeel::getDefaultLookAndFeel()), nullptr);

        juce::TextButton button;
        EXPECT_NE (dynamic_cast<LameOLook*> (&button.getLookAndFeel()), nullptr);
    }

    EXPECT_EQ (dynamic_cast<LameOLook*> (&juce::LookAndFeel::getDefaultLookAndFeel()), nullptr);
}
