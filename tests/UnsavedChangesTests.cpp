// Unsaved work is never lost silently: what marks the scheme document changed,
// what does not, and how Open, Quit and the close button ask first.

#include "TestDisplay.h"
#include "app/AppClass.h"
#include "app/CalvastraTintwright.h"
#include "groups/ColourGroupControls.h"
#include "groups/ColourTweaker.h"
#include "support/model/SchemeBuilders.h"
#include "support/model/TempFolder.h"
#include "support/ui/MainComponentUnderTest.h"
#include "support/ui/Menus.h"
#include "support/ui/MessageLoop.h"
#include "tweak/ColourGroupTweakerComponent.h"
#include "tweak/ColourTweakerList.h"
#include "tweak/TweakPanel.h"

#include <gtest/gtest.h>

#include <optional>

using testkit::answerGroupMenu;
using testkit::bytesOf;
using testkit::longSchemeText;
using testkit::schemeText;
using testkit::TempFolder;
using SaveResult = juce::FileBasedDocument::SaveResult;

namespace
{
/** What the person answers to the save-if-needed question. */
enum class Answer
{
    save,
    discard,
    cancel
};

/** Stands in for the framework's question: counts the questions and does
    what the framework does on each answer (Save: the document's own save). */
struct ScriptedQuestion
{
    Answer answer = Answer::cancel;
    int asked = 0;
    std::optional<SaveResult> lastSave;

    CalvastraTintwright::SaveQuestion function()
    {
        return [this] (CalvastraScheme& scheme)
        {
            ++asked;

            switch (answer)
            {
                case Answer::save:
                    lastSave = scheme.save (false, false);
                    return *lastSave;
                case Answer::discard:
                    return juce::FileBasedDocument::savedOk;
                case Answer::cancel:
                default:
                    return juce::FileBasedDocument::userCancelledSave;
            }
        };
    }
};

class UnsavedChangesTest : public ::testing::Test,
                           protected testkit::MainComponentUnderTest
{
protected:
    UnsavedChangesTest()
    {
        main->setSize (600, 400);
        main->setSaveQuestion (question.function());

        file = temp.write ("Scheme.calvastrascheme", schemeText ("Background", "Panels"));
        other = temp.write ("Other.calvastrascheme", schemeText ("Elsewhere", "Other group"));
    }

    void open()
    {
        ASSERT_TRUE (main->openScheme (file));
        ASSERT_NE (main->getScheme(), nullptr);
        ASSERT_FALSE (changed()) << "a freshly opened scheme has no changes";
    }

    bool changed() const { return main->getScheme()->hasChangedSinceSaved(); }

    bool perform (int commandID)
    {
        return main->perform (juce::ApplicationCommandTarget::InvocationInfo (commandID));
    }

    ColourGroupTweakerComponent& tweaker() { return main->getGroupPane().getGroupTweaker(); }
    TweakPanel& panel() { return tweaker().getPanel(); }
    ColourGroupControls& controls() { return main->getGroupPane().getGroupControls(); }

    /** Picks this colour in the left swatch of a group row, as the swatch's
        pop-up does when it closes. */
    void pickInLeftSwatch (int row, juce::Colour colour)
    {
        auto& list = tweaker().getList();
        auto* item = dynamic_cast<ColourTweakerListItem*> (list.getComponentForRowNumber (row));
        ASSERT_NE (item, nullptr);
        item->getStoredBox().setColour (colour);
        item->colourBoxChanged (&item->getStoredBox());
    }

    void dropSchemeRows (std::initializer_list<int> rows)
    {
        auto& schemeList = main->getSchemeListPane().getList();
        schemeList.deselectAllRows();

        for (auto row : rows)
            schemeList.selectRow (row, false, false);

        tweaker().getList().itemDropped ({ "COLOURS", &schemeList, { 10, 10 } });
    }

    void runGroupMenu (int item, const juce::String& name)
    {
        answerGroupMenu (controls(), item, name);
        controls().buttonClicked (&controls().getGroupsButton());
    }

    /** Saves through the File menu's Save and expects it to succeed. */
    void saveNow()
    {
        ASSERT_TRUE (perform (CalvastraTintwright::saveFile));
        ASSERT_FALSE (changed());
    }

    juce::String onDisk() const { return file.loadFileAsString(); }

    TempFolder temp;
    juce::File file, other;
    ScriptedQuestion question;
};

/** The same fixture, for the tests that need the display (see TestDisplay.h). */
using UnsavedChangesOnScreen = UnsavedChangesTest;
} // namespace

//==============================================================================
// What marks the document changed

TEST_F (UnsavedChangesTest, SlidersResetInvertForceHueAndSelectionChangeNothingThatSaveWrites)
{
    open();

    for (auto* slider : { &panel().slider (TweakSliders::red), &panel().slider (TweakSliders::green), &panel().slider (TweakSliders::blue), &panel().slider (TweakSliders::hue), &panel().slider (TweakSliders::saturation), &panel().slider (TweakSliders::brightness), &panel().slider (TweakSliders::contrastCentre), &panel().slider (TweakSliders::contrast) })
    {
        slider->setValue (slider->getMinimum() + (slider->getMaximum() - slider->getMinimum()) * 0.3, juce::sendNotificationSync);
        EXPECT_FALSE (changed()) << slider->getName();
    }

    tweaker().finishPendingPreviews();
    ASSERT_NE (tweaker().getColourGroup()->getMember (0)->getPreviewColour(),
               tweaker().getColourGroup()->getMember (0)->getStoredColour())
        << "the sliders did move the previews";

    tweaker().buttonClicked (&panel().resetButton);
    EXPECT_FALSE (changed()) << "Reset";

    tweaker().buttonClicked (&panel().invertButton);
    EXPECT_FALSE (changed()) << "Invert";

    tweaker().hueSelected (0.3f);
    EXPECT_FALSE (changed()) << "Force hue";

    // Selection in both lists, and switching the current group.
    main->getSchemeListPane().getList().selectRow (1);
    tweaker().getList().selectRow (0);
    EXPECT_FALSE (changed()) << "selection";

    runGroupMenu (ColourGroupControls::addItemId, "Second");
    ASSERT_TRUE (perform (CalvastraTintwright::saveFile));
    ASSERT_FALSE (changed());
    controls().getGroupSelector().setSelectedId (1, juce::sendNotificationSync);
    ASSERT_EQ (tweaker().getColourGroup(), main->getScheme()->getGroup (0));
    controls().getGroupSelector().setSelectedId (2, juce::sendNotificationSync);
    ASSERT_EQ (tweaker().getColourGroup(), main->getScheme()->getGroup (1));
    EXPECT_FALSE (changed()) << "switching the current group";

    // Nothing of it reached the file.
    EXPECT_TRUE (onDisk().contains ("ff102030"));
}

TEST_F (UnsavedChangesTest, ApplyMarksItWhenTheStoredColoursChange)
{
    open();

    tweaker().buttonClicked (&panel().applyButton);
    EXPECT_FALSE (changed()) << "Apply with nothing to apply writes the same colours";

    panel().slider (TweakSliders::red).setValue (40, juce::sendNotificationSync);
    EXPECT_FALSE (changed());
    tweaker().buttonClicked (&panel().applyButton);
    EXPECT_TRUE (changed());
    EXPECT_EQ (main->getScheme()->getColour (0)->colour.getARGB(), 0xff382030u);

    // Invert and Force hue reach the scheme through Apply too.
    saveNow();
    tweaker().buttonClicked (&panel().invertButton);
    EXPECT_FALSE (changed());
    tweaker().buttonClicked (&panel().applyButton);
    EXPECT_TRUE (changed()) << "Apply after Invert";

    saveNow();
    tweaker().hueSelected (0.5f);
    EXPECT_FALSE (changed());
    tweaker().buttonClicked (&panel().applyButton);
    EXPECT_TRUE (changed()) << "Apply after Force hue";
}

TEST_F (UnsavedChangesTest, APickInTheLeftSwatchMarksItWhenTheColourIsAnother)
{
    open();

    pickInLeftSwatch (0, juce::Colour (0xff102030));
    EXPECT_FALSE (changed()) << "the same colour picked again";

    pickInLeftSwatch (0, juce::Colour (0xff00ff00));
    EXPECT_TRUE (changed());
    EXPECT_EQ (main->getScheme()->getColour (0)->colour.getARGB(), 0xff00ff00u);
}

TEST_F (UnsavedChangesTest, AddDeleteAndRenameOfAGroupMarkIt)
{
    open();

    runGroupMenu (0, "Dismissed");
    EXPECT_FALSE (changed()) << "the menu dismissed";

    runGroupMenu (ColourGroupControls::addItemId, {});
    EXPECT_FALSE (changed()) << "Add with the name window left empty adds nothing";
    EXPECT_EQ (main->getScheme()->getNumGroups(), 1);

    runGroupMenu (ColourGroupControls::addItemId, "Added");
    EXPECT_EQ (main->getScheme()->getNumGroups(), 2);
    EXPECT_TRUE (changed()) << "Add";

    saveNow();
    runGroupMenu (ColourGroupControls::renameItemId, "Added");
    EXPECT_FALSE (changed()) << "a rename to the same text";
    runGroupMenu (ColourGroupControls::renameItemId, {});
    EXPECT_FALSE (changed()) << "a rename left empty renames nothing";
    runGroupMenu (ColourGroupControls::renameItemId, "Renamed");
    EXPECT_EQ (main->getScheme()->getGroup (1)->getName(), "Renamed");
    EXPECT_TRUE (changed()) << "Rename";

    saveNow();
    runGroupMenu (ColourGroupControls::deleteItemId, {});
    EXPECT_EQ (main->getScheme()->getNumGroups(), 1);
    EXPECT_TRUE (changed()) << "Delete";
}

TEST_F (UnsavedChangesTest, DeleteWithNoGroupLeftChangesNothing)
{
    ASSERT_TRUE (main->openScheme (temp.write ("Empty.calvastrascheme", longSchemeText (3))));
    ASSERT_EQ (main->getScheme()->getNumGroups(), 0);

    runGroupMenu (ColourGroupControls::deleteItemId, {});
    runGroupMenu (ColourGroupControls::renameItemId, "Nothing to rename");
    EXPECT_FALSE (changed());
}

TEST_F (UnsavedChangesTest, DroppedColoursMarkItOnlyWhenAMemberWasAdded)
{
    open();
    auto* group = tweaker().getColourGroup();
    ASSERT_NE (group, nullptr);
    ASSERT_EQ (group->getNumMembers(), 2); // Background (row 0) and Shadow (row 2)

    dropSchemeRows ({ 0, 2 });
    EXPECT_EQ (group->getNumMembers(), 2);
    EXPECT_FALSE (changed()) << "colours that are members already";

    dropSchemeRows ({});
    EXPECT_FALSE (changed()) << "nothing selected";

    dropSchemeRows ({ 0, 1 });
    EXPECT_EQ (group->getNumMembers(), 3);
    EXPECT_TRUE (changed());
}

TEST_F (UnsavedChangesTest, ADroppedColourSharingANameJoinsAsTheFirstAndSavesAsShown)
{
    file.replaceWithText (R"(<COLOURS><COLOUR name="Same" colour="ff111111"/><COLOUR name="Same" colour="ff222222"/>)"
                          R"(<COLOURGROUPS><COLOURGROUP name="G"><COLOUR name="Same"/></COLOURGROUP></COLOURGROUPS></COLOURS>)");
    open();
    auto* scheme = main->getScheme();

    // The group holds the first "Same" already: dropping the second changes nothing.
    dropSchemeRows ({ 1 });
    ASSERT_EQ (tweaker().getColourGroup()->getNumMembers(), 1);
    EXPECT_EQ (&tweaker().getColourGroup()->getMember (0)->getSchemeColour(), scheme->getColour (0));
    EXPECT_FALSE (changed());

    // Into a new group it joins as the first, which is what the file will say.
    runGroupMenu (ColourGroupControls::addItemId, "New");
    dropSchemeRows ({ 1 });
    auto* added = tweaker().getColourGroup();
    ASSERT_EQ (added->getName(), "New");
    ASSERT_EQ (added->getNumMembers(), 1);
    EXPECT_EQ (&added->getMember (0)->getSchemeColour(), scheme->getColour (0));
    EXPECT_EQ (added->getMember (0)->getStoredColour().getARGB(), 0xff111111u);

    saveNow();
    ASSERT_TRUE (main->openScheme (file));
    auto* reopened = main->getScheme()->getGroup (1);
    ASSERT_NE (reopened, nullptr);
    ASSERT_EQ (reopened->getNumMembers(), 1);
    EXPECT_EQ (&reopened->getMember (0)->getSchemeColour(), main->getScheme()->getColour (0));
}

//==============================================================================
// Save clears the mark, a failed save keeps it

TEST_F (UnsavedChangesTest, SaveAndSaveAsClearTheMarkAndAFailedSaveKeepsIt)
{
    open();
    pickInLeftSwatch (0, juce::Colour (0xff0a0b0c));
    ASSERT_TRUE (changed());

    EXPECT_TRUE (perform (CalvastraTintwright::saveFile));
    EXPECT_FALSE (changed());
    EXPECT_TRUE (onDisk().contains ("ff0a0b0c"));

    pickInLeftSwatch (0, juce::Colour (0xff0d0e0f));
    const auto copy = temp.folder.getChildFile ("Copy.calvastrascheme");
    EXPECT_EQ (main->getScheme()->saveAs (copy, false, false, false), juce::FileBasedDocument::savedOk);
    EXPECT_FALSE (changed()) << "Save as";

    // Make the target a folder: every write to it fails, for root too.
    pickInLeftSwatch (0, juce::Colour (0xff010203));
    copy.deleteFile();
    copy.getChildFile ("inside.txt").create();
    EXPECT_EQ (main->getScheme()->save (false, false), juce::FileBasedDocument::failedToWriteToFile);
    EXPECT_TRUE (changed()) << "a failed save";
}

//==============================================================================
// Open asks first

TEST_F (UnsavedChangesTest, OpenWithoutChangesAsksNothing)
{
    open();
    tweaker().buttonClicked (&panel().invertButton); // a pending tweak is no change

    EXPECT_TRUE (main->openScheme (other));
    EXPECT_EQ (question.asked, 0);
    EXPECT_EQ (main->getScheme()->getColour (0)->name, "Elsewhere");
}

TEST_F (UnsavedChangesTest, OpenWithChangesAndCancelKeepsTheSchemeAndItsChanges)
{
    open();
    auto* shown = main->getScheme();
    pickInLeftSwatch (0, juce::Colour (0xff00ff00));

    // Should the open go ahead, the shown scheme is gone: stop before using it.
    question.answer = Answer::cancel;
    ASSERT_FALSE (main->openScheme (other));
    EXPECT_EQ (question.asked, 1);
    ASSERT_EQ (main->getScheme(), shown);
    EXPECT_EQ (main->getSchemeListPane().getList().getScheme(), shown);
    EXPECT_EQ (tweaker().getColourGroup(), shown->getGroup (0));
    EXPECT_TRUE (changed());
    EXPECT_EQ (shown->getColour (0)->colour.getARGB(), 0xff00ff00u);
    EXPECT_TRUE (onDisk().contains ("ff102030")) << "nothing was saved";
    EXPECT_EQ (main->getRecentFiles().getNumFiles(), 1) << "the other file was never opened";

    // A recent-file item asks the same way.
    main->menuItemSelected (CalvastraTintwright::recentFileBaseID, 0);
    EXPECT_EQ (question.asked, 2);
    EXPECT_EQ (main->getScheme(), shown);
}

TEST_F (UnsavedChangesTest, OpenWithChangesAndDiscardOpensTheOtherAndLeavesTheFileAlone)
{
    open();
    pickInLeftSwatch (0, juce::Colour (0xff00ff00));
    const auto before = onDisk();

    question.answer = Answer::discard;
    EXPECT_TRUE (main->openScheme (other));
    EXPECT_EQ (question.asked, 1);
    EXPECT_EQ (main->getScheme()->getColour (0)->name, "Elsewhere");
    EXPECT_FALSE (changed());
    EXPECT_EQ (onDisk(), before);
}

TEST_F (UnsavedChangesTest, OpenWithChangesAndSaveWritesThenOpens)
{
    open();
    pickInLeftSwatch (0, juce::Colour (0xff00ff00));

    question.answer = Answer::save;
    EXPECT_TRUE (main->openScheme (other));
    EXPECT_EQ (question.asked, 1);
    EXPECT_EQ (question.lastSave, std::optional<SaveResult> (juce::FileBasedDocument::savedOk));
    EXPECT_TRUE (onDisk().contains ("ff00ff00"));
    EXPECT_EQ (main->getScheme()->getColour (0)->name, "Elsewhere");
    EXPECT_FALSE (changed());
}

TEST_F (UnsavedChangesTest, OpenWithChangesAndAFailedSaveOpensNothing)
{
    open();
    auto* shown = main->getScheme();
    pickInLeftSwatch (0, juce::Colour (0xff00ff00));
    file.deleteFile();
    file.getChildFile ("inside.txt").create();

    question.answer = Answer::save;
    EXPECT_FALSE (main->openScheme (other));
    EXPECT_EQ (question.lastSave, std::optional<SaveResult> (juce::FileBasedDocument::failedToWriteToFile));
    EXPECT_EQ (main->getScheme(), shown);
    EXPECT_TRUE (changed());
}

TEST_F (UnsavedChangesTest, OpenOfABadFileAfterDiscardKeepsTheSchemeAndItsChanges)
{
    open();
    auto* shown = main->getScheme();
    pickInLeftSwatch (0, juce::Colour (0xff00ff00));

    question.answer = Answer::discard;
    ASSERT_FALSE (main->openScheme (temp.write ("Bad.calvastrascheme", "not XML")));
    EXPECT_EQ (question.asked, 1);
    ASSERT_EQ (main->getScheme(), shown);
    EXPECT_TRUE (changed()) << "the changes are still there, and Quit will ask again";
    EXPECT_EQ (shown->getColour (0)->colour.getARGB(), 0xff00ff00u);
}

TEST_F (UnsavedChangesTest, ANewlyOpenedSchemeStartsWithNothingSelectedAtTheTop)
{
    ASSERT_TRUE (main->openScheme (temp.write ("Long.calvastrascheme", longSchemeText (60))));
    auto& list = main->getSchemeListPane().getList();
    list.selectRangeOfRows (40, 45);
    list.setVerticalPosition (1.0);
    ASSERT_EQ (list.getNumSelectedRows(), 6);
    ASSERT_GT (list.getViewport()->getViewPositionY(), 0);

    ASSERT_TRUE (main->openScheme (temp.write ("Long2.calvastrascheme", longSchemeText (50))));
    EXPECT_EQ (list.getNumSelectedRows(), 0);
    EXPECT_EQ (list.getViewport()->getViewPositionY(), 0);
    EXPECT_EQ (list.getLastRowSelected(), -1);

    // A drop now adds nothing: no row is picked in this scheme.
    runGroupMenu (ColourGroupControls::addItemId, "Group");
    main->getScheme()->setChangedFlag (false);
    tweaker().getList().itemDropped ({ "COLOURS", &list, { 10, 10 } });
    EXPECT_EQ (tweaker().getColourGroup()->getNumMembers(), 0);
    EXPECT_FALSE (changed());
}

//==============================================================================
// The framework's own question, answered through its window

namespace
{
/** Once the question's modal loop runs: records it and presses one of its buttons. */
struct QuestionPresser : private juce::Timer
{
    explicit QuestionPresser (juce::String buttonToPress) : button (std::move (buttonToPress)) { startTimer (20); }
    ~QuestionPresser() override { stopTimer(); }

    void timerCallback() override
    {
        auto* alert = dynamic_cast<juce::AlertWindow*> (juce::Component::getCurrentlyModalComponent());

        if (alert == nullptr)
        {
            if (++ticks > 250) // never hang the run
                stopTimer();
            return;
        }

        stopTimer();
        title = alert->getName();

        for (auto* child : alert->getChildren())
            if (auto* b = dynamic_cast<juce::TextButton*> (child))
                buttons.add (b->getButtonText());

        alert->triggerButtonClick (button);
        pressed = true;
    }

    juce::String button, title;
    juce::StringArray buttons;
    bool pressed = false;
    int ticks = 0;
};
} // namespace

TEST_F (UnsavedChangesOnScreen, TheDefaultIsTheFrameworksOwnQuestion)
{
    if (! testdisplay::haveDisplay())
        GTEST_SKIP() << "the question is a window: needs a display";

    main->setSaveQuestion (nullptr);
    open();
    pickInLeftSwatch (0, juce::Colour (0xff00ff00));
    auto* shown = main->getScheme();

    {
        QuestionPresser cancel ("Cancel");
        EXPECT_FALSE (main->openScheme (other));
        ASSERT_TRUE (cancel.pressed) << "no question came";
        EXPECT_EQ (cancel.title, "Closing document...");
        EXPECT_EQ (cancel.buttons, juce::StringArray ({ "Save", "Discard changes", "Cancel" }));
        EXPECT_EQ (main->getScheme(), shown);
        EXPECT_TRUE (changed());
    }

    {
        QuestionPresser save ("Save");
        EXPECT_TRUE (main->openScheme (other));
        ASSERT_TRUE (save.pressed);
        EXPECT_TRUE (onDisk().contains ("ff00ff00"));
        EXPECT_EQ (main->getScheme()->getColour (0)->name, "Elsewhere");
    }
}

//==============================================================================
// Quit and the close button ask first

namespace
{
/** The real application object, except that a quit the user agrees to is
    counted instead of stopping the test process's message loop (which could
    not be started again). Quit, the close button and the system all reach
    the application through systemRequestedQuit(). */
struct QuitCountingApp : public AppClass
{
    void systemRequestedQuit() override
    {
        if (userAgreesToQuit())
            ++quits;
    }

    int quits = 0;
};

class QuitOnScreen : public ::testing::Test
{
protected:
    void SetUp() override
    {
        if (! testdisplay::haveDisplay())
            GTEST_SKIP() << "the main window needs an X display";

        app.initialise ({});
        window = app.getMainWindow();
        ASSERT_NE (window, nullptr);
        main = &window->getMainComponent();
        main->setSaveQuestion (question.function());

        file = temp.write ("Scheme.calvastrascheme", schemeText());
        ASSERT_TRUE (main->openScheme (file));
    }

    void TearDown() override
    {
        if (window != nullptr)
            app.shutdown();
    }

    /** Renames the group through the Groups... menu. */
    void change()
    {
        auto& controls = main->getGroupPane().getGroupControls();
        answerGroupMenu (controls, ColourGroupControls::renameItemId, "Changed");
        controls.buttonClicked (&controls.getGroupsButton());
        ASSERT_TRUE (main->getScheme()->hasChangedSinceSaved());
    }

    void quitFromTheMenu() { ASSERT_TRUE (window->getCommandManager().invokeDirectly (CalvastraTintwright::quit, false)); }

    void pressCloseButton()
    {
        auto* close = window->getCloseButton();
        ASSERT_NE (close, nullptr);
        close->triggerClick();
        // triggerClick posts the click; the loop delivers it.
        testkit::pumpFor (50);
    }

    TempFolder temp;
    juce::File file;
    ScriptedQuestion question;
    QuitCountingApp app;
    MainAppWindow* window = nullptr;
    CalvastraTintwright* main = nullptr;
};
} // namespace

TEST_F (QuitOnScreen, WithoutChangesQuitAndCloseQuitAtOnce)
{
    quitFromTheMenu();
    EXPECT_EQ (app.quits, 1);
    pressCloseButton();
    EXPECT_EQ (app.quits, 2);
    app.systemRequestedQuit();
    EXPECT_EQ (app.quits, 3);
    EXPECT_EQ (question.asked, 0);
}

TEST (QuitWithoutASchemeOnScreen, QuitAndCloseQuitAtOnce)
{
    if (! testdisplay::haveDisplay())
        GTEST_SKIP() << "the main window needs an X display";

    QuitCountingApp app;
    app.initialise ({});
    auto* window = app.getMainWindow();
    ASSERT_NE (window, nullptr);
    ASSERT_EQ (window->getMainComponent().getScheme(), nullptr);

    EXPECT_TRUE (window->getCommandManager().invokeDirectly (CalvastraTintwright::quit, false));
    EXPECT_EQ (app.quits, 1);
    window->closeButtonPressed();
    EXPECT_EQ (app.quits, 2);
    EXPECT_EQ (juce::Component::getCurrentlyModalComponent(), nullptr);

    app.shutdown();
}

TEST_F (QuitOnScreen, CancelKeepsTheProgramAndTheScheme)
{
    change();
    auto* shown = main->getScheme();
    question.answer = Answer::cancel;

    quitFromTheMenu();
    EXPECT_EQ (question.asked, 1);
    pressCloseButton();
    EXPECT_EQ (question.asked, 2);

    EXPECT_EQ (app.quits, 0);
    EXPECT_EQ (main->getScheme(), shown);
    EXPECT_TRUE (shown->hasChangedSinceSaved());
    EXPECT_TRUE (window->isVisible());
}

TEST_F (QuitOnScreen, DiscardQuitsWithoutWriting)
{
    change();
    const auto before = file.loadFileAsString();
    question.answer = Answer::discard;

    pressCloseButton();
    EXPECT_EQ (question.asked, 1);
    EXPECT_EQ (app.quits, 1);
    EXPECT_EQ (file.loadFileAsString(), before);

    quitFromTheMenu();
    EXPECT_EQ (question.asked, 2);
    EXPECT_EQ (app.quits, 2);
}

TEST_F (QuitOnScreen, SaveWritesTheFileThenQuits)
{
    change();
    question.answer = Answer::save;

    quitFromTheMenu();
    EXPECT_EQ (question.asked, 1);
    EXPECT_EQ (app.quits, 1);
    EXPECT_TRUE (file.loadFileAsString().contains ("\"Changed\""));
    EXPECT_FALSE (main->getScheme()->hasChangedSinceSaved());
}

TEST_F (QuitOnScreen, AFailedSaveDoesNotQuit)
{
    change();
    file.deleteFile();
    file.getChildFile ("inside.txt").create();
    question.answer = Answer::save;

    pressCloseButton();
    EXPECT_EQ (question.asked, 1);
    EXPECT_EQ (question.lastSave, std::optional<SaveResult> (juce::FileBasedDocument::failedToWriteToFile));
    EXPECT_EQ (app.quits, 0);
    EXPECT_TRUE (main->getScheme()->hasChangedSinceSaved());
}
