// group: add, remove and rename groups, and add colours to one, chosen by name patterns.
#include "cli/CliSupport.h"
#include "cli/Commands.h"
#include "cli/NamePattern.h"
#include "scheme/SchemeNames.h"

namespace Cli
{
namespace
{
    juce::String fromUtf8 (const std::string& text) { return juce::String::fromUTF8 (text.data(), (int) text.size()); }

    /** A name given for a group, exactly; the name it has already passes as
        itself, whatever its characters, and anything else the model refuses
        is refused with the model's reason. */
    juce::String newGroupName (const std::string& bytes, const juce::String& current = {})
    {
        if (bytes.empty())
            throw Refusal ("a group's name cannot be empty");

        auto typed = SchemeNames::fromUtf8 (bytes.data(), bytes.size());

        if (typed.refusal.isNotEmpty() && ! (current.isNotEmpty() && typed.text == current))
            throw Refusal (typed.refusal.toStdString());

        return typed.text;
    }

    /** The colours whose names match any of the patterns, in file order. */
    juce::SparseSet<int> coloursMatching (const SchemeModel& model, const std::vector<std::string>& patterns, const std::string& path)
    {
        juce::SparseSet<int> chosen;

        for (const auto& pattern : patterns)
        {
            const auto wildcard = fromUtf8 (pattern);
            auto matched = false;

            for (int i = 0; i < model.getNumColours(); ++i)
            {
                if (NamePattern::matches (model.getColour (i)->name.toString(), wildcard))
                {
                    chosen.addRange ({ i, i + 1 });
                    matched = true;
                }
            }

            if (! matched)
                printError (juce::String (path) + ": no colour name matches " + jsonString (wildcard));
        }

        return chosen;
    }
} // namespace

void addGroupCommand (CLI::App& app, int&)
{
    struct Options
    {
        std::string file;
        Destination destination;
        std::string name, newName;
        std::vector<std::string> patterns;
    };

    auto options = std::make_shared<Options>();
    auto* command = app.add_subcommand ("group", "Add, remove or rename a group, or add colours to one");
    command->add_option ("FILE", options->file, "Scheme file")->required();
    options->destination.addTo (*command);
    command->require_subcommand (1);
    command->fallthrough();

    // Every edit reads the file, makes one change through the model, and writes.
    const auto edit = [options] (std::function<void (SchemeModel&)> change)
    {
        return [options, change]
        {
            options->destination.check();
            SchemeModel model;
            readSchemeOrRefuse (options->file, model);
            change (model);
            writeSchemeOrRefuse (options->destination.pathFor (options->file), model);
        };
    };

    auto* add = command->add_subcommand ("add", "Add a group (after the others), with the colours matching the patterns");
    add->add_option ("NAME", options->name, "The new group's name")->required();
    add->add_option ("--colours", options->patterns, "Patterns of colour names ('*Background')");
    add->callback (edit ([options] (SchemeModel& model)
                         {
        const auto name = newGroupName (options->name);

        if (model.findGroup (name) != nullptr)
            printError (juce::String (options->file) + ": another group is named " + jsonString (name) + " already; the name refers to the first");

        auto* group = model.addGroup (name);

        if (group == nullptr)
            throw Refusal ("a group's name cannot be empty");

        model.addColoursToGroup (*group, coloursMatching (model, options->patterns, options->file)); }));

    auto* remove = command->add_subcommand ("remove", "Delete a group (the first of that name) with its members");
    remove->add_option ("NAME", options->name, "The group's name")->required();
    remove->callback (edit ([options] (SchemeModel& model)
                            {
        auto& group = groupOrRefuse (model, fromUtf8 (options->name), options->file);
        model.deleteGroup (model.getColourGroups().indexOf (&group)); }));

    auto* rename = command->add_subcommand ("rename", "Rename a group (the first of that name)");
    rename->add_option ("OLD", options->name, "The group's name")->required();
    rename->add_option ("NEW", options->newName, "Its new name")->required();
    rename->callback (edit ([options] (SchemeModel& model)
                            {
        auto& group = groupOrRefuse (model, fromUtf8 (options->name), options->file);

        model.renameGroup (group, newGroupName (options->newName, group.getName())); }));

    auto* addColours = command->add_subcommand ("add-colours", "Add the colours matching the patterns to a group (the first of that name)");
    addColours->add_option ("NAME", options->name, "The group's name")->required();
    addColours->add_option ("GLOB", options->patterns, "Patterns of colour names ('*Background')")->required();
    addColours->callback (edit ([options] (SchemeModel& model)
                                {
        auto& group = groupOrRefuse (model, fromUtf8 (options->name), options->file);
        model.addColoursToGroup (group, coloursMatching (model, options->patterns, options->file)); }));
}
} // namespace Cli
