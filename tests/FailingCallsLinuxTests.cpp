// The window's Save and Open with real system calls failing: this suite runs
// with libfiu's POSIX preload (tests/CMakeLists.txt) and makes one call of
// one save or open fail.

#include "TestDisplay.h"
#include "app/CalvastraTintwright.h"
#include "groups/ColourTweaker.h"
#include "support/model/FailingCalls.h"
#include "support/model/SchemeBuilders.h"
#include "support/model/TempFolder.h"
#include "support/ui/MainComponentUnderTest.h"
#include "support/ui/MessageLoop.h"
#include "tweak/ColourGroupTweakerComponent.h"
#include "tweak/ColourTweakerList.h"

#include <gtest/gtest.h>

using testkit::bytesOf;
using testkit::FailingCall;
using testkit::SaveEffect;

namespace
{
struct FailingCallsOnScreen : public ::testing::Test,
                              protected testkit::MainComponentUnderTest
{
    FailingCallsOnScreen()
    {
        main->setSize (600, 400);
        main->setSaveQuestion ([this] (CalvastraScheme&)
                               {
                                   ++asked;
                                   return answer; });
        file = temp.write ("Scheme.calvastrascheme", testkit::schemeText());
    }

    /** Opens the file afresh with these bytes (any changes dropped) and
        changes a colour, as a pick in a row's left swatch does. */
    void openAndChange (const std::string& bytes)
    {
        ASSERT_TRUE (file.replaceWithData (bytes.data(), bytes.size()));
        answer = juce::FileBasedDocument::savedOk;
        ASSERT_TRUE (main->openScheme (file));
        answer = juce::FileBasedDocument::userCancelledSave;

        auto* row = dynamic_cast<ColourTweakerListItem*> (main->getGroupPane().getGroupTweaker().getList().getComponentForRowNumber (0));
        ASSERT_NE (row, nullptr);
        row->getStoredBox().setColour (juce::Colour (0xff445566));
        row->colourBoxChanged (&row->getStoredBox());
    }

    /** File > Save; the failure message it shows, closed again (empty when none). */
    juce::String saveAndReadMessage()
    {
        main->perform (juce::ApplicationCommandTarget::InvocationInfo (CalvastraTintwright::saveFile));
        auto* alert = dynamic_cast<juce::AlertWindow*> (juce::Component::getCurrentlyModalComponent());

        if (alert == nullptr)
            return {};

        const auto message = alert->getDescription();
        alert->exitModalState (0);
        testkit::pumpFor (20);
        return message;
    }

    testkit::TempFolder temp;
    juce::File file;
    juce::FileBasedDocument::SaveResult answer = juce::FileBasedDocument::userCancelledSave; // to the unsaved-changes question
    int asked = 0;
};
} // namespace

// Each call of File > Save failing in turn: the message shows the system's
// reason on a line under it, the file keeps its bytes (or, when only the
// confirmation failed, has the new ones), no temporary file is left, and the
// changes are still unsaved, so Quit asks. A save with nothing failing makes
// exactly the calls listed.
TEST_F (FailingCallsOnScreen, EveryCallOfASaveFailingInTurnIsShownAndKeepsTheFileAndTheChanges)
{
    if (! testdisplay::haveDisplay())
        GTEST_SKIP() << "the failure message is a window: needs a display";

    const auto calls = testkit::callsOfASave (0, true);
    const auto oldBytes = bytesOf (file);
    const auto namesBefore = temp.contents();

    for (const auto& [point, count] : testkit::callsPerPoint (calls))
    {
        openAndChange (oldBytes);
        FailingCall none (point.toRawUTF8(), 1000, EIO);
        EXPECT_EQ (saveAndReadMessage(), "");
        EXPECT_EQ (tintwright_calls_seen(), count) << point << ": the calls made are not those listed";
    }

    const auto newBytes = bytesOf (file);
    ASSERT_NE (newBytes, oldBytes);

    for (const auto& call : calls)
    {
        SCOPED_TRACE (call.point + " #" + juce::String (call.nth));
        openAndChange (oldBytes);
        juce::String message;

        {
            FailingCall failing (call.point.toRawUTF8(), call.nth, call.error);
            message = saveAndReadMessage();
            EXPECT_TRUE (failing.reached()) << "the call was never made";
        }

        EXPECT_EQ (bytesOf (file), call.effect == SaveEffect::leftAsItWas ? oldBytes : newBytes);
        EXPECT_EQ (temp.contents(), namesBefore) << "a temporary file was left behind";
        EXPECT_EQ (main->getScheme()->hasChangedSinceSaved(), call.effect != SaveEffect::saved);

        if (call.effect == SaveEffect::saved)
        {
            EXPECT_EQ (message, "");
            continue;
        }

        const juce::String shown = call.effect == SaveEffect::leftAsItWas
                                       ? "Could not write the scheme file! It was left as it was."
                                       : "The scheme was written, but the system did not confirm that the change is stored: "
                                         "after a crash the file could hold the earlier version. Save again to be sure.";
        EXPECT_TRUE (message.endsWith ("\n\n" + shown + "\n" + call.reason)) << message;

        asked = 0;
        EXPECT_FALSE (main->saveIfNeededAndUserAgrees());
        EXPECT_EQ (asked, 1) << "Quit asks";
    }
}

// Save as to a new file with each call failing in turn: the document keeps
// its own file and title and stays unsaved; no new file appears but when only
// the confirmation failed, and no temporary file is left.
TEST_F (FailingCallsOnScreen, SaveAsToANewFileWithEachCallFailingKeepsTheDocumentsFile)
{
    const auto copy = temp.folder.getChildFile ("Copy.calvastrascheme");
    const auto oldBytes = bytesOf (file);
    const auto namesBefore = temp.contents();

    for (const auto& call : testkit::callsOfASave (0, false))
    {
        SCOPED_TRACE (call.point + " #" + juce::String (call.nth));
        openAndChange (oldBytes);
        auto& doc = *main->getScheme();
        const auto saved = call.effect == SaveEffect::saved;

        {
            FailingCall failing (call.point.toRawUTF8(), call.nth, call.error);
            EXPECT_EQ (doc.saveAs (copy, false, false, false), saved ? juce::FileBasedDocument::savedOk : juce::FileBasedDocument::failedToWriteToFile);
            EXPECT_TRUE (failing.reached()) << "the call was never made";
        }

        EXPECT_EQ (copy.existsAsFile(), call.effect != SaveEffect::leftAsItWas);
        EXPECT_EQ (doc.getFile(), saved ? copy : file);
        EXPECT_EQ (doc.getDocumentTitle(), saved ? "Copy" : "Scheme");
        EXPECT_EQ (doc.hasChangedSinceSaved(), ! saved);

        copy.deleteFile();
        EXPECT_EQ (temp.contents(), namesBefore) << "a temporary file was left behind";
    }
}

// Opening another scheme whose open or read fails leaves the scheme on screen
// with its changes; failing stats do not keep a file from being read whole.
TEST_F (FailingCallsOnScreen, AnOpenWhoseReadFailsLeavesTheSchemeOnScreen)
{
    const auto other = temp.write ("Other.calvastrascheme", testkit::schemeText ("Elsewhere", "Other group"));
    openAndChange (bytesOf (file));
    auto* shown = main->getScheme();
    answer = juce::FileBasedDocument::savedOk; // go on without saving the changes

    for (const auto* point : { "posix/io/oc/open", "posix/io/rw/read" })
    {
        SCOPED_TRACE (point);
        FailingCall failing (point, 1, EIO);
        EXPECT_FALSE (main->openScheme (other));
        EXPECT_TRUE (failing.reached());
        ASSERT_EQ (main->getScheme(), shown);
        EXPECT_EQ (shown->getColour (0)->colour, juce::Colour (0xff445566));
        EXPECT_TRUE (shown->hasChangedSinceSaved());
    }

    FailingCall failing ("posix/io/stat/stat", 0, EIO);
    ASSERT_TRUE (main->openScheme (other));
    EXPECT_TRUE (failing.reached());
    EXPECT_EQ (main->getScheme()->getColour (0)->name, "Elsewhere");
    EXPECT_EQ (main->getScheme()->getNumColours(), 3);
    EXPECT_EQ (main->getScheme()->getGroup (0)->getNumMembers(), 2);
}
