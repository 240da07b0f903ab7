// A writer killed at random moments, many times over, with POSIX processes:
// the scheme file on disk always holds a whole scheme, the old one or the new one.

#include "ReliabilityTestSupport.h"
#include "document/CalvastraScheme.h"
#include "schemefile/AtomicFileReplace.h"
#include "schemefile/SchemeWriter.h"

#include <gtest/gtest.h>

#include <csignal>
#include <random>
#include <sys/wait.h>
#include <unistd.h>

using ReliabilityTestSupport::fillModel;
using ReliabilityTestSupport::ScratchFolder;

namespace
{
using juce::String;

juce::MemoryBlock schemeBytes (const SchemeModel& model)
{
    const auto bytes = SchemeWriter::write (model);
    return { bytes.data(), bytes.size() };
}

juce::MemoryBlock bytesOf (const juce::File& file)
{
    juce::MemoryBlock block;
    file.loadFileAsData (block);
    return block;
}

juce::Array<juce::File> temporaryFilesIn (const juce::File& folder)
{
    return folder.findChildFiles (juce::File::findFiles, false, ".tintwright-*");
}
} // namespace

// A writer process killed at random moments, many times over: the target must
// always hold exactly the old or exactly the new bytes.
TEST (SaveRobustness, KilledWriterLeavesOldOrNewBytes)
{
    ScratchFolder scratch;
    auto target = scratch.folder.getChildFile ("Killed.calvastrascheme");

    CalvastraScheme first, second;
    fillModel (first, 20000, 10, 100, 0x11111111);
    fillModel (second, 21000, 12, 100, 0x22222222);
    const auto firstBytes = schemeBytes (first);
    const auto secondBytes = schemeBytes (second);
    ASSERT_NE (firstBytes, secondBytes);
    // Every other child saves through the document (building the text, then
    // writing it), the others only write the ready bytes, so that many kills
    // land while a file is being written. Kill moments are spread over a few saves.
    auto microsecondsFor = [] (auto&& work)
    {
        const auto started = juce::Time::getMillisecondCounterHiRes();
        work();
        return (int) ((juce::Time::getMillisecondCounterHiRes() - started) * 1000.0);
    };

    const auto saveTime = microsecondsFor ([&]
                                           { ASSERT_TRUE (first.saveDocument (target).wasOk()); });
    const auto writeTime = microsecondsFor ([&]
                                            { AtomicFileReplace::replace (target, firstBytes.getData(), firstBytes.getSize()); });
    ASSERT_EQ (bytesOf (target), firstBytes);

    const auto seed = std::random_device()();
    std::mt19937 random (seed);
    std::uniform_int_distribution<int> duringSaves (0, 3 * saveTime);
    std::uniform_int_distribution<int> duringWrites (0, 3 * writeTime);
    int killedMidWay = 0;

    // At least 60 rounds, and more until some kills have hit a save half-way.
    for (int round = 0; round < 60 || (killedMidWay < 5 && round < 400); ++round)
    {
        int ready[2];
        ASSERT_EQ (::pipe (ready), 0);
        auto pid = ::fork();
        ASSERT_GE (pid, 0);

        if (pid == 0)
        {
            // The child only saves, alternating the two schemes, until killed.
            ::close (ready[0]);
            ::write (ready[1], "!", 1);

            for (int i = 0;; ++i)
            {
                if (round % 2 == 0)
                    (i % 2 == 0 ? second : first).saveDocument (target);
                else
                {
                    auto& bytes = i % 2 == 0 ? secondBytes : firstBytes;
                    AtomicFileReplace::replace (target, bytes.getData(), bytes.getSize());
                }
            }
        }

        ::close (ready[1]);
        char signal;
        ASSERT_EQ (::read (ready[0], &signal, 1), 1);
        ::close (ready[0]);

        ::usleep ((useconds_t) (round % 2 == 0 ? duringSaves (random) : duringWrites (random)));
        ::kill (pid, SIGKILL);
        int status = 0;
        ASSERT_EQ (::waitpid (pid, &status, 0), pid);
        ASSERT_TRUE (WIFSIGNALED (status));

        auto onDisk = bytesOf (target);
        ASSERT_TRUE (onDisk == firstBytes || onDisk == secondBytes)
            << "round " << round << ", seed " << seed << ": " << onDisk.getSize() << " bytes";

        for (auto& file : temporaryFilesIn (scratch.folder))
            killedMidWay += file.getFileName().contains ("-" + String (pid) + "-") ? 1 : 0;
    }

    // Some kills must have hit a save half-way, or the test proved nothing.
    EXPECT_GT (killedMidWay, 0);

    // Left-overs of killed writers are removed by the next save.
    ASSERT_TRUE (first.saveDocument (target).wasOk());
    EXPECT_EQ (temporaryFilesIn (scratch.folder).size(), 0) << killedMidWay << " rounds were killed mid-write";
    EXPECT_EQ (bytesOf (target), firstBytes);
}
