#include "scheme/AtomicFileReplace.h"

#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace AtomicFileReplace
{
namespace
{
    const char* const temporaryPrefix = ".tintwright-";

    bool writeAll (int fd, const char* data, size_t size) noexcept
    {
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

        return true;
    }

    juce::File resolveLinks (juce::File file)
    {
        for (int hops = 0; hops < 40 && file.isSymbolicLink(); ++hops)
            file = file.getLinkedTarget();

        return file;
    }

    void syncFolder (const juce::File& folder) noexcept
    {
        // Makes the rename itself durable; the data already is, so failure is not fatal.
        auto fd = ::open (folder.getFullPathName().toRawUTF8(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);

        if (fd >= 0)
        {
            ::fsync (fd);
            ::close (fd);
        }
    }

    // A writer killed between creating its temporary file and the rename leaves
    // that file behind. Its name carries the writer's process id, so a later save
    // into the same folder removes the left-overs of writers that no longer run.
    void removeLeftoversOfDeadWriters (const juce::File& folder)
    {
        for (auto& file : folder.findChildFiles (juce::File::findFiles, false, juce::String (temporaryPrefix) + "*.tmp"))
        {
            auto pidText = file.getFileName().substring ((int) std::strlen (temporaryPrefix)).upToFirstOccurrenceOf ("-", false, false);

            if (pidText.isEmpty() || pidText.length() > 9 || ! pidText.containsOnly ("0123456789"))
                continue;

            if (::kill ((pid_t) pidText.getIntValue(), 0) != 0 && errno == ESRCH)
                file.deleteFile();
        }
    }
} // namespace

bool replace (const juce::File& target, const void* data, size_t size)
{
    auto destination = resolveLinks (target);

    if (destination == juce::File() || destination.isDirectory())
        return false;

    auto folder = destination.getParentDirectory();
    auto& random = juce::Random::getSystemRandom();
    juce::File temporary;
    int fd = -1;

    // A fresh name with O_EXCL, so nothing else's file is ever truncated; the
    // name does not grow with the target's, so a long target name still fits.
    for (int attempt = 0; attempt < 16 && fd < 0; ++attempt)
    {
        temporary = folder.getChildFile (temporaryPrefix + juce::String (::getpid()) + "-"
                                         + juce::String::toHexString (random.nextInt64()) + ".tmp");
        fd = ::open (temporary.getFullPathName().toRawUTF8(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);

        if (fd < 0 && errno != EEXIST)
            return false;
    }

    if (fd < 0)
        return false;

    removeLeftoversOfDeadWriters (folder);

    bool ok = writeAll (fd, static_cast<const char*> (data), size);

    // Keep the permissions of the file being replaced.
    struct stat info;
    if (ok && ::stat (destination.getFullPathName().toRawUTF8(), &info) == 0)
        ok = ::fchmod (fd, info.st_mode & 07777) == 0;

    ok = ok && ::fsync (fd) == 0;
    ok = ::close (fd) == 0 && ok;
    ok = ok && ::rename (temporary.getFullPathName().toRawUTF8(), destination.getFullPathName().toRawUTF8()) == 0;

    if (! ok)
    {
        ::unlink (temporary.getFullPathName().toRawUTF8());
        return false;
    }

    syncFolder (folder);
    return true;
}
} // namespace AtomicFileReplace
