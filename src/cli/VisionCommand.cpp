// vision: the pairs of colours that people with a colour-vision deficiency can hardly tell apart.
#include "cli/CliSupport.h"
#include "cli/Commands.h"

#include "maths/ColourDifference.h"
#include "maths/ColourVision.h"

namespace Cli
{
namespace
{
    // See docs/cli.md for why: scheme colours that carry meaning are seen apart and small.
    constexpr double defaultMinimumDifference = 12.0;

    struct Pair
    {
        const SchemeColour* first;
        const SchemeColour* second;
        juce::String group; // empty for pairs given with --pair
    };

    std::vector<Pair> pairsToCheck (const SchemeModel& model, const PairOption& option, const std::string& path)
    {
        std::vector<Pair> pairs;

        for (const auto& named : option.pairs())
            pairs.push_back ({ &colourOrRefuse (model, named.first, path), &colourOrRefuse (model, named.second, path), {} });

        if (option.given())
            return pairs;

        // By default the members of each group among themselves: a group gathers colours that are told apart side by side.
        for (const auto* group : model.getColourGroups())
            for (int i = 0; i < group->getNumMembers(); ++i)
                for (int j = i + 1; j < group->getNumMembers(); ++j)
                    pairs.push_back ({ &group->getMember (i)->getSchemeColour(), &group->getMember (j)->getSchemeColour(), group->getName() });

        return pairs;
    }
} // namespace

void addVisionCommand (CLI::App& app, int& exitCode)
{
    struct Options
    {
        std::string file, as;
        PairOption pair;
        double severity = 1.0;
        double minimum = defaultMinimumDifference;
        bool json = false;
    };

    auto options = std::make_shared<Options>();
    auto* command = app.add_subcommand ("vision", "Pairs of colours that become hard to tell apart with protanopia, deuteranopia or tritanopia");
    command->add_option ("FILE", options->file, "Scheme file")->required();
    command->add_option ("--as", options->as, "Only this deficiency")->check (CLI::IsMember ({ "protanopia", "deuteranopia", "tritanopia" }));
    command->add_option ("--severity", options->severity, "From 0 (none) to 1 (full; the default): anomalous trichromacy below 1")->check (CLI::Range (0.0, 1.0));
    options->pair.addTo (*command, "A B (colour names; several pairs allowed); without it, each group's members among themselves");
    command->add_option ("--min-difference", options->minimum, "CIEDE2000 difference as seen below which a pair counts as hard to tell apart (default " + juce::String (defaultMinimumDifference).toStdString() + ")")
        ->check (CLI::Range (0.0, 200.0));
    addJsonFlag (*command, options->json);

    command->callback ([options, &exitCode]
                       {
        SchemeModel model;
        readSchemeOrRefuse (options->file, model);
        const auto pairs = pairsToCheck (model, options->pair, options->file);

        std::vector<ColourVision::Deficiency> deficiencies { ColourVision::Deficiency::protan, ColourVision::Deficiency::deutan, ColourVision::Deficiency::tritan };

        if (! options->as.empty())
            deficiencies = { *ColourVision::fromName (options->as) };

        const auto severity = juce::String (options->severity);
        juce::StringArray jsonVisions;
        auto anyFound = false;

        for (auto deficiency : deficiencies)
        {
            const auto matrix = ColourVision::matrixFor (deficiency, options->severity);
            const auto seenLab = [&matrix] (juce::Colour c)
            {
                const auto linear = ColourVision::seenLinear (matrix, c);
                return ColourDifference::labFromLinear (linear.red, linear.green, linear.blue);
            };
            const juce::String vision (ColourVision::nameOf (deficiency));
            juce::StringArray jsonPairs;
            int found = 0;

            for (const auto& pair : pairs)
            {
                const auto difference = ColourDifference::ciede2000 (seenLab (pair.first->colour), seenLab (pair.second->colour));

                if (difference >= options->minimum)
                    continue;

                ++found;
                const auto first = pair.first->name.toString(), second = pair.second->name.toString();
                const auto seenFirst = ColourVision::seen (matrix, pair.first->colour), seenSecond = ColourVision::seen (matrix, pair.second->colour);
                const auto differenceText = juce::String (difference, 2);

                if (options->json)
                {
                    jsonPairs.add ("{" + (pair.group.isEmpty() ? juce::String() : "\"group\":" + jsonString (pair.group) + ",") + "\"first\":" + jsonString (first) + ",\"second\":" + jsonString (second) + ",\"colours\":[\""
                                   + argbText (pair.first->colour) + "\",\"" + argbText (pair.second->colour) + "\"],\"seen\":[\""
                                   + argbText (seenFirst) + "\",\"" + argbText (seenSecond) + "\"],\"difference\":" + differenceText + "}");
                }
                else
                {
                    printLine (vision + ": " + first + " and " + second + (pair.group.isEmpty() ? juce::String() : " (group " + pair.group + ")")
                               + ": difference " + differenceText + ", seen as " + argbText (seenFirst) + " and " + argbText (seenSecond));
                }
            }

            anyFound = anyFound || found > 0;

            if (! options->json)
                printLine (vision + " (severity " + severity + "): " + juce::String (found) + " of " + juce::String ((int) pairs.size())
                           + (pairs.size() == 1 ? " pair" : " pairs") + " below a CIEDE2000 difference of " + juce::String (options->minimum) + " as seen");

            jsonVisions.add ("{\"as\":\"" + vision + "\",\"severity\":" + severity + ",\"pairs\":[" + jsonPairs.joinIntoString (",") + "]}");
        }

        if (anyFound)
            exitCode = problemsFound;

        if (options->json)
            printLine ("{\"minDifference\":" + juce::String (options->minimum) + ",\"visions\":[" + jsonVisions.joinIntoString (",") + "]}"); });
}
} // namespace Cli
