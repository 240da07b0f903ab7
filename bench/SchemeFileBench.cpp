// Scheme file reading and writing against JUCE's own XML reader and writer on
// the same data. Compare the pairs within one run:
//   SchemeSave/N   vs SchemeSaveJuceWriter/N   (our writer vs JUCE's writer of the same tree)
//   SchemeOpen/N   vs SchemeOpenBareParse/N    (bytes to model vs bare XmlDocument parse)

#include "BenchKit.h"
#include "JuceSchemeTree.h"
#include "schemefile/SchemeReader.h"
#include "schemefile/SchemeWriter.h"

#include <benchmark/benchmark.h>

namespace
{
void fillModel (SchemeModel& model, int numColours)
{
    fillLargeScheme (model, numColours, 42, [] (int i)
                     { return "Scheme colour number " + juce::String (i) + (i % 7 == 0 ? " & friends" : ""); });
}

std::string schemeBytes (int numColours)
{
    SchemeModel model;
    fillModel (model, numColours);
    return SchemeWriter::write (model);
}

void SchemeSave (benchmark::State& state)
{
    SchemeModel model;
    fillModel (model, (int) state.range (0));

    for (auto _ : state)
    {
        auto bytes = SchemeWriter::write (model);
        benchmark::DoNotOptimize (bytes.data());
    }
}

void SchemeSaveJuceWriter (benchmark::State& state)
{
    SchemeModel model;
    fillModel (model, (int) state.range (0));
    auto tree = juceSchemeTree (model);

    for (auto _ : state)
    {
        juce::MemoryOutputStream out;
        tree->writeTo (out, {});
        benchmark::DoNotOptimize (out.getData());
    }
}

void SchemeOpen (benchmark::State& state)
{
    auto bytes = schemeBytes ((int) state.range (0));

    for (auto _ : state)
    {
        SchemeModel model;
        if (! SchemeReader::read (juce::MemoryBlock (bytes.data(), bytes.size()), model))
            state.SkipWithError ("the scheme did not read");
        benchmark::DoNotOptimize (model.getNumColours());
    }
}

void SchemeOpenBareParse (benchmark::State& state)
{
    auto text = juce::String::fromUTF8 (schemeBytes ((int) state.range (0)).c_str());

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
BENCHMARK (SchemeOpenBareParse)->Arg (1000)->Arg (10000)->Arg (100000)->Unit (benchmark::kMillisecond);
