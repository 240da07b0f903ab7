#include "cli/CommandLine.h"

#include <windows.h>

#include <shellapi.h>

namespace CommandLine
{
namespace
{
    std::string toUtf8 (const wchar_t* text)
    {
        const auto size = WideCharToMultiByte (CP_UTF8, 0, text, -1, nullptr, 0, nullptr, nullptr);

        if (size <= 1)
            return {};

        std::string result ((size_t) size, '\0');
        WideCharToMultiByte (CP_UTF8, 0, text, -1, result.data(), size, nullptr, nullptr);
        result.resize ((size_t) size - 1); // without the terminating zero
        return result;
    }
} // namespace

std::vector<std::string> arguments (int argc, char** argv)
{
    // What the program prints is UTF-8; a console shows it as such only when told.
    SetConsoleOutputCP (CP_UTF8);

    int count = 0;
    auto** wide = CommandLineToArgvW (GetCommandLineW(), &count);

    if (wide == nullptr)
        return { argv, argv + argc };

    std::vector<std::string> result;

    for (int i = 0; i < count; ++i)
        result.push_back (toUtf8 (wide[i]));

    LocalFree (wide);
    return result;
}
} // namespace CommandLine
