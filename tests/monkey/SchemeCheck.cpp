// Prints a scheme file as the program's own reader reads it, in the form of
// TestProbe::describe, so the monkey test can compare a saved file with the
// scheme the program had when it saved. Exit status 1 when the file does not
// open as a scheme.
#include "app/TestProbe.h"
#include "scheme/SchemeFile.h"

#include <iostream>

int main (int argc, char* argv[])
{
    if (argc != 2)
    {
        std::cerr << "usage: tintwright_scheme_check FILE\n";
        return 2;
    }

    SchemeModel model;

    if (! SchemeFile::readSchemeFile (juce::File (juce::String::fromUTF8 (argv[1])), model))
    {
        std::cerr << "not a scheme: " << argv[1] << "\n";
        return 1;
    }

    std::cout << TestProbe::describe (model);
    return 0;
}
