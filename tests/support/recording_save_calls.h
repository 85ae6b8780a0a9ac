#pragma once

#include <cerrno>
#include <cstdint>
#include <filesystem>
#include <map>
#include <optional>
#include <regex>
#include <string>
#include <vector>

#include "core/common/save_calls.h"

namespace pictor::test {

/// The real save calls, with a record of each call in order and faults on demand:
/// a device that fills up after a number of bytes, or one call of a kind that
/// fails. Records read "write Icon.bin.tmp", "sync Icon.bin.tmp", "replace
/// Icon.bin.tmp Icon.bin", "syncdir out": file names only, and a temporary file's
/// random suffix left out.
class RecordingSaveCalls : public SaveCalls {
  public:
    std::vector<std::string> calls;
    /// Writes fail with ENOSPC once this many bytes went to the disk in all; the
    /// write that crosses the limit writes what fits.
    std::optional<std::uint64_t> writeBudget;
    /// The calls whose record starts with `failKind` fail with `failErrno` from the
    /// `failAt`-th (counted from 1) on, and are recorded with a trailing " FAILED".
    std::string failKind;
    int failAt = 1;
    int failErrno = EIO;

    /// The records that start with one of `kinds` (e.g. {"sync", "replace"}).
    [[nodiscard]] std::vector<std::string> Only(const std::vector<std::string>& kinds) const {
        std::vector<std::string> kept;
        for (const std::string& call : calls) {
            for (const std::string& kind : kinds) {
                if (call.rfind(kind + " ", 0) == 0) {
                    kept.push_back(call);
                    break;
                }
            }
        }
        return kept;
    }

    int CreateBeside(const std::filesystem::path& dir, std::string_view prefix,
                     std::filesystem::path& created) override {
        if (Fails("create " + Name(dir / std::string(prefix)))) {
            return -1;
        }
        const int fd = SaveCalls::CreateBeside(dir, prefix, created);
        names_[fd] = created;
        return fd;
    }
    int CreateNew(const std::filesystem::path& path) override {
        if (Fails("create " + Name(path))) {
            return -1;
        }
        const int fd = SaveCalls::CreateNew(path);
        names_[fd] = path;
        return fd;
    }
    bool Write(int fd, std::span<const std::uint8_t> bytes) override {
        if (Fails("write " + Name(names_[fd]))) {
            return false;
        }
        if (writeBudget && bytes.size() > *writeBudget) {
            SaveCalls::Write(fd, bytes.first(static_cast<std::size_t>(*writeBudget)));
            *writeBudget = 0;
            errno = ENOSPC;
            return false;
        }
        if (writeBudget) {
            *writeBudget -= bytes.size();
        }
        return SaveCalls::Write(fd, bytes);
    }
    bool WriteAt(int fd, std::uint64_t offset, std::span<const std::uint8_t> bytes) override {
        return !Fails("write " + Name(names_[fd])) && SaveCalls::WriteAt(fd, offset, bytes);
    }
    bool SyncData(int fd) override {
        return !Fails("sync " + Name(names_[fd])) && SaveCalls::SyncData(fd);
    }
    bool Close(int fd) override {
        const bool failed = Fails("close " + Name(names_[fd]));
        names_.erase(fd);
        return SaveCalls::Close(fd) && !failed;
    }
    bool Replace(const std::filesystem::path& source, const std::filesystem::path& target,
                 std::error_code& error) override {
        if (Fails("replace " + Name(source) + " " + Name(target))) {
            error.assign(failErrno, std::generic_category());
            return false;
        }
        return SaveCalls::Replace(source, target, error);
    }
    bool KeepCopy(const std::filesystem::path& file, const std::filesystem::path& copy) override {
        return !Fails("copy " + Name(file) + " " + Name(copy)) && SaveCalls::KeepCopy(file, copy);
    }
    bool Remove(const std::filesystem::path& path) override {
        return !Fails("remove " + Name(path)) && SaveCalls::Remove(path);
    }
    void SyncDirectory(const std::filesystem::path& dir) override {
        Fails("syncdir " + Name(dir));
        SaveCalls::SyncDirectory(dir);
    }

  private:
    static std::string Name(const std::filesystem::path& path) {
        static const std::regex kRandomSuffix("(\\.tmp-)[0-9a-f]*$");
        return std::regex_replace(path.filename().string(), kRandomSuffix, ".tmp");
    }

    // Records `call`; true (with errno set) when it is the one to fail.
    bool Fails(std::string call) {
        const bool fails = !failKind.empty() && call.rfind(failKind, 0) == 0 && --failAt <= 0;
        if (fails) {
            call += " FAILED";
            errno = failErrno;
        }
        calls.push_back(std::move(call));
        return fails;
    }

    std::map<int, std::filesystem::path> names_;
};

}  // namespace pictor::test
