// tintwright-cli as a process: the program's options, check, list and format,
// and hostile or missing files refused by every subcommand.

#include "cli/CliProcess.h"
#include "schemefile/SchemeFile.h"
#include "schemefile/SchemeWriter.h"
#include "support/model/TempFolder.h"

#include <gtest/gtest.h>

using CliProcess::run;
using testkit::bytesOf;
using testkit::TempFolder;

namespace
{
const juce::File sourceRoot { TINTWRIGHT_SOURCE_DIR };

/** Every scheme that comes with the sources. */
juce::Array<juce::File> shippedSchemes()
{
    juce::Array<juce::File> files;
    for (auto folder : { "docs", "tests/data", "tests/e2e/data" })
        files.addArray (sourceRoot.getChildFile (folder).findChildFiles (juce::File::findFiles, false, "*.calvastrascheme"));
    return files;
}

bool readsAsScheme (const juce::File& file)
{
    SchemeModel model;
    return SchemeFile::readSchemeFile (file, model);
}

// One of each warning check gives, and nothing else.
const char* warningsText = R"(<?xml version="1.0" encoding="UTF-8"?>
<COLOURS>
  <COLOUR name="Back" colour="FF202020"/>
  <COLOUR name="Text" colour="ffe0e0e0"/>
  <COLOUR name="Text" colour="ff000000"/>
  <COLOURGROUPS>
    <COLOURGROUP name="">
      <COLOUR name="Back"/>
      <COLOUR name="Gone"/>
      <COLOUR name="Back"/>
    </COLOURGROUP>
  </COLOURGROUPS>
</COLOURS>
)";
} // namespace

TEST (CliProgram, VersionHelpAndBadUsage)
{
    const auto version = run ({ "--version" });
    EXPECT_EQ (version.exitCode, 0);
    EXPECT_EQ (version.out.trim(), "tintwright-cli " TINTWRIGHT_VERSION);

    for (auto command : { "check", "list", "format", "tweak", "group", "contrast", "render", "vision", "diff", "export", "import" })
    {
        SCOPED_TRACE (command);
        const auto help = run ({ command, "--help" });
        EXPECT_EQ (help.exitCode, 0);
        EXPECT_TRUE (help.out.contains ("Usage: tintwright-cli " + juce::String (command)));
    }

    const auto none = run ({});
    EXPECT_EQ (none.exitCode, 2);
    EXPECT_TRUE (none.err.isNotEmpty());

    const auto unknown = run ({ "list", "--colourful", "x.calvastrascheme" });
    EXPECT_EQ (unknown.exitCode, 2);
    EXPECT_TRUE (unknown.err.contains ("--colourful"));
}

TEST (CliCheck, FindsEachWarningInAFileMadeForIt)
{
    TempFolder temp;
    const auto file = temp.write ("Warnings.calvastrascheme", warningsText);
    const auto before = bytesOf (file);

    const auto result = run ({ "check", "--json", file.getFullPathName() });
    EXPECT_EQ (result.exitCode, 0) << "warnings alone are no failure without --strict";

    const auto report = juce::JSON::parse (result.out);
    EXPECT_EQ ((int) report["colours"], 3);
    EXPECT_EQ ((int) report["groups"], 1);
    EXPECT_TRUE ((bool) report["saveChangesBytes"]);

    juce::StringArray kinds;
    for (const auto& w : *report["warnings"].getArray())
        kinds.add (w["kind"].toString());

    kinds.sort (false);
    EXPECT_EQ (kinds.joinIntoString (" "), "colour-rewritten group-name-empty member-repeated member-without-colour name-repeated");
    EXPECT_TRUE (result.out.contains ("Gone")) << result.out;
    EXPECT_TRUE (result.out.contains ("\\\"FF202020\\\"")) << result.out;

    EXPECT_EQ (run ({ "check", "--strict", file.getFullPathName() }).exitCode, 1);
    EXPECT_EQ (bytesOf (file), before) << "check changes nothing";

    // The text form says the same, a line each.
    const auto text = run ({ "check", file.getFullPathName() });
    EXPECT_TRUE (text.out.contains ("3 colours, 1 group, 5 warnings; saving would change the file's bytes")) << text.out;
    EXPECT_EQ (juce::StringArray::fromLines (text.out.trim()).size(), 6);
}

TEST (CliCheck, ALongNameFullOfLineBreaksAndEscapesIsReportedWhole)
{
    // 256 KB of CR LF with quotes, a backslash, a control character and
    // non-ASCII between; the rewritten colour value makes check quote the name.
    juce::MemoryOutputStream text;
    for (int i = 0; i < 44000; ++i)
        text << "\r\n\r\n\r\n"
             << (i % 200 == 0 ? "\"\\\x01\xc3\xa9" : "");
    const auto name = text.toUTF8();

    SchemeModel model;
    model.appendColour (std::make_unique<SchemeColour> (ColourName (name), juce::Colour (0xff112233)));
    const auto bytes = juce::String (SchemeWriter::write (model)).replace ("\"ff112233\"", "\"#FF112233\"");
    TempFolder temp;
    const auto file = temp.write ("Long.calvastrascheme", bytes);

    for (const auto& command : std::vector<juce::StringArray> { { "check", "--json", file.getFullPathName() },
                                                                { "check", file.getFullPathName() } })
    {
        SCOPED_TRACE (command[1]);
        const auto result = run (command);
        ASSERT_EQ (result.exitCode, 0) << result.err;

        // The message quotes the name as JSON: read back, it is the name.
        auto message = result.out;
        if (command[1] == "--json")
        {
            const auto report = juce::JSON::parse (result.out);
            ASSERT_EQ (report["warnings"].size(), 1);
            message = report["warnings"][0]["message"].toString();
        }

        const auto quoted = message.fromFirstOccurrenceOf ("colour ", false, false).upToLastOccurrenceOf (" value ", false, false);
        EXPECT_EQ (juce::JSON::fromString (quoted).toString(), name);
        EXPECT_TRUE (message.contains ("value \"#FF112233\" is saved as \"ff112233\"")) << message.substring (message.length() - 100);
    }
}

TEST (CliCheck, CleanFilesPassStrictAndRefusedOnesExitTwo)
{
    TempFolder temp;
    const auto good = temp.copy (sourceRoot.getChildFile ("docs/sample.calvastrascheme"), "Good.calvastrascheme");
    const auto bad = temp.write ("Bad.calvastrascheme", "<COLOURS><COLOUR name='x'>");

    const auto clean = run ({ "check", "--strict", "--json", good.getFullPathName() });
    EXPECT_EQ (clean.exitCode, 0) << clean.out;
    const auto report = juce::JSON::parse (clean.out);
    EXPECT_EQ (report["warnings"].size(), 0);
    EXPECT_FALSE ((bool) report["saveChangesBytes"]);

    const auto both = run ({ "check", "--json", good.getFullPathName(), bad.getFullPathName() });
    EXPECT_EQ (both.exitCode, 2);
    const auto lines = juce::StringArray::fromLines (both.out.trim());
    ASSERT_EQ (lines.size(), 2) << "one JSON object a file";
    EXPECT_EQ (juce::JSON::parse (lines[0])["colours"].toString(), "24");
    EXPECT_TRUE (juce::JSON::parse (lines[1])["refused"].toString().contains ("no valid XML"));
    EXPECT_TRUE (both.err.contains (bad.getFullPathName())) << both.err;
}

TEST (CliList, ColoursAndGroupsInFileOrderAsTextAndJson)
{
    TempFolder temp;
    // Names that JSON must escape: a quote, a backslash, a line feed, a tab and non-ASCII.
    const auto file = temp.write ("List.calvastrascheme", juce::String::fromUTF8 (R"(<?xml version="1.0" encoding="UTF-8"?>
<COLOURS>
  <COLOUR name="Back" colour="ff202020"/>
  <COLOUR name="Say &quot;hi&quot; \ now&#10;&#9;é" colour="c0ffee"/>
  <COLOURGROUPS>
    <COLOURGROUP name="Darks">
      <COLOUR name="Back"/>
    </COLOURGROUP>
  </COLOURGROUPS>
</COLOURS>
)"));

    const auto text = run ({ "list", file.getFullPathName() });
    EXPECT_EQ (text.exitCode, 0);
    EXPECT_TRUE (text.out.startsWith ("ff202020 Back\n00c0ffee Say \"hi\"")) << text.out;
    EXPECT_FALSE (text.out.contains ("Darks")) << "groups only with --groups";

    const auto json = run ({ "list", "--groups", "--json", file.getFullPathName() });
    EXPECT_EQ (json.exitCode, 0);
    EXPECT_EQ (json.out.trim(),
               juce::String::fromUTF8 (R"({"colours":[{"name":"Back","colour":"ff202020"},)"
                                       R"({"name":"Say \"hi\" \\ now\n\té","colour":"00c0ffee"}],)"
                                       R"("groups":[{"name":"Darks","members":["Back"]}]})"));

    const auto parsed = juce::JSON::parse (json.out);
    EXPECT_EQ (parsed["colours"][1]["name"].toString(), juce::String::fromUTF8 ("Say \"hi\" \\ now\n\té"));
}

TEST (CliFormat, WritesWhatSaveWritesAndCheckPassesAfterwards)
{
    TempFolder temp;
    const auto file = temp.write ("Format.calvastrascheme", warningsText);
    const auto before = bytesOf (file);

    const auto dry = run ({ "format", "--check", file.getFullPathName() });
    EXPECT_EQ (dry.exitCode, 1);
    EXPECT_EQ (bytesOf (file), before) << "--check changes nothing";

    EXPECT_EQ (run ({ "format", file.getFullPathName() }).exitCode, 0);

    SchemeModel model;
    ASSERT_TRUE (SchemeFile::readSchemeFile (file, model));
    const auto saved = SchemeWriter::write (model);
    EXPECT_EQ (bytesOf (file), saved);
    EXPECT_NE (bytesOf (file).find ("colour=\"ff202020\""), std::string::npos);

    EXPECT_EQ (run ({ "format", "--check", file.getFullPathName() }).exitCode, 0);
}

TEST (CliFiles, EverySubcommandWorksOnTheShippedSchemes)
{
    TempFolder temp;

    for (const auto& source : shippedSchemes())
    {
        SCOPED_TRACE (source.getFullPathName());
        const auto readable = readsAsScheme (source);
        const auto file = temp.copy (source, "Copy.calvastrascheme");
        const auto path = file.getFullPathName();
        const auto before = bytesOf (file);

        SchemeModel model;
        SchemeFile::readSchemeFile (file, model);
        const auto* group = model.getGroup (0);
        const auto* colour = model.getColour (0);

        std::vector<juce::StringArray> commands {
            { "check", path },
            { "list", "--groups", path },
            { "format", "--check", path },
            { "group", path, "add", "CLI group", "--colours", "*", "-o", temp.path ("Grouped.calvastrascheme") },
            { "render", path, "-o", temp.path ("Sheet.png") },
            { "diff", path, path },
            { "diff", "--textconv", path },
            { "export", path, "--to", "tokens" },
            { "import", path, "--from", temp.write ("Palette.css", ":root { --Text: #123; }").getFullPathName(), "-o", temp.path ("Imported.calvastrascheme") },
            { "vision", path, "--min-difference", "0" }, // nothing is below 0, so it passes
        };

        if (group != nullptr && group->getName().isNotEmpty())
            commands.push_back ({ "tweak", path, "--group", group->getName(), "--hue", "0.1", "-o", temp.path ("Tweaked.calvastrascheme") });
        if (colour != nullptr)
            commands.push_back ({ "contrast", path, "--pair", colour->name.toString(), colour->name.toString() });

        for (const auto& command : commands)
        {
            SCOPED_TRACE (command.joinIntoString (" "));
            const auto result = run (command);

            if (readable)
                EXPECT_TRUE (result.exitCode == 0 || (command[0] == "format" && result.exitCode == 1)) << result.err;
            else
                EXPECT_EQ (result.exitCode, 2);

            EXPECT_EQ (bytesOf (file), before) << "the input is never changed without --in-place";
        }

        if (readable)
        {
            EXPECT_TRUE (readsAsScheme (temp.folder.getChildFile ("Grouped.calvastrascheme")));
            EXPECT_TRUE (juce::ImageFileFormat::loadFrom (temp.folder.getChildFile ("Sheet.png")).isValid());
        }

        for (auto name : { "Grouped.calvastrascheme", "Sheet.png", "Tweaked.calvastrascheme" })
            temp.folder.getChildFile (name).deleteFile();
    }
}

TEST (CliFiles, HostileAndMissingFilesAreRefusedAndNothingIsWritten)
{
    TempFolder temp;
    juce::MemoryBlock garbage;
    for (int i = 0; i < 4096; ++i)
        garbage.append (&i, 1);

    std::vector<juce::File> hostile {
        temp.write ("NotXml.calvastrascheme", "colour=ff000000, not a document"),
        temp.write ("Unclosed.calvastrascheme", juce::String::repeatedString ("<a>", 60000)),
        temp.write ("Empty.calvastrascheme", ""),
        temp.write ("BadReference.calvastrascheme", "<COLOURS><COLOUR name=\"&#x110000;\" colour=\"ff000000\"/></COLOURS>"),
        temp.folder.getChildFile ("Garbage.calvastrascheme"),
        temp.folder.getChildFile ("Missing.calvastrascheme"),
        temp.folder.getChildFile ("Folder.calvastrascheme"),
        sourceRoot.getChildFile ("tests/e2e/data/not-a-scheme.calvastrascheme"),
    };
    hostile[4].replaceWithData (garbage.getData(), garbage.getSize());
    hostile[6].createDirectory();

    for (const auto& file : hostile)
    {
        SCOPED_TRACE (file.getFileName());
        const auto path = file.getFullPathName();
        const auto before = bytesOf (file);
        const auto out = temp.path ("Out.calvastrascheme");

        const std::vector<juce::StringArray> commands {
            { "check", path },
            { "list", path },
            { "format", path },
            { "format", "--check", path },
            { "tweak", path, "--group", "G", "--red", "10", "--in-place" },
            { "tweak", path, "--group", "G", "--invert", "-o", out },
            { "group", path, "add", "G", "--in-place" },
            { "group", path, "rename", "G", "H", "-o", out },
            { "contrast", path, "--pair", "A", "B" },
            { "render", path, "-o", temp.path ("Out.png") },
            { "vision", path },
            { "diff", path, sourceRoot.getChildFile ("docs/sample.calvastrascheme").getFullPathName() },
            { "diff", sourceRoot.getChildFile ("docs/sample.calvastrascheme").getFullPathName(), path },
            { "diff", "--textconv", path },
            { "export", path, "--to", "gpl", "-o", temp.path ("Out.gpl") },
            { "import", path, "--from", temp.write ("Palette.css", ":root { --Text: #123; }").getFullPathName(), "-o", out },
        };

        for (const auto& command : commands)
        {
            SCOPED_TRACE (command.joinIntoString (" "));
            const auto result = run (command);
            EXPECT_EQ (result.exitCode, 2);
            EXPECT_TRUE (result.err.contains (path)) << "the message names the file: " << result.err;
            EXPECT_EQ (bytesOf (file), before);
            EXPECT_FALSE (temp.folder.getChildFile ("Out.calvastrascheme").exists());
            EXPECT_FALSE (temp.folder.getChildFile ("Out.png").exists());
            EXPECT_FALSE (temp.folder.getChildFile ("Out.gpl").exists());
        }
    }

    // Nor is a file that is no scheme overwritten by -o.
    const auto scheme = temp.copy (sourceRoot.getChildFile ("docs/sample.calvastrascheme"), "Sample.calvastrascheme");
    const auto notes = temp.write ("Notes.txt", "not a scheme");
    const auto refusal = run ({ "group", scheme.getFullPathName(), "add", "G", "-o", notes.getFullPathName() });
    EXPECT_EQ (refusal.exitCode, 2);
    EXPECT_TRUE (refusal.err.contains (notes.getFullPathName())) << refusal.err;
    EXPECT_EQ (notes.loadFileAsString(), "not a scheme");
    EXPECT_EQ (run ({ "render", scheme.getFullPathName(), "-o", notes.getFullPathName() }).exitCode, 2);
    EXPECT_EQ (notes.loadFileAsString(), "not a scheme");
}

TEST (CliFiles, NonAsciiFileNamesAreReadWrittenAndNamedInUtf8)
{
    TempFolder temp;
    const auto name = juce::String::fromUTF8 ("Sch\xc3\xa8me \xe2\x9c\x93.calvastrascheme");
    const auto file = temp.copy (sourceRoot.getChildFile ("docs/sample.calvastrascheme"), name);
    const auto out = temp.folder.getChildFile (juce::String::fromUTF8 ("\xd0\x9d\xd0\xbe\xd0\xb2\xd1\x8b\xd0\xb9.calvastrascheme"));

    const auto result = run ({ "group", file.getFullPathName(), "add", juce::String::fromUTF8 ("Gr\xc3\xbcn"), "-o", out.getFullPathName() });
    EXPECT_EQ (result.exitCode, 0) << result.err;
    EXPECT_TRUE (readsAsScheme (out));

    const auto check = run ({ "check", "--json", out.getFullPathName() });
    EXPECT_EQ (juce::JSON::parse (check.out)["file"].toString(), out.getFullPathName());

    const auto missing = temp.folder.getChildFile (juce::String::fromUTF8 ("Fehlt \xc3\xa4.calvastrascheme")).getFullPathName();
    const auto refused = run ({ "list", missing });
    EXPECT_EQ (refused.exitCode, 2);
    EXPECT_TRUE (refused.err.contains (missing + ": no such file")) << refused.err;
}
