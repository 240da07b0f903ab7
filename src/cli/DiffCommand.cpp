// diff: what changed from one scheme to another; --textconv, a stable listing for git.
#include "cli/CliSupport.h"
#include "cli/Commands.h"

#include "exchange/SchemeDiff.h"
#include "scheme/SchemeComparison.h"

#include <cstdio>

namespace Cli
{
namespace
{
    juce::String quotedList (const juce::StringArray& names)
    {
        juce::StringArray quoted;
        for (const auto& name : names)
            quoted.add (jsonString (name));
        return "[" + quoted.joinIntoString (",") + "]";
    }

    juce::String asJson (const SchemeDiff::Differences& d, bool same)
    {
        juce::StringArray added, removed, changed, moved, renamed, members;

        for (const auto& c : d.added)
            added.add ("{\"name\":" + jsonString (c.name) + ",\"colour\":\"" + argbText (c.colour) + "\"}");
        for (const auto& c : d.removed)
            removed.add ("{\"name\":" + jsonString (c.name) + ",\"colour\":\"" + argbText (c.colour) + "\"}");
        for (const auto& c : d.changed)
            changed.add ("{\"name\":" + jsonString (c.name) + ",\"before\":\"" + argbText (c.before) + "\",\"after\":\"" + argbText (c.after)
                         + "\",\"difference\":" + juce::String (c.difference, 2) + "}");
        for (const auto& m : d.moved)
            moved.add ("{\"name\":" + jsonString (m.name) + ",\"from\":" + juce::String (m.from) + ",\"to\":" + juce::String (m.to) + "}");
        for (const auto& r : d.groupsRenamed)
            renamed.add ("{\"from\":" + jsonString (r.from) + ",\"to\":" + jsonString (r.to) + "}");
        for (const auto& m : d.members)
            members.add ("{\"group\":" + jsonString (m.group) + ",\"added\":" + quotedList (m.added) + ",\"removed\":" + quotedList (m.removed) + "}");

        return juce::String ("{\"same\":") + (same ? "true" : "false") + ",\"colours\":{\"added\":[" + added.joinIntoString (",")
               + "],\"removed\":[" + removed.joinIntoString (",") + "],\"changed\":[" + changed.joinIntoString (",") + "],\"moved\":["
               + moved.joinIntoString (",") + "]},\"groups\":{\"added\":" + quotedList (d.groupsAdded) + ",\"removed\":"
               + quotedList (d.groupsRemoved) + ",\"renamed\":[" + renamed.joinIntoString (",") + "],\"members\":["
               + members.joinIntoString (",") + "]}}";
    }

    void printText (const SchemeDiff::Differences& d)
    {
        for (const auto& c : d.removed)
            printLine ("colour removed: " + c.name + " " + argbText (c.colour));
        for (const auto& c : d.added)
            printLine ("colour added: " + c.name + " " + argbText (c.colour));
        for (const auto& c : d.changed)
            printLine ("colour changed: " + c.name + " " + argbText (c.before) + " -> " + argbText (c.after) + " (CIEDE2000 " + juce::String (c.difference, 2) + ")");
        for (const auto& m : d.moved)
            printLine ("colour moved: " + m.name + " from " + juce::String (m.from + 1) + " to " + juce::String (m.to + 1));
        for (const auto& g : d.groupsRemoved)
            printLine ("group removed: " + g);
        for (const auto& g : d.groupsAdded)
            printLine ("group added: " + g);
        for (const auto& r : d.groupsRenamed)
            printLine ("group renamed: " + r.from + " -> " + r.to);
        for (const auto& m : d.members)
        {
            for (const auto& name : m.removed)
                printLine ("group " + m.group + ": member removed: " + name);
            for (const auto& name : m.added)
                printLine ("group " + m.group + ": member added: " + name);
        }
    }
} // namespace

void addDiffCommand (CLI::App& app, int& exitCode)
{
    struct Options
    {
        std::vector<std::string> files;
        std::string textconv;
        bool json = false;
    };

    auto options = std::make_shared<Options>();
    auto* command = app.add_subcommand ("diff", "Colours added, removed, changed and moved, and groups added, removed, renamed or with other members, from scheme A to B");
    command->add_option ("A B", options->files, "The two scheme files, older first")->expected (0, 2);
    auto* textconv = command->add_option ("--textconv", options->textconv, "Print a stable listing of one scheme, a line a colour and a group (for git's textconv)");
    auto* json = addJsonFlag (*command, options->json);
    textconv->excludes (json);

    command->callback ([options, &exitCode]
                       {
        if (! options->textconv.empty())
        {
            if (! options->files.empty())
                throw Refusal ("--textconv takes one file and no others");

            SchemeModel model;
            readSchemeOrRefuse (options->textconv, model);
            const auto listing = SchemeDiff::listing (model);
            std::fwrite (listing.toRawUTF8(), 1, listing.getNumBytesAsUTF8(), stdout);
            return;
        }

        if (options->files.size() != 2)
            throw Refusal ("diff needs two scheme files, A and B (or --textconv FILE)");

        SchemeModel before, after;
        readSchemeOrRefuse (options->files[0], before);
        readSchemeOrRefuse (options->files[1], after);

        const auto differences = SchemeDiff::between (before, after);
        const auto same = SchemeComparison::sameScheme (before, after);

        if (! same)
            exitCode = problemsFound;

        if (options->json)
        {
            printLine (asJson (differences, same));
            return;
        }

        printText (differences);

        // What the lists leave out (the order of groups or of a group's members) still makes them differ.
        if (! same && differences.empty())
            printLine ("other: " + SchemeComparison::firstDifference (before, after)); });
}
} // namespace Cli
