// What diff reports between two schemes, and palettes written and read back.

#include "SchemeFileTestSupport.h"
#include "exchange/Palette.h"
#include "exchange/SchemeDiff.h"

#include <gtest/gtest.h>

using SchemeFileTestSupport::addColour;
using SchemeFileTestSupport::addColours;
using SchemeFileTestSupport::addGroup;

namespace
{
juce::StringArray namesOf (const std::vector<SchemeDiff::Colour>& colours)
{
    juce::StringArray names;
    for (const auto& c : colours)
        names.add (c.name);
    return names;
}

/** A scheme with names that no format holds as they are. */
const juce::String awkwardName = juce::CharPointer_UTF8 ("a\tb\rc\nd \\n \\u0041 \xc3\xa9\xf0\x9f\x98\x80"); // é and an emoji

void addAwkwardColours (SchemeModel& model)
{
    addColour (model, "Window Background", 0xff2b2f36);
    addColour (model, awkwardName, 0x00000000);
    addColour (model, "", 0x80102030);
    addColour (model, "Window Background", 0xffffffff); // a second of the name
    addColour (model, "$money.{x}: 50%; */ /* \\", 0x7f010203);
    addColour (model, " padded ", 0xff0a0b0c);
    addGroup (model, "Backs", { 0, 3 });
    addGroup (model, "", { 1 });
    addGroup (model, "Backs", { 2, 4, 5 });
}
} // namespace

TEST (SchemeDiff, ColoursByNameAndGroupsByNameOrMembers)
{
    SchemeModel before, after;
    addColours (before, { { "Back", 0xff202020 }, { "Text", 0xffe0e0e0 }, { "Gone", 0xff00ff00 }, { "Text", 0xff000000 }, { "Marker", 0xff57b7d9 } });
    addGroup (before, "Panels", { 0, 1 });
    addGroup (before, "Accents", { 4 });
    addGroup (before, "Old", { 2 });

    addColours (after, { { "Marker", 0xff57b7d9 }, // moved to the front
                         { "Back", 0xff202020 },
                         { "Text", 0xffe0e0e0 },
                         { "Text", 0xff000001 }, // the second Text changed
                         { "New", 0x80ffffff } });
    addGroup (after, "Panels", { 1, 4 }); // lost Text, gained New
    addGroup (after, "Highlights", { 0 }); // Accents renamed: the same members
    addGroup (after, "Fresh", { 2 });

    const auto d = SchemeDiff::between (before, after);
    EXPECT_EQ (namesOf (d.added), juce::StringArray ("New"));
    EXPECT_EQ (d.added[0].colour, juce::Colour (0x80ffffff));
    EXPECT_EQ (namesOf (d.removed), juce::StringArray ("Gone"));
    ASSERT_EQ (d.changed.size(), 1u);
    EXPECT_EQ (d.changed[0].name, "Text");
    EXPECT_EQ (d.changed[0].before, juce::Colour (0xff000000));
    EXPECT_EQ (d.changed[0].after, juce::Colour (0xff000001));
    EXPECT_GT (d.changed[0].difference, 0);
    EXPECT_LT (d.changed[0].difference, 1);
    ASSERT_EQ (d.moved.size(), 1u) << "only Marker moved; the others kept their order";
    EXPECT_EQ (d.moved[0].name, "Marker");
    EXPECT_EQ (d.moved[0].from, 4);
    EXPECT_EQ (d.moved[0].to, 0);

    ASSERT_EQ (d.groupsRenamed.size(), 1u);
    EXPECT_EQ (d.groupsRenamed[0].from, "Accents");
    EXPECT_EQ (d.groupsRenamed[0].to, "Highlights");
    EXPECT_EQ (d.groupsRemoved, juce::StringArray ("Old"));
    EXPECT_EQ (d.groupsAdded, juce::StringArray ("Fresh"));
    ASSERT_EQ (d.members.size(), 1u);
    EXPECT_EQ (d.members[0].group, "Panels");
    EXPECT_EQ (d.members[0].added, juce::StringArray ("New"));
    EXPECT_EQ (d.members[0].removed, juce::StringArray ("Text"));
    EXPECT_FALSE (d.empty());

    EXPECT_TRUE (SchemeDiff::between (before, before).empty());
    const auto reversed = SchemeDiff::between (after, before);
    EXPECT_EQ (namesOf (reversed.added), juce::StringArray ("Gone"));
    EXPECT_EQ (reversed.groupsRenamed[0].from, "Highlights");
}

TEST (SchemeDiff, ListingHasALineAColourAndAGroup)
{
    SchemeModel model;
    addAwkwardColours (model);
    const auto listing = SchemeDiff::listing (model);
    juce::StringArray lines;
    lines.addLines (listing.trimEnd());

    ASSERT_EQ (lines.size(), 9) << listing << "six colours and three groups, line breaks in names escaped";
    EXPECT_EQ (lines[0], "colour ff2b2f36 \"Window Background\"");
    EXPECT_EQ (lines[1], juce::String (juce::CharPointer_UTF8 ("colour 00000000 \"a\\tb\\rc\\nd \\\\n \\\\u0041 \xc3\xa9\xf0\x9f\x98\x80\"")));
    EXPECT_EQ (lines[6], "group \"Backs\" \"Window Background\" \"Window Background\"");
    EXPECT_EQ (lines[7], juce::String (juce::CharPointer_UTF8 ("group \"\" \"a\\tb\\rc\\nd \\\\n \\\\u0041 \xc3\xa9\xf0\x9f\x98\x80\"")));
    EXPECT_EQ (SchemeDiff::listing (model), listing) << "stable";
}

TEST (Palette, EveryFormatReadsBackEveryNameAndColour)
{
    SchemeModel model;
    addAwkwardColours (model);

    for (auto format : { Palette::Format::gpl, Palette::Format::css, Palette::Format::tokens })
    {
        SCOPED_TRACE (Palette::nameOf (format));
        const auto text = Palette::write (model, format, "My */ scheme");
        const auto read = Palette::read (text);
        ASSERT_TRUE (read.error.isEmpty()) << read.error << "\n"
                                           << text;
        EXPECT_EQ (read.format, format);
        EXPECT_TRUE (read.skipped.isEmpty());
        ASSERT_EQ ((int) read.entries.size(), model.getNumColours()) << text;

        for (int i = 0; i < model.getNumColours(); ++i)
        {
            EXPECT_EQ (read.entries[(size_t) i].name, model.getColour (i)->name.toString()) << text;
            const auto expected = Palette::holdsAlpha (format) ? model.getColour (i)->colour : model.getColour (i)->colour.withAlpha ((juce::uint8) 0xff);
            EXPECT_EQ (read.entries[(size_t) i].colour, expected) << read.entries[(size_t) i].name;
        }

        // Into a scheme whose colours all differ: the nth of a name goes to the nth of that name.
        SchemeModel other;
        addAwkwardColours (other);
        for (int i = 0; i < other.getNumColours(); ++i)
            other.getColour (i)->colour = juce::Colour (other.getColour (i)->colour.getARGB() ^ 0x5a5a5a5a);

        const auto applied = Palette::apply (read.entries, other, ! Palette::holdsAlpha (format));
        EXPECT_EQ (applied.changed, model.getNumColours());
        EXPECT_TRUE (applied.unmatched.isEmpty());

        for (int i = 0; i < other.getNumColours(); ++i)
        {
            const auto alpha = Palette::holdsAlpha (format) ? model.getColour (i)->colour.getAlpha() : (juce::uint8) (model.getColour (i)->colour.getAlpha() ^ 0x5a);
            EXPECT_EQ (other.getColour (i)->colour, model.getColour (i)->colour.withAlpha (alpha)) << other.getColour (i)->name.toString();
        }
    }
}

TEST (Palette, PalettesMadeElsewhere)
{
    // GIMP's own layout, a name after spaces, a hand-typed backslash that is no escape.
    const auto gimp = Palette::read ("GIMP Palette\r\nName: Mine\r\nColumns: 4\r\n# comment\r\n\r\n  0 128 255\tSky\r\n255   0 0  Fire engine red\r\n1 2 3\tC:\\paths\r\n");
    ASSERT_TRUE (gimp.error.isEmpty()) << gimp.error;
    ASSERT_EQ (gimp.entries.size(), 3u);
    EXPECT_EQ (gimp.entries[0].name, "Sky");
    EXPECT_EQ (gimp.entries[0].colour, juce::Colour (0xff0080ff));
    EXPECT_EQ (gimp.entries[1].name, "Fire engine red");
    EXPECT_EQ (gimp.entries[2].name, "C:\\paths");

    // CSS with other properties, comments and short forms.
    const auto css = Palette::read ("/* theme */\n.dark, :root {\n  --space: 4px; --Text: #FFF;\n  /* --Hidden: #000; */\n  --Glass: #0008;\n}\nbody { color: var(--Text); }\n");
    ASSERT_TRUE (css.error.isEmpty()) << css.error;
    ASSERT_EQ (css.entries.size(), 2u);
    EXPECT_EQ (css.entries[0].name, "Text");
    EXPECT_EQ (css.entries[0].colour, juce::Colour (0xffffffff));
    EXPECT_EQ (css.entries[1].colour, juce::Colour (0x88000000));
    EXPECT_EQ (css.skipped, juce::StringArray ("space"));

    // Design tokens: inherited $type, the newer object form, aliases and other types.
    const auto tokens = Palette::read (R"({ "brand": { "$type": "color",
        "Accent": { "$value": { "colorSpace": "srgb", "components": [1, 0.5, 0], "alpha": 0.5 } },
        "Accent copy": { "$value": "{brand.Accent}" },
        "Panel": { "$value": { "colorSpace": "srgb", "components": [0, 0, 0], "hex": "#102030" } } },
      "size": { "Gap": { "$type": "dimension", "$value": "4px" } } })");
    ASSERT_TRUE (tokens.error.isEmpty()) << tokens.error;
    ASSERT_EQ (tokens.entries.size(), 2u);
    EXPECT_EQ (tokens.entries[0].name, "Accent");
    EXPECT_EQ (tokens.entries[0].colour, juce::Colour (0x80ff8000));
    EXPECT_EQ (tokens.entries[1].colour, juce::Colour (0xff102030)) << "hex before components";
    EXPECT_EQ (tokens.skipped, juce::StringArray ("Gap"));
}

TEST (Palette, TextThatIsNoPaletteSaysWhy)
{
    const auto reason = [] (const char* text)
    { return Palette::read (juce::String::fromUTF8 (text)).error; };

    EXPECT_EQ (reason ("GIMP Palette\nName: x\n 10 20\tShort\n"), "line 3: expected red, green and blue from 0 to 255, then a name");
    EXPECT_EQ (reason ("GIMP Palette\n256 0 0\tToo red\n"), "line 2: expected red, green and blue from 0 to 255, then a name");
    EXPECT_EQ (reason ("GIMP Palette\n1 2 3x\tStuck\n"), "line 2: expected red, green and blue from 0 to 255, then a name");
    EXPECT_EQ (reason (":root {\n  --a: #12345;\n}"), "line 2: --a: #12345 is no colour (#rgb, #rrggbb or #rrggbbaa)");
    EXPECT_EQ (reason (":root {\n /* open\n --a: #123;\n}"), "line 2: a comment is not closed");
    EXPECT_EQ (reason (":root { --a }"), "line 1: a custom property without a value");
    EXPECT_EQ (reason ("body { margin: 0 } /* -- */"), "holds no custom properties (--name: #rrggbb;)");
    EXPECT_TRUE (reason ("{ \"a\": ").startsWith ("is no valid JSON: "));
    EXPECT_EQ (reason (R"({ "a": { "$type": "color", "$value": "red" } })"), "the token \"a\" is a colour token whose value is no colour");
    EXPECT_EQ (reason ("[1, 2]"), "holds no design tokens (a JSON object is expected)");
    EXPECT_EQ (reason ("just some words"), "is no GIMP palette, CSS custom properties or design tokens file");
    EXPECT_EQ (reason (""), "is no GIMP palette, CSS custom properties or design tokens file");
}

TEST (Palette, ApplyListsNamesThatMatchNoColour)
{
    SchemeModel model;
    addColours (model, { { "Text", 0x80e0e0e0 }, { "Back", 0xff202020 } });

    const std::vector<Palette::Entry> entries { { "Text", juce::Colour (0xff112233) }, { "text", juce::Colour (0xff000000) }, { "Back", juce::Colour (0xff202020) }, { "Text", juce::Colour (0xff445566) } };
    const auto applied = Palette::apply (entries, model, true);

    EXPECT_EQ (model.getColour (0)->colour, juce::Colour (0x80112233)) << "the scheme's alpha kept";
    EXPECT_EQ (model.getColour (1)->colour, juce::Colour (0xff202020));
    EXPECT_EQ (applied.changed, 1);
    EXPECT_EQ (applied.unchanged, 1);
    EXPECT_EQ (applied.unmatched, juce::StringArray ({ "text", "Text" })) << "letter case counts; one Text in the scheme";
}
