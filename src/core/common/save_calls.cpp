#include "core/common/save_calls.h"

#include <cerrno>

#include "core/common/regular_file.h"

namespace pictor {

int SaveCalls::CreateBeside(const std::filesystem::path& dir, std::string_view prefix,
                            std::filesystem::path& created) {
    return CreateUniqueFile(dir, prefix, created);
}

int SaveCalls::CreateNew(const std::filesystem::path& path) {
    return OpenForWriting(path, WriteOpen::CreateNew);
}

bool SaveCalls::Write(int fd, std::span<const std::uint8_t> bytes) {
    return WriteAll(fd, bytes);
}

bool SaveCalls::WriteAt(int fd, std::uint64_t offset, std::span<const std::uint8_t> bytes) {
    return WriteAllAt(fd, offset, bytes);
}

bool SaveCalls::SyncData(int fd) {
    return SyncFileData(fd);
}

bool SaveCalls::Close(int fd) {
    return CloseFile(fd);
}

void SaveCalls::KeepMode(int fd, const std::filesystem::path& target) {
    // A new file already has what the umask leaves of 0666 from its creation.
    std::error_code error;
    if (std::filesystem::exists(target, error)) {
        SetModeForReplacing(fd, target);
    }
}

bool SaveCalls::Replace(const std::filesystem::path& source, const std::filesystem::path& target,
                        std::error_code& error) {
    return ReplaceFileAtomically(source, target, error);
}

bool SaveCalls::KeepCopy(const std::filesystem::path& file, const std::filesystem::path& copy) {
    // A hard link costs nothing and keeps the file as it is, mode included; where
    // links are impossible (an immutable file, some file systems) a copy does.
    std::error_code error;
    std::filesystem::create_hard_link(file, copy, error);
    if (!error) {
        return true;
    }
    error.clear();
    const bool copied = std::filesystem::copy_file(file, copy, error) && !error;
    if (!copied) {
        errno = error.value() != 0 ? error.value() : EIO;
    }
    return copied;
}

bool SaveCalls::Remove(const std::filesystem::path& path) {
    std::error_code error;
    std::filesystem::remove(path, error);
    return !error;
}

void SaveCalls::SyncDirectory(const std::filesystem::path& dir) {
    pictor::SyncDirectory(dir);
}

SaveCalls& SystemSaveCalls() {
    static SaveCalls calls;  // stateless: only its virtual table is shared
    return calls;
}

}  // namespace pictor
