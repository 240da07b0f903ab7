// Reads a scheme file with the program's own reader, for the monkey test.
//
//   tintwright_scheme_check FILE           prints the scheme in the form of
//                                          TestProbe::describe
//   tintwright_scheme_check FILE LISTING   compares the scheme with the one a
//                                          listing of the probe stands for
//
// Exit status: 0 (printed, or the same scheme), 1 when the file does not open
// as a scheme, 2 for bad arguments or a listing that cannot be read, 3 when
// the file holds another scheme (the first difference is printed).
#include "app/TestProbe.h"
#include "scheme/SchemeComparison.h"
#include "schemefile/SchemeFile.h"

#include <iostream>

int main (int argc, char* argv[])
{
    if (argc != 2 && argc != 3)
    {
        std::cerr << "usage: tintwright_scheme_check FILE [LISTING]\n";
        return 2;
    }

    SchemeModel model;

    if (! SchemeFile::readSchemeFile (juce::File (juce::String::fromUTF8 (argv[1])), model))
    {
        std::cerr << "not a scheme: " << argv[1] << "\n";
        return 1;
    }

    if (argc == 2)
    {
        std::cout << TestProbe::describe (model);
        return 0;
    }

    juce::MemoryBlock listing;
    SchemeModel expected;

    if (! juce::File (juce::String::fromUTF8 (argv[2])).loadFileAsData (listing)
        || ! TestProbe::readDescription (listing, expected))
    {
        std::cerr << "not a listing of the probe: " << argv[2] << "\n";
        return 2;
    }

    const auto difference = SchemeComparison::firstDifference (expected, model);

    if (difference.isEmpty())
        return 0;

    std::cout << "saved scheme != file: " << difference << "\n";
    return 3;
}
