#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "support/bitmap_files.h"
#include "support/temp_dir.h"

namespace pictor::workspace::testing {

using test::Bytes;

using pictor::test::TempDir;

inline void WriteFile(const std::filesystem::path& path, const Bytes& bytes) {
    std::ofstream file(path, std::ios::binary | std::ios::trunc);
    file.write(reinterpret_cast<const char*>(bytes.data()),
               static_cast<std::streamsize>(bytes.size()));
    ASSERT_TRUE(file.good()) << path;
}

inline Bytes ReadFile(const std::filesystem::path& path) {
    std::ifstream file(path, std::ios::binary);
    return Bytes(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
}

using test::AppendLe16;
using test::AppendLe32;
using test::BitmapLayout;
using test::BuildBitmap;
using test::SolidBitmap;

}  // namespace pictor::workspace::testing
