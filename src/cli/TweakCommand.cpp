// tweak: a group's tweak set as the panel's controls would, then applied as Apply does.
#include "cli/CliSupport.h"
#include "cli/Commands.h"
#include "cli/TweakOptions.h"

namespace Cli
{
void addTweakCommand (CLI::App& app, int&)
{
    struct Options
    {
        std::string file, group;
        TweakOptions tweak;
        Destination destination;
        bool dryRun = false;
    };

    auto options = std::make_shared<Options>();
    auto* command = app.add_subcommand ("tweak", "Tweak a group's colours as the sliders, Invert or Force hue... would, and apply the tweak");
    command->add_option ("FILE", options->file, "Scheme file")->required();
    command->add_option ("-g,--group", options->group, "The group to tweak (the first of that name)")->required();
    options->tweak.addTo (*command);
    options->destination.addTo (*command);
    command->add_flag ("--dry-run", options->dryRun, "Write nothing; print each member's stored and new aarrggbb");

    command->callback ([options]
                       {
        options->tweak.validate();

        if (! options->tweak.any())
            throw Refusal (std::string ("no tweak given: use slider options (") + TweakSliders::all[0].option + " ... "
                           + TweakSliders::all[TweakSliders::count - 1].option + "), --invert or --force-hue");

        if (! options->dryRun)
            options->destination.check();

        SchemeModel model;
        readSchemeOrRefuse (options->file, model);

        auto& group = groupOrRefuse (model, juce::String::fromUTF8 (options->group.c_str()), options->file);
        options->tweak.setOn (group);

        if (options->dryRun)
        {
            for (int i = 0; i < group.getNumMembers(); ++i)
            {
                const auto* member = group.getMember (i);
                printLine (argbText (member->getStoredColour()) + " " + argbText (member->getPreviewColour()) + " "
                           + member->getSchemeColour().name.toString());
            }

            return;
        }

        model.applyTweak (group);
        writeSchemeOrRefuse (options->destination.pathFor (options->file), model); });
}
} // namespace Cli
