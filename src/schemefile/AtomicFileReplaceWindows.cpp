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

    Result failure (Step step, DWORD error)
    {
        return { Outcome::failed, step, (int) error };
    }

    /** The error of one step: the fault's, else GetLastError() when the call
        reports failure; 0 when it went through. */
    template <typename Call>
    DWORD errorOf (const Faults* faults, Step step, Call&& call)
    {
        if (auto error = faultFor (faults, step))
            return (DWORD) error;

        return call() ? ERROR_SUCCESS : ::GetLastError();
    }

    DWORD writeAll (HANDLE handle, const char* data, size_t size, const Faults* faults) noexcept
    {
        // A failing write still writes half: what it wrote must not reach the target.
        const auto fault = (DWORD) faultFor (faults, Step::write);

        if (fault != ERROR_SUCCESS)
            size /= 2;

        while (size > 0)
        {
            DWORD written = 0;

            if (! ::WriteFile (handle, data, (DWORD) std::min (size, (size_t) (1 << 30)), &written, nullptr))
                return ::GetLastError();

            if (written == 0)
                return ERROR_WRITE_FAULT; // no progress, and the system said nothing

            data += written;
            size -= (size_t) written;
        }

        return fault;
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
    DWORD syncReplaced (const juce::File& destination, const Faults* faults) noexcept
    {
        if (auto error = faultFor (faults, Step::syncFolder))
            return (DWORD) error;

        Handle replaced (::CreateFileW (wide (destination), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));

        if (! replaced.isValid() || ! ::FlushFileBuffers (replaced.handle) || ! replaced.close())
            return ::GetLastError();

        return ERROR_SUCCESS;
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

Result replace (const juce::File& target, const void* data, size_t size, const Faults* faults)
{
    auto destination = resolveLinks (target);

    if (destination == juce::File())
        return failure (Step::examineTarget, ERROR_INVALID_NAME);

    // Only a missing file is no reason to stop: a target that cannot be
    // looked at might be read-only.
    DWORD attributes = INVALID_FILE_ATTRIBUTES;
    const auto examineError = errorOf (faults, Step::examineTarget, [&]
                                       { return (attributes = ::GetFileAttributesW (wide (destination))) != INVALID_FILE_ATTRIBUTES; });
    const bool targetExists = examineError == ERROR_SUCCESS;

    if (! targetExists && examineError != ERROR_FILE_NOT_FOUND && examineError != ERROR_PATH_NOT_FOUND)
        return failure (Step::examineTarget, examineError);

    if (targetExists && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0)
        return failure (Step::examineTarget, ERROR_ACCESS_DENIED); // as the move over it would say

    if (targetExists && (attributes & FILE_ATTRIBUTE_READONLY) != 0)
        return { Outcome::targetReadOnly };

    if (targetExists && isHeldByAnotherProgram (destination))
        return { Outcome::targetInUse };

    auto folder = destination.getParentDirectory();
    juce::File temporary;
    Handle file (INVALID_HANDLE_VALUE);

    // CREATE_NEW, so nothing else's file is ever truncated; no sharing, so
    // nothing reads the file half written.
    for (int attempt = 0; attempt < 16 && ! file.isValid(); ++attempt)
    {
        if (auto error = faultFor (faults, Step::createTemporary))
            return failure (Step::createTemporary, (DWORD) error);

        temporary = freshTemporaryFile (folder, (juce::uint32)::GetCurrentProcessId());
        file.handle = ::CreateFileW (wide (temporary), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
        const auto error = ::GetLastError();

        if (! file.isValid() && error != ERROR_FILE_EXISTS && error != ERROR_ALREADY_EXISTS)
            return failure (Step::createTemporary, error);
    }

    if (! file.isValid())
        return failure (Step::createTemporary, ERROR_FILE_EXISTS);

    removeLeftoversOfDeadWriters (folder, isRunning);

    // The first step that fails is the one reported; the file is closed whatever happened.
    Result result;
    const auto fail = [&result] (Step step, DWORD error)
    {
        if (error != ERROR_SUCCESS && result.outcome == Outcome::replaced)
            result = failure (step, error);
    };

    fail (Step::write, writeAll (file.handle, static_cast<const char*> (data), size, faults));

    if (result.outcome == Outcome::replaced && targetExists)
        fail (Step::setPermissions, errorOf (faults, Step::setPermissions, [&]
                                             { return copyAttributes (file.handle, attributes); }));

    if (result.outcome == Outcome::replaced)
        fail (Step::flush, errorOf (faults, Step::flush, [&]
                                    { return ::FlushFileBuffers (file.handle) != 0; }));

    const auto closeError = file.close() ? (DWORD) faultFor (faults, Step::close) : ::GetLastError();
    fail (Step::close, closeError);

    if (result.outcome == Outcome::replaced)
        fail (Step::replaceTarget, errorOf (faults, Step::replaceTarget, [&]
                                            { return ::MoveFileExW (wide (temporary), wide (destination), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != 0; }));

    if (result.outcome != Outcome::replaced)
    {
        ::DeleteFileW (wide (temporary));

        if (result.step == Step::replaceTarget && isSharingError ((DWORD) result.systemError))
            result.outcome = Outcome::targetInUse;

        return result;
    }

    if (auto error = syncReplaced (destination, faults))
        return { Outcome::replacedNotLasting, Step::syncFolder, (int) error };

    return result;
}
} // namespace AtomicFileReplace
