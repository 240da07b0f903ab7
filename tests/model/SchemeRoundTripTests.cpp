// Saving and reopening: names, values, groups and members come back exactly,
// and saving what was reopened gives the same bytes.

#include "SchemeFileTestSupport.h"
#include "scheme/SchemeComparison.h"

#include <gtest/gtest.h>

#include <random>

using namespace SchemeFileTestSupport;
using juce::String;

namespace
{
bool readWritten (const std::string& bytes, SchemeModel& model)
{
    return readBytes (bytes.data(), bytes.size(), model);
}
} // namespace

// Members come back by name: as the first colour of that name.
TEST (SchemeRoundTrip, RandomModelsReadBackExactly)
{
    std::mt19937 random (20240611);
    const juce::juce_wchar oddCharacters[] = { '&', '"', '<', '>', '\r', '\n', '\t', '$', '|', '\'', '\\', ' ', ';', '#', 0x01, 0x1f, 0x7f, 0x80, 0x9f, 0xa0, 0xe9, 0xfeff, 0x4e2d, 0xfffd, 0x1f600, 0x10ffff, 0x2028, 0xd800 };
    auto pick = [&] (int n)
    { return (int) (random() % (juce::uint32) n); };

    auto randomName = [&]
    {
        String name;
        for (int i = pick (4) == 0 ? 0 : pick (70); --i >= 0;)
            name += pick (3) == 0 ? oddCharacters[pick ((int) std::size (oddCharacters))] : (juce::juce_wchar) (32 + pick (95));
        return name;
    };

    for (int round = 0; round < 300; ++round)
    {
        SchemeModel model;

        for (int i = pick (30); --i >= 0;)
        {
            juce::uint32 argb = random();
            if (pick (4) == 0)
                argb &= 0x0fffffff; // alpha below 0x10: fewer than eight digits
            auto sameAsBefore = model.getNumColours() > 0 && pick (5) == 0;
            addColour (model, sameAsBefore ? model.getColour (pick (model.getNumColours()))->name.toString() : randomName(), argb);
        }

        for (int g = pick (5); --g >= 0;)
        {
            auto& group = model.appendGroup (std::make_unique<ColourGroup>());
            group.setName (randomName());
            for (int m = model.getNumColours() > 0 ? pick (12) : 0; --m >= 0;)
                group.addColour (*model.getColour (pick (model.getNumColours())));
        }

        const auto written = SchemeWriter::write (model);
        SchemeModel readBack;
        ASSERT_TRUE (readWritten (written, readBack)) << written;

        ASSERT_EQ (SchemeComparison::firstDifference (model, readBack), "") << written;

        // Each member is the first colour of its name, as the file names it.
        for (int g = 0; g < readBack.getNumGroups(); ++g)
            for (int m = 0; m < readBack.getGroup (g)->getNumMembers(); ++m)
            {
                const auto& colour = readBack.getGroup (g)->getMember (m)->getSchemeColour();
                ASSERT_EQ (readBack.findColourByName (colour.name), &colour);
            }

        // Saving what was read gives the same bytes again.
        const auto again = SchemeWriter::write (readBack);
        SchemeModel thirdRead;
        ASSERT_TRUE (readWritten (again, thirdRead));
        EXPECT_EQ (SchemeWriter::write (thirdRead), again);
    }
}

TEST (SchemeRoundTrip, NameWithEveryControlCharacter)
{
    String name;
    for (juce::juce_wchar c = 1; c < 32; ++c)
        name += c;
    name += (juce::juce_wchar) 0x7f;
    for (juce::juce_wchar c = 0x80; c < 0xa0; ++c)
        name += c;

    SchemeModel model, readBack;
    addColour (model, name, 0x01020304);
    addGroup (model, name, { 0 });
    auto text = writeModel (model);

    EXPECT_TRUE (text.containsOnly (String (" \r\n") + "<>/=\"?.-!#&;" + "0123456789abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ"));
    ASSERT_TRUE (readText (text, readBack));
    ASSERT_EQ (readBack.getNumColours(), 1);
    EXPECT_EQ (readBack.getColour (0)->name, name);
    EXPECT_EQ (readBack.getGroup (0)->getName(), name);
    EXPECT_EQ (readBack.getGroup (0)->getNumMembers(), 1);
}

TEST (SchemeRoundTrip, ShippedFilesInTheWrittenFormSaveToThemselves)
{
    const auto sources = dataFile ("").getParentDirectory().getParentDirectory();
    const juce::File files[] = {
        dataFile ("written.calvastrascheme"),
        sources.getChildFile ("docs/sample.calvastrascheme"),
        sources.getChildFile ("tests/e2e/data/start.calvastrascheme"),
        sources.getChildFile ("tests/e2e/data/expected.calvastrascheme"),
        sources.getChildFile ("tests/e2e/data/sample-saved.calvastrascheme"),
    };

    for (auto& file : files)
    {
        juce::MemoryBlock bytes;
        ASSERT_TRUE (file.loadFileAsData (bytes)) << file.getFullPathName();
        SchemeModel model;
        ASSERT_TRUE (readBytes (bytes.getData(), bytes.getSize(), model)) << file.getFullPathName();
        EXPECT_GT (model.getNumColours(), 0) << file.getFullPathName();

        const auto saved = SchemeWriter::write (model);
        EXPECT_EQ (juce::MemoryBlock (saved.data(), saved.size()), bytes) << file.getFullPathName();
    }
}
