#pragma once

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <string>

namespace pictor::test {

/// A fresh directory under the system's temporary directory, removed with its
/// content when the object goes away.
class TempDir {
  public:
    TempDir() {
        // A random name; creating the directory settles any clash with another run.
        std::random_device random;
        std::error_code ec;
        const std::filesystem::path base = std::filesystem::temp_directory_path(ec);
        for (int attempt = 0; attempt < 32 && path_.empty(); ++attempt) {
            char name[32];
            std::snprintf(name, sizeof name, "pictor-test-%08x%04x", random(), random() & 0xFFFFU);
            const std::filesystem::path candidate = base / name;
            if (std::filesystem::create_directory(candidate, ec)) {
                // Private to its creator, as mkdtemp makes it.
                std::filesystem::permissions(candidate, std::filesystem::perms::owner_all, ec);
                path_ = candidate;
            }
        }
    }
    ~TempDir() {
        std::error_code ec;
        std::filesystem::permissions(path_, std::filesystem::perms::owner_all,
                                     std::filesystem::perm_options::add, ec);
        std::filesystem::remove_all(path_, ec);
    }
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    [[nodiscard]] const std::filesystem::path& Path() const { return path_; }
    [[nodiscard]] std::filesystem::path operator/(const std::string& name) const {
        return path_ / name;
    }

  private:
    std::filesystem::path path_;
};

inline std::string ReadFile(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

inline void WriteFile(const std::filesystem::path& path, const std::string& content) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << content;
}

}  // namespace pictor::test
