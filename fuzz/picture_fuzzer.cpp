// A picture file as the import and the conversion read it: decoding (direct and
// general), probing, row-by-row opening, the position trailer and the list entry.
// The input is the whole file; a PNG is checked once more with its checksums
// repaired, so that mutations reach the decoder behind the checks. Asserts that a
// loaded picture has a size within limits and exactly width x height pixels, that
// loading is repeatable (pixels the file did not fill would differ between runs),
// that a bitmap never loads from fewer pixel bytes than its header declares, that
// every way of reading a picture gives the same pixels, and that the trailer and
// the imported entry agree with the file's last bytes.
#include <stb_image.h>

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <span>
#include <vector>

#include "core/workspace/picture_import.h"
#include "core/workspace/picture_loader.h"
#include "core/workspace/position_trailer.h"
#include "fuzz_support.h"

namespace {

using pictor::fuzz::Require;
using namespace pictor::workspace;

std::uint32_t Le32(std::span<const std::uint8_t> b, std::size_t at) {
    return std::uint32_t{b[at]} | std::uint32_t{b[at + 1]} << 8 | std::uint32_t{b[at + 2]} << 16 |
           std::uint32_t{b[at + 3]} << 24;
}

// For an uncompressed (or bit-field) bitmap with a 40-byte or longer info header:
// the bytes its header declares up to the end of the last pixel row.
std::optional<std::uint64_t> DeclaredBitmapBytes(std::span<const std::uint8_t> b) {
    if (b.size() < 34 || b[0] != 'B' || b[1] != 'M' || Le32(b, 14) < 40) {
        return std::nullopt;
    }
    const auto width = static_cast<std::int32_t>(Le32(b, 18));
    const auto height = static_cast<std::int32_t>(Le32(b, 22));
    const unsigned bits = b[28] | b[29] << 8;
    const std::uint32_t compression = Le32(b, 30);
    if ((compression != 0 && compression != 3) || width <= 0 || height == 0 ||
        height == INT32_MIN) {
        return std::nullopt;
    }
    const std::uint64_t stride =
        (std::uint64_t{static_cast<std::uint32_t>(width)} * bits + 31) / 32 * 4;
    const std::uint64_t rows = height < 0 ? static_cast<std::uint64_t>(-std::int64_t{height})
                                          : static_cast<std::uint64_t>(height);
    return std::uint64_t{Le32(b, 10)} + stride * rows;
}

void CheckPicture(const PixelImage& picture, bool png) {
    Require(picture.width >= 1 && picture.width <= kMaxPictureSide && picture.height >= 1 &&
                picture.height <= kMaxPictureSide,
            "a loaded picture is 1 to 8192 pixels wide and high");
    Require(picture.pixels.size() ==
                static_cast<std::size_t>(picture.width) * static_cast<std::size_t>(picture.height),
            "a loaded picture has width x height pixels");
    if (!png) {
        Require(!picture.hasAlpha, "a bitmap has no alpha to blend");
        Require(std::all_of(picture.pixels.begin(), picture.pixels.end(),
                            [](std::uint32_t p) { return (p >> 24) == 0xFF; }),
                "bitmap pixels are opaque");
    }
}

bool SamePicture(const PixelImage& a, const PixelImage& b) {
    return a.width == b.width && a.height == b.height && a.hasAlpha == b.hasAlpha &&
           a.pixels == b.pixels;
}

std::optional<TrailerPosition> ExpectedTrailer(std::span<const std::uint8_t> b) {
    if (b.size() < kTrailerSize ||
        !std::equal(kTrailerMagic.begin(), kTrailerMagic.end(), b.end() - kTrailerSize)) {
        return std::nullopt;
    }
    return TrailerPosition{b[b.size() - 2], b[b.size() - 1]};
}

void CheckRows(const std::filesystem::path& path, const std::optional<PixelImage>& picture) {
    std::optional<PictureRows> rows = OpenPictureRows(path);
    Require(rows.has_value() == picture.has_value(),
            "a picture opens for encoding exactly when it loads");
    if (!rows) {
        return;
    }
    Require(rows->Width() == picture->width && rows->Height() == picture->height,
            "the rows have the picture's size");
    if (const PixelImage* decoded = rows->Decoded()) {
        Require(SamePicture(*decoded, *picture), "the decoded rows are the loaded picture");
        return;
    }
    std::vector<std::uint32_t> row(static_cast<std::size_t>(picture->width));
    for (int y = 0; y < picture->height; ++y) {
        rows->DecodeRow(y, row.data());
        Require(std::equal(row.begin(), row.end(), picture->Row(y)),
                "each row decoded from the file is the loaded picture's row");
    }
}

std::uint32_t Be32(std::span<const std::uint8_t> b, std::size_t at) {
    return std::uint32_t{b[at]} << 24 | std::uint32_t{b[at + 1]} << 16 |
           std::uint32_t{b[at + 2]} << 8 | std::uint32_t{b[at + 3]};
}

void PutBe32(std::vector<std::uint8_t>& b, std::size_t at, std::uint32_t value) {
    for (std::size_t i = 0; i < 4; ++i) {
        b[at + i] = static_cast<std::uint8_t>(value >> (24 - 8 * i));
    }
}

std::uint32_t Crc32(std::span<const std::uint8_t> bytes) {
    std::uint32_t c = 0xFFFFFFFFU;
    for (const std::uint8_t byte : bytes) {
        c ^= byte;
        for (int k = 0; k < 8; ++k) {
            c = (c & 1U) != 0 ? 0xEDB88320U ^ (c >> 1) : c >> 1;
        }
    }
    return c ^ 0xFFFFFFFFU;
}

// A PNG with its checksums made right: the zlib checksum at the end of the image
// data (when that data inflates) and every chunk's CRC. Mutated files mostly fail
// these checks; the repaired copy takes the fuzzer's changes into the decoder.
std::vector<std::uint8_t> RepairPngChecksums(std::span<const std::uint8_t> bytes) {
    std::vector<std::uint8_t> out(bytes.begin(), bytes.end());
    std::vector<std::size_t> imageBytes;  // file offsets of the image data, in order
    std::vector<std::uint8_t> imageData;
    std::vector<std::pair<std::size_t, std::size_t>> chunks;  // offset, length
    for (std::size_t at = 8; out.size() - at >= 12;) {
        const std::uint32_t length = Be32(out, at);
        if (length > out.size() - at - 12) {
            break;
        }
        chunks.emplace_back(at, length);
        if (std::equal(out.begin() + static_cast<std::ptrdiff_t>(at + 4),
                       out.begin() + static_cast<std::ptrdiff_t>(at + 8), "IDAT")) {
            for (std::size_t i = 0; i < length; ++i) {
                imageBytes.push_back(at + 8 + i);
                imageData.push_back(out[at + 8 + i]);
            }
        }
        at += 12 + length;
    }
    if (imageData.size() >= 6) {
        int inflated = 0;
        char* raw = stbi_zlib_decode_malloc(reinterpret_cast<const char*>(imageData.data()),
                                            static_cast<int>(imageData.size()), &inflated);
        if (raw != nullptr) {
            std::uint32_t a = 1;
            std::uint32_t b = 0;
            for (int i = 0; i < inflated; ++i) {
                a = (a + static_cast<std::uint8_t>(raw[i])) % 65521U;
                b = (b + a) % 65521U;
            }
            stbi_image_free(raw);
            const std::uint32_t checksum = (b << 16) | a;
            for (std::size_t i = 0; i < 4; ++i) {
                out[imageBytes[imageBytes.size() - 4 + i]] =
                    static_cast<std::uint8_t>(checksum >> (24 - 8 * i));
            }
        }
    }
    for (const auto& [at, length] : chunks) {
        PutBe32(out, at + 8 + length,
                Crc32(std::span(out).subspan(at + 4, std::size_t{length} + 4)));
    }
    return out;
}

// Pictures up to this many pixels (4096 x 4096) go through every cross-check.
constexpr std::size_t kCrossCheckedPixels = std::size_t{4096} * 4096;

void CheckFile(std::span<const std::uint8_t> bytes) {
    const std::size_t size = bytes.size();
    const auto path = pictor::fuzz::Scratch() / "picture";
    pictor::fuzz::WriteBytes(path, bytes);
    const bool png = size >= 4 && bytes[0] == 0x89 && bytes[1] == 'P';

    const std::optional<PixelImage> picture = LoadPicture(path);
    if (picture) {
        CheckPicture(*picture, png);
        if (const auto declared = DeclaredBitmapBytes(bytes)) {
            Require(size >= *declared, "a bitmap loads only when the file holds all its rows");
        }
        // A picture of many millions of pixels (a few hundred bytes of run-length
        // codes can declare 8192 x 8192) takes seconds per decode under the
        // sanitizers; the cross-checks below decode it five more times and would
        // pass the per-input time limit. Loading it within limits is checked.
        if (picture->pixels.size() > kCrossCheckedPixels) {
            return;
        }
    }
    // The direct bitmap decoder and the general one agree on every picture both take.
    const std::optional<PixelImage> general = LoadPicture(path, true);
    if (picture && general) {
        Require(SamePicture(*picture, *general), "both decoders give the same pixels");
    }
    const std::optional<PictureSize> probed = ProbePicture(path);
    Require(probed.has_value() == picture.has_value() &&
                (!probed || (probed->width == picture->width && probed->height == picture->height)),
            "probing tells exactly which pictures load, and their size");
    CheckRows(path, picture);

    const auto trailer = ReadTrailer(path);
    Require(trailer == ExpectedTrailer(bytes), "the trailer is the file's last six bytes");

    PictureList list;
    pictor::fuzz::CountingSink messages;
    const int added = ImportPictures(list, {path.string()}, messages, {.openForWriting = false});
    Require(added == (picture ? 1 : 0), "the import adds exactly the pictures that load");
    Require(messages.count == (picture ? 0 : 1), "a picture that does not load is reported once");
    if (added == 1) {
        const ImageEntry& entry = list.At(0);
        Require(entry.width == picture->width && entry.height == picture->height,
                "the imported entry has the picture's size");
        // The import loads the file again: pixels the file did not fill would differ.
        Require(!entry.bitmap || SamePicture(*entry.bitmap, *picture),
                "loading a picture twice gives the same pixels");
        const TrailerPosition at = trailer.value_or(TrailerPosition{});
        Require(entry.left == at.left && entry.top == at.top,
                "the entry's position comes from the trailer");
    }

    // Storing a position: it reads back as its low bytes and the picture still loads
    // the same; a trailer that would break the picture is not written at all.
    if (WriteTrailer(path, 300, 7)) {
        Require(ReadTrailer(path) == TrailerPosition{44, 7}, "the written trailer reads back");
        const std::optional<PixelImage> moved = LoadPicture(path);
        Require(moved.has_value(), "a picture with a new trailer still loads");
        Require(!picture || png || SamePicture(*picture, *moved),
                "a bitmap loads the same with a trailer");
    } else {
        const auto after = pictor::fuzz::ReadBytes(path);
        Require(std::equal(after.begin(), after.end(), bytes.begin(), bytes.end()),
                "a trailer that is not written leaves the file as it was");
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::span<const std::uint8_t> bytes(data, size);
    CheckFile(bytes);
    if (size >= 8 && bytes[0] == 0x89 && bytes[1] == 'P') {
        const std::vector<std::uint8_t> repaired = RepairPngChecksums(bytes);
        if (!std::equal(repaired.begin(), repaired.end(), bytes.begin(), bytes.end())) {
            CheckFile(repaired);
        }
    }
    return 0;
}
