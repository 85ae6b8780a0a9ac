#pragma once

// PNG files assembled chunk by chunk for tests, with the image data stored in
// uncompressed deflate blocks, so that every field (and every fault) is under the
// test's control.

#include <array>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "support/bitmap_files.h"

namespace pictor::test {

inline void AppendBe32(Bytes& out, std::uint32_t value) {
    for (int shift = 24; shift >= 0; shift -= 8) {
        out.push_back(static_cast<std::uint8_t>(value >> shift));
    }
}

inline std::uint32_t PngCrc(const Bytes& bytes, std::size_t from, std::size_t to) {
    std::uint32_t c = 0xFFFFFFFFU;
    for (std::size_t i = from; i < to; ++i) {
        c ^= bytes[i];
        for (int k = 0; k < 8; ++k) {
            c = (c & 1U) != 0 ? 0xEDB88320U ^ (c >> 1) : c >> 1;
        }
    }
    return c ^ 0xFFFFFFFFU;
}

/// Appends a chunk with its CRC (or that CRC with its low bit flipped).
inline void AppendChunk(Bytes& out, const std::string& type, const Bytes& data,
                        bool badCrc = false) {
    AppendBe32(out, static_cast<std::uint32_t>(data.size()));
    const std::size_t from = out.size();
    out.insert(out.end(), type.begin(), type.end());
    out.insert(out.end(), data.begin(), data.end());
    AppendBe32(out, PngCrc(out, from, out.size()) ^ (badCrc ? 1U : 0U));
}

/// A zlib stream of stored blocks holding `raw`, with its checksum.
inline Bytes StoredZlib(const Bytes& raw) {
    Bytes out{0x78, 0x01};
    std::size_t at = 0;
    do {
        const std::size_t length = std::min<std::size_t>(raw.size() - at, 65535);
        out.push_back(at + length == raw.size() ? 1 : 0);
        out.push_back(static_cast<std::uint8_t>(length));
        out.push_back(static_cast<std::uint8_t>(length >> 8));
        out.push_back(static_cast<std::uint8_t>(~length));
        out.push_back(static_cast<std::uint8_t>(~length >> 8));
        out.insert(out.end(), raw.begin() + static_cast<std::ptrdiff_t>(at),
                   raw.begin() + static_cast<std::ptrdiff_t>(at + length));
        at += length;
    } while (at < raw.size());
    std::uint32_t a = 1;
    std::uint32_t b = 0;
    for (const std::uint8_t byte : raw) {
        a = (a + byte) % 65521U;
        b = (b + a) % 65521U;
    }
    AppendBe32(out, (b << 16) | a);
    return out;
}

/// A picture to write: `sample(x, y, channel)` gives each sample (below 2^depth).
struct PngLayout {
    int width = 1;
    int height = 1;
    int depth = 8;
    int colourType = 2;  // 0 grey, 2 RGB, 3 palette, 4 grey + alpha, 6 RGBA
    bool interlaced = false;
    std::function<std::uint32_t(int x, int y, int channel)> sample;
};

inline int PngChannels(int colourType) {
    static constexpr std::array<int, 7> kChannels{1, 0, 3, 1, 2, 0, 4};
    return kChannels[static_cast<std::size_t>(colourType)];
}

/// The filtered rows (filter type 0) of the picture, in Adam7 passes when interlaced.
inline Bytes PngRows(const PngLayout& layout) {
    Bytes raw;
    const int channels = PngChannels(layout.colourType);
    const auto addPass = [&](int x0, int y0, int dx, int dy) {
        for (int y = y0; y < layout.height; y += dy) {
            if (x0 >= layout.width) {
                return;
            }
            raw.push_back(0);
            std::uint32_t bits = 0;
            int used = 0;
            for (int x = x0; x < layout.width; x += dx) {
                for (int c = 0; c < channels; ++c) {
                    const std::uint32_t v = layout.sample(x, y, c);
                    if (layout.depth == 16) {
                        raw.push_back(static_cast<std::uint8_t>(v >> 8));
                        raw.push_back(static_cast<std::uint8_t>(v));
                        continue;
                    }
                    bits = (bits << layout.depth) | v;
                    used += layout.depth;
                    if (used == 8) {
                        raw.push_back(static_cast<std::uint8_t>(bits));
                        bits = 0;
                        used = 0;
                    }
                }
            }
            if (used > 0) {
                raw.push_back(static_cast<std::uint8_t>(bits << (8 - used)));
            }
        }
    };
    if (!layout.interlaced) {
        addPass(0, 0, 1, 1);
    } else {
        addPass(0, 0, 8, 8);
        addPass(4, 0, 8, 8);
        addPass(0, 4, 4, 8);
        addPass(2, 0, 4, 4);
        addPass(0, 2, 2, 4);
        addPass(1, 0, 2, 2);
        addPass(0, 1, 1, 2);
    }
    return raw;
}

inline Bytes PngHeaderData(const PngLayout& layout) {
    Bytes data;
    AppendBe32(data, static_cast<std::uint32_t>(layout.width));
    AppendBe32(data, static_cast<std::uint32_t>(layout.height));
    data.push_back(static_cast<std::uint8_t>(layout.depth));
    data.push_back(static_cast<std::uint8_t>(layout.colourType));
    data.push_back(0);
    data.push_back(0);
    data.push_back(layout.interlaced ? 1 : 0);
    return data;
}

struct PngChunk {
    std::string type;
    Bytes data;
    bool badCrc = false;
};

inline const Bytes kPngSignature{0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};

/// A whole file: header, `before` (PLTE, tRNS, ancillary chunks), the image data in
/// one IDAT, `after`, and IEND.
inline Bytes BuildPng(const PngLayout& layout, const std::vector<PngChunk>& before = {},
                      const std::vector<PngChunk>& after = {}) {
    Bytes out = kPngSignature;
    AppendChunk(out, "IHDR", PngHeaderData(layout));
    for (const PngChunk& chunk : before) {
        AppendChunk(out, chunk.type, chunk.data, chunk.badCrc);
    }
    AppendChunk(out, "IDAT", StoredZlib(PngRows(layout)));
    for (const PngChunk& chunk : after) {
        AppendChunk(out, chunk.type, chunk.data, chunk.badCrc);
    }
    AppendChunk(out, "IEND", {});
    return out;
}

}  // namespace pictor::test
