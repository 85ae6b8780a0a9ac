#include <fcntl.h>
#include <io.h>
#include <windows.h>

#include <algorithm>
#include <cerrno>
#include <string>
#include <utility>

#include "core/common/regular_file.h"

// File access on Windows. Descriptors are C runtime descriptors in binary mode
// (so that the code above this layer reads and writes the same bytes on every
// platform); the handle behind one is used for positioned reads and writes and
// for flushing. Paths always reach Windows as wide characters.

namespace pictor {

namespace {

OpenFailure FailureOf(DWORD code) {
    const std::error_code error = FileErrorOfWindowsCode(code);
    if (error == std::errc::no_such_file_or_directory) {
        return OpenFailure::NotFound;
    }
    if (error == std::errc::permission_denied || error == std::errc::device_or_resource_busy ||
        error == std::errc::read_only_file_system) {
        return OpenFailure::PermissionDenied;
    }
    return OpenFailure::Other;
}

// errno for a Win32 error, for callers that report errno values.
int ErrnoOf(DWORD code) {
    const std::error_code error = FileErrorOfWindowsCode(code);
    return error.category() == std::generic_category() ? error.value() : EIO;
}

// The system's own text of a Win32 error as UTF-8 (the narrow variant would give
// it in the ANSI code page), without the line break it ends with.
std::string SystemText(DWORD code) {
    wchar_t* buffer = nullptr;
    const DWORD length = ::FormatMessageW(
        FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
        nullptr, code, 0, reinterpret_cast<wchar_t*>(&buffer), 0, nullptr);
    std::wstring text(buffer != nullptr ? buffer : L"", length);
    ::LocalFree(buffer);
    while (!text.empty() && (text.back() == L'\n' || text.back() == L'\r' || text.back() == L' ')) {
        text.pop_back();
    }
    return Utf8FromPath(std::filesystem::path(std::move(text)));
}

HANDLE HandleOf(int fd) {
    return reinterpret_cast<HANDLE>(::_get_osfhandle(fd));  // NOLINT(performance-no-int-to-ptr)
}

// Keeps the file position of a handle across positioned transfers: on a
// synchronous handle ReadFile and WriteFile at an OVERLAPPED offset also move the
// file position, where pread and pwrite leave it alone.
class KeptPosition {
  public:
    explicit KeptPosition(HANDLE handle) : handle_(handle) {
        kept_ = ::SetFilePointerEx(handle_, LARGE_INTEGER{}, &position_, FILE_CURRENT) != FALSE;
    }
    ~KeptPosition() {
        if (kept_) {
            ::SetFilePointerEx(handle_, position_, nullptr, FILE_BEGIN);
        }
    }
    KeptPosition(const KeptPosition&) = delete;
    KeptPosition& operator=(const KeptPosition&) = delete;

  private:
    HANDLE handle_;
    LARGE_INTEGER position_{};
    bool kept_ = false;
};

// Reads or writes through an OVERLAPPED offset.
bool TransferAt(HANDLE handle, std::uint64_t offset, void* data, DWORD size, bool write,
                DWORD& done) {
    OVERLAPPED at{};
    at.Offset = static_cast<DWORD>(offset & 0xFFFFFFFFu);
    at.OffsetHigh = static_cast<DWORD>(offset >> 32);
    done = 0;
    const BOOL ok = write ? ::WriteFile(handle, data, size, &done, &at)
                          : ::ReadFile(handle, data, size, &done, &at);
    if (!ok && !write && ::GetLastError() == ERROR_HANDLE_EOF) {
        return true;  // reading at or past the end: 0 bytes
    }
    return ok != FALSE;
}

// Single reads and writes stay below 1 GiB.
constexpr std::size_t kMaxTransfer = std::size_t{1} << 30;

}  // namespace

std::optional<RegularFile> RegularFile::Open(const std::filesystem::path& path, FileAccess access,
                                             OpenFailure* failure) {
    OpenFailure ignored = OpenFailure::None;
    OpenFailure& reason = failure != nullptr ? *failure : ignored;
    reason = OpenFailure::None;
    const DWORD attributes = ::GetFileAttributesW(path.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES) {
        reason = FailureOf(::GetLastError());
        return std::nullopt;
    }
    if ((attributes & FILE_ATTRIBUTE_DIRECTORY) != 0) {
        reason = OpenFailure::NotRegular;
        return std::nullopt;
    }
    const DWORD desired = access == FileAccess::Read ? GENERIC_READ : GENERIC_READ | GENERIC_WRITE;
    // Others may go on reading, writing, renaming or deleting the file meanwhile,
    // as they may on POSIX.
    HANDLE handle =
        ::CreateFileW(path.c_str(), desired, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                      nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (handle == INVALID_HANDLE_VALUE) {
        reason = FailureOf(::GetLastError());
        return std::nullopt;
    }
    // A device, a console or a named pipe opens like a file; only disk files are read.
    LARGE_INTEGER size{};
    if (::GetFileType(handle) != FILE_TYPE_DISK || !::GetFileSizeEx(handle, &size)) {
        ::CloseHandle(handle);
        reason = OpenFailure::NotRegular;
        return std::nullopt;
    }
    const int flags = _O_BINARY | _O_NOINHERIT | (access == FileAccess::Read ? _O_RDONLY : _O_RDWR);
    const int fd = ::_open_osfhandle(reinterpret_cast<intptr_t>(handle), flags);
    if (fd < 0) {
        ::CloseHandle(handle);
        reason = OpenFailure::Other;
        return std::nullopt;
    }
    return RegularFile(fd, static_cast<std::uint64_t>(size.QuadPart));
}

std::size_t RegularFile::ReadAt(std::uint64_t offset, std::span<std::uint8_t> out,
                                bool* failed) const {
    const HANDLE handle = HandleOf(fd_);
    const KeptPosition position(handle);
    std::size_t done = 0;
    while (done < out.size()) {
        DWORD got = 0;
        const auto chunk = static_cast<DWORD>(std::min(out.size() - done, kMaxTransfer));
        if (!TransferAt(handle, offset + done, out.data() + done, chunk, false, got)) {
            if (failed != nullptr) {
                *failed = true;
            }
            break;
        }
        if (got == 0) {
            break;
        }
        done += got;
    }
    return done;
}

bool WriteAllAt(int fd, std::uint64_t offset, std::span<const std::uint8_t> bytes) {
    const HANDLE handle = HandleOf(fd);
    const KeptPosition position(handle);
    std::size_t done = 0;
    while (done < bytes.size()) {
        DWORD put = 0;
        const auto chunk = static_cast<DWORD>(std::min(bytes.size() - done, kMaxTransfer));
        // WriteFile takes a non-const buffer pointer but only reads it.
        auto* data = const_cast<std::uint8_t*>(bytes.data() + done);
        if (!TransferAt(handle, offset + done, data, chunk, true, put) || put == 0) {
            return false;
        }
        done += put;
    }
    return true;
}

void SetModeForReplacing(int /*fd*/, const std::filesystem::path& /*target*/) {}

int OpenForWriting(const std::filesystem::path& path, WriteOpen how) {
    const DWORD disposition = how == WriteOpen::CreateNew ? CREATE_NEW : CREATE_ALWAYS;
    HANDLE handle = ::CreateFileW(path.c_str(), GENERIC_WRITE,
                                  FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                  disposition, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (handle == INVALID_HANDLE_VALUE) {
        errno = ErrnoOf(::GetLastError());
        return -1;
    }
    const int fd =
        ::_open_osfhandle(reinterpret_cast<intptr_t>(handle), _O_BINARY | _O_NOINHERIT | _O_WRONLY);
    if (fd < 0) {
        ::CloseHandle(handle);
        errno = EMFILE;
    }
    return fd;
}

bool WriteAll(int fd, std::span<const std::uint8_t> bytes) {
    const HANDLE handle = HandleOf(fd);
    std::size_t done = 0;
    while (done < bytes.size()) {
        DWORD put = 0;
        const auto chunk = static_cast<DWORD>(std::min(bytes.size() - done, kMaxTransfer));
        if (!::WriteFile(handle, bytes.data() + done, chunk, &put, nullptr) || put == 0) {
            errno = ErrnoOf(::GetLastError());
            return false;
        }
        done += put;
    }
    return true;
}

bool SyncFileData(int fd) {
    return ::FlushFileBuffers(HandleOf(fd)) != FALSE;
}

void StartWriteback(int /*fd*/, std::uint64_t /*offset*/, std::uint64_t /*length*/) {}

bool CloseFile(int fd) {
    return ::_close(fd) == 0;
}

bool ReplaceFileAtomically(const std::filesystem::path& source, const std::filesystem::path& target,
                           std::error_code& error) {
    if (!::MoveFileExW(source.c_str(), target.c_str(),
                       MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
        error = FileErrorOfWindowsCode(::GetLastError());
        return false;
    }
    error.clear();
    return true;
}

void SyncDirectory(const std::filesystem::path& /*dir*/) {}

std::error_code FileErrorOfWindowsCode(unsigned long code) {
    switch (code) {
        case ERROR_FILE_NOT_FOUND:
        case ERROR_PATH_NOT_FOUND:
        case ERROR_INVALID_NAME:
        case ERROR_BAD_NETPATH:
        case ERROR_INVALID_DRIVE:
            return std::make_error_code(std::errc::no_such_file_or_directory);
        case ERROR_FILE_EXISTS:
        case ERROR_ALREADY_EXISTS:
            return std::make_error_code(std::errc::file_exists);
        case ERROR_ACCESS_DENIED:
            return std::make_error_code(std::errc::permission_denied);
        case ERROR_SHARING_VIOLATION:
        case ERROR_LOCK_VIOLATION:
        case ERROR_USER_MAPPED_FILE:
            return std::make_error_code(std::errc::device_or_resource_busy);
        case ERROR_WRITE_PROTECT:
            return std::make_error_code(std::errc::read_only_file_system);
        case ERROR_DISK_FULL:
        case ERROR_HANDLE_DISK_FULL:
            return std::make_error_code(std::errc::no_space_on_device);
        default:
            return {static_cast<int>(code), std::system_category()};
    }
}

std::string FileErrorText(const std::error_code& error, const CoreTextLookup& lookup) {
    struct Reason {
        std::errc condition;
        const char* text;
    };
    // MoveFileExW answers "access denied" also when another program has the
    // target open; a sharing violation always means that.
    static constexpr Reason kReasons[] = {
        {std::errc::permission_denied,
         PICTOR_TRANSLATE_NOOP(
             "Core", "access denied: the file may be read-only or open in another program")},
        {std::errc::device_or_resource_busy,
         PICTOR_TRANSLATE_NOOP("Core", "the file is in use by another program")},
        {std::errc::no_such_file_or_directory,
         PICTOR_TRANSLATE_NOOP("Core", "no such file or folder")},
        {std::errc::file_exists, PICTOR_TRANSLATE_NOOP("Core", "the file exists already")},
        {std::errc::read_only_file_system,
         PICTOR_TRANSLATE_NOOP("Core", "the disk is write-protected")},
        {std::errc::no_space_on_device, PICTOR_TRANSLATE_NOOP("Core", "the disk is full")},
    };
    for (const Reason& reason : kReasons) {
        if (error == reason.condition) {
            return LookUp(lookup, reason.text);
        }
    }
    if (error.category() == std::system_category()) {
        return SystemText(static_cast<DWORD>(error.value()));
    }
    return error.message();
}

std::filesystem::path PathFromUtf8(std::string_view utf8) {
    if (utf8.empty()) {
        return {};
    }
    const int size = static_cast<int>(utf8.size());
    const int wide = ::MultiByteToWideChar(CP_UTF8, 0, utf8.data(), size, nullptr, 0);
    std::wstring text(static_cast<std::size_t>(wide), L'\0');
    ::MultiByteToWideChar(CP_UTF8, 0, utf8.data(), size, text.data(), wide);
    return std::filesystem::path(std::move(text));
}

std::string Utf8FromPath(const std::filesystem::path& path) {
    const std::wstring& wide = path.native();
    if (wide.empty()) {
        return {};
    }
    const int size = static_cast<int>(wide.size());
    const int bytes =
        ::WideCharToMultiByte(CP_UTF8, 0, wide.data(), size, nullptr, 0, nullptr, nullptr);
    std::string text(static_cast<std::size_t>(bytes), '\0');
    ::WideCharToMultiByte(CP_UTF8, 0, wide.data(), size, text.data(), bytes, nullptr, nullptr);
    return text;
}

}  // namespace pictor
