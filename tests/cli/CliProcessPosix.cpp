#include "cli/CliProcess.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <poll.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <vector>

extern char** environ;

namespace CliProcess
{
namespace
{
    // What failed, in the system's words, as a failure of the running test.
    void reportFailure (const juce::String& what, int error)
    {
        ADD_FAILURE() << what << ": " << std::strerror (error) << " (errno " << error << ")";
    }

    struct Pipe
    {
        Pipe()
        {
            // Close-on-exec: the child gets only the ends dup2'd onto its 1 and 2.
            ok = pipe (ends) == 0 && fcntl (ends[0], F_SETFD, FD_CLOEXEC) == 0 && fcntl (ends[1], F_SETFD, FD_CLOEXEC) == 0;
        }

        ~Pipe()
        {
            closeEnd (0);
            closeEnd (1);
        }

        void closeEnd (int which)
        {
            if (ends[which] >= 0)
                close (ends[which]);

            ends[which] = -1;
        }

        int ends[2] { -1, -1 };
        bool ok = false;
    };

    // Both pipes are read as they fill: a child blocked on a full stderr
    // while we wait on its stdout would never finish.
    void readBoth (int outFd, int errFd, std::string& out, std::string& err)
    {
        pollfd fds[] { { outFd, POLLIN, 0 }, { errFd, POLLIN, 0 } };
        std::string* targets[] { &out, &err };
        char buffer[65536];

        while (fds[0].fd >= 0 || fds[1].fd >= 0)
        {
            if (poll (fds, 2, -1) < 0)
            {
                if (errno == EINTR)
                    continue;

                return;
            }

            for (int i = 0; i < 2; ++i)
            {
                if (fds[i].fd < 0 || fds[i].revents == 0)
                    continue;

                const auto got = read (fds[i].fd, buffer, sizeof (buffer));

                if (got > 0)
                    targets[i]->append (buffer, (size_t) got);
                else if (got == 0 || errno != EINTR)
                    fds[i].fd = -1; // closed by the child: a negative descriptor is ignored by poll
            }
        }
    }
} // namespace

Result runProgram (const juce::String& program, const juce::StringArray& arguments)
{
    Result result;
    Pipe out, err;

    if (! out.ok || ! err.ok)
    {
        reportFailure ("cannot make the pipes for " + program, errno);
        return result;
    }

    std::vector<std::string> strings { program.toStdString() };

    for (const auto& a : arguments)
        strings.push_back (a.toStdString());

    std::vector<char*> argv;

    for (auto& s : strings)
        argv.push_back (s.data());

    argv.push_back (nullptr);

    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init (&actions);
    posix_spawn_file_actions_addopen (&actions, STDIN_FILENO, "/dev/null", O_RDONLY, 0);
    posix_spawn_file_actions_adddup2 (&actions, out.ends[1], STDOUT_FILENO);
    posix_spawn_file_actions_adddup2 (&actions, err.ends[1], STDERR_FILENO);

    pid_t pid = 0;
    const auto spawned = posix_spawn (&pid, argv[0], &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy (&actions);

    if (spawned != 0)
    {
        reportFailure ("cannot start " + program, spawned);
        return result;
    }

    // Only the child holds the writing ends now, so its exit ends the reads.
    out.closeEnd (1);
    err.closeEnd (1);

    std::string outBytes, errBytes;
    readBoth (out.ends[0], err.ends[0], outBytes, errBytes);

    int status = 0;

    pid_t waited = 0;

    while ((waited = waitpid (pid, &status, 0)) < 0 && errno == EINTR)
    {
    }

    if (waited < 0)
        reportFailure ("cannot wait for " + program, errno);
    else if (WIFEXITED (status))
        result.exitCode = WEXITSTATUS (status);
    else if (WIFSIGNALED (status))
        result.exitCode = 128 + WTERMSIG (status); // as a shell reports it

    result.out = juce::String::fromUTF8 (outBytes.data(), (int) outBytes.size());
    result.err = juce::String::fromUTF8 (errBytes.data(), (int) errBytes.size());
    return result;
}
} // namespace CliProcess
