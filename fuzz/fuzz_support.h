#pragma once

#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <span>
#include <string>
#include <vector>

#include "core/common/message.h"

namespace pictor::fuzz {

/// A private directory for the files a target writes, made once per fuzzing
/// process and removed when it ends normally (scripts/fuzz removes the whole
/// scratch tree it passes in TMPDIR, also after a crash). Every run reuses the same
/// file names, so the directory never grows. Without TMPDIR it lies in memory
/// (/dev/shm) where there is one: the outputs' data syncs then cost nothing.
class ScratchDir {
  public:
    ScratchDir() {
        std::error_code ec;
        const char* tmpdir = std::getenv("TMPDIR");
        std::filesystem::path base;
        if (tmpdir != nullptr && *tmpdir != '\0') {
            base = tmpdir;
        } else if (std::filesystem::is_directory("/dev/shm", ec)) {
            base = "/dev/shm";
        } else {
            base = std::filesystem::temp_directory_path();
        }
        std::string pattern = (base / "pictor-fuzz-XXXXXX").string();
        if (::mkdtemp(pattern.data()) == nullptr) {
            std::perror("pictor fuzz: cannot make a scratch directory");
            std::abort();
        }
        path_ = pattern;
    }
    ~ScratchDir() {
        std::error_code ec;
        std::filesystem::remove_all(path_, ec);
    }
    ScratchDir(const ScratchDir&) = delete;
    ScratchDir& operator=(const ScratchDir&) = delete;

    [[nodiscard]] std::filesystem::path operator/(const std::string& name) const {
        return path_ / name;
    }
    [[nodiscard]] const std::filesystem::path& Path() const { return path_; }

  private:
    std::filesystem::path path_;
};

/// The target's scratch directory (one per process: libFuzzer runs one input at a time).
inline const ScratchDir& Scratch() {
    static const ScratchDir dir;
    return dir;
}

/// Stops the run with `what` when an invariant does not hold; libFuzzer then
/// keeps the input that broke it.
inline void Require(bool holds, const char* what) {
    if (!holds) {
        std::fprintf(stderr, "pictor fuzz: invariant broken: %s\n", what);
        std::abort();
    }
}

inline void WriteBytes(const std::filesystem::path& path, std::span<const std::uint8_t> bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()),
              static_cast<std::streamsize>(bytes.size()));
    out.close();
    Require(static_cast<bool>(out), "the scratch file could be written");
}

inline std::vector<std::uint8_t> ReadBytes(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

/// Counts the messages a step shows and keeps the first and the last.
class CountingSink final : public MessageSink {
  public:
    void Show(const Message& message) override {
        if (count++ == 0) {
            first = message;
        }
        last = message;
    }
    int count = 0;
    Message first;
    Message last;
};

}  // namespace pictor::fuzz
