#include "scheme/SchemeModel.h"

#include <gtest/gtest.h>

// Names read from a file refer to bytes their model keeps; every copy owns its
// bytes. These tests run under the sanitizers too, where a name left pointing
// at freed bytes fails loudly.

TEST (ColourName, OwnedAndReferringNamesCompareByTheirBytes)
{
    const char kept[] = "Caf\xc3\xa9 Background";
    const auto referring = ColourName::referringTo (kept, sizeof (kept) - 1);
    const ColourName owned (juce::String::fromUTF8 (kept));

    EXPECT_EQ (referring.getUtf8(), kept);
    EXPECT_NE (owned.getUtf8(), kept);
    EXPECT_EQ (referring, owned);
    EXPECT_EQ (referring.getNumBytes(), sizeof (kept) - 1);
    EXPECT_EQ (referring.toString(), juce::String::fromUTF8 (kept));
    EXPECT_NE (referring, ColourName ("Caf"));
    EXPECT_NE (ColourName ("a"), ColourName ("b"));
    EXPECT_EQ (ColourName(), ColourName (""));
    EXPECT_TRUE (ColourName().isEmpty());
    EXPECT_STREQ (ColourName().getUtf8(), "");
}

TEST (ColourName, ACopyOwnsItsBytesAndAMoveCarriesThemOver)
{
    std::string storage = "Highlight";
    auto referring = ColourName::referringTo (storage.c_str(), storage.size());

    ColourName copied (referring);
    ColourName assigned;
    assigned = referring;
    EXPECT_NE (copied.getUtf8(), storage.c_str());
    EXPECT_NE (assigned.getUtf8(), storage.c_str());

    auto moved = std::move (referring);
    EXPECT_EQ (moved.getUtf8(), storage.c_str());
    EXPECT_TRUE (referring.isEmpty()); // NOLINT: a moved-from name is empty

    // The kept bytes change or go; the copies do not notice.
    storage.assign (storage.size(), 'x');
    storage = {};
    EXPECT_EQ (copied, ColourName ("Highlight"));
    EXPECT_EQ (assigned.toString(), "Highlight");

    // An owned name that moves keeps its String's bytes.
    ColourName owned (juce::String ("Shadow"));
    auto* bytes = owned.getUtf8();
    ColourName target;
    target = std::move (owned);
    EXPECT_EQ (target.getUtf8(), bytes);
    EXPECT_EQ (target, ColourName ("Shadow"));
}

TEST (ColourName, ShownTextIsCutByCharactersNotBytes)
{
    const ColourName name (juce::String::fromUTF8 ("\xc3\xa9\xc3\xa9\xc3\xa9 abc"));
    EXPECT_EQ (name.toString (2), juce::String::fromUTF8 ("\xc3\xa9\xc3\xa9"));
    EXPECT_EQ (name.toString (100), name.toString());
    EXPECT_EQ (name.toString (0), "");

    // Only the shown part of a long kept name is read.
    std::string longName (1 << 20, 'W');
    const auto referring = ColourName::referringTo (longName.c_str(), longName.size());
    EXPECT_EQ (referring.toString (3), "WWW");
}

TEST (SchemeModelRecords, RecordsAppendedByNameBytesKeepTheirAddressAndName)
{
    // No reservation: the records and the name bytes outgrow their first
    // blocks many times over, and one name is larger than any block.
    SchemeModel model;
    std::vector<SchemeColour*> records;
    const std::string longName (3 << 20, 'L');

    for (int i = 0; i < 5000; ++i)
    {
        const auto name = i == 1234 ? longName : "Colour " + std::to_string (i);
        records.push_back (&model.appendColour (name.data(), name.size(), juce::Colour ((juce::uint32) i)));
    }

    auto copiedOut = model.getColour (7)->name;

    ASSERT_EQ (model.getNumColours(), 5000);
    for (int i = 0; i < 5000; ++i)
    {
        const auto name = i == 1234 ? longName : "Colour " + std::to_string (i);
        ASSERT_EQ (model.getColour (i), records[(size_t) i]);
        ASSERT_EQ (records[(size_t) i]->name, ColourName (name.c_str())) << i;
        ASSERT_EQ (records[(size_t) i]->colour.getARGB(), (juce::uint32) i);
        ASSERT_EQ (model.findColourByName (name.data(), name.size()), records[(size_t) i]);
    }

    // The name bytes were copied: the caller's buffer may go at once.
    std::string transient = "Transient";
    auto& added = model.appendColour (transient.data(), transient.size(), juce::Colours::red);
    transient.assign (transient.size(), '?');
    EXPECT_EQ (added.name, ColourName ("Transient"));
    EXPECT_EQ (model.findColourByName ("Transient"), &added);

    // Both kinds of record in one group, and a name copied out outlives the model's store.
    auto& group = model.appendGroup (std::make_unique<ColourGroup>());
    auto owned = std::make_unique<SchemeColour>();
    owned->name = juce::String ("Owned");
    EXPECT_TRUE (group.addColour (model.appendColour (std::move (owned))));
    EXPECT_TRUE (group.addColour (*records[3]));
    EXPECT_EQ (group.getMember (0)->getSchemeColour().name, ColourName ("Owned"));
    EXPECT_EQ (group.getMember (1)->getSchemeColour().name, ColourName ("Colour 3"));

    model.clear();
    EXPECT_EQ (model.getNumColours(), 0);
    EXPECT_EQ (copiedOut, ColourName ("Colour 7"));

    // The model is usable again after a clear.
    auto& again = model.appendColour ("Again", 5, juce::Colours::blue);
    EXPECT_EQ (model.findColourByName ("Again"), &again);
    EXPECT_EQ (model.findColourByName ("Colour 7"), nullptr);
}

TEST (SchemeModelRecords, EmptyNamesAndRepeatsIndexTheFirstRecord)
{
    SchemeModel model;
    auto& firstEmpty = model.appendColour ("", 0, juce::Colours::black);
    model.appendColour ("", 0, juce::Colours::white);
    auto& firstA = model.appendColour ("A", 1, juce::Colours::red);
    model.appendColour ("A", 1, juce::Colours::green);

    EXPECT_STREQ (firstEmpty.name.getUtf8(), "");
    EXPECT_EQ (model.findColourByName ("", 0), &firstEmpty);
    EXPECT_EQ (model.findColourByName ("A"), &firstA);

    // Repeats appended after a lookup do not take over, and new names are found.
    model.appendColour ("A", 1, juce::Colours::blue);
    auto& b = model.appendColour ("B", 1, juce::Colours::blue);
    EXPECT_EQ (model.findColourByName ("A"), &firstA);
    EXPECT_EQ (model.findColourByName ("B"), &b);
}

TEST (StableList, ObjectsKeepTheirAddressWhileTheListGrows)
{
    StableList<std::string> list;
    EXPECT_TRUE (list.isEmpty());
    EXPECT_EQ (list[0], nullptr);

    std::vector<std::string*> added;
    for (int i = 0; i < 1000; ++i)
        added.push_back (&list.add (std::to_string (i)));

    // A reservation after growth must not move anything either.
    list.ensureStorageAllocated (5000);
    for (int i = 1000; i < 5000; ++i)
        added.push_back (&list.add (std::to_string (i)));
    list.add ("one more than reserved");

    ASSERT_EQ (list.size(), 5001);
    for (int i = 0; i < 5000; ++i)
    {
        ASSERT_EQ (list[i], added[(size_t) i]);
        ASSERT_EQ (*list.getUnchecked (i), std::to_string (i));
    }

    EXPECT_EQ (list[5001], nullptr);
    EXPECT_EQ (list[-1], nullptr);

    int visited = 0;
    for (auto* item : list)
        visited += item == added[(size_t) visited] ? 1 : 0;
    EXPECT_EQ (visited, 5000);

    // Each object's index, across chunks of every size and the reserved one's unused room.
    for (int i = 0; i < 5001; ++i)
        ASSERT_EQ (list.indexOf (list.getUnchecked (i)), i);
    const std::string other;
    EXPECT_EQ (list.indexOf (&other), -1);
    EXPECT_EQ (list.indexOf (nullptr), -1);

    list.clear();
    EXPECT_EQ (list.size(), 0);
    EXPECT_EQ (list[0], nullptr);
}
