// The window's Save and Open with real system calls failing: this suite runs
// with libfiu's POSIX preload (tests/CMakeLists.txt) and makes one call of
// one save or open fail. A failed save is shown with the system's reason
// under its message, the file keeps its bytes and the scheme its changes, so
// Quit still asks; a failed open leaves the scheme on screen.

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

#include <cerrno>
#include <map>

using testkit::bytesOf;
using testkit::FailingCall;

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
        other = temp.write ("Other.calvastrascheme", testkit::schemeText ("Elsewhere", "Other group"));
    }

    /** Opens the file afresh with these bytes (dropping any changes) and
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
        ASSERT_TRUE (main->getScheme()->hasChangedSinceSaved());
    }

    /** File > Save; the text of the failure message it shows, closed again (empty when none). */
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
    juce::File file, other;
    juce::FileBasedDocument::SaveResult answer = juce::FileBasedDocument::userCancelledSave; // to the unsaved-changes question
    int asked = 0;
};

enum class Expect
{
    saved,
    leftAsItWas,
    notConfirmed
};

struct SaveCall
{
    const char* point;
    int nth; // 0: every call
    int error;
    Expect expect;
    juce::String reason;
};
} // namespace

// Each call of a save failing in turn, and a save with nothing failing makes
// exactly the calls listed.
TEST_F (FailingCallsOnScreen, EveryCallOfASaveFailingInTurnIsShownAndKeepsTheFileAndTheChanges)
{
    if (! testdisplay::haveDisplay())
        GTEST_SKIP() << "the failure message is a window: needs a display";

    const std::vector<SaveCall> calls {
        { "posix/io/oc/open", 1, EACCES, Expect::leftAsItWas, "Permission denied (while creating the temporary file)" },
        { "posix/io/rw/write", 1, ENOSPC, Expect::leftAsItWas, "No space left on device (while writing)" },
        { "posix/io/rw/write/reduce", 1, 0, Expect::saved, {} }, // a short write: the rest follows
        { "posix/io/perm/fchmod", 1, EPERM, Expect::leftAsItWas, "Operation not permitted (while copying the file's permissions)" },
        { "posix/io/sync/fsync", 1, EIO, Expect::leftAsItWas, "Input/output error (while flushing to disk)" },
        { "posix/io/oc/close", 1, EIO, Expect::leftAsItWas, "Input/output error (while closing)" },
        { "posix/io/dir/rename", 1, EXDEV, Expect::leftAsItWas, "Invalid cross-device link (while replacing the file)" },
        { "posix/io/oc/open", 2, ENFILE, Expect::notConfirmed, "Too many open files in system (while confirming the replace)" },
        { "posix/io/sync/fsync", 2, EIO, Expect::notConfirmed, "Input/output error (while confirming the replace)" },
        { "posix/io/oc/close", 2, EIO, Expect::saved, {} }, // the folder's, after its sync
        { "posix/io/stat/stat", 0, EIO, Expect::leftAsItWas, "Input/output error (while examining the file)" },
    };

    const auto oldBytes = bytesOf (file);
    const auto before = temp.contents();
    std::map<juce::String, int> listed;

    for (const auto& call : calls)
        if (call.nth > 0)
            ++listed[call.point];

    for (const auto& [point, count] : listed)
    {
        openAndChange (oldBytes);
        FailingCall none (point.toRawUTF8(), 1000, EIO);
        EXPECT_EQ (saveAndReadMessage(), "");
        EXPECT_EQ (tintwright_calls_seen(), count) << point << ": calls made are not in the list";
    }

    const auto newBytes = bytesOf (file);
    ASSERT_NE (newBytes, oldBytes);

    for (const auto& call : calls)
    {
        SCOPED_TRACE (juce::String (call.point) + " #" + juce::String (call.nth));
        openAndChange (oldBytes);

        juce::String message;
        {
            FailingCall failing (call.point, call.nth, call.error);
            message = saveAndReadMessage();
            EXPECT_TRUE (failing.reached()) << "the call was never made";
        }

        if (call.expect == Expect::saved)
        {
            EXPECT_EQ (message, "");
            EXPECT_EQ (bytesOf (file), newBytes);
            EXPECT_FALSE (main->getScheme()->hasChangedSinceSaved());
            continue;
        }

        const auto shown = call.expect == Expect::leftAsItWas
                               ? "Could not write the scheme file! It was left as it was."
                               : "The scheme was written, but the system did not confirm that the change is stored: "
                                 "after a crash the file could hold the earlier version. Save again to be sure.";
        EXPECT_TRUE (message.endsWith (juce::String ("\n\n") + shown + "\n" + call.reason)) << message;
        EXPECT_EQ (bytesOf (file), call.expect == Expect::leftAsItWas ? oldBytes : newBytes);
        EXPECT_EQ (temp.contents(), before) << "a temporary file was left behind";

        // The changes are still unsaved: Quit asks.
        asked = 0;
        EXPECT_FALSE (main->saveIfNeededAndUserAgrees());
        EXPECT_EQ (asked, 1);
    }
}

// Opening another scheme whose open or read fails leaves the scheme on screen
// with its changes; a stat that fails does not keep a file from being read whole.
TEST_F (FailingCallsOnScreen, AnOpenWhoseReadFailsLeavesTheSchemeOnScreen)
{
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
