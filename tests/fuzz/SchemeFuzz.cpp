// libFuzzer target: arbitrary bytes are opened as a scheme file, the model is
// saved, the saved file is opened again, and the two models must agree. Any
// disagreement aborts, so libFuzzer keeps the input as a crash.

#include "SchemeFile.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>
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

juce::File scratchFile (const char* tag)
{
    return scratchFolder().getChildFile (juce::String ("tintwright-fuzz-") + juce::String (getpid()) + "-" + tag
                                         + ".calvastrascheme");
}

bool loadScheme (const juce::File& file, SchemeModel& model)
{
    auto root = SchemeFile::parseFile (file);

    if (root == nullptr)
        return false;

    SchemeFile::readScheme (*root, model);
    return true;
}

void checkSameModel (const SchemeModel& a, const SchemeModel& b)
{
    check (a.getNumColours() == b.getNumColours(), "colour count differs after reload");

    for (int i = 0; i < a.getNumColours(); ++i)
    {
        check (a.getColour (i)->name == b.getColour (i)->name, "colour name differs after reload");
        check (a.getColour (i)->colour.getARGB() == b.getColour (i)->colour.getARGB(),
               "colour value differs after reload");
    }

    check (a.getNumGroups() == b.getNumGroups(), "group count differs after reload");

    for (int g = 0; g < a.getNumGroups(); ++g)
    {
        auto& ga = *a.getGroup (g);
        auto& gb = *b.getGroup (g);
        check (ga.getName() == gb.getName(), "group name differs after reload");
        check (ga.getNumMembers() == gb.getNumMembers(), "member count differs after reload");

        for (int m = 0; m < ga.getNumMembers(); ++m)
            check (ga.getMember (m)->getSchemeColour().name == gb.getMember (m)->getSchemeColour().name,
                   "member differs after reload");
    }
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

    check (input.replaceWithData (data, size), "cannot write the scratch file");

    SchemeModel first;

    if (! loadScheme (input, first))
        return 0;

    auto firstText = SchemeFile::toText (*SchemeFile::createSchemeElement (first));
    check (SchemeFile::writeFileAtomically (saved, firstText).wasOk(), "saving failed");

    SchemeModel second;
    check (loadScheme (saved, second), "the saved file does not open");
    checkSameModel (first, second);

    // Saving what was reopened must give the very same bytes.
    auto secondText = SchemeFile::toText (*SchemeFile::createSchemeElement (second));
    check (firstText == secondText, "saving the reopened scheme gives other bytes");

    return 0;
}
