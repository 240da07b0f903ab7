// tintwright-cli as a process: vision (with colorspacious as a second opinion
// on the simulation), diff against tweak's output, and palettes exported and
// imported on every shipped scheme.

#include "cli/CliProcess.h"
#include "schemefile/SchemeFile.h"
#include "support/model/TempFolder.h"

#include <gtest/gtest.h>
#include <juce_graphics/juce_graphics.h>

#include <set>

using CliProcess::run;
using testkit::TempFolder;

namespace
{
const juce::File sourceRoot { TINTWRIGHT_SOURCE_DIR };
const juce::String sample = sourceRoot.getChildFile ("docs/sample.calvastrascheme").getFullPathName();

juce::var jsonOf (const CliProcess::Result& result)
{
    juce::var parsed;
    EXPECT_TRUE (juce::JSON::parse (result.out, parsed).wasOk()) << result.out << result.err;
    return parsed;
}

std::set<juce::String> pairNames (const juce::var& pairs)
{
    std::set<juce::String> names;
    for (const auto& pair : *pairs.getArray())
        names.insert (pair["first"].toString() + " / " + pair["second"].toString());
    return names;
}

std::unique_ptr<SchemeModel> readModel (const juce::File& file)
{
    auto model = std::make_unique<SchemeModel>();
    EXPECT_TRUE (SchemeFile::readSchemeFile (file, *model)) << file.getFullPathName();
    return model;
}

/** Every scheme that comes with the sources and reads as one. */
juce::Array<juce::File> shippedSchemes()
{
    juce::Array<juce::File> files;
    for (auto folder : { "docs", "tests/data", "tests/e2e/data" })
        for (const auto& f : sourceRoot.getChildFile (folder).findChildFiles (juce::File::findFiles, false, "*.calvastrascheme"))
            if (SchemeModel model; SchemeFile::readSchemeFile (f, model))
                files.add (f);
    return files;
}
} // namespace

TEST (CliVision, FindsThePairsADeuteranopeCannotTellApart)
{
    const auto result = run ({ "vision", sample, "--as", "deuteranopia", "--json" });
    EXPECT_EQ (result.exitCode, 1) << result.err;
    const auto json = jsonOf (result);
    ASSERT_EQ (json["visions"].size(), 1);
    const auto& deutan = json["visions"][0];
    EXPECT_EQ (deutan["as"].toString(), "deuteranopia");
    EXPECT_EQ ((double) json["minDifference"], 12.0);

    // The meter's green, orange and red, and the playhead against the automation curve;
    // to most eyes every pair in these groups is more than 20 apart.
    const std::set<juce::String> expected { "Meter Low / Meter High", "Meter Low / Meter Clip", "Meter Mid / Meter High", "Meter High / Meter Clip", "Playhead / Automation Curve" };
    EXPECT_EQ (pairNames (deutan["pairs"]), expected);

    for (const auto& pair : *deutan["pairs"].getArray())
    {
        EXPECT_LT ((double) pair["difference"], 12.0);
        EXPECT_NE (pair["seen"][0].toString(), pair["colours"][0].toString());
    }

    const auto text = run ({ "vision", sample });
    EXPECT_EQ (text.exitCode, 1);
    EXPECT_TRUE (text.out.contains ("deuteranopia: Meter Low and Meter Clip (group Meters): difference 11.77, seen as ffb4a870 and ff968835\n")) << text.out;
    EXPECT_TRUE (text.out.contains ("deuteranopia (severity 1): 5 of 15 pairs below a CIEDE2000 difference of 12 as seen\n")) << text.out;
    EXPECT_TRUE (text.out.contains ("protanopia (severity 1): ")) << text.out;
    EXPECT_TRUE (text.out.contains ("tritanopia (severity 1): ")) << text.out;

    // With no deficiency nothing in the sample's groups comes close; a lower bar passes the sample.
    const auto none = run ({ "vision", sample, "--severity", "0" });
    EXPECT_EQ (none.exitCode, 0) << none.out;
    EXPECT_EQ (run ({ "vision", sample, "--min-difference", "5" }).exitCode, 0);
    const auto mild = jsonOf (run ({ "vision", sample, "--as", "deuteranopia", "--severity", "0.5", "--json" }));
    EXPECT_LT (mild["visions"][0]["pairs"].size(), 5) << "anomalous vision confuses fewer pairs";

    const auto pair = run ({ "vision", sample, "--pair", "Text", "Window Background", "--pair", "Meter Low", "Meter Clip", "--as", "deuteranopia" });
    EXPECT_EQ (pair.exitCode, 1);
    EXPECT_EQ (pair.out, "deuteranopia: Meter Low and Meter Clip: difference 11.77, seen as ffb4a870 and ff968835\n"
                         "deuteranopia (severity 1): 1 of 2 pairs below a CIEDE2000 difference of 12 as seen\n");
    // Half a pair is still --pair: the groups' pairs are not checked instead.
    EXPECT_EQ (run ({ "vision", sample, "--pair", "Text", "--as", "deuteranopia" }).out,
               "deuteranopia (severity 1): 0 of 0 pairs below a CIEDE2000 difference of 12 as seen\n");

    TempFolder temp;
    const auto missing = run ({ "vision", temp.path ("None.calvastrascheme") });
    EXPECT_EQ (missing.exitCode, 2);
    EXPECT_TRUE (missing.err.contains ("None.calvastrascheme: no such file")) << missing.err;
    EXPECT_EQ (run ({ "vision", sample, "--as", "colour-blind" }).exitCode, 2);
    EXPECT_EQ (run ({ "vision", sample, "--severity", "1.5" }).exitCode, 2);
    const auto unknown = run ({ "vision", sample, "--pair", "Text", "Purple" });
    EXPECT_EQ (unknown.exitCode, 2);
    EXPECT_TRUE (unknown.err.contains ("no colour named \"Purple\"")) << unknown.err;
}

// colorspacious (Debian's python3-colorspacious) carries the Machado matrices
// and applies them in linear sRGB: the colours as seen must agree with it.
TEST (CliVision, SeenColoursAgreeWithColorspacious)
{
    const juce::File python ("/usr/bin/python3");

    // Under Wine the file is there but is no Windows program.
    if ((juce::SystemStats::getOperatingSystemType() & juce::SystemStats::Linux) == 0 || ! python.existsAsFile())
        GTEST_SKIP() << "no /usr/bin/python3 (colorspacious runs on Linux only)";

    const auto model = readModel (juce::File (sample));
    juce::StringArray colourArguments, hexes;

    for (int i = 0; i < model->getNumColours(); ++i)
    {
        const auto name = model->getColour (i)->name.toString();
        colourArguments.addArray ({ "--pair", name, name }); // a colour with itself is 0 apart, so always listed
        hexes.add (juce::String::toHexString ((juce::int64) model->getColour (i)->colour.getARGB()).paddedLeft ('0', 8));
    }

    const char* script = R"(
import sys, numpy as np
from colorspacious import cspace_convert
kind, severity = sys.argv[1], float(sys.argv[2])
for h in sys.argv[3:]:
    rgb = np.array([int(h[2:4], 16), int(h[4:6], 16), int(h[6:8], 16)]) / 255
    seen = cspace_convert(rgb, {"name": "sRGB1+CVD", "cvd_type": kind, "severity": severity}, "sRGB1")
    print("".join("%02x" % int(round(c * 255)) for c in np.clip(seen, 0, 1)))
)";

    int compared = 0;

    for (const auto& [vision, kind] : { std::pair { "protanopia", "protanomaly" }, std::pair { "deuteranopia", "deuteranomaly" }, std::pair { "tritanopia", "tritanomaly" } })
    {
        for (const auto* severity : { "1", "0.35" })
        {
            SCOPED_TRACE (juce::String (vision) + " " + severity);
            juce::StringArray arguments { "vision", sample, "--as", vision, "--severity", severity, "--min-difference", "1", "--json" };
            arguments.addArray (colourArguments);
            const auto ours = jsonOf (run (arguments));
            const auto& pairs = ours["visions"][0]["pairs"];
            ASSERT_EQ (pairs.size(), model->getNumColours());

            juce::StringArray pythonArguments { "-c", script, kind, juce::String (juce::String (severity).getDoubleValue() * 100) };
            pythonArguments.addArray (hexes);
            const auto theirs = CliProcess::runProgram (python.getFullPathName(), pythonArguments);
            ASSERT_EQ (theirs.exitCode, 0) << theirs.err;
            const auto lines = juce::StringArray::fromLines (theirs.out.trimEnd());
            ASSERT_EQ (lines.size(), model->getNumColours());

            for (int i = 0; i < model->getNumColours(); ++i)
            {
                const auto seen = juce::Colour ((juce::uint32) pairs[i]["seen"][0].toString().getHexValue64());
                const auto expected = juce::Colour ((juce::uint32) (0xff000000u | (juce::uint32) lines[i].getHexValue32()));
                // Rounding to 8 bits may fall either side of a half.
                EXPECT_LE (std::abs (seen.getRed() - expected.getRed()), 1) << lines[i] << " " << pairs[i]["seen"][0].toString();
                EXPECT_LE (std::abs (seen.getGreen() - expected.getGreen()), 1) << lines[i];
                EXPECT_LE (std::abs (seen.getBlue() - expected.getBlue()), 1) << lines[i];
                ++compared;
            }
        }
    }

    EXPECT_EQ (compared, 6 * model->getNumColours());
}

TEST (CliRender, VisionDrawsTheColoursAsSeen)
{
    TempFolder temp;
    const auto png = temp.folder.getChildFile ("Seen.png");
    const auto result = run ({ "render", sample, "-o", png.getFullPathName(), "--vision", "deuteranopia" });
    ASSERT_EQ (result.exitCode, 0) << result.err;
    const auto image = juce::ImageFileFormat::loadFrom (png);
    ASSERT_TRUE (image.isValid());

    // Line 0 is the heading, line n + 1 the scheme's colour n; Meter Low is colour 18, Meter Clip 21.
    const auto swatch = [&image] (int line)
    { return image.getPixelAt (8 + 20, 8 + line * 24 + 12).getARGB(); };
    const auto seen = jsonOf (run ({ "vision", sample, "--as", "deuteranopia", "--pair", "Meter Low", "Meter Clip", "--min-difference", "100", "--json" }));
    EXPECT_EQ (swatch (19), (juce::uint32) seen["visions"][0]["pairs"][0]["seen"][0].toString().getHexValue64());
    EXPECT_EQ (swatch (22), (juce::uint32) seen["visions"][0]["pairs"][0]["seen"][1].toString().getHexValue64());
    EXPECT_EQ (swatch (10), 0xffffffffu) << "white is seen as it is";

    EXPECT_EQ (run ({ "render", sample, "-o", png.getFullPathName(), "--vision", "monochromacy" }).exitCode, 2);
}

TEST (CliDiff, ATweakedGroupChangesExactlyItsMembers)
{
    TempFolder temp;
    const auto model = readModel (juce::File (sample));

    for (auto* group : model->getColourGroups())
    {
        SCOPED_TRACE (group->getName());
        const auto tweaked = temp.path (group->getName() + ".calvastrascheme");
        ASSERT_EQ (run ({ "tweak", sample, "--group", group->getName(), "--invert", "-o", tweaked }).exitCode, 0);

        const auto result = run ({ "diff", sample, tweaked, "--json" });
        EXPECT_EQ (result.exitCode, 1);
        const auto json = jsonOf (result);
        EXPECT_FALSE ((bool) json["same"]);
        std::set<juce::String> changed, members;

        for (const auto& c : *json["colours"]["changed"].getArray())
        {
            changed.insert (c["name"].toString());
            EXPECT_GT ((double) c["difference"], 10) << "inverted";
        }

        for (int i = 0; i < group->getNumMembers(); ++i)
            members.insert (group->getMember (i)->getSchemeColour().name.toString());

        EXPECT_EQ (changed, members);

        for (const auto* list : { "added", "removed", "moved" })
            EXPECT_EQ (json["colours"][list].size(), 0) << list;
        for (const auto* list : { "added", "removed", "renamed", "members" })
            EXPECT_EQ (json["groups"][list].size(), 0) << list;
    }

    const auto same = run ({ "diff", sample, sample });
    EXPECT_EQ (same.exitCode, 0);
    EXPECT_EQ (same.out, "");
}

TEST (CliDiff, GroupChangesTextconvAndRefusals)
{
    TempFolder temp;
    const auto after = temp.path ("After.calvastrascheme");
    ASSERT_EQ (run ({ "group", sample, "rename", "Accents", "Highlights", "-o", after }).exitCode, 0);
    ASSERT_EQ (run ({ "group", after, "add-colours", "Clips", "Text", "--in-place" }).exitCode, 0);
    ASSERT_EQ (run ({ "group", after, "add", "Empty", "--in-place" }).exitCode, 0);

    const auto text = run ({ "diff", sample, after });
    EXPECT_EQ (text.exitCode, 1);
    EXPECT_EQ (text.out, "group added: Empty\ngroup renamed: Accents -> Highlights\ngroup Clips: member added: Text\n");

    // Only the order of a group's members differs: nothing to list, yet not the same.
    const auto reordered = temp.write ("Reordered.calvastrascheme", sourceRoot.getChildFile ("docs/sample.calvastrascheme").loadFileAsString().replace ("\"Clip Audio\"/>", "\"@\"/>").replace ("\"Clip MIDI\"/>", "\"Clip Audio\"/>").replace ("\"@\"/>", "\"Clip MIDI\"/>"));
    const auto order = run ({ "diff", sample, reordered.getFullPathName() });
    EXPECT_EQ (order.exitCode, 1);
    EXPECT_TRUE (order.out.startsWith ("other: ")) << order.out;

    const auto listing = run ({ "diff", "--textconv", sample });
    EXPECT_EQ (listing.exitCode, 0) << listing.err;
    const auto lines = juce::StringArray::fromLines (listing.out.trimEnd());
    ASSERT_EQ (lines.size(), 24 + 3);
    EXPECT_EQ (lines[0], "colour ff2b2f36 \"Window Background\"");
    EXPECT_EQ (lines[24], "group \"Meters\" \"Meter Low\" \"Meter Mid\" \"Meter High\" \"Meter Clip\"");
    EXPECT_EQ (run ({ "diff", "--textconv", sample }).out, listing.out);

    const auto notScheme = temp.write ("Notes.txt", "not a scheme");
    const auto refused = run ({ "diff", sample, notScheme.getFullPathName() });
    EXPECT_EQ (refused.exitCode, 2);
    EXPECT_TRUE (refused.err.contains ("Notes.txt: ")) << refused.err;
    EXPECT_EQ (refused.out, "");
    EXPECT_EQ (run ({ "diff", sample }).exitCode, 2);
    EXPECT_EQ (run ({ "diff", "--textconv", sample, sample }).exitCode, 2);
    EXPECT_EQ (run ({ "diff", "--textconv", notScheme.getFullPathName() }).exitCode, 2);
}

TEST (CliPalette, ExportThenImportRoundTripsEveryShippedScheme)
{
    TempFolder temp;
    const auto schemes = shippedSchemes();
    ASSERT_GE (schemes.size(), 6);

    for (const auto& scheme : schemes)
    {
        // What Save writes of the scheme.
        const auto saved = temp.copy (scheme, "Saved.calvastrascheme");
        ASSERT_EQ (run ({ "format", saved.getFullPathName() }).exitCode, 0);

        for (const auto* format : { "gpl", "css", "tokens" })
        {
            SCOPED_TRACE (scheme.getFileName() + " " + format);
            const auto palette = temp.path (juce::String ("Palette.") + format);
            const auto exported = run ({ "export", scheme.getFullPathName(), "--to", format, "-o", palette });
            ASSERT_EQ (exported.exitCode, 0) << exported.err;
            EXPECT_EQ (run ({ "export", scheme.getFullPathName(), "--to", format }).out, juce::File (palette).loadFileAsString()) << "stdout gets the same";

            // Into the scheme with every colour changed (the alpha too where the format holds it),
            // so that only matching names bring the colours back.
            const auto keepsAlpha = juce::String (format) == "gpl";
            const auto scrambled = readModel (scheme);
            for (int i = 0; i < scrambled->getNumColours(); ++i)
                scrambled->getColour (i)->colour = juce::Colour (scrambled->getColour (i)->colour.getARGB() ^ (keepsAlpha ? 0x00a5a5a5u : 0xa5a5a5a5u));
            const auto other = temp.folder.getChildFile ("Scrambled.calvastrascheme");
            ASSERT_EQ (SchemeFile::writeSchemeFile (other, *scrambled).outcome, AtomicFileReplace::Outcome::replaced);

            const auto out = temp.path ("Out.calvastrascheme");
            const auto imported = run ({ "import", other.getFullPathName(), "--from", palette, "-o", out });
            ASSERT_EQ (imported.exitCode, 0) << imported.err;
            EXPECT_EQ (imported.out.contains ("holds no alpha; each colour keeps the scheme's alpha"), keepsAlpha) << imported.out;
            EXPECT_TRUE (imported.out.endsWith (juce::String (scrambled->getNumColours()) + " changed, 0 the same, 0 matched no colour\n")) << imported.out;

            juce::MemoryBlock expected, got;
            saved.loadFileAsData (expected);
            juce::File (out).loadFileAsData (got);
            EXPECT_TRUE (expected == got) << juce::File (out).loadFileAsString();
        }
    }
}

TEST (CliPalette, ImportTakesMatchingNamesAndNothingElse)
{
    TempFolder temp;
    const auto scheme = temp.copy (juce::File (sample), "Mine.calvastrascheme");
    const auto before = scheme.loadFileAsString();
    const auto palette = temp.write ("Picked.gpl", "GIMP Palette\nName: Picked\n#\n255   0   0\tPlayhead\n  0 255   0\tplayhead\n  1   2   3\tNot here\n");

    const auto result = run ({ "import", scheme.getFullPathName(), "--from", palette.getFullPathName(), "--in-place" });
    EXPECT_EQ (result.exitCode, 0) << result.err;
    const auto from = palette.getFullPathName();
    EXPECT_EQ (result.out, from + ": a GIMP palette holds no alpha; each colour keeps the scheme's alpha\n" + from + ": no colour named \"playhead\" in the scheme\n" + from + ": no colour named \"Not here\" in the scheme\n" + "1 changed, 0 the same, 2 matched no colour\n");
    EXPECT_EQ (scheme.loadFileAsString(), before.replace ("<COLOUR name=\"Playhead\" colour=\"ffff5a4f\"/>", "<COLOUR name=\"Playhead\" colour=\"ffff0000\"/>"));

    // CSS holds alpha: a translucent loop region stays translucent only if the palette says so.
    const auto css = temp.write ("Picked.css", ":root { --Loop\\ Region: #3d7bd9; --Marker: #01020380; --gap: 4px; }");
    const auto fromCss = run ({ "import", scheme.getFullPathName(), "--from", css.getFullPathName(), "--in-place" });
    EXPECT_EQ (fromCss.exitCode, 0) << fromCss.err;
    EXPECT_TRUE (fromCss.out.contains ("\"gap\" is no colour; skipped")) << fromCss.out;
    EXPECT_TRUE (scheme.loadFileAsString().contains ("<COLOUR name=\"Loop Region\" colour=\"ff3d7bd9\"/>"));
    EXPECT_TRUE (scheme.loadFileAsString().contains ("<COLOUR name=\"Marker\" colour=\"80010203\"/>"));
    EXPECT_TRUE (scheme.loadFileAsString().contains ("<COLOURGROUP name=\"Accents\">")) << "groups untouched";
}

TEST (CliPalette, BadInputIsRefusedAndNothingWritten)
{
    TempFolder temp;
    const auto scheme = temp.copy (juce::File (sample), "Mine.calvastrascheme");
    const auto before = scheme.loadFileAsString();
    const auto out = temp.folder.getChildFile ("Out.calvastrascheme");

    juce::MemoryBlock binary;
    binary.append ("\x89PNG\r\n\x1a\n\0\0", 10);
    const auto picture = temp.folder.getChildFile ("Picture.png");
    picture.replaceWithData (binary.getData(), binary.getSize());

    const std::vector<std::pair<juce::String, juce::String>> cases {
        { temp.path ("Missing.gpl"), "Missing.gpl: no such file" },
        { temp.write ("Empty.css", "").getFullPathName(), "Empty.css: is empty, so no palette" },
        { temp.folder.getFullPathName(), ": is a folder, not a file" },
        { picture.getFullPathName(), "Picture.png: is no text in UTF-8, so no palette" },
        { temp.write ("Short.gpl", "GIMP Palette\n1 2\tx\n").getFullPathName(), "Short.gpl: line 2: expected red, green and blue from 0 to 255, then a name" },
        { temp.write ("Bad.json", "{ \"a\": { \"$type\": \"color\", \"$value\": 3 } }").getFullPathName(), "Bad.json: the token \"a\" is a colour token whose value is no colour" },
        { temp.write ("Words.txt", "just words").getFullPathName(), "Words.txt: is no GIMP palette, CSS custom properties or design tokens file" },
    };

    for (const auto& [path, message] : cases)
    {
        SCOPED_TRACE (path);
        const auto toNew = run ({ "import", scheme.getFullPathName(), "--from", path, "-o", out.getFullPathName() });
        EXPECT_EQ (toNew.exitCode, 2);
        EXPECT_TRUE (toNew.err.contains (message)) << toNew.err;
        EXPECT_FALSE (out.exists());
        EXPECT_EQ (run ({ "import", scheme.getFullPathName(), "--from", path, "--in-place" }).exitCode, 2);
        EXPECT_EQ (scheme.loadFileAsString(), before);
    }

    const auto palette = temp.write ("Ok.css", ":root { --Text: #fff; }").getFullPathName();
    EXPECT_EQ (run ({ "import", scheme.getFullPathName(), "--from", palette }).exitCode, 2) << "no destination";
    EXPECT_EQ (run ({ "import", scheme.getFullPathName(), "--from", palette, "-o", picture.getFullPathName() }).exitCode, 2) << "a picture is no scheme to replace";

    // Export neither replaces a scheme nor takes unknown formats.
    const auto overScheme = run ({ "export", sample, "--to", "css", "-o", scheme.getFullPathName() });
    EXPECT_EQ (overScheme.exitCode, 2);
    EXPECT_TRUE (overScheme.err.contains ("Mine.calvastrascheme: not overwritten, it is a scheme file")) << overScheme.err;
    EXPECT_EQ (scheme.loadFileAsString(), before);
    EXPECT_EQ (run ({ "export", sample, "--to", "ase" }).exitCode, 2);
    EXPECT_EQ (run ({ "export", temp.path ("Missing.calvastrascheme"), "--to", "gpl" }).exitCode, 2);
}
