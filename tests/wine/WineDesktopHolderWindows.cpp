// Holds Wine's desktop for a whole test run, started before the tests with
// its output away from them.
//
// The first window of a Wine process starts Wine's desktop process
// (explorer.exe /desktop), which takes that process's stderr with it. Wine
// ends the desktop a second after its last other user is gone. A test
// process under CTest would thus start a desktop of its own, and CTest would
// wait that second for the desktop to close the output pipe it inherited.
// While this program lives the desktop has another user: it stays, and the
// tests use it.

#include <windows.h>

#include <cstdio>

int main()
{
    // Asking for the desktop window starts the desktop process, from here,
    // and returns once it is ready.
    if (GetDesktopWindow() == nullptr)
    {
        std::fprintf (stderr, "no desktop window: error %lu\n", GetLastError());
        return 1;
    }

    std::puts ("ready");
    std::fflush (stdout);

    // Ended with the wine server at the end of the run.
    Sleep (INFINITE);
    return 0;
}
