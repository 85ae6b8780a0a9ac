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

// Rows of `width` pixels whose bytes vary, so that every byte position matters.
inline Bytes PatternRows(int width, int height, int bitCount) {
    const int stride = (width * bitCount + 31) / 32 * 4;
    Bytes rows(static_cast<std::size_t>(stride * height));
    for (std::size_t i = 0; i < rows.size(); ++i) {
        rows[i] = static_cast<std::uint8_t>(i * 37 + 11);
    }
    return rows;
}

// A palette of `entries` distinct colours (0x00RRGGBB).
inline std::vector<std::uint32_t> PatternPalette(std::size_t entries) {
    std::vector<std::uint32_t> palette;
    for (std::size_t i = 0; i < entries; ++i) {
        palette.push_back(static_cast<std::uint32_t>(0x102030 + i * 0x0A0B0C) & 0xFFFFFFU);
    }
    return palette;
}

}  // namespace pictor::workspace::testing
