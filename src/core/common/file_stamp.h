#pragma once

#include <cstdint>
#include <filesystem>

namespace pictor {

/// What a file looks like from outside: whether it exists, its size and its
/// modification time. Two stamps of one file differ when it was written, replaced
/// by a rename, created or deleted between them (a rewrite within the file
/// system's time resolution that keeps the size is the one change it can miss).
struct FileStamp {
    bool exists = false;
    std::uintmax_t size = 0;
    std::filesystem::file_time_type modified{};

    friend bool operator==(const FileStamp&, const FileStamp&) = default;
};

/// The stamp of `file` now; a file that cannot be looked at counts as missing.
/// Never throws. Thread-safe.
FileStamp StampOf(const std::filesystem::path& file);

}  // namespace pictor
