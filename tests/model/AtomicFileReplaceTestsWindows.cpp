// The file replace on Windows: Windows paths, read-only targets, targets that
// another process holds open without sharing, and writers killed midway.

#include "AtomicFileReplaceTestSupport.h"
#include "FailingFileStep.h"

#include <gtest/gtest.h>

#include <random>
#include <system_error>
#include <windows.h>

using AtomicFileReplace::Outcome;
using AtomicFileReplaceTestSupport::replace;
using AtomicFileReplaceTestSupport::ScratchFolder;

namespace
{
// The child processes are this test program again, started with this
// variable set to their task and its file. They do it before any test runs,
// and never reach the tests.
const wchar_t* const childTaskVariable = L"TINTWRIGHT_REPLACE_CHILD_TASK";
const char* const holdTask = "hold:";
const char* const replaceTask = "replace:";

juce::MemoryBlock patternOf (size_t size, char salt)
{
    juce::MemoryBlock block (size);

    for (size_t i = 0; i < size; ++i)
        static_cast<char*> (block.getData())[i] = (char) ('a' + (i * 7 + (size_t) salt) % 26);

    return block;
}

const juce::MemoryBlock& firstBytes()
{
    static const auto bytes = patternOf (3 << 20, 1);
    return bytes;
}

const juce::MemoryBlock& secondBytes()
{
    static const auto bytes = patternOf (5 << 20, 2);
    return bytes;
}

// Opens the file without sharing it, says so with a file beside it, and waits to be killed.
void holdWithoutSharing (const juce::File& file)
{
    auto handle = ::CreateFileW (file.getFullPathName().toWideCharPointer(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);

    if (handle == INVALID_HANDLE_VALUE)
        ::ExitProcess (2);

    file.getSiblingFile (file.getFileName() + ".held").create();
    ::Sleep (INFINITE);
}

// Replaces the file with one set of bytes, then the other, until killed.
void replaceUntilKilled (const juce::File& file)
{
    file.getSiblingFile (file.getFileName() + ".started").create();

    for (int i = 0;; ++i)
    {
        auto& bytes = i % 2 == 0 ? secondBytes() : firstBytes();
        AtomicFileReplace::replace (file, bytes.getData(), bytes.getSize());
    }
}

bool runChildTaskWhenAsked()
{
    wchar_t value[32768];
    const auto length = ::GetEnvironmentVariableW (childTaskVariable, value, 32768);

    if (length == 0 || length >= 32768)
        return false;

    const juce::String task (value);

    if (task.startsWith (holdTask))
        holdWithoutSharing (juce::File (task.fromFirstOccurrenceOf (holdTask, false, false)));

    if (task.startsWith (replaceTask))
        replaceUntilKilled (juce::File (task.fromFirstOccurrenceOf (replaceTask, false, false)));

    ::ExitProcess (3);
}

[[maybe_unused]] const bool ranAsChild = runChildTaskWhenAsked();

/** This test program, started with a task for this file. */
struct ChildProcess
{
    ChildProcess (const char* task, const juce::File& file)
    {
        wchar_t self[MAX_PATH * 4];
        ::GetModuleFileNameW (nullptr, self, MAX_PATH * 4);

        std::wstring commandLine (("\"" + juce::String (self) + "\"").toWideCharPointer());
        ::SetEnvironmentVariableW (childTaskVariable, (task + file.getFullPathName()).toWideCharPointer());

        STARTUPINFOW startup {};
        startup.cb = sizeof (startup);
        started = ::CreateProcessW (self, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &info) != 0;
        ::SetEnvironmentVariableW (childTaskVariable, nullptr);
    }

    ~ChildProcess()
    {
        if (! started)
            return;

        kill();
        ::CloseHandle (info.hThread);
        ::CloseHandle (info.hProcess);
    }

    void kill()
    {
        ::TerminateProcess (info.hProcess, 1);
        ::WaitForSingleObject (info.hProcess, 10000);
    }

    bool started = false;
    PROCESS_INFORMATION info {};
};

bool waitFor (const std::function<bool()>& condition)
{
    for (int i = 0; i < 1000; ++i)
    {
        if (condition())
            return true;

        ::Sleep (10);
    }

    return false;
}

juce::MemoryBlock bytesOf (const juce::File& file)
{
    juce::MemoryBlock block;
    file.loadFileAsData (block);
    return block;
}

} // namespace

//==============================================================================

TEST (AtomicFileReplaceWindows, WindowsPathsWithDriveLettersBackslashesAndOtherScripts)
{
    ScratchFolder scratch;
    const auto folderPath = scratch.folder.getFullPathName();
    ASSERT_EQ (folderPath[1], (juce::juce_wchar) ':') << "a path with a drive letter: " << folderPath;

    const juce::String names[] = {
        juce::CharPointer_UTF8 ("Gr\xc3\xbc\xc3\x9f\x65 \xe8\x89\xb2.calvastrascheme"), // Grüße 色
        juce::CharPointer_UTF8 ("\xce\xa3\xcf\x87\xce\xad\xce\xb4\xce\xb9\xce\xbf \xf0\x9f\x8e\xa8.calvastrascheme"), // Σχέδιο 🎨
        "Dark Blue.calvastrascheme",
    };

    for (auto& name : names)
    {
        SCOPED_TRACE (name);
        const juce::File target (folderPath + "\\" + name);
        const juce::File subfolderTarget (folderPath + "\\" + juce::String (juce::CharPointer_UTF8 ("Unterordner \xc3\xa4")) + "\\" + name);
        ASSERT_TRUE (subfolderTarget.getParentDirectory().createDirectory());

        for (auto& file : { target, subfolderTarget })
        {
            EXPECT_EQ (replace (file, "first"), Outcome::replaced);
            EXPECT_EQ (replace (file, "second, longer"), Outcome::replaced);

            // Read back through the system's own wide call, not JUCE's.
            auto handle = ::CreateFileW (file.getFullPathName().toWideCharPointer(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
            ASSERT_NE (handle, INVALID_HANDLE_VALUE);
            char buffer[64] {};
            DWORD read = 0;
            ::ReadFile (handle, buffer, sizeof (buffer), &read, nullptr);
            ::CloseHandle (handle);
            EXPECT_EQ (std::string (buffer, read), "second, longer");
        }
    }

    auto contents = scratch.contents();
    EXPECT_EQ (contents.size(), 4) << contents.joinIntoString (", ") << ": no temporary file is left";
}

TEST (AtomicFileReplaceWindows, AReadOnlyTargetIsRefusedAndKeepsItsBytes)
{
    ScratchFolder scratch;
    const auto target = scratch.folder.getChildFile ("Read only.calvastrascheme");
    ASSERT_TRUE (target.replaceWithText ("old"));
    const auto path = target.getFullPathName().toWideCharPointer();
    ASSERT_TRUE (::SetFileAttributesW (path, FILE_ATTRIBUTE_READONLY));

    EXPECT_EQ (replace (target, "new"), Outcome::targetReadOnly);
    EXPECT_EQ (target.loadFileAsString(), "old");
    EXPECT_NE (::GetFileAttributesW (path) & FILE_ATTRIBUTE_READONLY, 0u) << "still read-only";
    EXPECT_EQ (scratch.contents(), juce::StringArray ("Read only.calvastrascheme"));
}

TEST (AtomicFileReplaceWindows, ATargetHeldOpenWithoutSharingIsRefusedAndKeepsItsBytes)
{
    ScratchFolder scratch;
    const auto target = scratch.folder.getChildFile ("Held.calvastrascheme");
    ASSERT_TRUE (target.replaceWithText ("old"));

    {
        ChildProcess holder (holdTask, target);
        ASSERT_TRUE (holder.started);
        const auto held = target.getSiblingFile (target.getFileName() + ".held");
        ASSERT_TRUE (waitFor ([&]
                              { return held.existsAsFile(); }))
            << "the other process did not open the file";

        EXPECT_EQ (replace (target, "new"), Outcome::targetInUse);
        // The other process may still be closing its marker: a file open
        // elsewhere cannot be deleted on Windows, so try until it goes.
        EXPECT_TRUE (waitFor ([&]
                              { return held.deleteFile(); }));
        EXPECT_EQ (scratch.contents(), juce::StringArray ("Held.calvastrascheme")) << "no temporary file is left";
    }

    EXPECT_EQ (target.loadFileAsString(), "old");

    // Once the other process has gone, the replace goes through.
    EXPECT_EQ (replace (target, "new"), Outcome::replaced);
    EXPECT_EQ (target.loadFileAsString(), "new");
}

TEST (AtomicFileReplaceWindows, AWriterKilledMidwayLeavesTheOldOrTheNewBytes)
{
    ScratchFolder scratch;
    const auto target = scratch.folder.getChildFile ("Killed.calvastrascheme");
    const auto& first = firstBytes();
    const auto& second = secondBytes();
    ASSERT_EQ (AtomicFileReplace::replace (target, first.getData(), first.getSize()).outcome, Outcome::replaced);

    const auto seed = std::random_device()();
    std::mt19937 random (seed);
    std::uniform_int_distribution<int> milliseconds (0, 200);
    int sawFirst = 0, sawSecond = 0, killedMidway = 0;

    // At least 12 rounds, and more until some kills have hit a replace half-way.
    for (int round = 0; round < 12 || (killedMidway < 3 && round < 60); ++round)
    {
        SCOPED_TRACE ("round " + juce::String (round) + ", seed " + juce::String ((juce::int64) seed));
        const auto started = target.getSiblingFile (target.getFileName() + ".started");
        started.deleteFile();

        ChildProcess writer (replaceTask, target);
        ASSERT_TRUE (writer.started);
        ASSERT_TRUE (waitFor ([&]
                              { return started.existsAsFile(); }));
        ::Sleep ((DWORD) milliseconds (random));
        writer.kill();

        const auto now = bytesOf (target);
        const bool isFirst = now == first, isSecond = now == second;
        EXPECT_TRUE (isFirst || isSecond) << "the target holds " << now.getSize() << " bytes of neither";
        sawFirst += isFirst ? 1 : 0;
        sawSecond += isSecond ? 1 : 0;
        started.deleteFile();

        // A temporary file left behind means the writer died before its move.
        killedMidway += scratch.contents().size() > 1 ? 1 : 0;
    }

    EXPECT_GE (killedMidway, 3) << "the kills never landed while a file was written";

    // The next replace clears away what the killed writers left behind.
    ASSERT_EQ (AtomicFileReplace::replace (target, first.getData(), first.getSize()).outcome, Outcome::replaced);
    EXPECT_EQ (scratch.contents(), juce::StringArray ("Killed.calvastrascheme"));
    RecordProperty ("first", sawFirst);
    RecordProperty ("second", sawSecond);
    RecordProperty ("killedMidway", killedMidway);
}

// Steps failing with chosen Windows error codes: the result carries the code,
// and its reason the system's words for it (as the C++ library reads them from
// the system) with the step; a failed flush after the move keeps the new bytes.
TEST (AtomicFileReplaceWindows, AFailingStepIsReportedInTheSystemsWords)
{
    using AtomicFileReplace::Step;
    const struct
    {
        Step step;
        DWORD error;
        const char* doing;
        Outcome outcome;
    } failures[] = {
        { Step::createTemporary, ERROR_WRITE_PROTECT, "creating the temporary file", Outcome::failed },
        { Step::write, ERROR_DISK_FULL, "writing", Outcome::failed },
        { Step::flush, ERROR_IO_DEVICE, "flushing to disk", Outcome::failed },
        { Step::replaceTarget, ERROR_ACCESS_DENIED, "replacing the file", Outcome::failed },
        { Step::syncFolder, ERROR_NOT_READY, "confirming the replace", Outcome::replacedNotLasting },
    };

    for (const auto& failure : failures)
    {
        SCOPED_TRACE (failure.doing);
        ScratchFolder scratch;
        const auto target = scratch.folder.getChildFile ("Scheme.calvastrascheme");
        ASSERT_TRUE (target.replaceWithText ("old"));

        FailingFileStep::Fault fault (failure.step, (int) failure.error);
        const auto result = AtomicFileReplace::replace (target, "new", 3, fault);
        EXPECT_EQ (result.outcome, failure.outcome);
        EXPECT_EQ (result.systemError, (int) failure.error);

        const auto words = std::system_category().message ((int) failure.error);
        EXPECT_FALSE (words.empty());
        EXPECT_EQ (result.why().getErrorMessage(), juce::String (words + " (while " + failure.doing + ")"));
        EXPECT_EQ (target.loadFileAsString(), failure.outcome == Outcome::failed ? "old" : "new");
    }
}
