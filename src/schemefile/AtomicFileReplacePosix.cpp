#include "schemefile/AtomicFileReplaceCommon.h"

#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace AtomicFileReplace
{
namespace
{
    bool writeAll (int fd, const char* data, size_t size, const Faults* faults) noexcept
    {
        // A failing write still writes half: what it wrote must not reach the target.
        const bool failing = fails (faults, Step::write);

        if (failing)
            size /= 2;

        while (size > 0)
        {
            auto written = ::write (fd, data, std::min (size, (size_t) (1 << 30)));

            if (written < 0)
            {
                if (errno == EINTR)
                    continue;
                return false;
            }

            data += written;
            size -= (size_t) written;
        }

        return ! failing;
    }

    bool syncFolder (const juce::File& folder, const Faults* faults) noexcept
    {
        if (fails (faults, Step::syncFolder))
            return false;

        // A folder that cannot be opened for reading, or a file system that
        // does not sync folders, leaves nothing to confirm; only a sync that
        // was tried and failed means the replace may not be stored.
        auto fd = ::open (folder.getFullPathName().toRawUTF8(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);

        if (fd < 0)
            return true;

        const bool synced = ::fsync (fd) == 0 || errno == EINVAL || errno == EOPNOTSUPP;
        ::close (fd);
        return synced;
    }

    bool isRunning (juce::uint32 processId)
    {
        return ! (::kill ((pid_t) processId, 0) != 0 && errno == ESRCH);
    }
} // namespace

Outcome replace (const juce::File& target, const void* data, size_t size, const Faults* faults)
{
    auto destination = resolveLinks (target);

    if (destination == juce::File() || destination.isDirectory())
        return Outcome::failed;

    struct stat info;
    const bool targetExists = ::stat (destination.getFullPathName().toRawUTF8(), &info) == 0;

    // Root could write over it; the user marked it read-only, so it stays.
    if (targetExists && (info.st_mode & 0222) == 0)
        return Outcome::targetReadOnly;

    auto folder = destination.getParentDirectory();
    juce::File temporary;
    int fd = -1;

    // A fresh name with O_EXCL, so nothing else's file is ever truncated.
    for (int attempt = 0; attempt < 16 && fd < 0; ++attempt)
    {
        if (fails (faults, Step::createTemporary))
            return Outcome::failed;

        temporary = freshTemporaryFile (folder, (juce::uint32)::getpid());
        fd = ::open (temporary.getFullPathName().toRawUTF8(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);

        if (fd < 0 && errno != EEXIST)
            return Outcome::failed;
    }

    if (fd < 0)
        return Outcome::failed;

    removeLeftoversOfDeadWriters (folder, isRunning);

    bool ok = writeAll (fd, static_cast<const char*> (data), size, faults);

    // Keep the permissions of the file being replaced.
    if (ok && targetExists)
        ok = ! fails (faults, Step::setPermissions) && ::fchmod (fd, info.st_mode & 07777) == 0;

    ok = ok && ! fails (faults, Step::flush) && ::fsync (fd) == 0;
    ok = ::close (fd) == 0 && ! fails (faults, Step::close) && ok;
    ok = ok && ! fails (faults, Step::replaceTarget)
         && ::rename (temporary.getFullPathName().toRawUTF8(), destination.getFullPathName().toRawUTF8()) == 0;

    if (! ok)
    {
        ::unlink (temporary.getFullPathName().toRawUTF8());
        return Outcome::failed;
    }

    return syncFolder (folder, faults) ? Outcome::replaced : Outcome::replacedNotLasting;
}
} // namespace AtomicFileReplace
