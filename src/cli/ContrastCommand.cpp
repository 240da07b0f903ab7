// contrast: the WCAG contrast ratio of named colour pairs.
#include "cli/CliSupport.h"
#include "cli/Commands.h"
#include "cli/ContrastRatio.h"

namespace Cli
{
namespace
{
    std::vector<NamedPair> readPairsFile (const std::string& path)
    {
        const auto file = fileAt (path);

        if (! file.existsAsFile())
            throw Refusal (path + ": no such file");

        std::vector<NamedPair> pairs;
        juce::StringArray lines;
        lines.addLines (file.loadFileAsString());
        int lineNumber = 0;

        for (const auto& line : lines)
        {
            ++lineNumber;

            if (line.trim().isEmpty() || line.trimStart().startsWithChar ('#'))
                continue;

            const auto comma = line.indexOfChar (',');

            if (comma < 0)
                throw Refusal (path + ":" + std::to_string (lineNumber) + ": expected \"foreground,background\"");

            pairs.push_back ({ line.substring (0, comma).trim(), line.substring (comma + 1).trim() });
        }

        return pairs;
    }
} // namespace

void addContrastCommand (CLI::App& app, int& exitCode)
{
    struct Options
    {
        std::string file, pairsFile;
        PairOption pair;
        double minimum = 0;
        bool json = false;
    };

    auto options = std::make_shared<Options>();
    auto* command = app.add_subcommand ("contrast", "WCAG 2.x contrast ratio of named colour pairs, with AA/AAA verdicts for normal text");
    command->add_option ("FILE", options->file, "Scheme file")->required();
    options->pair.addTo (*command, "FOREGROUND BACKGROUND (colour names; several pairs allowed)");
    command->add_option ("--pairs-file", options->pairsFile, "A file of pairs, one \"foreground,background\" a line");
    command->add_option ("--min", options->minimum, "Exit 1 if a pair's ratio is below this")->check (CLI::Range (1.0, 21.0));
    addJsonFlag (*command, options->json);

    command->callback ([options, &exitCode]
                       {
        auto pairs = options->pair.pairs();

        if (! options->pairsFile.empty())
            for (auto& p : readPairsFile (options->pairsFile))
                pairs.push_back (p);

        if (pairs.empty())
            throw Refusal ("no pairs given: use --pair FOREGROUND BACKGROUND or --pairs-file FILE");

        SchemeModel model;
        readSchemeOrRefuse (options->file, model);

        juce::String json ("{\"pairs\":[");

        for (size_t i = 0; i < pairs.size(); ++i)
        {
            const auto& [foreground, background] = pairs[i];
            const auto& fg = colourOrRefuse (model, foreground, options->file);
            const auto& bg = colourOrRefuse (model, background, options->file);
            const auto ratio = ContrastRatio::ratio (fg.colour, bg.colour);
            const auto aa = ratio >= ContrastRatio::normalTextAA;
            const auto aaa = ratio >= ContrastRatio::normalTextAAA;
            const auto ratioText = juce::String (ratio, 2);
            const auto belowMinimum = ratio < options->minimum;

            if (belowMinimum)
                exitCode = problemsFound;

            juce::StringArray notes;
            if (fg.colour.getAlpha() < 0xff)
                notes.add ("foreground alpha " + juce::String::toHexString (fg.colour.getAlpha()).paddedLeft ('0', 2) + " laid over the background");
            if (bg.colour.getAlpha() < 0xff)
                notes.add ("background alpha " + juce::String::toHexString (bg.colour.getAlpha()).paddedLeft ('0', 2) + " ignored");
            if (belowMinimum)
                notes.add ("below --min " + juce::String (options->minimum));

            if (options->json)
            {
                json << (i > 0 ? "," : "") << "{\"foreground\":" << jsonString (foreground)
                     << ",\"background\":" << jsonString (background) << ",\"ratio\":" << ratioText
                     << ",\"aa\":" << (aa ? "true" : "false") << ",\"aaa\":" << (aaa ? "true" : "false");

                if (notes.size() > 0)
                {
                    juce::StringArray quoted;
                    for (const auto& note : notes)
                        quoted.add (jsonString (note));

                    json << ",\"notes\":[" << quoted.joinIntoString (",") << "]";
                }

                json << "}";
            }
            else
            {
                printLine (foreground + " on " + background + ": " + ratioText + ":1  AA " + (aa ? "pass" : "fail")
                           + "  AAA " + (aaa ? "pass" : "fail") + (notes.isEmpty() ? juce::String() : "  (" + notes.joinIntoString ("; ") + ")"));
            }
        }

        if (options->json)
            printLine (json + "]}"); });
}
} // namespace Cli
