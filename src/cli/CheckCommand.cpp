// check: what opening a file in the window would keep, drop or rewrite.
#include "cli/CliSupport.h"
#include "cli/Commands.h"

#include "schemefile/SchemeColourText.h"
#include "schemefile/SchemeWriter.h"

#include <cstring>
#include <unordered_map>

namespace Cli
{
namespace
{
    struct Warning
    {
        juce::String kind, text;
    };

    /** Collects, while the file is read, what the model will not keep as written. */
    struct Findings : public SchemeReader::ReadObserver
    {
        std::vector<Warning> warnings;
        const SchemeModel* model = nullptr;

        void colourRead (int colourIndex, const char* colourText) override
        {
            const auto* colour = model->getColour (colourIndex);
            const auto saved = SchemeColourText::toText (colour->colour);
            const auto name = colour->name.toString();

            if (colourText == nullptr)
                warnings.push_back ({ "colour-rewritten", "colour " + jsonString (name) + " has no colour value: saving writes \"" + saved + "\"" });
            else if (saved != juce::String::fromUTF8 (colourText))
                warnings.push_back ({ "colour-rewritten", "colour " + jsonString (name) + " value " + jsonString (juce::String::fromUTF8 (colourText)) + " is saved as \"" + saved + "\"" });
        }

        void memberDropped (int groupIndex, const char* name, bool namesNoColour) override
        {
            const auto groupName = model->getGroup (groupIndex)->getName();
            const auto member = juce::String::fromUTF8 (name);

            if (namesNoColour)
                warnings.push_back ({ "member-without-colour", "group " + jsonString (groupName) + " member " + jsonString (member) + " names no colour: dropped on opening, lost at the next save" });
            else
                warnings.push_back ({ "member-repeated", "group " + jsonString (groupName) + " lists " + jsonString (member) + " more than once: saved once" });
        }
    };

    struct Report
    {
        juce::String refusedBecause;
        int colours = 0, groups = 0;
        std::vector<Warning> warnings;
        bool saveChangesBytes = false;
    };

    Report checkFile (const std::string& path)
    {
        Report report;
        SchemeModel model;
        Findings findings;
        findings.model = &model;
        juce::MemoryBlock bytes;

        report.refusedBecause = SchemeFile::readSchemeFile (fileAt (path), model, &findings, &bytes).getErrorMessage();

        if (report.refusedBecause.isNotEmpty())
            return report;

        report.colours = model.getNumColours();
        report.groups = model.getNumGroups();
        report.warnings = std::move (findings.warnings);

        // Names used more than once: every later colour of a name counts
        // against the first, which is the one members refer to.
        std::unordered_map<const SchemeColour*, int> later;
        for (int i = 0; i < model.getNumColours(); ++i)
        {
            const auto* colour = model.getColour (i);
            const auto* first = model.findColourByName (colour->name);

            if (first != colour)
                ++later[first];
        }

        for (int i = 0; i < model.getNumColours(); ++i)
            if (const auto found = later.find (model.getColour (i)); found != later.end())
                report.warnings.push_back ({ "name-repeated", "colour name " + jsonString (model.getColour (i)->name.toString()) + " is used by " + juce::String (found->second + 1) + " colours: members refer to the first" });

        for (int i = 0; i < model.getNumGroups(); ++i)
            if (model.getGroup (i)->getName().isEmpty())
                report.warnings.push_back ({ "group-name-empty", "group " + juce::String (i + 1) + " has an empty name" });

        const auto saved = SchemeWriter::write (model);
        report.saveChangesBytes = saved.size() != bytes.getSize() || std::memcmp (saved.data(), bytes.getData(), saved.size()) != 0;
        return report;
    }

    void printText (const std::string& path, const Report& report)
    {
        const juce::String file (path);

        if (report.refusedBecause.isNotEmpty())
        {
            printLine (file + ": refused: " + report.refusedBecause);
            return;
        }

        const auto count = [] (int n, const char* thing)
        { return juce::String (n) + " " + thing + (n == 1 ? "" : "s"); };

        printLine (file + ": " + count (report.colours, "colour") + ", " + count (report.groups, "group") + ", "
                   + count ((int) report.warnings.size(), "warning") + "; "
                   + (report.saveChangesBytes ? "saving would change the file's bytes" : "saving would write the same bytes"));

        for (const auto& w : report.warnings)
            printLine ("  warning: " + w.text);
    }

    void printJson (const std::string& path, const Report& report)
    {
        auto text = "{\"file\":" + jsonString (juce::String::fromUTF8 (path.c_str()));

        if (report.refusedBecause.isNotEmpty())
        {
            printLine (text + ",\"refused\":" + jsonString (report.refusedBecause) + "}");
            return;
        }

        // A stream, not a String: appending to a String looks for its end each
        // time, which thousands of warnings would make quadratic.
        juce::MemoryOutputStream out;
        out << text << ",\"colours\":" << report.colours << ",\"groups\":" << report.groups << ",\"warnings\":[";

        for (size_t i = 0; i < report.warnings.size(); ++i)
            out << (i > 0 ? "," : "") << "{\"kind\":" << jsonString (report.warnings[i].kind)
                << ",\"message\":" << jsonString (report.warnings[i].text) << "}";

        out << "],\"saveChangesBytes\":" << (report.saveChangesBytes ? "true" : "false") << "}";
        printLine (out.toUTF8());
    }
} // namespace

void addCheckCommand (CLI::App& app, int& exitCode)
{
    struct Options
    {
        std::vector<std::string> files;
        bool strict = false, json = false;
    };

    auto options = std::make_shared<Options>();
    auto* command = app.add_subcommand ("check", "Read each file as the window does and report what opening and saving it would drop or rewrite");
    command->add_option ("FILE", options->files, "Scheme files")->required();
    command->add_flag ("--strict", options->strict, "Exit 1 when any file has a warning");
    command->add_flag ("--json", options->json, "Print one JSON object a line, one for each file");

    command->callback ([options, &exitCode]
                       {
        for (const auto& path : options->files)
        {
            const auto report = checkFile (path);

            if (options->json)
                printJson (path, report);
            else
                printText (path, report);

            if (report.refusedBecause.isNotEmpty())
            {
                printError (juce::String (path) + ": " + report.refusedBecause);
                exitCode = refused;
            }
            else if (options->strict && ! report.warnings.empty() && exitCode == done)
            {
                exitCode = problemsFound;
            }
        } });
}
} // namespace Cli
