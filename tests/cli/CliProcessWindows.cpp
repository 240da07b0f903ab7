#include "cli/CliProcess.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <thread>

namespace CliProcess
{
namespace
{
    // UTF-16 as the system passes arguments; a lone surrogate (which a file's
    // name may hold) stays itself, as it would in a Windows command line.
    std::wstring toWide (const juce::String& text)
    {
        std::wstring wide;

        for (auto p = text.getCharPointer(); ! p.isEmpty();)
        {
            auto c = (uint32_t) p.getAndAdvance();

            if (c >= 0x10000)
            {
                c -= 0x10000;
                wide += (wchar_t) (0xd800 + (c >> 10));
                wide += (wchar_t) (0xdc00 + (c & 0x3ff));
            }
            else
            {
                wide += (wchar_t) c;
            }
        }

        return wide;
    }

    // One argument as CommandLineToArgvW (and the C runtime) splits it back:
    // quoted when it holds blanks or quotes or is empty, each quote escaped
    // with a backslash, and backslashes doubled only before a quote.
    void appendQuoted (std::wstring& line, const std::wstring& argument)
    {
        if (! argument.empty() && argument.find_first_of (L" \t\n\v\"") == std::wstring::npos)
        {
            line += argument;
            return;
        }

        line += L'"';
        size_t backslashes = 0;

        for (const auto c : argument)
        {
            if (c == L'\\')
            {
                ++backslashes;
                continue;
            }

            line.append (c == L'"' ? backslashes * 2 + 1 : backslashes, L'\\');
            backslashes = 0;
            line += c;
        }

        line.append (backslashes * 2, L'\\'); // they come before the closing quote
        line += L'"';
    }

    // The system's own text for an error code, in the user's language.
    juce::String systemText (DWORD error)
    {
        wchar_t* text = nullptr;
        const auto length = FormatMessageW (FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
                                            nullptr,
                                            error,
                                            0,
                                            reinterpret_cast<wchar_t*> (&text),
                                            0,
                                            nullptr);
        const auto message = length > 0 ? juce::String (text, (size_t) length).trim() : juce::String ("error " + juce::String ((int) error));
        LocalFree (text);
        return message;
    }

    // What failed, in the system's words, as a failure of the running test.
    void reportFailure (const juce::String& what)
    {
        const auto error = GetLastError();
        ADD_FAILURE() << what << ": " << systemText (error) << " (error " << error << ")";
    }

    struct Handle
    {
        ~Handle() { reset(); }

        void reset()
        {
            if (h != nullptr && h != INVALID_HANDLE_VALUE)
                CloseHandle (h);

            h = nullptr;
        }

        HANDLE h = nullptr;
    };

    // A pipe whose writing end the child inherits; our reading end stays ours.
    bool makePipe (Handle& readEnd, Handle& writeEnd)
    {
        SECURITY_ATTRIBUTES inherit { sizeof (inherit), nullptr, TRUE };
        return CreatePipe (&readEnd.h, &writeEnd.h, &inherit, 0)
               && SetHandleInformation (readEnd.h, HANDLE_FLAG_INHERIT, 0);
    }

    void readAll (HANDLE pipe, std::string& into)
    {
        char buffer[65536];
        DWORD got = 0;

        while (ReadFile (pipe, buffer, sizeof (buffer), &got, nullptr) && got > 0)
            into.append (buffer, got);
    }
} // namespace

Result runProgram (const juce::String& program, const juce::StringArray& arguments)
{
    Result result;
    Handle outRead, outWrite, errRead, errWrite, input;

    if (! makePipe (outRead, outWrite) || ! makePipe (errRead, errWrite))
    {
        reportFailure ("cannot make the pipes for " + program);
        return result;
    }

    SECURITY_ATTRIBUTES inherit { sizeof (inherit), nullptr, TRUE };
    input.h = CreateFileW (L"NUL", GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, &inherit, OPEN_EXISTING, 0, nullptr);

    if (input.h == INVALID_HANDLE_VALUE)
    {
        reportFailure ("cannot open NUL as the standard input of " + program);
        return result;
    }

    const auto programPath = toWide (program);
    std::wstring commandLine;
    appendQuoted (commandLine, programPath);

    for (const auto& a : arguments)
    {
        commandLine += L' ';
        appendQuoted (commandLine, toWide (a));
    }

    STARTUPINFOW startup {};
    startup.cb = sizeof (startup);
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdInput = input.h;
    startup.hStdOutput = outWrite.h;
    startup.hStdError = errWrite.h;

    PROCESS_INFORMATION process {};

    if (! CreateProcessW (programPath.c_str(), commandLine.data(), nullptr, nullptr, TRUE, CREATE_NO_WINDOW, nullptr, nullptr, &startup, &process))
    {
        reportFailure ("cannot start " + program);
        return result;
    }

    Handle processHandle, threadHandle;
    processHandle.h = process.hProcess;
    threadHandle.h = process.hThread;

    // Only the child holds the writing ends now, so its exit ends the reads.
    outWrite.reset();
    errWrite.reset();
    input.reset();

    // Each pipe read on a thread of its own: a child blocked on a full
    // stderr while we wait on its stdout would never finish.
    std::string outBytes, errBytes;
    std::thread errReader ([&]
                           { readAll (errRead.h, errBytes); });
    readAll (outRead.h, outBytes);
    errReader.join();

    DWORD exitCode = 0;

    if (WaitForSingleObject (process.hProcess, INFINITE) == WAIT_FAILED)
        reportFailure ("cannot wait for " + program);
    else if (! GetExitCodeProcess (process.hProcess, &exitCode))
        reportFailure ("cannot read the exit code of " + program);
    else
        result.exitCode = (int) exitCode;

    // The C runtime ends a Windows program's text lines with CR LF; the
    // tests compare what the lines say.
    result.out = juce::String::fromUTF8 (outBytes.data(), (int) outBytes.size()).replace ("\r\n", "\n");
    result.err = juce::String::fromUTF8 (errBytes.data(), (int) errBytes.size()).replace ("\r\n", "\n");
    return result;
}
} // namespace CliProcess
