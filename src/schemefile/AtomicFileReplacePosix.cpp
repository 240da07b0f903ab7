#include "schemefile/AtomicFileReplaceCommon.h"

#include <cerrno>
#include <csignal>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace AtomicFileReplace
{
namespace
{
    Result failure (Step step, int error)
    {
        return { Outcome::failed, step, error };
    }

    /** The error of one step: the fault's, else the call's errno when it
        returns -1; 0 when it went through. */
    template <typename Call>
    int errorOf (const Faults* faults, Step step, Call&& call)
    {
        if (auto error = faultFor (faults, step))
            return error;

        return call() == 0 ? 0 : errno;
    }

    int writeAll (int fd, const char* data, size_t size, const Faults* faults) noexcept
    {
        // A failing write still writes half: what it wrote must not reach the target.
        const auto fault = faultFor (faults, Step::write);

        if (fault != 0)
            size /= 2;

        while (size > 0)
        {
            auto written = ::write (fd, data, std::min (size, (size_t) (1 << 30)));

            if (written < 0)
            {
                if (errno == EINTR)
                    continue;
                return errno;
            }

            data += written;
            size -= (size_t) written;
        }

        return fault;
    }

    int syncFolder (const juce::File& folder, const Faults* faults) noexcept
    {
        if (auto error = faultFor (faults, Step::syncFolder))
            return error;

        // A folder this user may write to but not read cannot be opened to
        // sync, and a file system that does not sync folders has nothing to
        // confirm; any other failure leaves the replace unconfirmed.
        auto fd = ::open (folder.getFullPathName().toRawUTF8(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);

        if (fd < 0)
            return errno == EACCES ? 0 : errno;

        const int error = ::fsync (fd) == 0 || errno == EINVAL || errno == EOPNOTSUPP ? 0 : errno;
        ::close (fd); // nothing was written through it
        return error;
    }

    bool isRunning (juce::uint32 processId)
    {
        return ! (::kill ((pid_t) processId, 0) != 0 && errno == ESRCH);
    }
} // namespace

juce::String systemErrorText (int error)
{
    return std::strerror (error);
}

Result replace (const juce::File& target, const void* data, size_t size, const Faults* faults)
{
    auto destination = resolveLinks (target);
    const auto path = destination.getFullPathName();

    if (path.isEmpty())
        return failure (Step::examineTarget, ENOENT);

    // Only a missing file is no reason to stop: a target that cannot be
    // looked at might be read-only, and its permissions could not be kept.
    struct stat info;
    const int examineError = errorOf (faults, Step::examineTarget, [&]
                                      { return ::stat (path.toRawUTF8(), &info); });
    const bool targetExists = examineError == 0;

    if (examineError != 0 && examineError != ENOENT)
        return failure (Step::examineTarget, examineError);

    if (targetExists && S_ISDIR (info.st_mode))
        return failure (Step::examineTarget, EISDIR); // as rename() would say

    // Root could write over it; the user marked it read-only, so it stays.
    if (targetExists && (info.st_mode & 0222) == 0)
        return { Outcome::targetReadOnly };

    auto folder = destination.getParentDirectory();
    juce::File temporary;
    int fd = -1;

    // A fresh name with O_EXCL, so nothing else's file is ever truncated.
    for (int attempt = 0; attempt < 16 && fd < 0; ++attempt)
    {
        if (auto error = faultFor (faults, Step::createTemporary))
            return failure (Step::createTemporary, error);

        temporary = freshTemporaryFile (folder, (juce::uint32)::getpid());
        fd = ::open (temporary.getFullPathName().toRawUTF8(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);

        if (fd < 0 && errno != EEXIST)
            return failure (Step::createTemporary, errno);
    }

    if (fd < 0)
        return failure (Step::createTemporary, EEXIST);

    removeLeftoversOfDeadWriters (folder, isRunning);

    // The first step that fails is the one reported; the file is closed whatever happened.
    Result result;
    const auto fail = [&result] (Step step, int error)
    {
        if (error != 0 && result.outcome == Outcome::replaced)
            result = failure (step, error);
    };

    fail (Step::write, writeAll (fd, static_cast<const char*> (data), size, faults));

    // Keep the permissions of the file being replaced.
    if (result.outcome == Outcome::replaced && targetExists)
        fail (Step::setPermissions, errorOf (faults, Step::setPermissions, [&]
                                             { return ::fchmod (fd, info.st_mode & 07777); }));

    if (result.outcome == Outcome::replaced)
        fail (Step::flush, errorOf (faults, Step::flush, [&]
                                    { return ::fsync (fd); }));

    const int closeError = ::close (fd) == 0 ? faultFor (faults, Step::close) : errno;
    fail (Step::close, closeError);

    if (result.outcome == Outcome::replaced)
        fail (Step::replaceTarget, errorOf (faults, Step::replaceTarget, [&]
                                            { return ::rename (temporary.getFullPathName().toRawUTF8(), path.toRawUTF8()); }));

    if (result.outcome != Outcome::replaced)
    {
        ::unlink (temporary.getFullPathName().toRawUTF8());
        return result;
    }

    if (auto error = syncFolder (folder, faults))
        return { Outcome::replacedNotLasting, Step::syncFolder, error };

    return result;
}
} // namespace AtomicFileReplace
