#include "scheme/FlatHashTable.h"
#include "scheme/PlainSchemeReader.h"
#include "scheme/SchemeFile.h"

#include <gtest/gtest.h>

#include <map>
#include <random>

// Opening reads the written form directly and leaves everything else to JUCE's
// parser. Both ways must give the same model, and the same verdict on whether
// the text is a document at all.

namespace
{
using juce::String;

struct Snapshot
{
    bool opened = false;
    std::vector<std::pair<String, juce::uint32>> colours;
    std::vector<std::pair<String, std::vector<int>>> groups; // members as colour positions

    bool operator== (const Snapshot& other) const
    {
        return opened == other.opened && colours == other.colours && groups == other.groups;
    }
};

Snapshot snapshotOf (bool opened, const SchemeModel& model)
{
    Snapshot s;
    s.opened = opened;
    std::map<const SchemeColour*, int> position;

    for (int i = 0; i < model.getNumColours(); ++i)
    {
        s.colours.emplace_back (model.getColour (i)->name, model.getColour (i)->colour.getARGB());
        position[model.getColour (i)] = i;
    }

    for (int g = 0; g < model.getNumGroups(); ++g)
    {
        auto& group = *model.getGroup (g);
        std::vector<int> members;
        for (int m = 0; m < group.getNumMembers(); ++m)
            members.push_back (position.at (&group.getMember (m)->getSchemeColour()));
        s.groups.emplace_back (group.getName(), members);
    }

    return s;
}

Snapshot throughTree (const String& text)
{
    SchemeModel model;
    auto root = SchemeFile::parse (text);
    if (root != nullptr)
        SchemeFile::readScheme (*root, model);
    return snapshotOf (root != nullptr, model);
}

Snapshot opened (const String& text)
{
    SchemeModel model;
    auto ok = SchemeFile::readSchemeText (text, model);
    return snapshotOf (ok, model);
}

bool readsPlainly (const String& text)
{
    SchemeModel model;
    return SchemeFile::readPlainScheme (text.toRawUTF8(), model);
}

std::ostream& operator<< (std::ostream& out, const Snapshot& s)
{
    out << (s.opened ? "opened" : "refused") << ", colours:";
    for (auto& c : s.colours)
        out << " [" << c.first << "=" << String::toHexString ((int) c.second) << "]";
    out << ", groups:";
    for (auto& g : s.groups)
    {
        out << " [" << g.first << ":";
        for (auto m : g.second)
            out << " " << m;
        out << "]";
    }
    return out;
}

const char* const head = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\r\n\r\n\r\n";
} // namespace

TEST (PlainSchemeReader, ReadsTheWrittenFormAndItsVariantsAsJuceWould)
{
    const char* const plain[] = {
        "<COLOURS/>",
        "<COLOURS></COLOURS>",
        " \t\r\n<COLOURS>\n</COLOURS>\n\n",
        "<?xml version=\"1.0\"?><COLOURS><COLOUR NAME=\"a\" COLOUR=\"ff102030\"/></COLOURS>",
        "<?xml encoding='utf-8' ?>\n<COLOURS NAME=\"root attributes are ignored\"/>",
        // Letter case, quotes, attribute order, spacing, open and close forms.
        "<colours><Colour colour='80FFffFF' name='x'></Colour><COLOUR\tNAME = \"y\"\r\n/></colours>",
        "<COLOURS><COLOUR NAME=\"a\"COLOUR=\"1\"/></COLOURS>",
        // Missing attributes: empty name, colour 0.
        "<COLOURS><COLOUR/><COLOUR COLOUR=\"ff0000ff\"/><COLOUR NAME=\"n\"/></COLOURS>",
        // Colour texts: last eight hex digits, other characters skipped.
        "<COLOURS><COLOUR NAME=\"a\" COLOUR=\"#123456789abc\"/><COLOUR NAME=\"b\" COLOUR=\"0x g1\"/></COLOURS>",
        // References in names and colours, any case of the named ones.
        "<COLOURS><COLOUR NAME=\"&amp;&QUOT;&apos;&lt;&Gt;&#36;&#x7c;&#233;&#x1F600;&#13;&#10;\" "
        "COLOUR=\"&#x46;&#70;0&#48;\"/></COLOURS>",
        // Raw characters JUCE keeps as they are inside values.
        "<COLOURS><COLOUR NAME=\"<b>\tc'd\r\n\" COLOUR=\"1\"/><COLOUR NAME='\"' COLOUR=\"2\"/></COLOURS>",
        // Groups: duplicate names find the first, repeats are added once,
        // unknown names nothing, and names are looked up when the group is read.
        "<COLOURS><COLOURGROUPS><COLOURGROUP NAME=\"early\"><COLOUR NAME=\"a\"/></COLOURGROUP></COLOURGROUPS>"
        "<COLOUR NAME=\"a\" COLOUR=\"1\"/><COLOUR NAME=\"a\" COLOUR=\"2\"/><COLOUR NAME=\"\" COLOUR=\"3\"/>"
        "<COLOURGROUPS><COLOURGROUP NAME=\"g\"><COLOUR NAME=\"a\"/><COLOUR NAME=\"a\"></COLOUR><COLOUR/>"
        "<COLOUR NAME=\"zz\"/></COLOURGROUP><COLOURGROUP/><COLOURGROUP NAME=\"\"></COLOURGROUP>"
        "<colourgroup name=\"&lt;&#97;&gt;\" colour=\"ignored\"><colour name=\"&#97;\" colour=\"ignored\"/></colourgroup>"
        "</COLOURGROUPS><COLOURGROUPS/></COLOURS>",
    };

    for (auto* text : plain)
    {
        EXPECT_TRUE (readsPlainly (text)) << text;
        EXPECT_TRUE (throughTree (text).opened) << text;
        EXPECT_EQ (opened (text), throughTree (text)) << text;
    }

    // A leading byte-order mark is dropped before either reader sees the text.
    auto withMark = String::charToString ((juce::juce_wchar) 0xfeff) + plain[3];
    EXPECT_EQ (opened (withMark), throughTree (withMark));
    EXPECT_EQ (opened (withMark).colours.size(), 1u);

    // Only one: a second mark is text before the root, for the plain reader as for JUCE.
    for (auto* text : { plain[3], "<OTHER/>" })
    {
        auto withTwoMarks = String::charToString ((juce::juce_wchar) 0xfeff) + withMark.substring (0, 1) + text;
        EXPECT_FALSE (opened (withTwoMarks).opened) << text;
        EXPECT_EQ (opened (withTwoMarks), throughTree (withTwoMarks)) << text;
    }
}

TEST (PlainSchemeReader, LeavesEverythingElseToJuceWithTheSameResult)
{
    const char* const other[] = {
        "",
        "   ",
        "not xml",
        "<OTHER><COLOUR NAME=\"a\" COLOUR=\"1\"/></OTHER>",
        "<COLOURS><!-- note --><COLOUR NAME=\"a\" COLOUR=\"1\"/></COLOURS>",
        "<COLOURS><?pi?><COLOUR NAME=\"a\" COLOUR=\"1\"/></COLOURS>",
        "<!DOCTYPE x><COLOURS><COLOUR NAME=\"a\" COLOUR=\"1\"/></COLOURS>",
        "<COLOURS>text<COLOUR NAME=\"a\" COLOUR=\"1\"/></COLOURS>",
        "<COLOURS><![CDATA[x]]><COLOUR NAME=\"a\" COLOUR=\"1\"/></COLOURS>",
        "<COLOURS><COLOUR NAME=\"a\" COLOUR=\"1\" EXTRA=\"e\"/></COLOURS>",
        "<COLOURS><COLOUR NAME=\"a\" NAME=\"b\" COLOUR=\"1\"/></COLOURS>",
        "<COLOURS><COLOUR NAME=\"a\" name=\"b\" COLOUR=\"1\"/></COLOURS>",
        "<COLOURS><COLOUR NAME=a COLOUR=\"1\"/><COLOUR NAME=\"b\"/></COLOURS>",
        "<COLOURS><COLOUR NAME=\"a\" COLOUR=\"1\"><X/></COLOUR></COLOURS>",
        "<COLOURS><COLOUR NAME=\"a\" COLOUR=\"1\">text</COLOUR></COLOURS>",
        "<COLOURS><COLOUR NAME=\"a\" COLOUR=\"1\"></COLOUR ></COLOURS>",
        "<COLOURS><COLOUR NAME=\"a\" COLOUR=\"1\"></X></COLOURS>",
        "<COLOURS><COLOURGROUP NAME=\"g\"/><COLOUR NAME=\"a\" COLOUR=\"1\"/></COLOURS>",
        "<COLOURS><COLOURGROUPS><X/></COLOURGROUPS></COLOURS>",
        "<COLOURS><COLOURGROUPS><COLOURGROUP><X/></COLOURGROUP></COLOURGROUPS></COLOURS>",
        "<COLOURS><COLOURGROUPS><COLOURGROUP><COLOURGROUP/></COLOURGROUP></COLOURGROUPS></COLOURS>",
        "<COLOURS><COLOURX NAME=\"a\"/></COLOURS>",
        "<COLOURS>< COLOUR NAME=\"a\"/></COLOURS>",
        "<COLOURS><COLOUR NAME=\"&#0;a\" COLOUR=\"1\"/></COLOURS>",
        "<COLOURS><COLOUR NAME=\"&#xd800;a\" COLOUR=\"1\"/></COLOURS>",
        "<COLOURS><COLOUR NAME=\"&#x110000;\" COLOUR=\"1\"/></COLOURS>",
        "<COLOURS><COLOUR NAME=\"&#x;\" COLOUR=\"1\"/></COLOURS>",
        "<COLOURS><COLOUR NAME=\"&#12a;\" COLOUR=\"1\"/></COLOURS>",
        "<COLOURS><COLOUR NAME=\"&#12\" COLOUR=\"3;\"/></COLOURS>",
        "<COLOURS><COLOUR NAME=\"&nbsp;\" COLOUR=\"1\"/></COLOURS>",
        "<COLOURS><COLOUR NAME=\"a & b\" COLOUR=\"1\"/></COLOURS>",
        // References JUCE does not expand, in values the scheme never uses.
        "<COLOURS NAME=\"&nbsp;\"/>",
        "<COLOURS><COLOURGROUPS COLOUR=\"&#0;\"/></COLOURS>",
        "<COLOURS><COLOURGROUPS><COLOURGROUP COLOUR=\"&x;\"/></COLOURGROUPS></COLOURS>",
        "<COLOURS><COLOURGROUPS><COLOURGROUP><COLOUR NAME=\"a\" COLOUR=\"&x;\"/></COLOURGROUP></COLOURGROUPS></COLOURS>",
        "<COLOURS><COLOUR NAME=\"unclosed COLOUR=\"1\"/></COLOURS>",
        "<COLOURS><COLOUR NAME=\"a\" COLOUR=\"1\"/>",
        "<COLOURS><COLOUR NAME=\"a\" COLOUR=\"1\"/></COLOURS><COLOUR NAME=\"after\"/>",
        "<COLOURS><COLOUR NAME=\"a\" COLOUR=\"1\"/></COLOURS>trailing",
        "<COLOURS><COLOUR NAME=\"a\" COLOUR=\"1\"/></COLOURS><!-- trailing -->",
        "<COLOURS \xc3\xa9=\"1\"/>",
        "<COLOURS><COLOUR\xc3\xa9 NAME=\"a\"/></COLOURS>",
        "<COLOURS>\xc2\xa0<COLOUR NAME=\"a\"/></COLOURS>",
        "<COLOURS><COLOUR NAME=\"a\" COLOUR=\"1\"/",
        "<COLOURS",
    };

    for (auto* text : other)
    {
        EXPECT_FALSE (readsPlainly (text)) << text;
        EXPECT_EQ (opened (text), throughTree (text)) << text;
    }
}

TEST (PlainSchemeReader, EverythingTheWriterWritesIsReadDirectlyAndExactly)
{
    std::mt19937 random (7);
    auto pick = [&] (int n)
    { return (int) (random() % (unsigned) n); };

    // Characters the writer escapes in its different ways, and ones it keeps.
    const juce::juce_wchar characters[] = { 'a', 'Z', '0', ' ', '.', '&', '"', '\'', '<', '>', '$', '|', '\t', '\r', '\n', 1, 31, 127, 0xe9, 0x20ac, 0x1f600, 0x10ffff, '=', '/' };

    for (int round = 0; round < 50; ++round)
    {
        SchemeModel model;
        auto numColours = pick (40);

        for (int i = 0; i < numColours; ++i)
        {
            auto colour = std::make_unique<SchemeColour>();
            for (int n = pick (30); --n >= 0;)
                colour->name += characters[pick ((int) std::size (characters))];
            if (pick (4) == 0 && i > 0)
                colour->name = model.getColour (pick (i))->name; // duplicate names
            colour->colour = juce::Colour ((juce::uint32) random());
            model.appendColour (std::move (colour));
        }

        for (int g = pick (5); --g >= 0;)
        {
            auto& group = model.appendGroup (std::make_unique<ColourGroup>());
            group.setName (pick (3) == 0 ? String() : "group " + String (g) + " &<>\"");
            for (int m = numColours == 0 ? 0 : pick (20); --m >= 0;)
                group.addColour (*model.getColour (pick (numColours)));
        }

        auto text = SchemeFile::toText (*SchemeFile::createSchemeElement (model));
        ASSERT_TRUE (readsPlainly (text)) << text;

        // Members come back as the first colour of their name, as the format stores them.
        auto expected = snapshotOf (true, model);
        for (auto& group : expected.groups)
        {
            std::vector<int> members;
            for (auto m : group.second)
            {
                int first = 0;
                while (expected.colours[(size_t) first].first != expected.colours[(size_t) m].first)
                    ++first;
                if (std::find (members.begin(), members.end(), first) == members.end())
                    members.push_back (first);
            }
            group.second = members;
        }

        EXPECT_EQ (opened (text), expected) << text;
        EXPECT_EQ (throughTree (text), expected) << text;
    }
}

TEST (PlainSchemeReader, OpensALargeSchemeWithSharedNames)
{
    // 100k colours sharing 50k names and one group of all of them.
    juce::MemoryOutputStream out;
    out << head << "<COLOURS>\r\n";
    for (int i = 0; i < 100000; ++i)
        out << "  <COLOUR NAME=\"c" << (i % 50000) << "\" COLOUR=\"ff" << String::toHexString (i) << "\"/>\r\n";
    out << "  <COLOURGROUPS>\r\n    <COLOURGROUP NAME=\"all\">\r\n";
    for (int i = 0; i < 100000; ++i)
        out << "      <COLOUR NAME=\"c" << i << "\"/>\r\n";
    out << "    </COLOURGROUP>\r\n  </COLOURGROUPS>\r\n</COLOURS>\r\n";
    auto text = out.toString();

    ASSERT_TRUE (readsPlainly (text));
    SchemeModel model;
    ASSERT_TRUE (SchemeFile::readSchemeText (text, model));
    ASSERT_EQ (model.getNumColours(), 100000);
    ASSERT_EQ (model.getNumGroups(), 1);

    // The first 50k names are found, each as its first colour; the rest are unknown.
    auto& group = *model.getGroup (0);
    ASSERT_EQ (group.getNumMembers(), 50000);
    EXPECT_EQ (&group.getMember (0)->getSchemeColour(), model.getColour (0));
    EXPECT_EQ (&group.getMember (49999)->getSchemeColour(), model.getColour (49999));
    EXPECT_EQ (model.findColourByName ("c123"), model.getColour (123));
}

TEST (SchemeModelNameIndex, FindsByBytesOnlyTheWholeName)
{
    SchemeModel model;
    for (auto* name : { "a", "ab", "", "a", "\xc3\xa9" })
    {
        auto colour = std::make_unique<SchemeColour>();
        colour->name = String::fromUTF8 (name);
        model.appendColour (std::move (colour));
    }

    EXPECT_EQ (model.findColourByName ("a", 1), model.getColour (0));
    EXPECT_EQ (model.findColourByName ("abc", 2), model.getColour (1));
    EXPECT_EQ (model.findColourByName ("", 0), model.getColour (2));
    EXPECT_EQ (model.findColourByName (String::charToString (0xe9)), model.getColour (4));
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
