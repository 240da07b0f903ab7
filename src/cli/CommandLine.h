#pragma once

#include <string>
#include <vector>

/** The program's arguments as UTF-8, program name first. POSIX systems hand
    them over as bytes already; on Windows the 8-bit argv cannot carry every
    file name, so they are taken from the wide command line (and the console
    is told that the program prints UTF-8). */
namespace CommandLine
{
std::vector<std::string> arguments (int argc, char** argv);
} // namespace CommandLine
