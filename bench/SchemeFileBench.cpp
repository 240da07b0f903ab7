// Scheme file reading and writing against JUCE's own XML reader and writer on
// the same data. Compare the pairs within one run:
//   SchemeSave/N        vs SchemeSaveJuceWriter/N   (build + our writer vs JUCE's writer alone)
//   SchemeOpen/N        vs SchemeOpenBareParse/N    (open: text to model vs bare XmlDocument parse)
//   SchemeOpenThroughTree/N                         (the open of files not in the plain written form)

#include "scheme/SchemeFile.h"

#include <benchmark/benchmark.h>

namespace
{
void fillModel (SchemeModel& model, int numColours)
{
    juce::Random random (42);

    for (int i = 0; i < numColours; ++i)
    {
        auto colour = std::make_unique<SchemeColour>();
        colour->name = "Scheme colour number " + juce::String (i) + (i % 7 == 0 ? " & friends" : "");
        colour->colour = juce::Colour ((juce::uint32) random.nextInt());
        model.appendColour (std::move (colour));
    }

    for (int g = 0; g < 100; ++g)
    {
        auto& group = model.appendGroup (std::make_unique<ColourGroup>());
        group.setName ("Group " + juce::String (g));

        for (int m = 0; m < 100; ++m)
            group.addColour (*model.getColour (random.nextInt (numColours)));
    }
}

void SchemeSave (benchmark::State& state)
{
    SchemeModel model;
    fillModel (model, (int) state.range (0));

    for (auto _ : state)
    {
        auto bytes = SchemeFile::toBytes (*SchemeFile::createSchemeElement (model));
        benchmark::DoNotOptimize (bytes.getData());
    }
}

void SchemeSaveJuceWriter (benchmark::State& state)
{
    SchemeModel model;
    fillModel (model, (int) state.range (0));
    auto tree = SchemeFile::createSchemeElement (model);

    for (auto _ : state)
    {
        juce::MemoryOutputStream out;
        tree->writeTo (out, {});
        benchmark::DoNotOptimize (out.getData());
    }
}

juce::String schemeText (int numColours)
{
    SchemeModel model;
    fillModel (model, numColours);
    return SchemeFile::toText (*SchemeFile::createSchemeElement (model));
}

void SchemeOpen (benchmark::State& state)
{
    auto text = schemeText ((int) state.range (0));

    for (auto _ : state)
    {
        SchemeModel model;
        SchemeFile::readSchemeText (text, model);
        benchmark::DoNotOptimize (model.getNumColours());
    }
}

// The way every other file opens (a comment, another element, ...): the
// guarded JUCE parse and the model read from the element tree.
void SchemeOpenThroughTree (benchmark::State& state)
{
    auto text = schemeText ((int) state.range (0));

    for (auto _ : state)
    {
        SchemeModel model;
        auto root = SchemeFile::parse (text);
        SchemeFile::readScheme (*root, model);
        benchmark::DoNotOptimize (model.getNumColours());
    }
}

void SchemeOpenBareParse (benchmark::State& state)
{
    auto text = schemeText ((int) state.range (0));

    for (auto _ : state)
    {
        auto root = juce::XmlDocument (text).getDocumentElement();
        benchmark::DoNotOptimize (root.get());
    }
}
} // namespace

BENCHMARK (SchemeSave)->Arg (1000)->Arg (10000)->Arg (100000)->Unit (benchmark::kMillisecond);
BENCHMARK (SchemeSaveJuceWriter)->Arg (1000)->Arg (10000)->Arg (100000)->Unit (benchmark::kMillisecond);
BENCHMARK (SchemeOpen)->Arg (1000)->Arg (10000)->Arg (100000)->Unit (benchmark::kMillisecond);
BENCHMARK (SchemeOpenThroughTree)->Arg (1000)->Arg (10000)->Arg (100000)->Unit (benchmark::kMillisecond);
BENCHMARK (SchemeOpenBareParse)->Arg (1000)->Arg (10000)->Arg (100000)->Unit (benchmark::kMillisecond);
