// Bad input and interrupted saves, seen from the scheme document: nothing may
// crash, a failed open keeps what was shown, and the file on disk always holds
// a whole scheme, the old one or the new one.

#include "CalvastraScheme.h"
#include "SchemeFile.h"

#include <gtest/gtest.h>

#include <csignal>
#include <random>
#include <sys/wait.h>
#include <unistd.h>

namespace
{
using juce::String;

struct ScratchFolder
{
    ScratchFolder() { folder.createDirectory(); }
    ~ScratchFolder() { folder.deleteRecursively(); }

    juce::File folder = juce::File::createTempFile ("reliability");
};

void fillModel (SchemeModel& model, int numColours, int numGroups, int membersPerGroup, juce::uint32 salt)
{
    for (int i = 0; i < numColours; ++i)
    {
        auto colour = std::make_unique<SchemeColour>();
        colour->name = "Colour " + String (i) + " & <" + String (salt) + ">";
        colour->colour = juce::Colour ((juce::uint32) (i * 2654435761u) ^ salt);
        model.appendColour (std::move (colour));
    }

    for (int g = 0; g < numGroups; ++g)
    {
        auto& group = model.appendGroup (std::make_unique<ColourGroup>());
        group.setName ("Group " + String (g));

        for (int m = 0; m < membersPerGroup; ++m)
            group.addColour (*model.getColour ((g * membersPerGroup + m) % numColours));
    }
}

juce::MemoryBlock schemeBytes (const SchemeModel& model)
{
    return SchemeFile::toBytes (*SchemeFile::createSchemeElement (model));
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

//==============================================================================
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
    ASSERT_TRUE (first.saveDocument (target).wasOk());
    ASSERT_EQ (bytesOf (target), firstBytes);

    const auto seed = std::random_device()();
    std::mt19937 random (seed);
    std::uniform_int_distribution<int> delayMicroseconds (0, 40000);
    int killedMidWay = 0;

    for (int round = 0; round < 60; ++round)
    {
        auto pid = ::fork();
        ASSERT_GE (pid, 0);

        if (pid == 0)
        {
            // The child only saves, alternating the two schemes, until killed.
            for (int i = 0;; ++i)
                (i % 2 == 0 ? second : first).saveDocument (target);
        }

        ::usleep ((useconds_t) delayMicroseconds (random));
        ::kill (pid, SIGKILL);
        int status = 0;
        ASSERT_EQ (::waitpid (pid, &status, 0), pid);
        ASSERT_TRUE (WIFSIGNALED (status));

        auto onDisk = bytesOf (target);
        ASSERT_TRUE (onDisk == firstBytes || onDisk == secondBytes)
            << "round " << round << ", seed " << seed << ": " << onDisk.getSize() << " bytes";

        killedMidWay += temporaryFilesIn (scratch.folder).size() > 0 ? 1 : 0;
    }

    // Some kills must have hit a save half-way, or the test proved nothing.
    EXPECT_GT (killedMidWay, 0);

    // Left-overs of killed writers are removed by the next save.
    ASSERT_TRUE (first.saveDocument (target).wasOk());
    EXPECT_EQ (temporaryFilesIn (scratch.folder).size(), 0) << killedMidWay << " rounds were killed mid-write";
    EXPECT_EQ (bytesOf (target), firstBytes);
}
