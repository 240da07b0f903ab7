// tintwright-cli check --json on a file whose one colour has a 3 MB name (line
// breaks, quotes and non-ASCII all through it, and a colour value that is
// rewritten, so the name is reported too), against the same command on a file
// of the same size made of ordinary short names. The two take turns in every
// iteration, so the machine's drift hits both alike; the times are the child
// processes' CPU times.

#include "BenchKit.h"

#include <juce_core/juce_core.h>

#include <benchmark/benchmark.h>
#include <sys/resource.h>

namespace
{
double childCpuSeconds()
{
    rusage usage {};
    getrusage (RUSAGE_CHILDREN, &usage);
    const auto seconds = [] (const timeval& t)
    { return (double) t.tv_sec + 1.0e-6 * (double) t.tv_usec; };
    return seconds (usage.ru_utime) + seconds (usage.ru_stime);
}

constexpr size_t fileSize = 3 * 1024 * 1024;

juce::File scratchFile (const char* name, const std::string& bytes)
{
    auto file = juce::File::getSpecialLocation (juce::File::tempDirectory).getNonexistentChildFile (name, ".calvastrascheme", false);
    file.replaceWithData (bytes.data(), bytes.size());
    return file;
}

std::string longNameScheme()
{
    std::string name;
    const std::string piece = "Line of a very long name &quot;quoted&quot; \xc3\xa9t\xc3\xa9\r\n";
    while (name.size() + piece.size() < fileSize)
        name += piece;

    return "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\r\n<COLOURS>\r\n  <COLOUR name=\"" + name
           + "\" colour=\"#FF112233\"/>\r\n  <COLOURGROUPS/>\r\n</COLOURS>\r\n";
}

std::string shortNamesScheme()
{
    std::string text = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\r\n<COLOURS>\r\n";
    for (int i = 0; text.size() < fileSize; ++i)
        text += "  <COLOUR name=\"Scheme colour number " + std::to_string (i) + "\" colour=\"ff112233\"/>\r\n";

    return text + "  <COLOURGROUPS/>\r\n</COLOURS>\r\n";
}

bool check (const juce::File& file)
{
    juce::ChildProcess cli;

    if (! cli.start (juce::StringArray { TINTWRIGHT_CLI_PATH, "check", "--json", file.getFullPathName() }))
        return false;

    const auto output = cli.readAllProcessOutput();
    cli.waitForProcessToFinish (-1);
    return output.startsWith ("{\"file\":") && ! output.contains ("\"refused\"");
}

void CheckLongNamePaired (benchmark::State& state)
{
    const auto longName = scratchFile ("tintwright-bench-long-name", longNameScheme());
    const auto shortNames = scratchFile ("tintwright-bench-short-names", shortNamesScheme());
    const auto checkOrSkip = [&state] (const juce::File& file, const char* failure)
    {
        if (! check (file))
            state.SkipWithError (failure);
    };
    const auto checkLong = [&]
    { checkOrSkip (longName, "check of the long name failed"); };
    const auto checkShort = [&]
    { checkOrSkip (shortNames, "check of the short names failed"); };

    timeInTurns (state, childCpuSeconds, "long_name_ms", checkLong, "short_names_ms", checkShort);

    longName.deleteFile();
    shortNames.deleteFile();
}
} // namespace

BENCHMARK (CheckLongNamePaired)->Unit (benchmark::kMillisecond)->Iterations (5);
