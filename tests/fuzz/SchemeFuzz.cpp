// libFuzzer target: arbitrary bytes are opened as a scheme file by the
// document, the document is saved, the saved file is opened by a second
// document, and the two models must agree; saving the second gives the same
// bytes again. Any disagreement aborts, so libFuzzer keeps the input as a crash.
// So does an input that takes more than a second of processor time: libFuzzer's
// own limit counts wall-clock time, which a busy machine stretches, so the
// script gives it a generous limit that only catches inputs that never finish.

#include "document/CalvastraScheme.h"
#include "scheme/SchemeComparison.h"
#include "schemefile/SchemeWriter.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <iostream>
#include <unistd.h>

namespace
{
[[noreturn]] void fail (const char* what)
{
    std::fprintf (stderr, "SchemeFuzz: %s\n", what);
    std::abort();
}

void check (bool condition, const char* what)
{
    if (! condition)
        fail (what);
}

// Scratch files in memory when possible: libFuzzer runs this millions of times.
juce::File scratchFolder()
{
    juce::File shm ("/dev/shm");
    return shm.isDirectory() ? shm : juce::File::getSpecialLocation (juce::File::tempDirectory);
}

constexpr double maxProcessorSecondsPerInput = 1.0;

double processorSecondsOfThisThread()
{
    timespec now {};
    clock_gettime (CLOCK_THREAD_CPUTIME_ID, &now);
    return (double) now.tv_sec + (double) now.tv_nsec * 1.0e-9;
}

// One plain write: File::replaceWithData goes through a temporary file and a
// rename, whose calls cost more than opening and saving most inputs.
bool writeWhole (const juce::File& file, const uint8_t* data, size_t size)
{
    auto* out = std::fopen (file.getFullPathName().toRawUTF8(), "wb");

    if (out == nullptr)
        return false;

    const bool written = std::fwrite (data, 1, size, out) == size;
    return std::fclose (out) == 0 && written;
}

juce::File scratchFile (const char* tag)
{
    return scratchFolder().getChildFile (juce::String ("tintwright-fuzz-") + juce::String (getpid()) + "-" + tag
                                         + ".calvastrascheme");
}
} // namespace

extern "C" int LLVMFuzzerInitialize (int*, char***)
{
    // JUCE's debug logging (assertions) goes to std::cerr; keep the fuzzer's
    // output readable. Sanitizer reports do not go through iostreams.
    std::cerr.rdbuf (nullptr);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput (const uint8_t* data, size_t size)
{
    static const auto input = scratchFile ("in");
    static const auto saved = scratchFile ("saved");

    check (writeWhole (input, data, size), "cannot write the scratch file");

    // libFuzzer ends the process without running exit handlers, so nothing
    // is left on disk between two inputs.
    struct RemoveScratchFiles
    {
        ~RemoveScratchFiles()
        {
            input.deleteFile();
            saved.deleteFile();

            if (processorSecondsOfThisThread() - started > maxProcessorSecondsPerInput)
                fail ("an input took more than a second of processor time");
        }

        double started = processorSecondsOfThisThread();
    } removeScratchFiles;

    CalvastraScheme first;
    const bool opened = first.loadDocument (input).wasOk();

    if (! opened)
        return 0;

    check (first.saveDocument (saved).wasOk(), "saving failed");

    CalvastraScheme second;
    check (second.loadDocument (saved).wasOk(), "the saved file does not open");

    if (const auto difference = SchemeComparison::firstDifference (first, second); difference.isNotEmpty())
        fail (("the saved file reads back as another scheme: " + difference).toRawUTF8());

    // What was written is what the writer makes of the model, and saving the
    // reopened scheme gives the very same bytes.
    const auto firstBytes = SchemeWriter::write (first);
    juce::MemoryBlock onDisk;
    check (saved.loadFileAsData (onDisk) && onDisk == juce::MemoryBlock (firstBytes.data(), firstBytes.size()),
           "the saved file is not the written model");
    check (SchemeWriter::write (second) == firstBytes, "saving the reopened scheme gives other bytes");

    return 0;
}
