#include "core/workspace/png_decoder.h"

#include <algorithm>
#include <array>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string_view>
#include <vector>

// The PNG reader proper (inflate, filters, interlacing, sample expansion) comes from
// stb_image, compiled here once for PNG only and reading from memory.
#define STB_IMAGE_IMPLEMENTATION
#define STBI_ONLY_PNG
#define STBI_NO_STDIO
#define STBI_NO_FAILURE_STRINGS
#define STBI_NO_LINEAR
#define STBI_NO_HDR
#define STBI_ASSERT(x) static_cast<void>(0)
#include <stb_image.h>

namespace pictor::workspace {

namespace {

constexpr std::string_view kSignature("\x89PNG\r\n\x1a\n", 8);
constexpr std::size_t kChunkOverhead = 12;  // length, type, CRC
constexpr std::uint32_t kMaxChunkLength = 0x7FFFFFFFU;

constexpr int kGrey = 0;
constexpr int kRgb = 2;
constexpr int kPalette = 3;
constexpr int kGreyAlpha = 4;
constexpr int kRgbAlpha = 6;

constexpr std::array<std::uint32_t, 256> MakeCrcTable() {
    std::array<std::uint32_t, 256> table{};
    for (std::uint32_t n = 0; n < 256; ++n) {
        std::uint32_t c = n;
        for (int k = 0; k < 8; ++k) {
            c = (c & 1U) != 0 ? 0xEDB88320U ^ (c >> 1) : c >> 1;
        }
        table[n] = c;
    }
    return table;
}

constexpr std::array<std::uint32_t, 256> kCrcTable = MakeCrcTable();

std::uint32_t Crc32(std::span<const std::uint8_t> bytes) {
    std::uint32_t c = 0xFFFFFFFFU;
    for (const std::uint8_t b : bytes) {
        c = kCrcTable[(c ^ b) & 0xFFU] ^ (c >> 8);
    }
    return c ^ 0xFFFFFFFFU;
}

std::uint32_t Be32(const std::uint8_t* p) {
    return (static_cast<std::uint32_t>(p[0]) << 24) | (static_cast<std::uint32_t>(p[1]) << 16) |
           (static_cast<std::uint32_t>(p[2]) << 8) | p[3];
}

std::uint32_t Be16(const std::uint8_t* p) {
    return (static_cast<std::uint32_t>(p[0]) << 8) | p[1];
}

void AppendBe32(std::vector<std::uint8_t>& out, std::uint32_t value) {
    for (int shift = 24; shift >= 0; shift -= 8) {
        out.push_back(static_cast<std::uint8_t>(value >> shift));
    }
}

struct Header {
    std::uint32_t width = 0;
    std::uint32_t height = 0;
    int depth = 0;
    int colourType = 0;
    int interlace = 0;
};

bool IsValidDepth(int colourType, int depth) {
    switch (colourType) {
        case kGrey:
            return depth == 1 || depth == 2 || depth == 4 || depth == 8 || depth == 16;
        case kPalette:
            return depth == 1 || depth == 2 || depth == 4 || depth == 8;
        case kRgb:
        case kGreyAlpha:
        case kRgbAlpha:
            return depth == 8 || depth == 16;
        default:
            return false;
    }
}

std::optional<Header> ParseHeader(std::span<const std::uint8_t> data) {
    if (data.size() != 13) {
        return std::nullopt;
    }
    Header header;
    header.width = Be32(data.data());
    header.height = Be32(data.data() + 4);
    header.depth = data[8];
    header.colourType = data[9];
    header.interlace = data[12];
    if (header.width == 0 || header.height == 0 || header.width > kMaxChunkLength ||
        header.height > kMaxChunkLength || !IsValidDepth(header.colourType, header.depth) ||
        data[10] != 0 || data[11] != 0 || header.interlace > 1) {
        return std::nullopt;
    }
    return header;
}

struct Chunk {
    std::string_view type;
    std::span<const std::uint8_t> data;
    bool crcOk = false;
};

// Walks the chunks from the signature on. `at` is the offset of the next chunk.
class ChunkReader {
  public:
    explicit ChunkReader(std::span<const std::uint8_t> file) : file_(file) {}

    [[nodiscard]] bool HasSignature() const {
        return file_.size() >= kSignature.size() &&
               std::memcmp(file_.data(), kSignature.data(), kSignature.size()) == 0;
    }

    // False when the file ends before a whole chunk or the chunk is malformed.
    bool Next(Chunk& chunk) {
        const std::size_t left = file_.size() - at_;
        if (left < kChunkOverhead) {
            // A file cut inside the checksum of its end chunk still holds the whole
            // picture, and such files have always been read.
            if (left >= 8 && Be32(file_.data() + at_) == 0 &&
                std::memcmp(file_.data() + at_ + 4, "IEND", 4) == 0) {
                chunk.type = "IEND";
                chunk.data = {};
                chunk.crcOk = true;
                at_ = file_.size();
                return true;
            }
            return false;
        }
        const std::uint32_t length = Be32(file_.data() + at_);
        if (length > kMaxChunkLength || file_.size() - at_ - kChunkOverhead < length) {
            return false;
        }
        const std::uint8_t* type = file_.data() + at_ + 4;
        for (int i = 0; i < 4; ++i) {
            const auto c = static_cast<char>(type[i]);
            if (!((c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'))) {
                return false;
            }
        }
        chunk.type = std::string_view(reinterpret_cast<const char*>(type), 4);
        chunk.data = file_.subspan(at_ + 8, length);
        chunk.crcOk = Crc32(file_.subspan(at_ + 4, std::size_t{length} + 4)) ==
                      Be32(file_.data() + at_ + 8 + length);
        at_ += kChunkOverhead + length;
        return true;
    }

  private:
    std::span<const std::uint8_t> file_;
    std::size_t at_ = kSignature.size();
};

bool IsCritical(std::string_view type) {
    return type[0] >= 'A' && type[0] <= 'Z';
}

// Bytes of filtered rows the image data inflates to: one filter byte and the packed
// samples per row, per interlace pass.
std::uint64_t FilteredSize(const Header& header) {
    static constexpr std::array<int, 5> kChannels{1, 0, 3, 1, 2};
    const int channels =
        header.colourType == kRgbAlpha ? 4 : kChannels[static_cast<std::size_t>(header.colourType)];
    const auto bits = static_cast<std::uint64_t>(header.depth * channels);
    const auto rows = [bits](std::uint64_t width, std::uint64_t height) -> std::uint64_t {
        return width == 0 || height == 0 ? 0 : height * (1 + (width * bits + 7) / 8);
    };
    if (header.interlace == 0) {
        return rows(header.width, header.height);
    }
    // Adam7: each pass's first column and row, and its steps.
    static constexpr std::array<std::uint32_t, 7> kX{0, 4, 0, 2, 0, 1, 0};
    static constexpr std::array<std::uint32_t, 7> kY{0, 0, 4, 0, 2, 0, 1};
    static constexpr std::array<std::uint32_t, 7> kDx{8, 8, 4, 4, 2, 2, 1};
    static constexpr std::array<std::uint32_t, 7> kDy{8, 8, 8, 4, 4, 2, 2};
    std::uint64_t total = 0;
    for (std::size_t pass = 0; pass < 7; ++pass) {
        const std::uint64_t width =
            header.width > kX[pass] ? (header.width - kX[pass] + kDx[pass] - 1) / kDx[pass] : 0;
        const std::uint64_t height =
            header.height > kY[pass] ? (header.height - kY[pass] + kDy[pass] - 1) / kDy[pass] : 0;
        total += rows(width, height);
    }
    return total;
}

std::uint32_t Adler32(std::span<const std::uint8_t> bytes) {
    constexpr std::uint32_t kModulus = 65521;
    // Blocks of 32 bytes add to the second sum 32 times the first plus the bytes
    // weighted by how many sums each one enters; 5536 bytes (173 blocks) is the longest
    // run whose sums cannot overflow before the modulo.
    constexpr std::size_t kBlock = 32;
    constexpr std::size_t kRun = 173 * kBlock;
    std::uint32_t a = 1;
    std::uint32_t b = 0;
    const std::uint8_t* p = bytes.data();
    std::size_t left = bytes.size();
    while (left > 0) {
        std::size_t run = std::min(left, kRun);
        left -= run;
        for (; run >= kBlock; run -= kBlock, p += kBlock) {
            std::uint32_t sum = 0;
            std::uint32_t weighted = 0;
            for (std::size_t i = 0; i < kBlock; ++i) {
                sum += p[i];
                weighted += static_cast<std::uint32_t>(kBlock - i) * p[i];
            }
            b += static_cast<std::uint32_t>(kBlock) * a + weighted;
            a += sum;
        }
        for (; run > 0; --run, ++p) {
            a += *p;
            b += a;
        }
        a %= kModulus;
        b %= kModulus;
    }
    return (b << 16) | a;
}

// Inflates the image data, which must hold at least the filtered rows of the picture
// and end in the checksum of what it inflates to (a little surplus data is tolerated
// and dropped). The rows are stored again as uncompressed deflate blocks, so the
// decoder below copies them instead of inflating a second time, and cannot be made
// to inflate without bound.
bool InflateAndCheck(const Header& header, std::vector<std::uint8_t>& imageData) {
    constexpr std::uint64_t kSurplus = 1 << 16;
    const std::uint64_t needed = FilteredSize(header);
    if (needed + kSurplus > static_cast<std::uint64_t>(kMaxChunkLength) || imageData.size() < 6 ||
        imageData.size() > static_cast<std::size_t>(kMaxChunkLength)) {
        return false;
    }
    std::vector<std::uint8_t> rows(static_cast<std::size_t>(needed + kSurplus));
    const int inflated = stbi_zlib_decode_buffer(
        reinterpret_cast<char*>(rows.data()), static_cast<int>(rows.size()),
        reinterpret_cast<const char*>(imageData.data()), static_cast<int>(imageData.size()));
    const std::uint32_t checksum = Be32(imageData.data() + imageData.size() - 4);
    if (inflated < 0 || static_cast<std::uint64_t>(inflated) < needed ||
        Adler32(std::span(rows).first(static_cast<std::size_t>(inflated))) != checksum) {
        return false;
    }
    rows.resize(static_cast<std::size_t>(needed));

    std::vector<std::uint8_t>& stored = imageData;
    stored.clear();
    stored.reserve(rows.size() + rows.size() / 65535 * 5 + 16);
    stored.push_back(0x78);  // deflate, 32 KiB window
    stored.push_back(0x01);
    std::size_t at = 0;
    do {
        const std::size_t length = std::min<std::size_t>(rows.size() - at, 65535);
        stored.push_back(at + length == rows.size() ? 1 : 0);  // last block flag, type 0
        stored.push_back(static_cast<std::uint8_t>(length));
        stored.push_back(static_cast<std::uint8_t>(length >> 8));
        stored.push_back(static_cast<std::uint8_t>(~length));
        stored.push_back(static_cast<std::uint8_t>(~length >> 8));
        stored.insert(stored.end(), rows.begin() + static_cast<std::ptrdiff_t>(at),
                      rows.begin() + static_cast<std::ptrdiff_t>(at + length));
        at += length;
    } while (at < rows.size());
    // The decoder does not check this checksum; the data's own was checked above.
    AppendBe32(stored, checksum);
    return true;
}

// What the rebuilt stream for the decoder holds: only the chunks that decide the
// pixels, checked, with the palette and its transparency completed to 256 entries
// so that every index a picture may hold reads a defined colour.
struct CleanPng {
    Header header;
    std::vector<std::uint8_t> stream;
    bool transparency = false;  // a tRNS chunk applies
};

void AppendChunk(std::vector<std::uint8_t>& out, std::string_view type,
                 std::span<const std::uint8_t> data) {
    AppendBe32(out, static_cast<std::uint32_t>(data.size()));
    out.insert(out.end(), type.begin(), type.end());
    out.insert(out.end(), data.begin(), data.end());
    // The decoder does not check CRCs; the originals were checked above.
    AppendBe32(out, 0);
}

// Whether a tRNS chunk applies to a picture of `header` with `paletteEntries`
// colours; an invalid one is ignored, as are samples beyond the bit depth for grey.
bool TransparencyApplies(const Header& header, std::span<const std::uint8_t> data,
                         std::size_t paletteEntries) {
    switch (header.colourType) {
        case kGrey:
            return data.size() == 2 &&
                   (header.depth == 16 || Be16(data.data()) < (1U << header.depth));
        case kRgb:
            return data.size() == 6;
        case kPalette:
            return !data.empty() && data.size() <= paletteEntries;
        default:
            return false;
    }
}

std::optional<CleanPng> Clean(std::span<const std::uint8_t> file, int maxSide) {
    ChunkReader reader(file);
    if (!reader.HasSignature()) {
        return std::nullopt;
    }
    Chunk chunk;
    if (!reader.Next(chunk) || chunk.type != "IHDR" || !chunk.crcOk) {
        return std::nullopt;
    }
    std::optional<Header> header = ParseHeader(chunk.data);
    if (!header || header->width > static_cast<std::uint32_t>(maxSide) ||
        header->height > static_cast<std::uint32_t>(maxSide)) {
        return std::nullopt;
    }
    CleanPng clean;
    clean.header = *header;
    std::span<const std::uint8_t> palette;
    std::span<const std::uint8_t> transparency;
    std::vector<std::uint8_t> imageData;
    enum class Stage { BeforeData, InData, AfterData } stage = Stage::BeforeData;
    bool ended = false;
    while (!ended) {
        if (!reader.Next(chunk)) {
            return std::nullopt;  // cut short: no IEND
        }
        const bool critical = IsCritical(chunk.type);
        if (!chunk.crcOk) {
            if (critical) {
                return std::nullopt;
            }
            continue;
        }
        if (chunk.type == "IDAT") {
            if (stage == Stage::AfterData) {
                continue;  // data after other chunks is ignored
            }
            if (clean.header.colourType == kPalette && palette.empty()) {
                return std::nullopt;
            }
            stage = Stage::InData;
            imageData.insert(imageData.end(), chunk.data.begin(), chunk.data.end());
            continue;
        }
        if (stage == Stage::InData) {
            stage = Stage::AfterData;
        }
        if (chunk.type == "IEND") {
            ended = true;
        } else if (chunk.type == "PLTE") {
            if (stage != Stage::BeforeData || !palette.empty() || chunk.data.empty() ||
                chunk.data.size() % 3 != 0 || chunk.data.size() > 256 * 3) {
                if (clean.header.colourType == kPalette) {
                    return std::nullopt;
                }
                continue;
            }
            palette = chunk.data;
        } else if (chunk.type == "tRNS") {
            // Only the first one before the image data, behind the palette.
            const bool inPlace = stage == Stage::BeforeData && transparency.empty() &&
                                 (clean.header.colourType != kPalette || !palette.empty());
            if (inPlace && TransparencyApplies(clean.header, chunk.data, palette.size() / 3)) {
                transparency = chunk.data;
            }
        } else if (critical || chunk.type == "IHDR") {
            return std::nullopt;  // unknown critical chunk or a second header
        }
    }
    if (imageData.empty()) {
        return std::nullopt;
    }
    if (clean.header.colourType != kPalette) {
        palette = {};  // a suggested palette for a true-colour picture does not apply
    }
    if (!InflateAndCheck(clean.header, imageData)) {
        return std::nullopt;
    }

    std::vector<std::uint8_t>& out = clean.stream;
    out.reserve(imageData.size() + 2048);
    out.insert(out.end(), kSignature.begin(), kSignature.end());
    std::array<std::uint8_t, 13> ihdr{};
    std::copy(file.begin() + 16, file.begin() + 29, ihdr.begin());
    AppendChunk(out, "IHDR", ihdr);
    if (!palette.empty()) {
        // Indexes beyond the palette read its first entry; in a 1-bit picture with a
        // single colour, index 1 reads white.
        const std::size_t entries = palette.size() / 3;
        std::vector<std::uint8_t> full(256 * 3);
        std::copy(palette.begin(), palette.end(), full.begin());
        for (std::size_t i = entries; i < 256; ++i) {
            for (std::size_t c = 0; c < 3; ++c) {
                full[i * 3 + c] = clean.header.depth == 1 ? 0xFF : palette[c];
            }
        }
        AppendChunk(out, "PLTE", full);
        if (!transparency.empty()) {
            std::vector<std::uint8_t> alpha(256, 0xFF);
            std::copy(transparency.begin(), transparency.end(), alpha.begin());
            for (std::size_t i = entries; i < 256 && clean.header.depth != 1; ++i) {
                alpha[i] = transparency[0];
            }
            AppendChunk(out, "tRNS", alpha);
            // A palette whose entries are all opaque has no transparency.
            clean.transparency = std::any_of(transparency.begin(), transparency.end(),
                                             [](std::uint8_t a) { return a != 0xFF; });
        }
    } else if (!transparency.empty()) {
        AppendChunk(out, "tRNS", transparency);
        clean.transparency = true;
    }
    AppendChunk(out, "IDAT", imageData);
    AppendChunk(out, "IEND", {});
    return clean;
}

struct StbFree {
    void operator()(void* p) const { stbi_image_free(p); }
};

// 16-bit samples rounded to the nearest 8-bit value: round(v * 255 / 65535).
std::uint32_t Round16(std::uint16_t v) {
    return (static_cast<std::uint32_t>(v) + 128U) / 257U;
}

}  // namespace

std::optional<PngSize> ReadPngSize(std::span<const std::uint8_t> file) {
    ChunkReader reader(file);
    Chunk chunk;
    if (!reader.HasSignature() || !reader.Next(chunk) || chunk.type != "IHDR" || !chunk.crcOk) {
        return std::nullopt;
    }
    const std::optional<Header> header = ParseHeader(chunk.data);
    if (!header) {
        return std::nullopt;
    }
    return PngSize{static_cast<int>(header->width), static_cast<int>(header->height)};
}

std::optional<PixelImage> DecodePng(std::span<const std::uint8_t> file, int maxSide) {
    const std::optional<CleanPng> clean = Clean(file, maxSide);
    if (!clean || clean->stream.size() > static_cast<std::size_t>(kMaxChunkLength)) {
        return std::nullopt;
    }
    const Header& header = clean->header;
    const int type = header.colourType;
    PixelImage picture;
    picture.width = static_cast<int>(header.width);
    picture.height = static_cast<int>(header.height);
    picture.hasAlpha = type == kGreyAlpha || type == kRgbAlpha || clean->transparency;
    const std::size_t count =
        static_cast<std::size_t>(header.width) * static_cast<std::size_t>(header.height);

    int width = 0;
    int height = 0;
    int channels = 0;
    const auto* bytes = clean->stream.data();
    const int size = static_cast<int>(clean->stream.size());
    if (header.depth == 16) {
        const std::unique_ptr<stbi_us, StbFree> samples(
            stbi_load_16_from_memory(bytes, size, &width, &height, &channels, 4));
        if (!samples || width != picture.width || height != picture.height) {
            return std::nullopt;
        }
        picture.pixels.resize(count);
        const stbi_us* s = samples.get();
        for (std::size_t i = 0; i < count; ++i, s += 4) {
            picture.pixels[i] = (Round16(s[3]) << 24) | (Round16(s[0]) << 16) |
                                (Round16(s[1]) << 8) | Round16(s[2]);
        }
    } else {
        const std::unique_ptr<stbi_uc, StbFree> samples(
            stbi_load_from_memory(bytes, size, &width, &height, &channels, 4));
        if (!samples || width != picture.width || height != picture.height) {
            return std::nullopt;
        }
        picture.pixels.resize(count);
        const stbi_uc* s = samples.get();
        for (std::size_t i = 0; i < count; ++i, s += 4) {
            picture.pixels[i] = (static_cast<std::uint32_t>(s[3]) << 24) |
                                (static_cast<std::uint32_t>(s[0]) << 16) |
                                (static_cast<std::uint32_t>(s[1]) << 8) | s[2];
        }
        // A transparent grey level of 2 to 8 bits reads as transparent black.
        if (type == kGrey && clean->transparency && header.depth > 1) {
            for (std::uint32_t& pixel : picture.pixels) {
                if ((pixel >> 24) == 0) {
                    pixel = 0;
                }
            }
        }
    }
    if (!picture.hasAlpha) {
        for (std::uint32_t& pixel : picture.pixels) {
            pixel |= 0xFF000000U;
        }
    }
    return picture;
}

}  // namespace pictor::workspace
