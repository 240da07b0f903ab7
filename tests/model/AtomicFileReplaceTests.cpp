// The file replace on every platform: whole bytes or none, and every step that
// can fail, failing.

#include "AtomicFileReplaceTestSupport.h"
#include "FailingFileStep.h"

#include <gtest/gtest.h>

#include <cstring>
#include <system_error>

using AtomicFileReplace::Outcome;
using AtomicFileReplace::Step;
using AtomicFileReplaceTestSupport::replace;
using AtomicFileReplaceTestSupport::ScratchFolder;

TEST (AtomicFileReplace, ReplacesTheBytesAndLeavesNoTemporaryFile)
{
    ScratchFolder scratch;
    auto target = scratch.folder.getChildFile ("Dark Blue.calvastrascheme");

    EXPECT_EQ (replace (target, "first"), Outcome::replaced);
    EXPECT_EQ (target.loadFileAsString(), "first");

    EXPECT_EQ (replace (target, "second, longer"), Outcome::replaced);
    EXPECT_EQ (target.loadFileAsString(), "second, longer");

    EXPECT_EQ (replace (target, ""), Outcome::replaced);
    EXPECT_EQ (target.getSize(), 0);

    EXPECT_EQ (scratch.contents(), juce::StringArray ("Dark Blue.calvastrascheme"));
}

TEST (AtomicFileReplace, FailuresLeaveEverythingAsItWas)
{
    ScratchFolder scratch;
    auto plainFile = scratch.folder.getChildFile ("plain");
    ASSERT_TRUE (plainFile.replaceWithText ("keep me"));
    auto folderTarget = scratch.folder.getChildFile ("folder.calvastrascheme");
    ASSERT_TRUE (folderTarget.createDirectory());
    ASSERT_TRUE (folderTarget.getChildFile ("inside").replaceWithText ("untouched"));
    auto before = scratch.contents();

    // The parent is a regular file.
    EXPECT_EQ (replace (plainFile.getChildFile ("x.calvastrascheme"), "new"), Outcome::failed);
    EXPECT_EQ (plainFile.loadFileAsString(), "keep me");

    // The target is a folder.
    EXPECT_EQ (replace (folderTarget, "new"), Outcome::failed);
    EXPECT_TRUE (folderTarget.isDirectory());
    EXPECT_EQ (folderTarget.getChildFile ("inside").loadFileAsString(), "untouched");

    // The folder does not exist.
    auto missing = scratch.folder.getChildFile ("missing");
    EXPECT_EQ (replace (missing.getChildFile ("x.calvastrascheme"), "new"), Outcome::failed);
    EXPECT_FALSE (missing.exists());

    EXPECT_EQ (scratch.contents(), before) << "no temporary file left behind";
}

TEST (AtomicFileReplace, AReadOnlyTargetIsRefusedAndKeepsItsBytes)
{
    ScratchFolder scratch;
    auto target = scratch.folder.getChildFile ("Locked.calvastrascheme");
    ASSERT_TRUE (target.replaceWithText ("old"));
    ASSERT_TRUE (target.setReadOnly (true));

    EXPECT_EQ (replace (target, "new"), Outcome::targetReadOnly);
    EXPECT_EQ (target.loadFileAsString(), "old");
    EXPECT_EQ (scratch.contents(), juce::StringArray ("Locked.calvastrascheme"));

    ASSERT_TRUE (target.setReadOnly (false));
    EXPECT_EQ (replace (target, "new"), Outcome::replaced);
    EXPECT_EQ (target.loadFileAsString(), "new");
}

// Each step made to fail in turn, over an existing target and where there
// was none: before the replace nothing changes; a failed sync after it
// leaves the new bytes but says they may not be stored.
TEST (AtomicFileReplace, EveryFailingStepIsReportedAndLeavesNoTemporaryFile)
{
    const char* oldText = "old bytes, every one of them";
    const char* newText = "new bytes, longer than the old ones, so that half of them is more than the old";

    for (const auto& [step, doing] : AtomicFileReplace::steps)
    {
        for (bool targetExisted : { true, false })
        {
            SCOPED_TRACE (juce::String (doing) + (targetExisted ? ", over a file" : ", no file before"));

            ScratchFolder scratch;
            auto target = scratch.folder.getChildFile ("Scheme.calvastrascheme");

            if (targetExisted)
            {
                ASSERT_TRUE (target.replaceWithText (oldText));
            }

            FailingFileStep::Fault fault (step);
            const auto result = AtomicFileReplace::replace (target, newText, std::strlen (newText), fault);
            const auto outcome = result.outcome;

            // A new file has no permissions to take over: that step never runs.
            if (step == Step::setPermissions && ! targetExisted)
            {
                EXPECT_EQ (fault.reached, 0);
                EXPECT_EQ (outcome, Outcome::replaced);
                EXPECT_TRUE (result.why().wasOk());
                continue;
            }

            EXPECT_EQ (fault.reached, 1);

            // The reason in the system's words (as the C++ library has them) and the step.
            EXPECT_EQ (result.step, step);
            EXPECT_EQ (result.why().getErrorMessage(), juce::String (std::system_category().message (fault.error) + " (while " + doing + ")"));

            if (step == Step::syncFolder)
            {
                EXPECT_EQ (outcome, Outcome::replacedNotLasting);
                EXPECT_EQ (target.loadFileAsString(), newText);
            }
            else
            {
                EXPECT_EQ (outcome, Outcome::failed);

                if (targetExisted)
                {
                    EXPECT_EQ (target.loadFileAsString(), oldText);
                }
                else
                {
                    EXPECT_FALSE (target.exists());
                }
            }

            const auto leftInFolder = step == Step::syncFolder || targetExisted ? juce::StringArray ("Scheme.calvastrascheme")
                                                                                : juce::StringArray();
            EXPECT_EQ (scratch.contents(), leftInFolder) << "a temporary file was left behind";

            // The same replace without the fault goes through.
            EXPECT_EQ (replace (target, "again"), Outcome::replaced);
            EXPECT_EQ (target.loadFileAsString(), "again");
        }
    }
}
