#include "schemefile/AtomicFileReplaceCommon.h"

#include <windows.h>

namespace AtomicFileReplace
{
namespace
{
    struct Handle
    {
        explicit Handle (HANDLE h) noexcept : handle (h) {}
        ~Handle() { close(); }

        bool isValid() const noexcept { return handle != INVALID_HANDLE_VALUE; }

        bool close() noexcept
        {
            if (! isValid())
                return true;

            const bool closed = ::CloseHandle (handle) != 0;
            handle = INVALID_HANDLE_VALUE;
            return closed;
        }

        HANDLE handle;

        JUCE_DECLARE_NON_COPYABLE (Handle)
    };

    const wchar_t* wide (const juce::File& file)
    {
        return file.getFullPathName().toWideCharPointer();
    }

    bool writeAll (HANDLE handle, const char* data, size_t size, const Faults* faults) noexcept
    {
        // A failing write still writes half: what it wrote must not reach the target.
        const bool failing = fails (faults, Step::write);

        if (failing)
            size /= 2;

        while (size > 0)
        {
            DWORD written = 0;

            if (! ::WriteFile (handle, data, (DWORD) std::min (size, (size_t) (1 << 30)), &written, nullptr) || written == 0)
                return false;

            data += written;
            size -= (size_t) written;
        }

        return ! failing;
    }

    // The replaced file's own attributes (hidden, say) go to the new file.
    bool copyAttributes (HANDLE handle, DWORD targetAttributes) noexcept
    {
        const DWORD kept = FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_ARCHIVE
                           | FILE_ATTRIBUTE_NOT_CONTENT_INDEXED;
        FILE_BASIC_INFO basic {}; // zero times: left as they are
        basic.FileAttributes = (targetAttributes & kept) != 0 ? (targetAttributes & kept) : FILE_ATTRIBUTE_NORMAL;
        return ::SetFileInformationByHandle (handle, FileBasicInfo, &basic, sizeof (basic)) != 0;
    }

    bool isSharingError (DWORD error) noexcept
    {
        return error == ERROR_SHARING_VIOLATION || error == ERROR_LOCK_VIOLATION;
    }

    // Another program that opened the target without letting others delete
    // it makes the replace fail; asking first tells the user why.
    bool isHeldByAnotherProgram (const juce::File& target) noexcept
    {
        Handle probe (::CreateFileW (wide (target), DELETE, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
        return ! probe.isValid() && isSharingError (::GetLastError());
    }

    // The move was written through; flushing the file as it now stands makes
    // its new entry lasting too.
    bool syncReplaced (const juce::File& destination, const Faults* faults) noexcept
    {
        if (fails (faults, Step::syncFolder))
            return false;

        Handle replaced (::CreateFileW (wide (destination), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
        return replaced.isValid() && ::FlushFileBuffers (replaced.handle) != 0 && replaced.close();
    }

    bool isRunning (juce::uint32 processId)
    {
        Handle process (::OpenProcess (SYNCHRONIZE, FALSE, processId));

        if (process.handle == nullptr)
        {
            process.handle = INVALID_HANDLE_VALUE;
            // No such process; anything else (access denied) means it runs.
            return ::GetLastError() != ERROR_INVALID_PARAMETER;
        }

        return ::WaitForSingleObject (process.handle, 0) == WAIT_TIMEOUT;
    }
} // namespace

Outcome replace (const juce::File& target, const void* data, size_t size, const Faults* faults)
{
    auto destination = resolveLinks (target);

    if (destination == juce::File() || destination.isDirectory())
        return Outcome::failed;

    const auto attributes = ::GetFileAttributesW (wide (destination));
    const bool targetExists = attributes != INVALID_FILE_ATTRIBUTES;

    if (targetExists && (attributes & FILE_ATTRIBUTE_READONLY) != 0)
        return Outcome::targetReadOnly;

    if (targetExists && isHeldByAnotherProgram (destination))
        return Outcome::targetInUse;

    auto folder = destination.getParentDirectory();
    juce::File temporary;
    Handle file (INVALID_HANDLE_VALUE);

    // CREATE_NEW, so nothing else's file is ever truncated; no sharing, so
    // nothing reads the file half written.
    for (int attempt = 0; attempt < 16 && ! file.isValid(); ++attempt)
    {
        if (fails (faults, Step::createTemporary))
            return Outcome::failed;

        temporary = freshTemporaryFile (folder, (juce::uint32)::GetCurrentProcessId());
        file.handle = ::CreateFileW (wide (temporary), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);

        if (! file.isValid() && ::GetLastError() != ERROR_FILE_EXISTS && ::GetLastError() != ERROR_ALREADY_EXISTS)
            return Outcome::failed;
    }

    if (! file.isValid())
        return Outcome::failed;

    removeLeftoversOfDeadWriters (folder, isRunning);

    bool ok = writeAll (file.handle, static_cast<const char*> (data), size, faults);

    if (ok && targetExists)
        ok = ! fails (faults, Step::setPermissions) && copyAttributes (file.handle, attributes);

    ok = ok && ! fails (faults, Step::flush) && ::FlushFileBuffers (file.handle) != 0;
    ok = file.close() && ! fails (faults, Step::close) && ok;

    DWORD moveError = ERROR_SUCCESS;

    if (ok && fails (faults, Step::replaceTarget))
        ok = false;
    else if (ok && ! ::MoveFileExW (wide (temporary), wide (destination), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
    {
        ok = false;
        moveError = ::GetLastError();
    }

    if (! ok)
    {
        ::DeleteFileW (wide (temporary));
        return isSharingError (moveError) ? Outcome::targetInUse : Outcome::failed;
    }

    return syncReplaced (destination, faults) ? Outcome::replaced : Outcome::replacedNotLasting;
}
} // namespace AtomicFileReplace
