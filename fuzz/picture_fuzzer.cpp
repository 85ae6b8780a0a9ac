// A picture file as the import and the conversion read it: decoding (direct and
// general), probing, row-by-row opening, the position trailer and the list entry.
// The input is the whole file. Asserts that a loaded picture has a size within
// limits and exactly width x height pixels, that loading is repeatable (pixels the
// file did not fill would differ between runs), that a bitmap never loads from
// fewer pixel bytes than its header declares, that every way of reading a picture
// gives the same pixels, and that the trailer and the imported entry agree with
// the file's last bytes.
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

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::span<const std::uint8_t> bytes(data, size);
    const auto path = pictor::fuzz::Scratch() / "picture";
    pictor::fuzz::WriteBytes(path, bytes);
    const bool png = size >= 4 && bytes[0] == 0x89 && bytes[1] == 'P';

    const std::optional<PixelImage> picture = LoadPicture(path);
    if (picture) {
        CheckPicture(*picture, png);
        if (const auto declared = DeclaredBitmapBytes(bytes)) {
            Require(size >= *declared, "a bitmap loads only when the file holds all its rows");
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
    return 0;
}
