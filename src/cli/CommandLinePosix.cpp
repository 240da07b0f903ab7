#include "cli/CommandLine.h"

namespace CommandLine
{
std::vector<std::string> arguments (int argc, char** argv)
{
    return { argv, argv + argc };
}
} // namespace CommandLine
