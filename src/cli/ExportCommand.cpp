// export: the scheme's colours as a GIMP palette, CSS custom properties or design tokens.
#include "cli/CliSupport.h"
#include "cli/Commands.h"

#include "exchange/Palette.h"

#include <cstdio>

namespace Cli
{
void addExportCommand (CLI::App& app, int&)
{
    struct Options
    {
        std::string file, to, out;
    };

    auto options = std::make_shared<Options>();
    auto* command = app.add_subcommand ("export", "Write the scheme's colours as a GIMP palette (gpl), CSS custom properties (css) or design tokens (tokens)");
    command->add_option ("FILE", options->file, "Scheme file")->required();
    command->add_option ("--to", options->to, "gpl, css or tokens")->required()->check (CLI::IsMember ({ "gpl", "css", "tokens" }));
    command->add_option ("-o,--output", options->out, "Write to this file instead of stdout");

    command->callback ([options]
                       {
        // A slip of -o must not replace a scheme with its own palette.
        if (! options->out.empty() && fileAt (options->out).existsAsFile())
        {
            SchemeModel existing;
            if (SchemeFile::readSchemeFile (fileAt (options->out), existing).wasOk())
                throw Refusal (options->out + ": not overwritten, it is a scheme file");
        }

        SchemeModel model;
        readSchemeOrRefuse (options->file, model);

        const auto format = *Palette::formatNamed (options->to);
        const auto text = Palette::write (model, format, fileAt (options->file).getFileNameWithoutExtension());

        if (options->out.empty())
        {
            std::fwrite (text.toRawUTF8(), 1, text.getNumBytesAsUTF8(), stdout);
            return;
        }

        refuseUnlessReplaced (options->out, AtomicFileReplace::replace (fileAt (options->out), text.toRawUTF8(), text.getNumBytesAsUTF8())); });
}
} // namespace Cli
