#include "containers/FlatHashTable.h"
#include "scheme/SchemeModel.h"
#include "support/model/SchemeBuilders.h"

#include <gtest/gtest.h>

using testkit::addColour;

TEST (SchemeModel, FindByNameTakesFirstExactMatch)
{
    SchemeModel model;
    auto& first = addColour (model, "Background", 0xff000001);
    addColour (model, "Background", 0xff000002);
    addColour (model, "background", 0xff000003);

    EXPECT_EQ (model.getNumColours(), 3);
    EXPECT_EQ (model.findColourByName ("Background"), &first);
    EXPECT_EQ (model.findColourByName ("background"), model.getColour (2));
    EXPECT_EQ (model.findColourByName ("BACKGROUND"), nullptr);
    EXPECT_EQ (model.getColour (3), nullptr);
    EXPECT_EQ (model.getColour (-1), nullptr);

    model.clear();
    EXPECT_EQ (model.getNumColours(), 0);
    EXPECT_EQ (model.findColourByName ("Background"), nullptr);
}

TEST (SchemeModel, AddColourIsByIdentityAndKeepsTweakState)
{
    SchemeModel model;
    auto& a = addColour (model, "Same", 0xff112233);
    auto& b = addColour (model, "Same", 0xff445566);

    ColourGroup group;
    EXPECT_EQ (group.getName(), "Unnamed group");
    EXPECT_TRUE (group.addColour (a));
    EXPECT_TRUE (group.addColour (b)); // same name, other record
    EXPECT_EQ (group.getNumMembers(), 2);

    auto* member = group.getMember (0);
    EXPECT_EQ (member->getPreviewColour(), juce::Colour (0xff112233));
    EXPECT_EQ (member->getParameters().redOffset, 0);
    EXPECT_EQ (member->getParameters().saturationMultiplier, 1.0f);
    EXPECT_EQ (member->getParameters().contrastCentre, 0.5f);

    EXPECT_FALSE (group.addColour (a));
    EXPECT_EQ (group.getNumMembers(), 2);
    EXPECT_EQ (group.getMember (0), member);
}

TEST (SchemeModel, RemoveGroupClosesTheGapAndIgnoresBadIndexes)
{
    SchemeModel model;
    for (auto name : { "one", "two", "three" })
        model.appendGroup (std::make_unique<ColourGroup>()).setName (name);

    model.removeGroup (3);
    model.removeGroup (-1);
    EXPECT_EQ (model.getNumGroups(), 3);

    model.removeGroup (0);
    ASSERT_EQ (model.getNumGroups(), 2);
    EXPECT_EQ (model.getGroup (0)->getName(), "two");
    EXPECT_EQ (model.getGroup (1)->getName(), "three");

    model.removeGroup (1);
    model.removeGroup (0);
    EXPECT_EQ (model.getNumGroups(), 0);
    EXPECT_TRUE (model.getColourGroups().isEmpty());
}

TEST (SchemeModelNameIndex, FindsByBytesOnlyTheWholeName)
{
    SchemeModel model;
    for (auto* name : { "a", "ab", "", "a", "\xc3\xa9" })
    {
        auto colour = std::make_unique<SchemeColour>();
        colour->name = juce::String::fromUTF8 (name);
        model.appendColour (std::move (colour));
    }

    EXPECT_EQ (model.findColourByName ("a", 1), model.getColour (0));
    EXPECT_EQ (model.findColourByName ("abc", 2), model.getColour (1));
    EXPECT_EQ (model.findColourByName ("", 0), model.getColour (2));
    EXPECT_EQ (model.findColourByName (juce::String::charToString (0xe9)), model.getColour (4));
    EXPECT_EQ (model.findColourByName ("a\0b", 3), nullptr);
    EXPECT_EQ (model.findColourByName ("b", 1), nullptr);

    model.clear();
    EXPECT_EQ (model.findColourByName ("a", 1), nullptr);
}

TEST (FlatHashTable, FirstValueWinsThroughGrowthAndCollidingHashes)
{
    FlatHashTable<int> table;
    EXPECT_EQ (table.find (1, [] (int)
                           { return true; }),
               nullptr);

    // Keys 0..9999 with only 64 distinct hashes, so chains are long.
    auto hashOf = [] (int key)
    { return (std::uint64_t) (key % 64); };

    for (int key = 0; key < 10000; ++key)
        ASSERT_TRUE (table.insert (hashOf (key), key, [&] (int stored)
                                   { return stored == key; }));

    for (int key = 0; key < 10000; key += 7)
        EXPECT_FALSE (table.insert (hashOf (key), key, [&] (int stored)
                                    { return stored == key; }));

    EXPECT_EQ (table.size(), 10000u);

    for (int key = 0; key < 10000; ++key)
    {
        auto* found = table.find (hashOf (key), [&] (int stored)
                                  { return stored == key; });
        ASSERT_NE (found, nullptr);
        EXPECT_EQ (*found, key);
    }

    EXPECT_EQ (table.find (hashOf (10000), [] (int stored)
                           { return stored == 10000; }),
               nullptr);

    table.clear();
    EXPECT_EQ (table.size(), 0u);
    EXPECT_EQ (table.find (0, [] (int)
                           { return true; }),
               nullptr);
}

TEST (FlatHashTable, ReservingKeepsWhatIsStoredAndTheFirstValueWins)
{
    FlatHashTable<int> table;
    auto matchesKey = [] (int key)
    { return [key] (int stored)
      { return stored == key; }; };

    table.reserve (0);
    EXPECT_EQ (table.find (5, matchesKey (5)), nullptr);

    // Hashes 2k and 2k + 1 differ only in their lowest bit.
    for (int key = 0; key < 100; ++key)
        ASSERT_TRUE (table.insert ((std::uint64_t) key, key, matchesKey (key)));

    table.reserve (5000); // moves the 100 values into a larger array
    table.reserve (10); // never shrinks

    for (int key = 0; key < 5000; ++key)
        EXPECT_EQ (table.insert ((std::uint64_t) key, key, matchesKey (key)), key >= 100);

    EXPECT_EQ (table.size(), 5000u);

    for (int key = 0; key < 5000; ++key)
    {
        auto* found = table.find ((std::uint64_t) key, matchesKey (key));
        ASSERT_NE (found, nullptr);
        EXPECT_EQ (*found, key);
    }

    EXPECT_EQ (table.find (5000, matchesKey (5000)), nullptr);
}

TEST (SchemeModel, ReservedRoomChangesNoAnswer)
{
    SchemeModel model;
    auto& first = addColour (model, "Shared", 0xff000001);
    model.reserveColours (1000);
    addColour (model, "Shared", 0xff000002);

    for (int i = 0; i < 1000; ++i)
        addColour (model, "Colour " + juce::String (i), (juce::uint32) i);

    model.reserveColours (-1);
    EXPECT_EQ (model.getNumColours(), 1002);
    EXPECT_EQ (model.findColourByName ("Shared"), &first);

    for (int i = 0; i < 1000; i += 37)
        EXPECT_EQ (model.findColourByName ("Colour " + juce::String (i)), model.getColour (i + 2));

    ColourGroup group;
    group.reserveMembers (3);
    EXPECT_TRUE (group.addColour (first));
    group.reserveMembers (500);
    EXPECT_FALSE (group.addColour (first));

    for (int i = 0; i < 600; ++i)
        EXPECT_TRUE (group.addColour (*model.getColour (i + 1)));

    EXPECT_EQ (group.getNumMembers(), 601);
    EXPECT_EQ (&group.getMember (0)->getSchemeColour(), &first);
    EXPECT_TRUE (group.containsColour (*model.getColour (600)));
    EXPECT_FALSE (group.containsColour (*model.getColour (601)));
}
