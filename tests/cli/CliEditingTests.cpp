// tintwright-cli as a process: tweak and group, the subcommands that write schemes.

#include "cli/CliProcess.h"
#include "schemefile/SchemeFile.h"
#include "support/model/TempFolder.h"

#include <gtest/gtest.h>

using CliProcess::run;
using testkit::bytesOf;
using testkit::TempFolder;

namespace
{
const char* schemeText = R"(<?xml version="1.0" encoding="UTF-8"?>
<COLOURS>
  <COLOUR name="Grey" colour="ff808080"/>
  <COLOUR name="Red" colour="ffff0000"/>
  <COLOUR name="Window Background" colour="ff202020"/>
  <COLOUR name="Panel Background" colour="ff303030"/>
  <COLOUR name="Text" colour="ffe0e0e0"/>
  <COLOURGROUPS>
    <COLOURGROUP name="Tweak me">
      <COLOUR name="Grey"/>
      <COLOUR name="Red"/>
    </COLOURGROUP>
    <COLOURGROUP name="Twice">
      <COLOUR name="Grey"/>
    </COLOURGROUP>
    <COLOURGROUP name="Twice">
      <COLOUR name="Red"/>
    </COLOURGROUP>
  </COLOURGROUPS>
</COLOURS>
)";

struct Scheme
{
    explicit Scheme (const juce::File& file) { read = SchemeFile::readSchemeFile (file, model); }

    juce::String colourOf (const juce::String& name) const
    {
        auto* colour = model.findColourByName (ColourName (name));
        return colour != nullptr ? juce::String::toHexString ((juce::int64) colour->colour.getARGB()) : juce::String ("none");
    }

    juce::String groups() const
    {
        juce::StringArray lines;
        for (auto* g : model.getColourGroups())
        {
            juce::StringArray members;
            for (int i = 0; i < g->getNumMembers(); ++i)
                members.add (g->getMember (i)->getSchemeColour().name.toString());
            lines.add (g->getName() + ": " + members.joinIntoString (", "));
        }
        return lines.joinIntoString ("; ");
    }

    SchemeModel model;
    bool read = false;
};
} // namespace

TEST (CliTweak, AppliesTheGroupTweakToTheOutputOnly)
{
    TempFolder temp;
    const auto file = temp.write ("Scheme.calvastrascheme", schemeText);
    const auto before = bytesOf (file);
    const auto out = temp.path ("Out.calvastrascheme");

    // Red offset 255 on 0xff808080 gives 0xffff8080; red stays red.
    const auto result = run ({ "tweak", file.getFullPathName(), "--group", "Tweak me", "--red", "255", "-o", out });
    EXPECT_EQ (result.exitCode, 0) << result.err;
    EXPECT_EQ (bytesOf (file), before);

    const Scheme tweaked { juce::File (out) };
    ASSERT_TRUE (tweaked.read);
    EXPECT_EQ (tweaked.colourOf ("Grey"), "ffff8080");
    EXPECT_EQ (tweaked.colourOf ("Red"), "ffff0000");
    EXPECT_EQ (tweaked.colourOf ("Text"), "ffe0e0e0") << "colours outside the group stay";

    // Hue shift 0.25 turns pure red into 0xff7fff00 and leaves grey alone.
    EXPECT_EQ (run ({ "tweak", file.getFullPathName(), "-g", "Tweak me", "--hue", "0.25", "--in-place" }).exitCode, 0);
    const Scheme inPlace (file);
    EXPECT_EQ (inPlace.colourOf ("Red"), "ff7fff00");
    EXPECT_EQ (inPlace.colourOf ("Grey"), "ff808080");
}

TEST (CliTweak, DryRunPrintsStoredAndNewAndWritesNothing)
{
    TempFolder temp;
    const auto file = temp.write ("Scheme.calvastrascheme", schemeText);
    const auto before = bytesOf (file);

    const auto invert = run ({ "tweak", file.getFullPathName(), "--group", "Tweak me", "--invert", "--dry-run" });
    EXPECT_EQ (invert.exitCode, 0) << invert.err;
    EXPECT_EQ (invert.out, "ff808080 ff7f7f7f Grey\nffff0000 ff00ffff Red\n");

    const auto forced = run ({ "tweak", file.getFullPathName(), "--group", "Tweak me", "--force-hue", "0.5", "--dry-run", "-o", temp.path ("Out.calvastrascheme") });
    EXPECT_EQ (forced.out, "ff808080 ff808080 Grey\nffff0000 ff00ffff Red\n");
    EXPECT_FALSE (temp.folder.getChildFile ("Out.calvastrascheme").exists());
    EXPECT_EQ (bytesOf (file), before);
}

TEST (CliTweak, RefusesWhatTheControlsCannotDo)
{
    TempFolder temp;
    const auto file = temp.write ("Scheme.calvastrascheme", schemeText);
    const auto before = bytesOf (file);
    const auto path = file.getFullPathName();

    struct Case
    {
        juce::StringArray options;
        juce::String message;
    };

    const std::vector<Case> cases {
        { { "--red", "256" }, "-255 to 255" },
        { { "--green", "1.5" }, "whole number" },
        { { "--blue", "ten" }, "not a number" },
        { { "--hue", "0.6" }, "-0.5 to 0.5" },
        { { "--saturation", "-0.1" }, "0 to 2" },
        { { "--brightness", "nan" }, "not a number" },
        { { "--contrast", "1.01" }, "0 to 1" },
        { { "--contrast-centre", "-1" }, "0 to 1" },
        { { "--force-hue", "1.5" }, "0 to 1" },
        { { "--invert", "--red", "1" }, "replace the whole tweak" },
        { { "--invert", "--force-hue", "0.2" }, "replace the whole tweak" },
        { {}, "no tweak given" },
    };

    for (const auto& c : cases)
    {
        juce::StringArray command { "tweak", path, "--group", "Tweak me", "--in-place" };
        command.addArray (c.options);
        SCOPED_TRACE (command.joinIntoString (" "));

        const auto result = run (command);
        EXPECT_EQ (result.exitCode, 2);
        EXPECT_TRUE (result.err.contains (c.message)) << result.err;
    }

    const auto noGroup = run ({ "tweak", path, "--group", "Nobody", "--red", "1", "--in-place" });
    EXPECT_EQ (noGroup.exitCode, 2);
    EXPECT_TRUE (noGroup.err.contains ("no group named \"Nobody\""));

    const auto nowhere = run ({ "tweak", path, "--group", "Tweak me", "--red", "1" });
    EXPECT_EQ (nowhere.exitCode, 2);
    EXPECT_TRUE (nowhere.err.contains ("--in-place"));

    EXPECT_EQ (bytesOf (file), before);
}

TEST (CliTweak, TheFirstOfGroupsSharingANameIsMeantAndStderrSaysSo)
{
    TempFolder temp;
    const auto file = temp.write ("Scheme.calvastrascheme", schemeText);

    const auto result = run ({ "tweak", file.getFullPathName(), "--group", "Twice", "--red", "-255", "--in-place" });
    EXPECT_EQ (result.exitCode, 0);
    EXPECT_TRUE (result.err.contains ("2 groups are named \"Twice\"; the first is meant")) << result.err;

    const Scheme tweaked (file);
    EXPECT_EQ (tweaked.colourOf ("Grey"), "ff008080") << "the first group's member";
    EXPECT_EQ (tweaked.colourOf ("Red"), "ffff0000") << "the second group's member stays";
}

TEST (CliGroup, AddRemoveRenameAndAddColoursByPattern)
{
    TempFolder temp;
    const auto file = temp.write ("Scheme.calvastrascheme", schemeText);
    const auto before = bytesOf (file);
    const auto path = file.getFullPathName();
    const auto out = temp.path ("Out.calvastrascheme");

    // Members in file order, whatever the order of the patterns.
    auto result = run ({ "group", path, "add", "Backs", "--colours", "Text", "*Background", "-o", out });
    ASSERT_EQ (result.exitCode, 0) << result.err;
    EXPECT_EQ (bytesOf (file), before);
    EXPECT_EQ (Scheme (juce::File (out)).groups(), "Tweak me: Grey, Red; Twice: Grey; Twice: Red; Backs: Window Background, Panel Background, Text");

    result = run ({ "group", out, "rename", "Backs", "Fronts", "--in-place" });
    EXPECT_EQ (result.exitCode, 0) << result.err;
    result = run ({ "group", out, "add-colours", "Fronts", "Gr?y", "Nothing*", "--in-place" });
    EXPECT_EQ (result.exitCode, 0) << result.err;
    EXPECT_TRUE (result.err.contains ("no colour name matches \"Nothing*\"")) << result.err;
    result = run ({ "group", out, "remove", "Twice", "--in-place" });
    EXPECT_EQ (result.exitCode, 0) << result.err;
    EXPECT_TRUE (result.err.contains ("the first is meant"));
    EXPECT_EQ (Scheme (juce::File (out)).groups(), "Tweak me: Grey, Red; Twice: Red; Fronts: Window Background, Panel Background, Text, Grey");

    const auto outBefore = bytesOf (juce::File (out));
    for (const auto& refused : std::vector<juce::StringArray> {
             { "group", out, "add", "", "--in-place" },
             { "group", out, "rename", "Fronts", "", "--in-place" },
             { "group", out, "remove", "Nobody", "--in-place" },
             { "group", out, "add-colours", "Nobody", "*", "--in-place" },
             { "group", out, "add", "X" },
             { "group", out, "add", "X", "-o", out, "--in-place" },
             { "group", out, "--in-place" } })
    {
        SCOPED_TRACE (refused.joinIntoString (" "));
        const auto r = run (refused);
        EXPECT_EQ (r.exitCode, 2);
        EXPECT_TRUE (r.err.isNotEmpty());
    }
    EXPECT_EQ (bytesOf (juce::File (out)), outBefore);
}

TEST (CliGroup, ColoursSharingANameJoinAsTheFirstAndTheSavePassesStrictCheck)
{
    TempFolder temp;
    const auto out = temp.write ("Same.calvastrascheme",
                                 R"(<COLOURS><COLOUR name="Same" colour="ff111111"/><COLOUR name="Same" colour="ff222222"/>)"
                                 R"(<COLOURGROUPS><COLOURGROUP name="G"><COLOUR name="Same"/></COLOURGROUP></COLOURGROUPS></COLOURS>)")
                         .getFullPathName();

    // Both records match; the group holds the first, once, as the file can say.
    for (const auto& edit : std::vector<juce::StringArray> { { "group", out, "add-colours", "G", "Same", "--in-place" },
                                                             { "group", out, "add", "New", "--colours", "S*", "--in-place" } })
    {
        SCOPED_TRACE (edit.joinIntoString (" "));
        auto result = run (edit);
        ASSERT_EQ (result.exitCode, 0) << result.err;

        // Only the repeated colour name itself is left to warn about.
        result = run ({ "check", "--json", out });
        EXPECT_TRUE (result.out.contains ("\"kind\":\"name-repeated\"")) << result.out;
        EXPECT_FALSE (result.out.contains ("member-")) << result.out;
    }

    const Scheme saved { juce::File (out) };
    EXPECT_EQ (saved.groups(), "G: Same; New: Same");
    EXPECT_EQ (&saved.model.getGroup (1)->getMember (0)->getSchemeColour(), saved.model.getColour (0));
}

TEST (CliGroup, NamesReachTheProgramAsTheyWereGiven)
{
    // Each name as one argument, whatever a command line would make of it:
    // blanks, quotes, backslashes before a quote and at the end, non-ASCII.
    const juce::StringArray names { "two words",
                                    "say \"hi\"",
                                    "back\\slash\\",
                                    "\\\"\\",
                                    "tab\tand  spaces ",
                                    juce::String::fromUTF8 ("Gr\xc3\xbcn \xe2\x9c\x93") };
    TempFolder temp;
    const auto out = temp.path ("Out.calvastrascheme");
    temp.write ("Out.calvastrascheme", schemeText);

    for (const auto& name : names)
    {
        const auto result = run ({ "group", out, "add", name, "--in-place" });
        EXPECT_EQ (result.exitCode, 0) << name << ": " << result.err;
    }

    EXPECT_EQ (Scheme (juce::File (out)).groups(), "Tweak me: Grey, Red; Twice: Grey; Twice: Red; " + names.joinIntoString (": ; ") + ": ");
}

TEST (CliGroup, PatternsAreShellStyleOnWholeNames)
{
    TempFolder temp;
    const auto path = temp.write ("Scheme.calvastrascheme", schemeText).getFullPathName();
    const auto out = temp.path ("Out.calvastrascheme");

    const std::vector<std::pair<juce::String, juce::String>> cases {
        { "*", "Grey, Red, Window Background, Panel Background, Text" },
        { "[GR]*", "Grey, Red" },
        { "[!GRT]*", "Window Background, Panel Background" },
        { "[a-z]*", "" },
        { "*x?", "Text" },
        { "Gr?y", "Grey" },
        { "Red*", "Red" },
        { "*d*d", "Window Background" },
        { "grey", "" },
        { "[Broken", "" },
    };

    for (const auto& [pattern, members] : cases)
    {
        SCOPED_TRACE (pattern);
        ASSERT_EQ (run ({ "group", path, "add", "P", "--colours", pattern, "-o", out }).exitCode, 0);
        EXPECT_EQ (Scheme { juce::File (out) }.groups().fromLastOccurrenceOf ("P: ", false, false), members);
        juce::File (out).deleteFile();
    }
}

TEST (CliTweak, AFileThatCannotBeWrittenIsLeftAsItWasAndTheMessageSaysWhy)
{
    TempFolder temp;
    const auto file = temp.write ("Scheme.calvastrascheme", schemeText);
    const auto before = bytesOf (file);
    ASSERT_TRUE (file.setReadOnly (true));

    const auto result = run ({ "tweak", file.getFullPathName(), "--group", "Tweak me", "--red", "9", "--in-place" });
    EXPECT_EQ (result.exitCode, 2);
    EXPECT_TRUE (result.err.contains (file.getFullPathName() + ": the file is read-only")) << result.err;
    EXPECT_EQ (bytesOf (file), before);

    file.setReadOnly (false);

    // A folder that is not there: the system's words for why, and the step.
    const auto missing = temp.folder.getChildFile ("Missing").getChildFile ("Out.calvastrascheme").getFullPathName();
    const auto refused = run ({ "tweak", file.getFullPathName(), "--group", "Tweak me", "--red", "9", "-o", missing });
    EXPECT_EQ (refused.exitCode, 2);
    const auto why = refused.err.fromFirstOccurrenceOf (missing + ": could not be written: ", false, false);
    EXPECT_TRUE (why.endsWith (" (while creating the temporary file); it was left as it was\n")) << refused.err;
    EXPECT_FALSE (why.startsWith (" (") || why.startsWith ("the system gave no reason")) << refused.err;
}

TEST (CliGroup, ANameThatIsNotUnicodeIsRefusedAndAFilesOwnNamePassesAsItself)
{
    TempFolder temp;
    const auto lone = juce::String::fromUTF8 ("Lone \xed\xa0\x80 mark"); // as a file's &#xD800; reads
    const auto file = temp.write ("Scheme.calvastrascheme",
                                  juce::String (schemeText).replace ("\"Tweak me\"", "\"Lone &#xD800; mark\""));
    const auto path = file.getFullPathName();
    ASSERT_EQ (run ({ "format", path }).exitCode, 0); // as Save writes it, so that an unchanged scheme is the same bytes
    const auto before = bytesOf (file);
    ASSERT_NE (before.find ("&#55296;"), std::string::npos);

    // The name it has, given back unchanged: written again exactly as it was.
    auto result = run ({ "group", path, "rename", lone, lone, "--in-place" });
    EXPECT_EQ (result.exitCode, 0) << result.err;
    EXPECT_EQ (bytesOf (file), before);

    for (const auto& refused : std::vector<juce::StringArray> {
             { "group", path, "rename", lone, lone + "s", "--in-place" },
             { "group", path, "rename", lone, juce::String::fromUTF8 ("a\xed\xb0\x80") + "b", "--in-place" },
             { "group", path, "add", lone + "s", "--in-place" } })
    {
        SCOPED_TRACE (refused.joinIntoString (" "));
        result = run (refused);
        EXPECT_EQ (result.exitCode, 2);
        EXPECT_TRUE (result.err.contains ("lone surrogate")) << result.err;
    }
    EXPECT_EQ (bytesOf (file), before);
}
