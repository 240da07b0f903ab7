// The document at scale, each against a baseline in the same run:
//   DocumentOpen/N        vs DocumentOpenBareParse/N  (open a file of N colours and
//                                                     100 groups of 100 members: the
//                                                     document's load against JUCE's
//                                                     XmlDocument parse of the same file)
//   DocumentOpenPaired/N  the same two, taking turns within each iteration; its
//                         counter "ratio" is the open's time over the parse's
//   DocumentSave/N        vs DocumentSaveJuceWriter/N (build + write the file against
//                                                     XmlElement::writeTo of the same tree)
//   DropColours/10000     vs DropColours/100000       (dropping N colours into an empty
//                                                     group; linear means a ratio of 10)
// Files live in memory (/dev/shm when there is one), so the disk does not
// dominate; the save's fsync is then nearly free, as JUCE's writer has none.

#include "BenchKit.h"
#include "JuceSchemeTree.h"
#include "app/CalvastraTintwright.h"
#include "document/CalvastraScheme.h"
#include "document/CalvastraSchemeList.h"
#include "groups/ColourTweaker.h"
#include "schemefile/SchemeWriter.h"
#include "tweak/ColourGroupTweakerComponent.h"
#include "tweak/ColourTweakerList.h"

#include <benchmark/benchmark.h>

#include <ctime>

namespace
{
void fillScheme (SchemeModel& model, int numColours)
{
    fillLargeScheme (model, numColours, 7, [] (int i)
                     { return "Colour " + juce::String (i) + (i % 5 == 0 ? " <Focused & \"Hot\">" : " Background"); });
}

juce::File scratchFolder()
{
    juce::File shm ("/dev/shm");
    return shm.isDirectory() ? shm : juce::File::getSpecialLocation (juce::File::tempDirectory);
}

struct SchemeOnDisk
{
    explicit SchemeOnDisk (int numColours)
    {
        SchemeModel model;
        fillScheme (model, numColours);
        write (model);
    }

    explicit SchemeOnDisk (const SchemeModel& model) { write (model); }

    void write (const SchemeModel& model)
    {
        auto bytes = SchemeWriter::write (model);
        file.replaceWithData (bytes.data(), bytes.size());
    }

    ~SchemeOnDisk() { file.deleteFile(); }

    juce::File file = scratchFolder().getNonexistentChildFile ("tintwright-bench", ".calvastrascheme", false);
};

void openDocument (benchmark::State& state, const juce::File& file)
{
    CalvastraScheme document;
    if (document.loadDocument (file).failed() || document.getNumGroups() != 100)
        state.SkipWithError ("the scheme did not load");
    benchmark::DoNotOptimize (document.getNumColours());
}

void parseBare (benchmark::State& state, const juce::File& file)
{
    auto root = juce::XmlDocument::parse (file);
    if (root == nullptr)
        state.SkipWithError ("JUCE did not parse the scheme");
    benchmark::DoNotOptimize (root.get());
}

void DocumentOpen (benchmark::State& state)
{
    SchemeOnDisk scheme ((int) state.range (0));

    for (auto _ : state)
        openDocument (state, scheme.file);

    state.SetLabel (juce::String (scheme.file.getSize() / 1024).toStdString() + " KiB");
}

void DocumentOpenBareParse (benchmark::State& state)
{
    SchemeOnDisk scheme ((int) state.range (0));

    for (auto _ : state)
        parseBare (state, scheme.file);
}

double threadCpuSeconds()
{
    timespec now {};
    clock_gettime (CLOCK_THREAD_CPUTIME_ID, &now);
    return (double) now.tv_sec + 1.0e-9 * (double) now.tv_nsec;
}

// This machine's speed drifts by a third over seconds (other guests of the
// host); timed in separate runs, the open and its baseline drift apart.
// Taking turns every few milliseconds, both see the same machine.
void DocumentOpenPaired (benchmark::State& state)
{
    SchemeOnDisk scheme ((int) state.range (0));
    const auto open = [&]
    { openDocument (state, scheme.file); };
    const auto parse = [&]
    { parseBare (state, scheme.file); };
    timeInTurns (state, threadCpuSeconds, "open_ms", open, "bare_parse_ms", parse);
}

void DocumentSave (benchmark::State& state)
{
    CalvastraScheme document;
    fillScheme (document, (int) state.range (0));
    auto file = scratchFolder().getNonexistentChildFile ("tintwright-bench", ".calvastrascheme", false);

    for (auto _ : state)
        if (document.saveDocument (file).failed())
            state.SkipWithError ("the save failed");

    file.deleteFile();
}

void DocumentSaveJuceWriter (benchmark::State& state)
{
    SchemeModel model;
    fillScheme (model, (int) state.range (0));
    auto tree = juceSchemeTree (model);
    auto file = scratchFolder().getNonexistentChildFile ("tintwright-bench", ".calvastrascheme", false);

    for (auto _ : state)
        if (! tree->writeTo (file, {}))
            state.SkipWithError ("JUCE's write failed");

    file.deleteFile();
}

// The real drop: the scheme list's selected rows onto the group colour list.
void DropColours (benchmark::State& state)
{
    const auto numColours = (int) state.range (0);
    CalvastraScheme scheme;
    fillScheme (scheme, numColours);

    CalvastraSchemeList source;
    source.setScheme (&scheme);
    source.updateContent();
    source.selectRangeOfRows (0, numColours - 1, true);

    ColourTweakerList target;
    target.setSize (300, 400);
    const juce::DragAndDropTarget::SourceDetails details ("COLOURS", &source, {});

    for (auto _ : state)
    {
        state.PauseTiming();
        auto group = std::make_unique<ColourGroup>();
        target.setColourGroup (group.get());
        state.ResumeTiming();

        target.itemDropped (details);

        state.PauseTiming();
        if (group->getNumMembers() != numColours)
            state.SkipWithError ("not every colour joined the group");
        target.setColourGroup (nullptr);
        group.reset();
        state.ResumeTiming();
    }
}
} // namespace

BENCHMARK (DocumentOpen)->Arg (1000)->Arg (10000)->Arg (100000)->Unit (benchmark::kMillisecond);
BENCHMARK (DocumentOpenBareParse)->Arg (1000)->Arg (10000)->Arg (100000)->Unit (benchmark::kMillisecond);
BENCHMARK (DocumentOpenPaired)->Arg (10000)->Unit (benchmark::kMillisecond);
BENCHMARK (DocumentSave)->Arg (10000)->Unit (benchmark::kMillisecond);
BENCHMARK (DocumentSaveJuceWriter)->Arg (10000)->Unit (benchmark::kMillisecond);
BENCHMARK (DropColours)->Arg (10000)->Arg (100000)->Unit (benchmark::kMillisecond);

//==============================================================================
// A whole repaint of the main window's content at its start size, with a
// 1000-colour scheme whose shown group holds all 1000 colours, against the
// same repaint with no scheme open; and the same scheme with 3 MB names (the
// first colour's, shown in both lists, and the shown group's), against the
// ordinary one: long names are cut before they are laid out.

namespace
{
enum class Names
{
    ordinary,
    threeMegabytes
};

void paintMainComponent (benchmark::State& state, bool withScheme, Names names = Names::ordinary)
{
    juce::ApplicationCommandManager commands;
    CalvastraTintwright main (&commands);
    main.setSize (600, 450);

    // The shown group is the first one: make it hold every colour.
    SchemeModel model;
    const auto longName = juce::String::repeatedString ("Long name\r\n", 3 * 1024 * 1024 / 11);

    if (names == Names::threeMegabytes)
        model.appendColour (std::make_unique<SchemeColour> (ColourName (longName), juce::Colour (0xff336699)));

    fillScheme (model, 1000 - model.getNumColours());
    auto& everything = *model.getColourGroups().insert (0, std::make_unique<ColourGroup>());
    everything.setName (names == Names::threeMegabytes ? longName : juce::String ("Everything"));
    for (int i = 0; i < model.getNumColours(); ++i)
        everything.addColour (*model.getColour (i));
    SchemeOnDisk scheme (model);

    if (withScheme
        && (! main.openScheme (scheme.file)
            || main.getGroupPane().getGroupTweaker().getColourGroup()->getNumMembers() != 1000))
        state.SkipWithError ("the scheme is not shown");

    juce::Image image (juce::Image::ARGB, 600, 450, true);

    for (auto _ : state)
    {
        juce::Graphics g (image);
        main.paintEntireComponent (g, true);
        benchmark::DoNotOptimize (image.getPixelAt (300, 200));
    }
}

void RepaintMainComponent (benchmark::State& state) { paintMainComponent (state, true); }
void RepaintMainComponentNoScheme (benchmark::State& state) { paintMainComponent (state, false); }
void RepaintMainComponentLongNames (benchmark::State& state) { paintMainComponent (state, true, Names::threeMegabytes); }
} // namespace

BENCHMARK (RepaintMainComponent)->Unit (benchmark::kMillisecond);
BENCHMARK (RepaintMainComponentNoScheme)->Unit (benchmark::kMillisecond);
BENCHMARK (RepaintMainComponentLongNames)->Unit (benchmark::kMillisecond);
