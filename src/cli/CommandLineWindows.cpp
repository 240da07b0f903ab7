#include "cli/CommandLine.h"

#include "scheme/SchemeNames.h"

#include <windows.h>

#include <shellapi.h>

namespace CommandLine
{
namespace
{
    // A lone surrogate (which Windows allows in its strings) is kept as its
    // own code point rather than replaced, as a scheme file's names keep one,
    // so that what reads the argument can tell, and refuse it where it needs text.
    std::string toUtf8 (const wchar_t* text)
    {
        static_assert (sizeof (wchar_t) == sizeof (char16_t));
        return SchemeNames::fromUtf16 (reinterpret_cast<const char16_t*> (text), wcslen (text)).text.toStdString();
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
