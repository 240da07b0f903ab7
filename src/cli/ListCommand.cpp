// list: the colours of a scheme, and its groups, in file order.
#include "cli/CliSupport.h"
#include "cli/Commands.h"

namespace Cli
{
namespace
{
    void printJson (const SchemeModel& model, bool withGroups)
    {
        juce::String text ("{\"colours\":[");

        for (int i = 0; i < model.getNumColours(); ++i)
        {
            const auto* colour = model.getColour (i);
            text << (i > 0 ? "," : "") << "{\"name\":" << jsonString (colour->name.toString())
                 << ",\"colour\":\"" << argbText (colour->colour) << "\"}";
        }

        text << "]";

        if (withGroups)
        {
            text << ",\"groups\":[";

            for (int g = 0; g < model.getNumGroups(); ++g)
            {
                const auto* group = model.getGroup (g);
                text << (g > 0 ? "," : "") << "{\"name\":" << jsonString (group->getName()) << ",\"members\":[";

                for (int m = 0; m < group->getNumMembers(); ++m)
                    text << (m > 0 ? "," : "") << jsonString (group->getMember (m)->getSchemeColour().name.toString());

                text << "]}";
            }

            text << "]";
        }

        printLine (text + "}");
    }

    void printText (const SchemeModel& model, bool withGroups)
    {
        for (int i = 0; i < model.getNumColours(); ++i)
            printLine (argbText (model.getColour (i)->colour) + " " + model.getColour (i)->name.toString());

        if (! withGroups)
            return;

        for (auto* group : model.getColourGroups())
        {
            printLine ("group " + group->getName() + " (" + juce::String (group->getNumMembers()) + " colours)");

            for (int m = 0; m < group->getNumMembers(); ++m)
                printLine ("  " + group->getMember (m)->getSchemeColour().name.toString());
        }
    }
} // namespace

void addListCommand (CLI::App& app, int&)
{
    struct Options
    {
        std::string file;
        bool groups = false, json = false;
    };

    auto options = std::make_shared<Options>();
    auto* command = app.add_subcommand ("list", "Print the colours (aarrggbb and name) in file order, and with --groups the groups and their members");
    command->add_option ("FILE", options->file, "Scheme file")->required();
    command->add_flag ("--groups", options->groups, "Print the groups and their members too");
    addJsonFlag (*command, options->json);

    command->callback ([options]
                       {
        SchemeModel model;
        readSchemeOrRefuse (options->file, model);

        if (options->json)
            printJson (model, options->groups);
        else
            printText (model, options->groups); });
}
} // namespace Cli
