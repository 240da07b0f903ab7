// format: each file rewritten as the window's Save writes it.
#include "cli/CliSupport.h"
#include "cli/Commands.h"

#include "schemefile/SchemeWriter.h"

#include <cstring>

namespace Cli
{
void addFormatCommand (CLI::App& app, int& exitCode)
{
    struct Options
    {
        std::vector<std::string> files;
        bool check = false;
    };

    auto options = std::make_shared<Options>();
    auto* command = app.add_subcommand ("format", "Rewrite each file in the form the window saves");
    command->add_option ("FILE", options->files, "Scheme files")->required();
    command->add_flag ("--check", options->check, "Change nothing; exit 1 if a file would change");

    command->callback ([options, &exitCode]
                       {
        for (const auto& path : options->files)
        {
            SchemeModel model;
            juce::MemoryBlock bytes;
            if (const auto read = SchemeFile::readSchemeFile (fileAt (path), model, nullptr, &bytes); read.failed())
            {
                printError (juce::String (path) + ": " + read.getErrorMessage());
                exitCode = refused;
                continue;
            }

            const auto saved = SchemeWriter::write (model);

            if (saved.size() == bytes.getSize() && std::memcmp (saved.data(), bytes.getData(), saved.size()) == 0)
                continue; // already as Save writes it: left alone

            if (options->check)
            {
                printLine (juce::String (path) + ": would be rewritten");

                if (exitCode == done)
                    exitCode = problemsFound;

                continue;
            }

            try
            {
                writeSchemeOrRefuse (path, model);
                printLine (juce::String (path) + ": rewritten");
            }
            catch (const Refusal& r)
            {
                printError (r.what());

                if (exitCode != refused) // a file left as it was says more than one not confirmed
                    exitCode = r.exitCode;
            }
        } });
}
} // namespace Cli
