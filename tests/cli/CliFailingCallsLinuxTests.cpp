// tintwright-cli's reads and saves with real system calls failing (libfiu):
// every call failing in turn, and many saves with calls failing at random.

#include "cli/CliProcess.h"
#include "schemefile/SchemeFile.h"
#include "schemefile/SchemeWriter.h"
#include "support/model/FailingCalls.h"
#include "support/model/SchemeBuilders.h"
#include "support/model/TempFolder.h"

#include <gtest/gtest.h>

#include <iostream>
#include <random>

using testkit::bytesOf;
using testkit::SaveEffect;
using testkit::TempFolder;

namespace
{
struct Command
{
    const char* name;
    juce::StringArray arguments; // IN, OUT and PALETTE stand for the files
    int filesRead; // the output first, when it is a scheme to write over
    bool outExists;
};

/** The input (with line ends that format rewrites) and, when asked, a scheme to write over. */
struct Files
{
    explicit Files (const Command& c) : command (c)
    {
        in = temp.write ("In.calvastrascheme", testkit::schemeText());
        out = temp.folder.getChildFile ("Out.calvastrascheme");
        if (c.arguments.contains ("PALETTE"))
            palette = temp.write ("Palette.gpl", "GIMP Palette\n  1   2   3\tText\n");

        if (c.outExists)
            temp.write ("Out.calvastrascheme", testkit::schemeText ("Elsewhere", "Other"));
    }

    const juce::File& written() const { return command.arguments.contains ("OUT") ? out : in; }

    /** The command with the nth call of the point failing; the number of calls of the point made. */
    int run (const juce::String& point, int nth, int error)
    {
        auto arguments = command.arguments;
        arguments.set (arguments.indexOf ("IN"), in.getFullPathName());
        if (arguments.contains ("OUT"))
            arguments.set (arguments.indexOf ("OUT"), out.getFullPathName());
        if (arguments.contains ("PALETTE"))
            arguments.set (arguments.indexOf ("PALETTE"), palette.getFullPathName());

        TempFolder records;
        const auto record = records.folder.getChildFile ("calls");
        const juce::StringArray settings { "TINTWRIGHT_FAILING_CALL=" + point + " " + juce::String (nth) + " " + juce::String (error),
                                           "TINTWRIGHT_FAILING_CALL_RECORD=" + record.getFullPathName() };
        result = CliProcess::runProgram ("/usr/bin/env", testkit::commandWithFailingCalls (settings, TINTWRIGHT_CLI, arguments));
        return record.loadFileAsString().getIntValue();
    }

    const Command& command;
    TempFolder temp;
    juce::File in, out, palette;
    CliProcess::Result result;
};
} // namespace

// Each call of a command's reads and save failing in turn: the file it writes
// keeps its old bytes (exit 2) and stderr says why in the system's words, but
// when the new bytes are in place and only their confirmation failed (exit
// 3), or when the failure cannot harm them (exit 0); no file is left behind.
// A run with nothing failing makes exactly the calls listed.
TEST (CliFailingCalls, EveryCallOfReadingAndSavingFailingInTurn)
{
    const std::vector<Command> commands {
        { "format", { "format", "IN" }, 1, false },
        { "tweak --in-place", { "tweak", "IN", "--group", "Panels", "--hue", "0.2", "--in-place" }, 1, false },
        { "group --in-place", { "group", "IN", "add", "Added", "--colours", "*", "--in-place" }, 1, false },
        { "tweak -o over a scheme", { "tweak", "IN", "--group", "Panels", "--invert", "-o", "OUT" }, 2, true },
        { "group -o over a scheme", { "group", "IN", "rename", "Panels", "Renamed", "-o", "OUT" }, 2, true },
        { "tweak -o to a new file", { "tweak", "IN", "--group", "Panels", "--red", "9", "-o", "OUT" }, 1, false },
        { "import --in-place", { "import", "IN", "--from", "PALETTE", "--in-place" }, 2, false },
    };

    for (const auto& command : commands)
    {
        SCOPED_TRACE (command.name);
        const bool targetExists = ! command.arguments.contains ("OUT") || command.outExists;
        auto calls = testkit::callsOfASave (command.filesRead, targetExists);

        for (int i = 1; i <= command.filesRead; ++i)
        {
            calls.push_back ({ "posix/io/oc/open", i, EIO, SaveEffect::unreadable, "cannot be read: Input/output error" });
            calls.push_back ({ "posix/io/rw/read", i, EIO, SaveEffect::unreadable, "cannot be read: Input/output error" });
            calls.push_back ({ "posix/io/oc/close", i, EIO, SaveEffect::saved, {} }); // a file read in full
        }

        std::string oldBytes, newBytes;

        for (const auto& [point, count] : testkit::callsPerPoint (calls))
        {
            Files files (command);
            oldBytes = bytesOf (files.written());
            EXPECT_EQ (files.run (point, 1000, EIO), count) << point << ": the calls made are not those listed";
            ASSERT_EQ (files.result.exitCode, 0) << files.result.err;
            newBytes = bytesOf (files.written());
        }

        ASSERT_NE (newBytes, oldBytes);

        for (const auto& call : calls)
        {
            SCOPED_TRACE (call.point + " #" + juce::String (call.nth));
            Files files (command);
            const auto path = files.written().getFullPathName();
            const auto namesBefore = files.temp.contents().joinIntoString (" ");

            EXPECT_GE (files.run (call.point, call.nth, call.error), std::max (call.nth, 1)) << "the call was never made";
            const auto& r = files.result;
            const auto saved = call.effect == SaveEffect::saved || call.effect == SaveEffect::notConfirmed;
            EXPECT_EQ (bytesOf (files.written()), saved ? newBytes : targetExists ? oldBytes
                                                                                  : std::string());
            EXPECT_EQ (r.exitCode, call.effect == SaveEffect::saved ? 0 : call.effect == SaveEffect::notConfirmed ? 3
                                                                                                                  : 2)
                << r.err;

            // The last line of stderr (a debug build's JUCE prints its version first).
            const auto said = r.err.trimEnd().fromLastOccurrenceOf ("\n", false, false);

            if (call.effect == SaveEffect::leftAsItWas)
                EXPECT_EQ (said, "tintwright-cli: " + path + ": could not be written: " + call.reason + "; it was left as it was");
            else if (call.effect == SaveEffect::notConfirmed)
                EXPECT_EQ (said, "tintwright-cli: " + path + ": written, but the system did not confirm that the change is stored: " + call.reason + "; after a crash the file could hold the earlier version");
            else if (call.effect == SaveEffect::unreadable)
                EXPECT_TRUE (said.contains (call.reason)) << said;

            EXPECT_EQ (files.temp.contents().joinIntoString (" "), saved && ! targetExists ? namesBefore + " Out.calvastrascheme" : namesBefore)
                << "a file was left behind";
        }
    }
}

// Many saves with the calls of reading and saving failing at random (libfiu's
// random mode, with the errnos it picks): each file holds exactly its old or
// its new bytes, as the exit code says, and no temporary file is left. The
// seed is printed; TINTWRIGHT_RANDOM_SEED and TINTWRIGHT_RANDOM_SAVES choose
// another run (scripts/failing-calls.sh).
TEST (CliFailingCalls, SavesWithCallsFailingAtRandomLeaveOldOrNewBytes)
{
    const auto seedText = juce::SystemStats::getEnvironmentVariable ("TINTWRIGHT_RANDOM_SEED", {});
    const auto seed = seedText.isNotEmpty() ? (unsigned) seedText.getLargeIntValue() : std::random_device()();
    const auto saves = juce::SystemStats::getEnvironmentVariable ("TINTWRIGHT_RANDOM_SAVES", juce::String (TINTWRIGHT_RANDOM_SAVES)).getIntValue();
    std::cout << "seed " << seed << ", " << saves << " saves" << std::endl;
    std::mt19937 generator (seed);

    TempFolder temp;
    const auto in = temp.write ("In.calvastrascheme", testkit::schemeText());
    const auto out = temp.write ("Out.calvastrascheme", testkit::schemeText ("Elsewhere", "Other"));
    std::map<int, int> exitCodes;

    for (int i = 0; i < saves; ++i)
    {
        // The group renamed, in place or into the other file: the new bytes are the model's with the new name.
        const bool inPlace = generator() % 2 == 0;
        const auto& target = inPlace ? in : out;
        const auto name = "Group " + juce::String (i);

        SchemeModel model;
        ASSERT_TRUE (SchemeFile::readSchemeFile (in, model));
        const auto oldName = model.getGroup (0)->getName();
        model.getGroup (0)->setName (name);
        const auto newBytes = SchemeWriter::write (model);
        const auto oldBytes = bytesOf (target);

        juce::StringArray arguments { "group", in.getFullPathName(), "rename", oldName, name };
        arguments.addArray (inPlace ? juce::StringArray ("--in-place") : juce::StringArray ("-o", out.getFullPathName()));
        const juce::StringArray settings { "TINTWRIGHT_FAILING_AT_RANDOM=0.02 posix/io/oc/open posix/io/oc/close posix/io/rw/read posix/io/rw/write "
                                           "posix/io/rw/write/reduce posix/io/perm/fchmod posix/io/sync/fsync posix/io/dir/rename posix/io/stat/stat",
                                           "FIU_PRNG_SEED=" + juce::String ((int) (generator() & 0x7fffffff)) };
        const auto r = CliProcess::runProgram ("/usr/bin/env", testkit::commandWithFailingCalls (settings, TINTWRIGHT_CLI, arguments));
        ++exitCodes[r.exitCode];

        SCOPED_TRACE ("save " + juce::String (i) + ", seed " + juce::String (seed) + ": " + r.err);
        ASSERT_TRUE (r.exitCode == 0 || r.exitCode == 2 || r.exitCode == 3);
        ASSERT_EQ (bytesOf (target), r.exitCode == 2 ? oldBytes : newBytes);
        ASSERT_EQ (temp.contents(), juce::StringArray ("In.calvastrascheme", "Out.calvastrascheme")) << "a temporary file was left";
    }

    for (const auto& [code, count] : exitCodes)
        std::cout << "exit " << code << ": " << count << std::endl;

    EXPECT_GT (exitCodes[2], 0) << "no save failed: the calls never failed";
}
