// The Linux build's side of the web model module's benchmarks: the same
// calls on the same scheme files as web/model/bench/module.bench.mjs, which
// writes them; scripts/bench.sh hands their folder over in
// TINTWRIGHT_BENCH_SCHEMES and prints each module figure over this one.
//   NativeOpen/N              bytes in memory to a model, and the model freed
//   NativeSave/10000          the bytes Save writes
//   NativeSliderStep/1000000  one slider value queued, then every member up to date

#include "scheme/PendingTweak.h"
#include "schemefile/SchemeBytes.h"
#include "schemefile/SchemeWriter.h"

#include <benchmark/benchmark.h>

namespace
{
bool readScheme (benchmark::State& state, juce::MemoryBlock& bytes)
{
    const auto folder = juce::SystemStats::getEnvironmentVariable ("TINTWRIGHT_BENCH_SCHEMES", {});
    const auto file = juce::File (folder).getChildFile (juce::String (state.range (0)) + ".calvastrascheme");

    if (folder.isEmpty() || ! file.loadFileAsData (bytes))
    {
        state.SkipWithError ("no scheme file: scripts/bench.sh writes them and names their folder in TINTWRIGHT_BENCH_SCHEMES");
        return false;
    }

    return true;
}

bool openScheme (benchmark::State& state, const juce::MemoryBlock& bytes, SchemeModel& model)
{
    const auto read = SchemeBytes::read (bytes, model);

    if (read.failed())
        state.SkipWithError (read.getErrorMessage().toRawUTF8());

    return read.wasOk();
}

void NativeOpen (benchmark::State& state)
{
    juce::MemoryBlock bytes;
    if (! readScheme (state, bytes))
        return;

    for (auto _ : state)
    {
        SchemeModel model;
        if (! openScheme (state, bytes, model))
            break;
        benchmark::DoNotOptimize (model.getNumColours());
    }
}

void NativeSave (benchmark::State& state)
{
    juce::MemoryBlock bytes;
    SchemeModel model;
    if (! readScheme (state, bytes) || ! openScheme (state, bytes, model))
        return;

    for (auto _ : state)
    {
        auto saved = SchemeWriter::write (model);
        benchmark::DoNotOptimize (saved.data());
    }
}

void NativeSliderStep (benchmark::State& state)
{
    juce::MemoryBlock bytes;
    SchemeModel model;
    if (! readScheme (state, bytes) || ! openScheme (state, bytes, model))
        return;

    auto& group = *model.addGroup ("All");
    juce::SparseSet<int> all;
    all.addRange ({ 0, model.getNumColours() });
    model.addColoursToGroup (group, all);

    auto step = 0;
    for (auto _ : state)
    {
        PendingTweak change;
        change.set (TweakSliders::hue, ++step % 2 == 0 ? 0.1f : 0.2f);
        group.queueTweak (change);
        group.finishTweak();
    }
}
} // namespace

BENCHMARK (NativeOpen)->Arg (10000)->Arg (100000)->Unit (benchmark::kMillisecond);
BENCHMARK (NativeSave)->Arg (10000)->Unit (benchmark::kMillisecond);
BENCHMARK (NativeSliderStep)->Arg (1000000)->Unit (benchmark::kMillisecond);
