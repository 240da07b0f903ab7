// tintwright-cli's reads and saves with real system calls failing (libfiu):
// every call of a save, one at a time, and many saves with calls failing at
// random. Each failure is reported with the system's reason, the file holds
// its old bytes (or the new ones, when only their confirmation failed), and
// no temporary file is left.

#include "cli/CliProcess.h"
#include "scheme/SchemeModel.h"
#include "schemefile/SchemeFile.h"
#include "schemefile/SchemeWriter.h"
#include "support/model/FailingCalls.h"
#include "support/model/SchemeBuilders.h"
#include "support/model/TempFolder.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cerrno>
#include <iostream>
#include <map>
#include <random>

using testkit::bytesOf;
using testkit::TempFolder;

namespace
{
enum class Expect
{
    written, // exit 0, the new bytes: the call's failure changes nothing
    leftAsItWas, // exit 2, the old bytes (or still no file)
    notConfirmed, // exit 3, the new bytes
    unreadable // exit 2, nothing written: a file could not be read
};

struct FailingCallCase
{
    juce::String point;
    int nth;
    int error;
    Expect expect;
    juce::String reason; // what stderr says after the path (and "could not be written: ...")
};

/** The calls of one command's run, in order: the files it reads first, then
    the save's own. nth 0 fails every call of the point. */
std::vector<FailingCallCase> callsOf (int filesRead, bool targetExists)
{
    std::vector<FailingCallCase> calls;

    for (int i = 1; i <= filesRead; ++i)
    {
        calls.push_back ({ "posix/io/oc/open", i, EIO, Expect::unreadable, "cannot be read: Input/output error" });
        calls.push_back ({ "posix/io/rw/read", i, EIO, Expect::unreadable, "cannot be read: Input/output error" });
        calls.push_back ({ "posix/io/oc/close", i, EIO, Expect::written, {} }); // a file already read in full
    }

    // The save's opens and closes come after those of the files read.
    const int r = filesRead;
    calls.insert (calls.end(),
                  {
                      { "posix/io/oc/open", r + 1, EROFS, Expect::leftAsItWas, "Read-only file system (while creating the temporary file)" },
                      { "posix/io/rw/write", 1, ENOSPC, Expect::leftAsItWas, "No space left on device (while writing)" },
                      { "posix/io/rw/write/reduce", 1, 0, Expect::written, {} }, // a short write: the rest follows
                      { "posix/io/sync/fsync", 1, EIO, Expect::leftAsItWas, "Input/output error (while flushing to disk)" },
                      { "posix/io/oc/close", r + 1, EDQUOT, Expect::leftAsItWas, "Disk quota exceeded (while closing)" },
                      { "posix/io/dir/rename", 1, EBUSY, Expect::leftAsItWas, "Device or resource busy (while replacing the file)" },
                      { "posix/io/oc/open", r + 2, EMFILE, Expect::notConfirmed, "Too many open files (while confirming the replace)" },
                      { "posix/io/sync/fsync", 2, EIO, Expect::notConfirmed, "Input/output error (while confirming the replace)" },
                      { "posix/io/oc/close", r + 2, EIO, Expect::written, {} }, // the folder's, after its sync
                      { "posix/io/stat/stat", 0, EIO, Expect::leftAsItWas, "Input/output error (while examining the file)" },
                  });

    if (targetExists)
        calls.push_back ({ "posix/io/perm/fchmod", 1, EPERM, Expect::leftAsItWas, "Operation not permitted (while copying the file's permissions)" });

    return calls;
}

struct Command
{
    const char* name;
    juce::StringArray arguments; // IN and OUT stand for the files
    int filesRead;
    bool outExists;
    bool writesOut;
};

const std::vector<Command>& commands()
{
    static const std::vector<Command> all {
        { "format", { "format", "IN" }, 1, false, false },
        { "tweak --in-place", { "tweak", "IN", "--group", "Panels", "--hue", "0.2", "--in-place" }, 1, false, false },
        { "group --in-place", { "group", "IN", "add", "Added", "--colours", "*", "--in-place" }, 1, false, false },
        { "tweak -o over a scheme", { "tweak", "IN", "--group", "Panels", "--invert", "-o", "OUT" }, 2, true, true },
        { "group -o over a scheme", { "group", "IN", "rename", "Panels", "Renamed", "-o", "OUT" }, 2, true, true },
        { "tweak -o to a new file", { "tweak", "IN", "--group", "Panels", "--red", "9", "-o", "OUT" }, 1, false, true },
    };
    return all;
}

/** A folder with the input (line ends that format rewrites) and, when asked, a scheme to write over. */
struct Files
{
    explicit Files (bool withOut)
    {
        in = temp.write ("In.calvastrascheme", testkit::schemeText());
        out = temp.folder.getChildFile ("Out.calvastrascheme");

        if (withOut)
            temp.write ("Out.calvastrascheme", testkit::schemeText ("Elsewhere", "Other"));
    }

    juce::StringArray arguments (const Command& command) const
    {
        auto a = command.arguments;
        a.set (a.indexOf ("IN"), in.getFullPathName());
        if (a.contains ("OUT"))
            a.set (a.indexOf ("OUT"), out.getFullPathName());
        return a;
    }

    TempFolder temp;
    juce::File in, out;
};

struct Run
{
    CliProcess::Result result;
    int callsSeen;
};

Run runWithFailingCall (const Files& files, const Command& command, const juce::String& point, int nth, int error)
{
    TempFolder records;
    const auto record = records.folder.getChildFile ("calls");
    auto result = CliProcess::runProgram ("/usr/bin/env", testkit::commandWithFailingCalls (testkit::oneFailingCall (point, nth, error, record), TINTWRIGHT_CLI, files.arguments (command)));
    result.err = "\n" + result.err; // so that a line's end matches a whole line (a debug build's JUCE prints its version first)
    return { result, record.loadFileAsString().getIntValue() };
}
} // namespace

// Each call a command makes, failing in turn: the file it writes holds its
// old bytes and the message says why in the system's words, unless the
// failure cannot harm it; a failed confirmation leaves the new bytes and
// exits 3. A run with no call failing makes exactly the calls listed.
TEST (CliFailingCalls, EveryCallOfASaveFailingInTurn)
{
    for (const auto& command : commands())
    {
        SCOPED_TRACE (command.name);
        const bool targetExists = ! command.writesOut || command.outExists;
        const auto calls = callsOf (command.filesRead, targetExists);

        // Runs with nothing failing (a call beyond the last) write the new
        // bytes and make exactly the calls listed.
        std::map<juce::String, int> listed;

        for (const auto& call : calls)
            if (call.nth > 0)
                ++listed[call.point];

        std::string oldBytes, newBytes;

        for (const auto& [point, count] : listed)
        {
            Files files (command.outExists);
            const auto target = command.writesOut ? files.out : files.in;
            oldBytes = bytesOf (target);
            const auto run = runWithFailingCall (files, command, point, 1000, EIO);
            ASSERT_EQ (run.result.exitCode, 0) << run.result.err;
            EXPECT_EQ (run.callsSeen, count) << point << ": calls made are not in the list";
            newBytes = bytesOf (target);
        }

        ASSERT_NE (newBytes, oldBytes);

        for (const auto& call : calls)
        {
            SCOPED_TRACE (call.point + " #" + juce::String (call.nth));
            Files files (command.outExists);
            const auto written = command.writesOut ? files.out : files.in;
            const auto before = files.temp.contents();
            const auto run = runWithFailingCall (files, command, call.point, call.nth, call.error);
            EXPECT_GE (run.callsSeen, std::max (call.nth, 1)) << "the call was never made";

            const auto path = written.getFullPathName();
            const auto& r = run.result;

            switch (call.expect)
            {
                case Expect::written:
                    EXPECT_EQ (r.exitCode, 0) << r.err;
                    EXPECT_EQ (bytesOf (written), newBytes);
                    break;
                case Expect::leftAsItWas:
                    EXPECT_EQ (r.exitCode, 2);
                    EXPECT_TRUE (r.err.endsWith ("\ntintwright-cli: " + path + ": could not be written: " + call.reason + "; it was left as it was\n")) << r.err;
                    EXPECT_EQ (bytesOf (written), targetExists ? oldBytes : std::string());
                    break;
                case Expect::notConfirmed:
                    EXPECT_EQ (r.exitCode, 3);
                    EXPECT_TRUE (r.err.endsWith ("\ntintwright-cli: " + path + ": written, but the system did not confirm that the change is stored: " + call.reason
                                                 + "; after a crash the file could hold the earlier version\n"))
                        << r.err;
                    EXPECT_EQ (bytesOf (written), newBytes);
                    break;
                case Expect::unreadable:
                    EXPECT_EQ (r.exitCode, 2);
                    EXPECT_TRUE (r.err.contains (call.reason)) << r.err;
                    EXPECT_EQ (bytesOf (written), targetExists ? oldBytes : std::string());
                    break;
            }

            auto expectedNames = before;
            if (written.existsAsFile())
                expectedNames.addIfNotAlreadyThere (written.getFileName());
            expectedNames.sort (false);
            EXPECT_EQ (files.temp.contents().joinIntoString (" "), expectedNames.joinIntoString (" ")) << "a file was left behind";
        }
    }
}

// Many saves, each with the calls of reading and saving failing at random
// (libfiu's random mode): each file holds exactly its old or its new
// bytes, as the exit code says, and no temporary file is left. The seed is
// printed; TINTWRIGHT_RANDOM_SEED and TINTWRIGHT_RANDOM_SAVES choose another
// run (scripts/failing-calls.sh).
TEST (CliFailingCalls, SavesWithCallsFailingAtRandomLeaveOldOrNewBytes)
{
    const auto seedText = juce::SystemStats::getEnvironmentVariable ("TINTWRIGHT_RANDOM_SEED", {});
    const auto seed = seedText.isNotEmpty() ? (unsigned) seedText.getLargeIntValue() : std::random_device()();
    const auto saves = juce::SystemStats::getEnvironmentVariable ("TINTWRIGHT_RANDOM_SAVES", juce::String (TINTWRIGHT_RANDOM_SAVES)).getIntValue();
    std::cout << "seed " << seed << ", " << saves << " saves" << std::endl;
    RecordProperty ("seed", (int) seed);
    std::mt19937 generator (seed);

    const juce::StringArray points { "posix/io/oc/open", "posix/io/oc/close", "posix/io/rw/read", "posix/io/rw/write", "posix/io/rw/write/reduce", "posix/io/perm/fchmod", "posix/io/sync/fsync", "posix/io/dir/rename", "posix/io/stat/stat" };

    TempFolder temp;
    const auto in = temp.write ("In.calvastrascheme", testkit::schemeText());
    const auto out = temp.write ("Out.calvastrascheme", testkit::schemeText ("Elsewhere", "Other"));
    std::map<int, int> exitCodes;

    for (int i = 0; i < saves; ++i)
    {
        // A group added, in place or into the other file: the new bytes are the model's with it.
        const bool inPlace = generator() % 2 == 0;
        const auto& target = inPlace ? in : out;
        const auto name = "Group " + juce::String (i);

        SchemeModel model;
        ASSERT_TRUE (SchemeFile::readSchemeFile (in, model));
        testkit::addGroup (model, name, { 0, 1, 2 }); // --colours '*'
        const auto newBytes = SchemeWriter::write (model);
        const auto oldBytes = bytesOf (target);

        juce::StringArray arguments { "group", in.getFullPathName(), "add", name, "--colours", "*" };
        arguments.addArray (inPlace ? juce::StringArray ("--in-place") : juce::StringArray ("-o", out.getFullPathName()));
        const auto failing = testkit::callsFailingAtRandom (points, 0.02, (int) (generator() & 0x7fffffff));
        const auto r = CliProcess::runProgram ("/usr/bin/env", testkit::commandWithFailingCalls (failing, TINTWRIGHT_CLI, arguments));
        ++exitCodes[r.exitCode];

        const auto now = bytesOf (target);
        const auto holdsNew = now == newBytes;
        SCOPED_TRACE ("save " + juce::String (i) + ", seed " + juce::String (seed) + ": " + r.err);

        switch (r.exitCode)
        {
            case 0:
            case 3:
                ASSERT_TRUE (holdsNew);
                break;
            case 2:
                ASSERT_EQ (now, oldBytes);
                break;
            default:
                FAIL() << "exit code " << r.exitCode;
        }

        ASSERT_EQ (temp.contents(), juce::StringArray ("In.calvastrascheme", "Out.calvastrascheme")) << "a temporary file was left";
    }

    for (const auto& [code, count] : exitCodes)
        std::cout << "exit " << code << ": " << count << std::endl;

    EXPECT_GT (exitCodes[0], 0);
    EXPECT_GT (exitCodes[2], 0) << "no save failed: the calls never failed";
}
