#pragma once

#include "scheme/SchemeModel.h"
#include "schemefile/SchemeFile.h"

#include <CLI/CLI.hpp>
#include <stdexcept>
#include <string>
#include <vector>

/** What the subcommands share: exit codes, reading and writing schemes the
    way the window does, and text and JSON output. */
namespace Cli
{
enum ExitCode
{
    done = 0,
    problemsFound = 1,
    refused = 2, // bad usage, or a file that cannot be read or written
    writtenNotConfirmed = 3 // a file holds the new bytes, but the system did not confirm they are stored
};

/** A file or a request the program will not go on with. main() prints the
    message on stderr and exits with its code. The steps below it report
    failures as juce::Result; refuseIfFailed turns one into a Refusal. */
struct Refusal : public std::runtime_error
{
    explicit Refusal (const std::string& message, ExitCode code = refused) : std::runtime_error (message), exitCode (code) {}

    ExitCode exitCode;
};

/** A path from the command line (UTF-8), relative to the working folder. */
juce::File fileAt (const std::string& path);

/** Refuses with "PATH: " and the failure's message when the step failed. */
void refuseIfFailed (const std::string& path, const juce::Result& step);

/** Reads the scheme as the window opens it (SchemeFile::readSchemeFile),
    refusing with "PATH: reason" when it does not read. */
void readSchemeOrRefuse (const std::string& path, SchemeModel& model);

/** Refuses a path to write a scheme to when a file is there that is not a
    scheme this program can read: a slip of -o must not replace a picture or
    a document. Called before the input is read, so that the two schemes are
    never in memory at once. */
void refuseToReplaceUnreadable (const std::string& path);

/** Refuses, naming the file and why in the system's words, unless the file
    was replaced for good; new bytes the system did not confirm are refused
    with ExitCode::writtenNotConfirmed. */
void refuseUnlessReplaced (const std::string& path, const AtomicFileReplace::Result& result);

/** Writes the model as Save does: the same bytes, the file replaced as a whole. */
void writeSchemeOrRefuse (const std::string& path, const SchemeModel& model);

/** Where an editing subcommand writes: another file, or over its input. */
struct Destination
{
    std::string outPath;
    bool inPlace = false;

    /** -o/--output and --in-place, which exclude each other. */
    void addTo (CLI::App& command);
    /** Refuses unless one of them was given, or when -o names a file that
        is no scheme (refuseToReplaceUnreadable). */
    void check() const;
    bool given() const { return inPlace || ! outPath.empty(); }
    const std::string& pathFor (const std::string& input) const { return inPlace ? input : outPath; }
};

/** The first group of that name; refuses when there is none, and says on
    stderr when later groups share the name. */
ColourGroup& groupOrRefuse (const SchemeModel& model, const juce::String& name, const std::string& path);

/** A colour as eight lower-case hex digits, alpha first. */
juce::String argbText (juce::Colour colour);

/** A JSON string literal: quotes, backslashes and control characters escaped,
    everything else kept as UTF-8. */
juce::String jsonString (const juce::String& text);

/** A line of UTF-8 on stdout or stderr. */
void printLine (const juce::String& text);
void printError (const juce::String& text);

/** Two colours named on the command line. */
struct NamedPair
{
    juce::String first, second;
};

/** --pair A B, which may be given several times. */
struct PairOption
{
    std::vector<std::string> names; // two a pair, as given

    void addTo (CLI::App& command, const std::string& description);
    bool given() const { return ! names.empty(); }
    /** The whole pairs among the names. */
    std::vector<NamedPair> pairs() const;
};

/** The first colour of that name; refuses, naming the file, when there is none. */
const SchemeColour& colourOrRefuse (const SchemeModel& model, const juce::String& name, const std::string& path);

/** --json, for the commands that print one JSON object. */
CLI::Option* addJsonFlag (CLI::App& command, bool& json);
} // namespace Cli
