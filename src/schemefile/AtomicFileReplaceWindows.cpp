#include "schemefile/AtomicFileReplace.h"

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

    /** GetLastError() when the call reports failure; 0 when it went through. */
    int errorOf (bool succeeded)
    {
        return succeeded ? ERROR_SUCCESS : (int) ::GetLastError();
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

    class WindowsOperations final : public Operations
    {
    public:
        int examine (const juce::File& target, Target& found) override
        {
            if (target == juce::File())
                return ERROR_INVALID_NAME;

            const auto attributes = ::GetFileAttributesW (wide (target));

            if (attributes == INVALID_FILE_ATTRIBUTES)
            {
                const auto error = ::GetLastError();
                return error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND ? ERROR_SUCCESS : (int) error;
            }

            if ((attributes & FILE_ATTRIBUTE_DIRECTORY) != 0)
                return ERROR_ACCESS_DENIED; // as the move over it would say

            found.exists = true;
            found.readOnly = (attributes & FILE_ATTRIBUTE_READONLY) != 0;
            found.inUse = ! found.readOnly && isHeldByAnotherProgram (target);
            found.permissions = attributes;
            return ERROR_SUCCESS;
        }

        // No sharing, so nothing reads the file half written.
        int createTemporary (const juce::File& temporary) override
        {
            file.handle = ::CreateFileW (wide (temporary), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
            return errorOf (file.isValid());
        }

        int write (const char* data, size_t size) override
        {
            while (size > 0)
            {
                DWORD written = 0;

                if (! ::WriteFile (file.handle, data, (DWORD) std::min (size, (size_t) (1 << 30)), &written, nullptr))
                    return (int) ::GetLastError();

                if (written == 0)
                    return ERROR_WRITE_FAULT; // no progress, and the system said nothing

                data += written;
                size -= (size_t) written;
            }

            return ERROR_SUCCESS;
        }

        // The replaced file's own attributes (hidden, say) go to the new file.
        int keepPermissions (const Target& target) override
        {
            const DWORD kept = FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_ARCHIVE
                               | FILE_ATTRIBUTE_NOT_CONTENT_INDEXED;
            FILE_BASIC_INFO basic {}; // zero times: left as they are
            basic.FileAttributes = (target.permissions & kept) != 0 ? (target.permissions & kept) : FILE_ATTRIBUTE_NORMAL;
            return errorOf (::SetFileInformationByHandle (file.handle, FileBasicInfo, &basic, sizeof (basic)) != 0);
        }

        int flush() override { return errorOf (::FlushFileBuffers (file.handle) != 0); }
        int close() override { return errorOf (file.close()); }

        int replaceTarget (const juce::File& temporary, const juce::File& target) override
        {
            return errorOf (::MoveFileExW (wide (temporary), wide (target), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != 0);
        }

        void removeTemporary (const juce::File& temporary) override { ::DeleteFileW (wide (temporary)); }

        // The move was written through; flushing the file as it now stands makes
        // its new entry lasting too.
        int syncReplace (const juce::File& target) override
        {
            Handle replaced (::CreateFileW (wide (target), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
            return errorOf (replaced.isValid() && ::FlushFileBuffers (replaced.handle) && replaced.close());
        }

        bool isNameTaken (int error) const override { return error == ERROR_FILE_EXISTS || error == ERROR_ALREADY_EXISTS; }
        bool isInUse (int error) const override { return isSharingError ((DWORD) error); }
        juce::uint32 processId() const override { return (juce::uint32)::GetCurrentProcessId(); }

        bool isRunning (juce::uint32 id) const override
        {
            Handle process (::OpenProcess (SYNCHRONIZE, FALSE, id));

            if (process.handle == nullptr)
            {
                process.handle = INVALID_HANDLE_VALUE;
                // No such process; anything else (access denied) means it runs.
                return ::GetLastError() != ERROR_INVALID_PARAMETER;
            }

            return ::WaitForSingleObject (process.handle, 0) == WAIT_TIMEOUT;
        }

    private:
        Handle file { INVALID_HANDLE_VALUE };
    };
} // namespace

std::unique_ptr<Operations> systemOperations()
{
    return std::make_unique<WindowsOperations>();
}

juce::String systemErrorText (int error)
{
    wchar_t* text = nullptr;
    const auto length = ::FormatMessageW (FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
                                          nullptr,
                                          (DWORD) error,
                                          0,
                                          reinterpret_cast<wchar_t*> (&text),
                                          0,
                                          nullptr);

    if (length == 0 || text == nullptr)
        return {};

    juce::String message (text, (size_t) length);
    ::LocalFree (text);

    // "There is not enough space on the disk.\r\n": one line, no full stop, as strerror's.
    message = message.trim();
    return message.endsWithChar ('.') ? message.dropLastCharacters (1) : message;
}
} // namespace AtomicFileReplace
