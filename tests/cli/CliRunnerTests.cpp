// The runner the command-line tests start programs with: a child it cannot
// start fails the test with the system's reason, so a failure explains itself.

#include "cli/CliProcess.h"
#include "support/model/TempFolder.h"

#include <gtest/gtest-spi.h>
#include <gtest/gtest.h>

TEST (CliRunner, AProgramThatCannotStartFailsTheTestWithTheSystemsReason)
{
    testkit::TempFolder folder;
    const auto missing = folder.path ("no such program.exe");

    testing::TestPartResultArray failures;
    CliProcess::Result result;
    {
        testing::ScopedFakeTestPartResultReporter reporter (testing::ScopedFakeTestPartResultReporter::INTERCEPT_ONLY_CURRENT_THREAD, &failures);
        result = CliProcess::runProgram (missing, { "--version" });
    }

    EXPECT_EQ (result.exitCode, -1);
    ASSERT_EQ (failures.size(), 1);
    const juce::String message (failures.GetTestPartResult (0).message());
    const auto what = "cannot start " + missing + ": ";
    ASSERT_TRUE (message.contains (what)) << message;
    // Then the system's own words, not just a number.
    EXPECT_TRUE (message.fromFirstOccurrenceOf (what, false, false).containsAnyOf ("abcdefghijklmnopqrstuvwxyz")) << message;
}
