#pragma once

#include <CLI/CLI.hpp>

/** Each subcommand adds itself to the program with its options; when it runs
    it sets the exit code (or throws Cli::Refusal). */
namespace Cli
{
void addCheckCommand (CLI::App& app, int& exitCode);
void addListCommand (CLI::App& app, int& exitCode);
void addFormatCommand (CLI::App& app, int& exitCode);
void addTweakCommand (CLI::App& app, int& exitCode);
void addGroupCommand (CLI::App& app, int& exitCode);
void addContrastCommand (CLI::App& app, int& exitCode);
void addRenderCommand (CLI::App& app, int& exitCode);
void addVisionCommand (CLI::App& app, int& exitCode);
void addDiffCommand (CLI::App& app, int& exitCode);
void addExportCommand (CLI::App& app, int& exitCode);
void addImportCommand (CLI::App& app, int& exitCode);
} // namespace Cli
