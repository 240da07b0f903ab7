#include "schemefile/AtomicFileReplace.h"

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
    const char* pathOf (const juce::File& file)
    {
        return file.getFullPathName().toRawUTF8();
    }

    /** errno when the call returned -1; 0 when it went through. */
    int errorOf (int returned)
    {
        return returned == 0 ? 0 : errno;
    }

    class PosixOperations final : public Operations
    {
    public:
        ~PosixOperations() override { close(); }

        int examine (const juce::File& target, Target& found) override
        {
            if (target.getFullPathName().isEmpty())
                return ENOENT;

            struct stat info;

            if (::stat (pathOf (target), &info) != 0)
                return errno == ENOENT ? 0 : errno;

            if (S_ISDIR (info.st_mode))
                return EISDIR; // as rename() would say

            found.exists = true;
            // Root could write over it; the user marked it read-only, so it stays.
            found.readOnly = (info.st_mode & 0222) == 0;
            found.permissions = info.st_mode & 07777;
            return 0;
        }

        int createTemporary (const juce::File& temporary) override
        {
            fd = ::open (pathOf (temporary), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
            return fd < 0 ? errno : 0;
        }

        int write (const char* data, size_t size) override
        {
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

            return 0;
        }

        int keepPermissions (const Target& target) override { return errorOf (::fchmod (fd, (mode_t) target.permissions)); }
        int flush() override { return errorOf (::fsync (fd)); }

        int close() override
        {
            if (fd < 0)
                return 0;

            const auto error = errorOf (::close (fd));
            fd = -1;
            return error;
        }

        int replaceTarget (const juce::File& temporary, const juce::File& target) override
        {
            return errorOf (::rename (pathOf (temporary), pathOf (target)));
        }

        void removeTemporary (const juce::File& temporary) override { ::unlink (pathOf (temporary)); }

        int syncReplace (const juce::File& target) override
        {
            // A folder this user may write to but not read cannot be opened to
            // sync, and a file system that does not sync folders has nothing to
            // confirm; any other failure leaves the replace unconfirmed.
            auto folder = ::open (pathOf (target.getParentDirectory()), O_RDONLY | O_DIRECTORY | O_CLOEXEC);

            if (folder < 0)
                return errno == EACCES ? 0 : errno;

            const int error = ::fsync (folder) == 0 || errno == EINVAL || errno == EOPNOTSUPP ? 0 : errno;
            ::close (folder); // nothing was written through it
            return error;
        }

        bool isNameTaken (int error) const override { return error == EEXIST; }
        bool isInUse (int) const override { return false; }
        juce::uint32 processId() const override { return (juce::uint32)::getpid(); }
        bool isRunning (juce::uint32 id) const override { return ! (::kill ((pid_t) id, 0) != 0 && errno == ESRCH); }

    private:
        int fd = -1;
    };
} // namespace

std::unique_ptr<Operations> systemOperations()
{
    return std::make_unique<PosixOperations>();
}

juce::String systemErrorText (int error)
{
    return std::strerror (error);
}
} // namespace AtomicFileReplace
