// Loaded after libfiu's POSIX preload (LD_PRELOAD), into a test program or a
// tintwright-cli started by one, to make real system calls fail:
//  - failure points for the calls that preload leaves out: fchmod
//    ("posix/io/perm/fchmod") and stat ("posix/io/stat/stat");
//  - one chosen call failing: the nth call of a failure point (every one for
//    n = 0), counted on the thread that chose it, with a chosen errno
//    (libfiu's external mode).
// A child process takes its choice from TINTWRIGHT_FAILING_CALL ("point n
// errno") and writes how many calls of the point it saw into the file named
// by TINTWRIGHT_FAILING_CALL_RECORD as it ends; or TINTWRIGHT_FAILING_AT_RANDOM
// ("probability point point ...") makes every call of those points fail with
// that probability (libfiu's random mode, seeded by FIU_PRNG_SEED), each
// with an errno libfiu picks among those the call can give.

#include "FailingCalls.h"

#include <fiu-control.h>
#include <fiu.h>

#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <dlfcn.h>
#include <string>
#include <sys/stat.h>
#include <thread>

namespace
{
struct Choice
{
    std::string point;
    int nth = 0;
    int seen = 0;
    std::thread::id thread;
};

Choice choice;

int countCall (const char*, int*, void**, unsigned int*)
{
    if (std::this_thread::get_id() != choice.thread)
        return 0;

    return ++choice.seen == choice.nth || choice.nth == 0 ? 1 : 0;
}

/** The call's own errno when its point fails: the one chosen, else EIO. */
int failWith()
{
    const auto chosen = (int) (std::intptr_t) fiu_failinfo();
    errno = chosen != 0 ? chosen : EIO;
    return -1;
}

template <typename Function>
Function next (const char* name)
{
    return reinterpret_cast<Function> (::dlsym (RTLD_NEXT, name));
}

struct ChildProcess
{
    ChildProcess()
    {
        fiu_init (0);

        char point[256] = {};
        int nth = 0, error = 0;

        if (const auto* text = std::getenv ("TINTWRIGHT_FAILING_CALL"))
            if (std::sscanf (text, "%255s %d %d", point, &nth, &error) == 3)
                tintwright_fail_call (point, nth, error);

        if (const auto* text = std::getenv ("TINTWRIGHT_FAILING_AT_RANDOM"))
        {
            float probability = 0;
            int read = 0;

            if (std::sscanf (text, "%f%n", &probability, &read) == 1)
                for (text += read; std::sscanf (text, "%255s%n", point, &read) == 1; text += read)
                    fiu_enable_random (point, 1, nullptr, 0, probability);
        }
    }

    ~ChildProcess()
    {
        const auto seen = tintwright_calls_seen();
        tintwright_stop_failing();

        if (const auto* path = std::getenv ("TINTWRIGHT_FAILING_CALL_RECORD"))
        {
            if (auto* file = std::fopen (path, "w"))
            {
                std::fprintf (file, "%d\n", seen);
                std::fclose (file);
            }
        }
    }
} childProcess;
} // namespace

extern "C" void tintwright_fail_call (const char* point, int nth, int error)
{
    tintwright_stop_failing();
    choice = { point, nth, 0, std::this_thread::get_id() };
    fiu_enable_external (point, 1, reinterpret_cast<void*> ((std::intptr_t) error), 0, countCall);
}

extern "C" int tintwright_calls_seen()
{
    return choice.seen;
}

extern "C" void tintwright_stop_failing()
{
    if (! choice.point.empty())
        fiu_disable (choice.point.c_str());

    choice = {};
}

// The calls libfiu's POSIX preload leaves out, as failure points of their own.
extern "C" int fchmod (int fd, mode_t mode)
{
    static const auto real = next<int (*) (int, mode_t)> ("fchmod");
    return fiu_fail ("posix/io/perm/fchmod") ? failWith() : real (fd, mode);
}

extern "C" int stat (const char* path, struct stat* info)
{
    static const auto real = next<int (*) (const char*, struct stat*)> ("stat");
    return fiu_fail ("posix/io/stat/stat") ? failWith() : real (path, info);
}

extern "C" int stat64 (const char* path, struct stat64* info)
{
    static const auto real = next<int (*) (const char*, struct stat64*)> ("stat64");
    return fiu_fail ("posix/io/stat/stat") ? failWith() : real (path, info);
}
