#pragma once

#include <algorithm>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <vector>

namespace pictor::test {

using Bytes = std::vector<std::uint8_t>;

inline void AppendLe16(Bytes& out, std::uint32_t value) {
    out.push_back(static_cast<std::uint8_t>(value & 0xFFU));
    out.push_back(static_cast<std::uint8_t>((value >> 8) & 0xFFU));
}

inline void AppendLe32(Bytes& out, std::uint32_t value) {
    AppendLe16(out, value & 0xFFFFU);
    AppendLe16(out, value >> 16);
}

/// A Windows bitmap file written field by field: BITMAPFILEHEADER (14 bytes),
/// BITMAPINFOHEADER (40 bytes), for BI_BITFIELDS the three masks, the palette as
/// RGBQUADs (blue, green, red, 0), then `pixels` exactly as given (rows already padded
/// to 4 bytes, or the RLE stream).
struct BitmapLayout {
    std::int32_t width = 1;
    std::int32_t height = 1;  // negative: top-down
    std::uint16_t bitCount = 24;
    std::uint32_t compression = 0;       // 0 BI_RGB, 1 BI_RLE8, 2 BI_RLE4, 3 BI_BITFIELDS
    std::vector<std::uint32_t> masks;    // red, green, blue for BI_BITFIELDS
    std::vector<std::uint32_t> palette;  // 0x00RRGGBB
    Bytes pixels;
};

inline Bytes BuildBitmap(const BitmapLayout& layout) {
    const auto headers = static_cast<std::uint32_t>(14 + 40 + 4 * layout.masks.size());
    const auto offset = headers + static_cast<std::uint32_t>(4 * layout.palette.size());
    Bytes out{'B', 'M'};
    AppendLe32(out, offset + static_cast<std::uint32_t>(layout.pixels.size()));
    AppendLe32(out, 0);  // two reserved words
    AppendLe32(out, offset);
    AppendLe32(out, 40);
    AppendLe32(out, static_cast<std::uint32_t>(layout.width));
    AppendLe32(out, static_cast<std::uint32_t>(layout.height));
    AppendLe16(out, 1);  // planes
    AppendLe16(out, layout.bitCount);
    AppendLe32(out, layout.compression);
    AppendLe32(out, static_cast<std::uint32_t>(layout.pixels.size()));
    AppendLe32(out, 2835);  // 72 dpi
    AppendLe32(out, 2835);
    AppendLe32(out, static_cast<std::uint32_t>(layout.palette.size()));
    AppendLe32(out, 0);  // all colours important
    for (const std::uint32_t mask : layout.masks) {
        AppendLe32(out, mask);
    }
    for (const std::uint32_t colour : layout.palette) {
        AppendLe32(out, colour & 0x00FFFFFFU);  // RGBQUAD: blue, green, red, reserved
    }
    out.insert(out.end(), layout.pixels.begin(), layout.pixels.end());
    return out;
}

/// A small 24-bit bitmap of `width` x `height` pixels, all of one colour (0xRRGGBB).
inline Bytes SolidBitmap(int width, int height, std::uint32_t colour) {
    BitmapLayout layout;
    layout.width = width;
    layout.height = height;
    const int stride = (width * 3 + 3) / 4 * 4;
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            layout.pixels.push_back(static_cast<std::uint8_t>(colour & 0xFFU));
            layout.pixels.push_back(static_cast<std::uint8_t>((colour >> 8) & 0xFFU));
            layout.pixels.push_back(static_cast<std::uint8_t>((colour >> 16) & 0xFFU));
        }
        layout.pixels.resize(layout.pixels.size() + static_cast<std::size_t>(stride - width * 3),
                             0);
    }
    return BuildBitmap(layout);
}

/// A small file that decodes into a large picture: an 8192 x 8192 run-length bitmap
/// (8 bits, 256 grey palette entries) whose stream only moves down with delta
/// codes and then ends, 1,212 bytes in all. It passes every check a file can be
/// given before its pixels are decoded, which take 256 MiB.
inline Bytes HugeRunLengthBitmap() {
    BitmapLayout layout;
    layout.width = 8192;
    layout.height = 8192;
    layout.bitCount = 8;
    layout.compression = 1;
    for (std::uint32_t grey = 0; grey < 256; ++grey) {
        layout.palette.push_back(grey * 0x010101U);
    }
    // Deltas of at most 255 rows each, down to the last row, then end of bitmap.
    for (int row = 0; row < layout.height - 1; row += 255) {
        const int down = std::min(255, layout.height - 1 - row);
        layout.pixels.insert(layout.pixels.end(), {0, 2, 0, static_cast<std::uint8_t>(down)});
    }
    layout.pixels.insert(layout.pixels.end(), {0, 1});
    return BuildBitmap(layout);
}

inline bool WriteBytes(const std::filesystem::path& path, const Bytes& bytes) {
    std::ofstream file(path, std::ios::binary | std::ios::trunc);
    file.write(reinterpret_cast<const char*>(bytes.data()),
               static_cast<std::streamsize>(bytes.size()));
    return file.good();
}

}  // namespace pictor::test
