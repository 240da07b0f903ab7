// tintwright-cli: the scheme jobs of the window, from a shell, with no display.
#include "cli/CliSupport.h"
#include "cli/CommandLine.h"
#include "cli/Commands.h"

#include <algorithm>

int main (int argc, char** argv)
{
    // Fonts and other JUCE singletons that rendering creates are let go at the end.
    struct ShutdownJuce
    {
        ~ShutdownJuce() { juce::DeletedAtShutdown::deleteAll(); }
    } shutdownJuce;

    CLI::App app { "Checks, lists, formats, tweaks, draws, compares and exchanges Tintwright colour schemes (.calvastrascheme), "
                   "reading and writing them exactly as the Tintwright window does.",
                   "tintwright-cli" };
    app.set_version_flag ("--version", "tintwright-cli " TINTWRIGHT_VERSION);
    app.require_subcommand (1);
    app.footer ("Exit codes: 0 done, 1 a check found problems, 2 bad usage or a file refused (stderr says which and why),\n"
                "3 a file was written but the system did not confirm that it is stored.\n"
                "Help for a command: tintwright-cli COMMAND --help");

    int exitCode = Cli::done;
    Cli::addCheckCommand (app, exitCode);
    Cli::addListCommand (app, exitCode);
    Cli::addFormatCommand (app, exitCode);
    Cli::addTweakCommand (app, exitCode);
    Cli::addGroupCommand (app, exitCode);
    Cli::addContrastCommand (app, exitCode);
    Cli::addRenderCommand (app, exitCode);
    Cli::addVisionCommand (app, exitCode);
    Cli::addDiffCommand (app, exitCode);
    Cli::addExportCommand (app, exitCode);
    Cli::addImportCommand (app, exitCode);

    auto arguments = CommandLine::arguments (argc, argv);

    if (! arguments.empty())
        arguments.erase (arguments.begin()); // the program's own name

    std::reverse (arguments.begin(), arguments.end()); // CLI11 takes them last first

    try
    {
        app.parse (arguments);
    }
    catch (const CLI::ParseError& e)
    {
        // --help and --version end parsing with success; everything else is bad usage.
        const auto code = app.exit (e);
        return code == 0 ? Cli::done : Cli::refused;
    }
    catch (const Cli::Refusal& refusal)
    {
        Cli::printError (juce::String::fromUTF8 (refusal.what()));
        return refusal.exitCode;
    }
    catch (const std::bad_alloc&)
    {
        Cli::printError ("out of memory");
        return Cli::refused;
    }

    return exitCode;
}
