// The group selector and the "Groups..." menu, answered through the controls'
// stand-ins for the modal menu and name window, and the name window itself.

#include "TestDisplay.h"
#include "groups/ColourGroupControls.h"
#include "groups/GroupNamePopup.h"
#include "support/ui/Menus.h"
#include "support/ui/MessageLoop.h"
#include "support/ui/Pixels.h"
#include "support/ui/Recorders.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <optional>
#include <utility>
#include <vector>

namespace
{
class GroupControlsTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        controls.setSize (400, 26);

        controls.setMenuChooser ([this] (const juce::PopupMenu& menu)
                                 {
            ++menusShown;
            lastMenu = testkit::menuEntries (menu);

            return menuChoice; });

        controls.setNameAsker ([this] (const juce::String& initialName, const juce::String& refusal)
                               {
            namesAsked.push_back (initialName);
            refusals.push_back (refusal);
            const auto answer = typedName;
            typedName = std::exchange (nextTypedName, {});
            return answer; });
        controls.onSchemeEdited = [this]
        { ++edits; };
    }

    void makeGroups (std::initializer_list<const char*> names)
    {
        for (auto* name : names)
        {
            auto group = std::make_unique<ColourGroup>();
            group->setName (name);
            groups.add (std::move (group));
        }
    }

    // Lists the groups and the listener, then forgets the announcements so far.
    void openGroups()
    {
        controls.setListener (&recorder);
        controls.setScheme (&scheme);
        recorder.calls.clear();
    }

    // A real click on "Groups...": the button posts it, so the loop must run.
    void clickGroups (int choice, const juce::String& name = {})
    {
        menuChoice = choice;
        typedName = name;
        bool clicked = false;
        controls.getGroupsButton().onClick = [&clicked]
        { clicked = true; };
        controls.getGroupsButton().triggerClick();
        ASSERT_TRUE (testkit::pumpUntil ([&clicked]
                                         { return clicked; }));
        controls.getGroupsButton().onClick = nullptr;
    }

    void pickItem (int id) { selector().setSelectedId (id, juce::sendNotificationSync); }

    juce::ComboBox& selector() { return controls.getGroupSelector(); }

    std::vector<std::pair<int, juce::String>> items()
    {
        std::vector<std::pair<int, juce::String>> result;

        for (int i = 0; i < selector().getNumItems(); ++i)
            result.emplace_back (selector().getItemId (i), selector().getItemText (i));

        return result;
    }

    using Items = std::vector<std::pair<int, juce::String>>;
    using Calls = std::vector<ColourGroup*>;

    SchemeModel scheme;
    ColourGroupList& groups = scheme.getColourGroups();
    testkit::GroupSelectionRecorder recorder;
    ColourGroupControls controls;

    int menuChoice = 0;
    juce::String typedName, nextTypedName; // the answers to the first and a second asking
    std::vector<juce::String> refusals; // what the name window said, each time it was asked
    int edits = 0;
    int menusShown = 0;
    std::vector<testkit::MenuEntry> lastMenu;
    std::vector<juce::String> namesAsked;
};

/** The same fixture, for the tests that need the display (see TestDisplay.h). */
using GroupControlsOnScreen = GroupControlsTest;
} // namespace

//==============================================================================
TEST_F (GroupControlsTest, ChildrenTextsAndGeometry)
{
    EXPECT_EQ (selector().getName(), "GroupSelector");
    EXPECT_EQ (selector().getTextWhenNoChoicesAvailable(), "Create a group using the button to the right...");
    EXPECT_EQ (selector().getTextWhenNothingSelected(), "");
    EXPECT_FALSE (selector().isTextEditable());
    EXPECT_EQ (controls.getGroupsButton().getButtonText(), "Groups...");
    EXPECT_EQ (controls.getGroupsButton().getTooltip(), "Click here for options to manage the groups.");
    EXPECT_TRUE (selector().isVisible());
    EXPECT_TRUE (controls.getGroupsButton().isVisible());

    EXPECT_EQ (selector().getBounds(), juce::Rectangle<int> (5, 0, 310, 26));
    EXPECT_EQ (controls.getGroupsButton().getBounds(), juce::Rectangle<int> (325, 0, 75, 26));

    controls.setSize (180, 30);
    EXPECT_EQ (selector().getBounds(), juce::Rectangle<int> (5, 0, 90, 30));
    EXPECT_EQ (controls.getGroupsButton().getBounds(), juce::Rectangle<int> (105, 0, 75, 30));
}

TEST_F (GroupControlsTest, SetColourGroupsFillsSelectsAndAnnouncesTheFirstGroup)
{
    makeGroups ({ "Alpha", "Beta", "Gamma" });

    controls.setListener (&recorder);
    EXPECT_TRUE (recorder.calls.empty()); // setting the listener announces nothing

    controls.setScheme (&scheme);
    EXPECT_EQ (items(), (Items { { 1, "Alpha" }, { 2, "Beta" }, { 3, "Gamma" } }));
    EXPECT_EQ (selector().getSelectedId(), 1);
    EXPECT_EQ (recorder.calls, Calls { groups[0] });

    // A later list replaces the items and starts again at its first group.
    SchemeModel other;
    other.appendGroup (std::make_unique<ColourGroup>());
    controls.setScheme (&other);
    EXPECT_EQ (items(), (Items { { 1, "Unnamed group" } }));
    EXPECT_EQ (recorder.calls, (Calls { groups[0], other.getGroup (0) }));

    SchemeModel empty;
    controls.setScheme (&empty);
    EXPECT_EQ (selector().getNumItems(), 0);
    EXPECT_EQ (selector().getSelectedId(), 0);
    EXPECT_EQ (selector().getText(), "");
    EXPECT_EQ (recorder.calls, (Calls { groups[0], other.getGroup (0), nullptr }));

    // No list: emptied, and nothing to announce.
    controls.setScheme (&scheme);
    controls.setScheme (nullptr);
    EXPECT_EQ (selector().getNumItems(), 0);
    EXPECT_EQ (selector().getText(), "");
    EXPECT_EQ (recorder.calls.size(), 4u);
}

TEST_F (GroupControlsTest, NothingIsAnnouncedWithoutAListener)
{
    makeGroups ({ "Alpha", "Beta", "Gamma" });
    controls.setScheme (&scheme);
    pickItem (2);
    clickGroups (ColourGroupControls::deleteItemId);
    EXPECT_EQ (groups.size(), 2); // the delete still happened
    EXPECT_EQ (selector().getSelectedId(), 2);

    controls.setListener (&recorder);
    pickItem (1);
    EXPECT_EQ (recorder.calls, Calls { groups[0] });
}

TEST_F (GroupControlsTest, PickingAnItemAnnouncesItsGroup)
{
    makeGroups ({ "Alpha", "Beta", "Gamma" });
    openGroups();

    pickItem (3);
    pickItem (2);
    EXPECT_EQ (recorder.calls, (Calls { groups[2], groups[1] }));

    // A change the controls did not make themselves is not announced.
    controls.comboBoxChanged (nullptr);
    EXPECT_EQ (recorder.calls.size(), 2u);
}

TEST_F (GroupControlsTest, DuplicateNamesKeepTheirOwnItems)
{
    makeGroups ({ "Same", "Other", "Same" });
    openGroups();

    EXPECT_EQ (items(), (Items { { 1, "Same" }, { 2, "Other" }, { 3, "Same" } }));
    pickItem (3);
    pickItem (1);
    EXPECT_EQ (recorder.calls, (Calls { groups[2], groups[0] }));
}

TEST_F (GroupControlsTest, AGroupWithAnEmptyNameHasNoItem)
{
    makeGroups ({ "", "Beta", "", "Delta" });
    openGroups();

    EXPECT_EQ (items(), (Items { { 2, "Beta" }, { 4, "Delta" } }));

    pickItem (4);
    EXPECT_EQ (recorder.calls, Calls { groups[3] });

    // The first item stands for the first group that has one.
    controls.setScheme (&scheme);
    EXPECT_EQ (recorder.calls, (Calls { groups[3], groups[1] }));
}

//==============================================================================
TEST_F (GroupControlsTest, WithoutAListTheButtonShowsNoMenu)
{
    controls.setListener (&recorder);
    clickGroups (ColourGroupControls::addItemId, "New");

    EXPECT_EQ (menusShown, 0);
    EXPECT_TRUE (namesAsked.empty());
    EXPECT_TRUE (recorder.calls.empty());
    EXPECT_EQ (selector().getNumItems(), 0);
}

TEST_F (GroupControlsTest, TheMenuOffersAddDeleteAndRename)
{
    makeGroups ({ "Alpha" });
    openGroups();
    clickGroups (0);

    ASSERT_EQ (menusShown, 1);
    ASSERT_EQ (lastMenu.size(), 4u);
    EXPECT_EQ (lastMenu[0].id, 1);
    EXPECT_EQ (lastMenu[0].text, "Add");
    EXPECT_EQ (lastMenu[1].id, 2);
    EXPECT_EQ (lastMenu[1].text, "Delete");
    EXPECT_TRUE (lastMenu[2].separator);
    EXPECT_EQ (lastMenu[3].id, 3);
    EXPECT_EQ (lastMenu[3].text, "Rename");

    for (const auto& entry : lastMenu)
        if (! entry.separator)
            EXPECT_TRUE (entry.enabled && ! entry.ticked) << entry.text;

    // Dismissed: nothing changes.
    EXPECT_TRUE (namesAsked.empty());
    EXPECT_EQ (groups.size(), 1);
    EXPECT_TRUE (recorder.calls.empty());
}

TEST_F (GroupControlsTest, AddWithANameAppendsSelectsAndAnnounces)
{
    openGroups(); // a scheme without groups
    EXPECT_TRUE (selector().getText().isEmpty());

    clickGroups (ColourGroupControls::addItemId, "First");
    ASSERT_EQ (groups.size(), 1);
    EXPECT_EQ (groups[0]->getName(), "First");
    EXPECT_EQ (groups[0]->getNumMembers(), 0);
    EXPECT_EQ (namesAsked, std::vector<juce::String> { "" });
    EXPECT_EQ (selector().getSelectedId(), 1);
    EXPECT_EQ (recorder.calls, Calls { groups[0] });

    // Blanks are a name, taken as typed; duplicates are allowed.
    clickGroups (ColourGroupControls::addItemId, "  ");
    clickGroups (ColourGroupControls::addItemId, "First");
    ASSERT_EQ (groups.size(), 3);
    EXPECT_EQ (groups[1]->getName(), "  ");
    EXPECT_EQ (items(), (Items { { 1, "First" }, { 2, "  " }, { 3, "First" } }));
    EXPECT_EQ (selector().getSelectedId(), 3);
    EXPECT_EQ (recorder.calls, (Calls { groups[0], groups[1], groups[2] }));
}

TEST_F (GroupControlsTest, AddWithAnEmptyFieldChangesNothing)
{
    makeGroups ({ "Alpha", "Beta" });
    openGroups();
    pickItem (2);
    recorder.calls.clear();

    clickGroups (ColourGroupControls::addItemId, "");
    EXPECT_EQ (namesAsked.size(), 1u);
    EXPECT_EQ (groups.size(), 2);
    EXPECT_EQ (selector().getNumItems(), 2);
    EXPECT_EQ (selector().getSelectedId(), 2);
    EXPECT_TRUE (recorder.calls.empty());
}

TEST_F (GroupControlsTest, AddAfterANamelessGroupSelectsTheNewGroup)
{
    makeGroups ({ "", "Beta" });
    openGroups();

    clickGroups (ColourGroupControls::addItemId, "Gamma");
    ASSERT_EQ (groups.size(), 3);
    EXPECT_EQ (selector().getSelectedId(), 3);
    EXPECT_EQ (selector().getText(), "Gamma");
    EXPECT_EQ (recorder.calls, Calls { groups[2] });
}

//==============================================================================
TEST_F (GroupControlsTest, DeleteTheLastOfThreeSelectsTheNewLast)
{
    makeGroups ({ "Alpha", "Beta", "Gamma" });
    openGroups();
    pickItem (3);
    recorder.calls.clear();
    auto* beta = groups[1];

    clickGroups (ColourGroupControls::deleteItemId);
    EXPECT_EQ (groups.size(), 2);
    EXPECT_EQ (items(), (Items { { 1, "Alpha" }, { 2, "Beta" } }));
    EXPECT_EQ (selector().getSelectedId(), 2);
    EXPECT_EQ (recorder.calls, (Calls { nullptr, beta }));
    EXPECT_TRUE (namesAsked.empty()); // no confirmation
}

TEST_F (GroupControlsTest, DeleteTheFirstOfThreeSelectsTheFormerSecond)
{
    makeGroups ({ "Alpha", "Beta", "Gamma" });
    openGroups();
    auto* beta = groups[1];
    auto* gamma = groups[2];

    clickGroups (ColourGroupControls::deleteItemId);
    ASSERT_EQ (groups.size(), 2);
    EXPECT_EQ (groups[0], beta);
    EXPECT_EQ (groups[1], gamma);
    EXPECT_EQ (items(), (Items { { 1, "Beta" }, { 2, "Gamma" } }));
    EXPECT_EQ (selector().getSelectedId(), 1);
    EXPECT_EQ (recorder.calls, (Calls { nullptr, beta }));
}

TEST_F (GroupControlsTest, DeleteTheOnlyGroupAnnouncesNoneTwice)
{
    makeGroups ({ "Alpha" });
    openGroups();

    clickGroups (ColourGroupControls::deleteItemId);
    EXPECT_EQ (groups.size(), 0);
    EXPECT_EQ (selector().getNumItems(), 0);
    EXPECT_EQ (selector().getSelectedId(), 0);
    EXPECT_EQ (selector().getText(), "");
    EXPECT_EQ (recorder.calls, (Calls { nullptr, nullptr }));

    // Now nothing is selected: Delete and Rename do nothing at all.
    clickGroups (ColourGroupControls::deleteItemId);
    clickGroups (ColourGroupControls::renameItemId, "Name");
    EXPECT_EQ (menusShown, 3);
    EXPECT_TRUE (namesAsked.empty());
    EXPECT_EQ (recorder.calls.size(), 2u);
}

TEST_F (GroupControlsTest, TheFirstAnnouncementComesBeforeTheGroupIsDestroyed)
{
    struct CheckingListener : public ColourGroupControlListener
    {
        void colourGroupSelected (ColourGroup* group) override
        {
            sizesSeen.push_back (groups->size());
            calls.push_back (group);
        }

        ColourGroupList* groups = nullptr;
        std::vector<int> sizesSeen;
        Calls calls;
    } checker;

    makeGroups ({ "Alpha", "Beta" });
    checker.groups = &groups;
    controls.setListener (&checker);
    controls.setScheme (&scheme);
    auto* alpha = groups[0];

    clickGroups (ColourGroupControls::deleteItemId);
    EXPECT_EQ (checker.sizesSeen, (std::vector<int> { 2, 2, 1 }));
    EXPECT_EQ (checker.calls, (Calls { alpha, nullptr, groups[0] }));
}

//==============================================================================
TEST_F (GroupControlsTest, RenameChangesTheNameAndAnnouncesNothing)
{
    makeGroups ({ "Alpha", "Beta" });
    openGroups();
    pickItem (2);
    recorder.calls.clear();

    clickGroups (ColourGroupControls::renameItemId, "Bravo");
    EXPECT_EQ (namesAsked, std::vector<juce::String> { "Beta" });
    EXPECT_EQ (groups[1]->getName(), "Bravo");
    EXPECT_EQ (items(), (Items { { 1, "Alpha" }, { 2, "Bravo" } }));
    EXPECT_EQ (selector().getSelectedId(), 2);
    EXPECT_TRUE (recorder.calls.empty());
}

TEST_F (GroupControlsTest, RenameWithAnEmptiedFieldKeepsTheOldName)
{
    makeGroups ({ "Alpha" });
    openGroups();

    clickGroups (ColourGroupControls::renameItemId, "");
    EXPECT_EQ (groups[0]->getName(), "Alpha");
    EXPECT_EQ (items(), (Items { { 1, "Alpha" } }));
    EXPECT_EQ (selector().getSelectedId(), 1);
    EXPECT_TRUE (recorder.calls.empty());
}

TEST_F (GroupControlsTest, ANameThatIsNotUnicodeIsRefusedWithTheReasonAndAskedAgain)
{
    makeGroups ({ "Alpha" });
    openGroups();

    // A lone surrogate typed or pasted: the window asks again, saying why,
    // with the text as it was typed; nothing is renamed until a name passes.
    const auto lone = juce::String::fromUTF8 ("a\xed\xb0\x80"
                                              "b");
    nextTypedName = "Beta";
    clickGroups (ColourGroupControls::renameItemId, lone);
    EXPECT_EQ (namesAsked, (std::vector<juce::String> { "Alpha", lone }));
    ASSERT_EQ (refusals.size(), 2u);
    EXPECT_TRUE (refusals[0].isEmpty());
    EXPECT_TRUE (refusals[1].contains ("lone surrogate (U+DC00)")) << refusals[1];
    EXPECT_EQ (groups[0]->getName(), "Beta");
    EXPECT_EQ (edits, 1);

    // Refused, then backed out of with an empty field: nothing is added.
    namesAsked.clear();
    clickGroups (ColourGroupControls::addItemId, lone);
    EXPECT_EQ (namesAsked.size(), 2u);
    EXPECT_EQ (groups.size(), 1);
    EXPECT_EQ (edits, 1);
}

TEST_F (GroupControlsTest, ANameFromTheFileGivenBackUnchangedChangesNothing)
{
    // As a file's "Lone &#xD800; mark" reads.
    const auto fromFile = juce::String::fromUTF8 ("Lone \xed\xa0\x80 mark");
    makeGroups ({ "Alpha" });
    groups[0]->setName (fromFile);
    openGroups();

    clickGroups (ColourGroupControls::renameItemId, fromFile);
    EXPECT_EQ (namesAsked, std::vector<juce::String> { fromFile });
    EXPECT_EQ (groups[0]->getName().toRawUTF8(), fromFile.toRawUTF8());
    EXPECT_EQ (edits, 0);
    EXPECT_EQ (selector().getText(), fromFile);
}

TEST_F (GroupControlsTest, RenameToALaterGroupsNameKeepsTheRenamedGroupSelected)
{
    makeGroups ({ "Alpha", "Beta", "Gamma" });
    openGroups();
    auto* alpha = groups[0];

    clickGroups (ColourGroupControls::renameItemId, "Gamma");
    EXPECT_EQ (selector().getSelectedId(), 1);
    EXPECT_EQ (selector().getText(), "Gamma");
    EXPECT_TRUE (recorder.calls.empty());

    // So a following Delete removes the group being worked on, not the other "Gamma".
    auto* gamma = groups[2];
    clickGroups (ColourGroupControls::deleteItemId);
    ASSERT_EQ (groups.size(), 2);
    EXPECT_EQ (groups.indexOf (alpha), -1);
    EXPECT_EQ (groups[1], gamma);
}

TEST_F (GroupControlsTest, RenameToAnEarlierGroupsNameKeepsTheRenamedGroupSelected)
{
    makeGroups ({ "Alpha", "Beta", "Gamma" });
    openGroups();
    pickItem (3);
    recorder.calls.clear();

    clickGroups (ColourGroupControls::renameItemId, "Alpha");
    EXPECT_EQ (groups[2]->getName(), "Alpha");
    EXPECT_EQ (groups[0]->getName(), "Alpha");
    EXPECT_EQ (selector().getSelectedId(), 3);
    EXPECT_TRUE (recorder.calls.empty());
}

//==============================================================================
TEST (GroupNamePopupOnScreen, HoldsOneNameFieldAndOneOkayButton)
{
    if (! testdisplay::haveDisplay())
        GTEST_SKIP() << "an AlertWindow needs an X display";

    GroupNamePopup popup ("Old name");

    EXPECT_EQ (popup.getName(), "Name group");
    EXPECT_EQ (popup.getDescription(), "Name group. Please enter a name for this colour group.");
    EXPECT_EQ (popup.getAlertType(), juce::MessageBoxIconType::NoIcon);

    auto* editor = popup.getTextEditor ("GROUPNAME");
    ASSERT_NE (editor, nullptr);
    EXPECT_EQ (editor->getText(), "Old name");
    EXPECT_EQ (editor->getPasswordCharacter(), 0u);
    EXPECT_EQ (popup.getTextEditorContents ("GROUPNAME"), "Old name");

    ASSERT_EQ (popup.getNumButtons(), 1);
    juce::Button* okay = nullptr;

    for (auto* child : popup.getChildren())
        if (auto* button = dynamic_cast<juce::Button*> (child))
            okay = button;

    ASSERT_NE (okay, nullptr);
    EXPECT_EQ (okay->getButtonText(), "Okay!");
    EXPECT_EQ (okay->getCommandID(), 1);
    EXPECT_TRUE (okay->isRegisteredForShortcut (juce::KeyPress (juce::KeyPress::returnKey)));
    EXPECT_FALSE (okay->isRegisteredForShortcut (juce::KeyPress (juce::KeyPress::escapeKey)));

    // The field's label "Name" is drawn in the 14 pixels above the field:
    // compare that strip with the word drawn there on the window's background.
    const auto snapshot = popup.createComponentSnapshot (popup.getLocalBounds());
    const juce::Rectangle<int> strip (editor->getX(), editor->getY() - 14, editor->getWidth(), 14);

    auto drawLabel = [&] (const juce::String& text)
    {
        juce::Image image (juce::Image::ARGB, popup.getWidth(), popup.getHeight(), true);
        juce::Graphics g (image);
        g.setColour (popup.findColour (juce::AlertWindow::backgroundColourId));
        g.fillRect (strip);
        g.setColour (popup.findColour (juce::AlertWindow::textColourId));
        g.setFont (popup.getLookAndFeel().getAlertWindowFont());
        g.drawFittedText (text, strip, juce::Justification::centredLeft, 1);
        return image;
    };

    EXPECT_TRUE (testkit::samePixels (snapshot, drawLabel ("Name"), strip));
    EXPECT_FALSE (testkit::samePixels (snapshot, drawLabel ("Nome"), strip)); // the comparison can tell words apart
}

TEST (GroupNamePopupOnScreen, SaysWhyTheLastNameWasRefused)
{
    if (! testdisplay::haveDisplay())
        GTEST_SKIP() << "an AlertWindow needs an X display";

    GroupNamePopup popup ("a", "the name holds a lone surrogate (U+D800)");
    EXPECT_EQ (popup.getDescription(), "Name group. This name cannot be used: the name holds a lone surrogate (U+D800).");
    EXPECT_EQ (popup.getTextEditorContents ("GROUPNAME"), "a");
}

TEST (GroupNamePopupOnScreen, EscapeDoesNotCloseItAndReturnPressesOkay)
{
    if (! testdisplay::haveDisplay())
        GTEST_SKIP() << "an AlertWindow needs an X display";

    GroupNamePopup popup ({});
    juce::Component::SafePointer<juce::Component> safePopup (&popup);

    bool stillOpenAfterEscape = false;
    juce::String typed;

    // Once the modal loop runs: type a name, press Escape, then Return, all
    // through the window's peer as real keys would arrive.
    juce::MessageManager::callAsync ([&]
                                     {
        auto* peer = popup.getPeer();

        if (peer == nullptr)
        {
            popup.exitModalState (-1);
            return;
        }

        popup.getTextEditor ("GROUPNAME")->setText ("Typed", false);
        peer->handleKeyPress (juce::KeyPress (juce::KeyPress::escapeKey));
        stillOpenAfterEscape = popup.isCurrentlyModal();
        peer->handleKeyPress (juce::KeyPress (juce::KeyPress::returnKey)); });

    // Never hang the test run if neither key ends the loop. A timer owned by
    // the test, not callAfterDelay, which would outlive the test and leak.
    struct Watchdog : juce::Timer
    {
        juce::Component::SafePointer<juce::Component> target;

        void timerCallback() override
        {
            stopTimer();

            if (target != nullptr && target->isCurrentlyModal())
                target->exitModalState (-2);
        }
    } watchdog;

    watchdog.target = safePopup;
    watchdog.startTimer (5000);

    const auto result = popup.runModalLoop();

    EXPECT_TRUE (stillOpenAfterEscape);
    EXPECT_EQ (result, 1);
    EXPECT_EQ (popup.getTextEditorContents ("GROUPNAME"), "Typed");
}

//==============================================================================
namespace
{
// Plays the person at a real modal menu or window: polls from a timer, which
// keeps firing inside the modal loop, until its step reports it is done.
struct ModalDriver : private juce::Timer
{
    explicit ModalDriver (std::function<bool()> stepToRun) : step (std::move (stepToRun)) { startTimer (20); }
    ~ModalDriver() override { stopTimer(); }

    void timerCallback() override
    {
        if (step())
        {
            done = true;
            stopTimer();
        }
    }

    std::function<bool()> step;
    bool done = false;
};
} // namespace

TEST_F (GroupControlsOnScreen, TheRealMenuIsShownAndCanBeDismissed)
{
    if (! testdisplay::haveDisplay())
        GTEST_SKIP() << "a real menu needs an X display";

    controls.setMenuChooser (nullptr);
    makeGroups ({ "Alpha" });
    openGroups();

    ModalDriver person ([]
                        { return juce::PopupMenu::dismissAllActiveMenus(); });
    controls.buttonClicked (&controls.getGroupsButton());

    EXPECT_TRUE (person.done); // a menu was up while the handler waited
    EXPECT_TRUE (namesAsked.empty());
    EXPECT_EQ (groups.size(), 1);
    EXPECT_TRUE (recorder.calls.empty());
}

TEST_F (GroupControlsOnScreen, AddAsksForTheNameInTheRealNameWindow)
{
    if (! testdisplay::haveDisplay())
        GTEST_SKIP() << "the name window needs an X display";

    controls.setNameAsker (nullptr);
    menuChoice = ColourGroupControls::addItemId;
    openGroups();

    ModalDriver person ([]
                        {
        auto* popup = dynamic_cast<GroupNamePopup*> (juce::Component::getCurrentlyModalComponent());

        if (popup == nullptr || popup->getPeer() == nullptr)
            return false;

        popup->getTextEditor ("GROUPNAME")->setText ("Typed in the window", false);
        popup->getPeer()->handleKeyPress (juce::KeyPress (juce::KeyPress::returnKey));
        return true; });

    controls.buttonClicked (&controls.getGroupsButton());

    EXPECT_TRUE (person.done);
    ASSERT_EQ (groups.size(), 1);
    EXPECT_EQ (groups[0]->getName(), "Typed in the window");
    EXPECT_EQ (recorder.calls, Calls { groups[0] });
}
