#include "core/workspace/picture_loader.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <limits>
#include <span>
#include <string_view>
#include <utility>

#include "core/common/out_of_memory.h"
#include "core/common/regular_file.h"
#include "core/workspace/bitmap_decoder.h"
#include "core/workspace/png_decoder.h"

namespace pictor::workspace {

namespace {

// A picture file larger than this is not read: the largest legal picture at 32 bits is
// 256 MiB as a bitmap, and run-length data or a PNG of such a picture stays well below
// this.
constexpr std::uint64_t kMaxPictureFileBytes = std::uint64_t{1} << 30;

enum class PictureFormat { Unknown, Bitmap, Png };

PictureFormat SniffFormat(std::span<const std::uint8_t> head) {
    constexpr std::string_view kPngSignature("\x89PNG\r\n\x1a\n", 8);
    if (head.size() >= 2 && head[0] == 'B' && head[1] == 'M') {
        return PictureFormat::Bitmap;
    }
    if (head.size() >= kPngSignature.size() &&
        std::memcmp(head.data(), kPngSignature.data(), kPngSignature.size()) == 0) {
        return PictureFormat::Png;
    }
    return PictureFormat::Unknown;
}

// Reads up to `size` bytes from the start of the file.
std::vector<std::uint8_t> ReadHead(const RegularFile& file, std::size_t size) {
    std::vector<std::uint8_t> bytes(
        static_cast<std::size_t>(std::min<std::uint64_t>(size, file.Size())));
    bytes.resize(file.ReadAt(0, bytes));
    return bytes;
}

// Reads the file from offset 0 into all of `bytes`; false when it is shorter (it
// shrank since it was opened) or a read fails.
bool ReadFully(const RegularFile& file, std::vector<std::uint8_t>& bytes) {
    return file.ReadAt(0, bytes) == bytes.size();
}

bool IsAcceptedSize(int width, int height) {
    return width > 0 && height > 0 && width <= kMaxPictureSide && height <= kMaxPictureSide;
}

PixelImage DecodeDirect(const DirectBitmap& bitmap) {
    PixelImage picture;
    picture.width = bitmap.Width();
    picture.height = bitmap.Height();
    const auto width = static_cast<std::size_t>(picture.width);
    picture.pixels.resize(width * static_cast<std::size_t>(picture.height));
    for (int y = 0; y < picture.height; ++y) {
        bitmap.DecodeRow(y, picture.pixels.data() + static_cast<std::size_t>(y) * width);
    }
    return picture;
}

// A picture file after the checks every path shares: a regular file of a known
// format whose header declares an accepted size, and for a bitmap headers that the
// file's bytes fill. `bytes` holds the whole file (a directly decodable bitmap that
// is only probed leaves it empty).
struct CheckedPicture {
    PictureFormat format = PictureFormat::Unknown;
    std::optional<BitmapHeader> header;
    std::vector<std::uint8_t> bytes;
};

// Files up to this size are read in one call when they are to be read whole.
constexpr std::uint64_t kReadAtOnceBytes = std::uint64_t{16} << 20;

// `readBitmap` false checks a directly decodable bitmap from its headers and size
// alone and leaves `bytes` empty.
std::optional<CheckedPicture> Check(const RegularFile& file, bool readBitmap,
                                    std::vector<std::uint8_t> buffer = {}) {
    CheckedPicture picture;
    // A picture that will be read whole anyway and is of a common size is read in
    // one call, its head taken from the bytes read; a large file is judged by its
    // head first, so nothing big is read for a file that is refused.
    const bool readAtOnce = readBitmap && file.Size() <= kReadAtOnceBytes;
    if (readAtOnce) {
        buffer.resize(static_cast<std::size_t>(file.Size()));
        if (!ReadFully(file, buffer)) {
            return std::nullopt;
        }
    }
    std::vector<std::uint8_t> head =
        readAtOnce ? std::vector<std::uint8_t>(
                         buffer.begin(), buffer.begin() + static_cast<std::ptrdiff_t>(std::min(
                                                              buffer.size(), kBitmapHeadBytes)))
                   : ReadHead(file, kBitmapHeadBytes);
    picture.format = SniffFormat(head);
    if (picture.format == PictureFormat::Unknown) {
        return std::nullopt;
    }
    if (picture.format == PictureFormat::Png) {
        // The header's size decides before the file is read.
        const std::optional<PngSize> size = ReadPngSize(head);
        if (!size || !IsAcceptedSize(size->width, size->height) ||
            file.Size() > kMaxPictureFileBytes) {
            return std::nullopt;
        }
        if (!readAtOnce) {
            buffer.resize(static_cast<std::size_t>(file.Size()));
            if (!ReadFully(file, buffer)) {
                return std::nullopt;
            }
        }
        picture.bytes = std::move(buffer);
        return picture;
    }
    picture.header = ParseBitmapHeader(head);
    const BitmapHeader* header = picture.header ? &*picture.header : nullptr;
    // Size checks come before any pixel memory is taken.
    if (header == nullptr || !IsAcceptedSize(header->width, header->height) ||
        !SizeHoldsDeclaredRows(*header, file.Size())) {
        return std::nullopt;
    }
    if (!readBitmap && DirectBitmap::IsDirectLayout(*header)) {
        return picture;
    }
    if (file.Size() > kMaxPictureFileBytes) {
        return std::nullopt;
    }
    if (!readAtOnce) {
        buffer.resize(static_cast<std::size_t>(file.Size()));
        if (!ReadFully(file, buffer)) {
            return std::nullopt;
        }
    }
    if (!HoldsDeclaredPixels(*header, buffer)) {
        return std::nullopt;
    }
    picture.bytes = std::move(buffer);
    return picture;
}

std::optional<CheckedPicture> OpenChecked(const std::filesystem::path& path, bool readBitmap,
                                          std::vector<std::uint8_t> buffer = {}) {
    const std::optional<RegularFile> file = RegularFile::Open(path, FileAccess::Read);
    if (!file) {
        return std::nullopt;
    }
    return Check(*file, readBitmap, std::move(buffer));
}

std::optional<PixelImage> Decode(const CheckedPicture& picture, bool general) {
    if (picture.format == PictureFormat::Png) {
        return DecodePng(picture.bytes, kMaxPictureSide);
    }
    if (!general) {
        if (const std::optional<DirectBitmap> direct = DirectBitmap::Open(picture.bytes)) {
            return DecodeDirect(*direct);
        }
    }
    return DecodeBitmap(*picture.header, picture.bytes);
}

// ProbePicture of an open file, without the guard against running out of memory.
std::optional<PictureSize> Probe(const RegularFile& file) {
    const std::optional<CheckedPicture> picture = Check(file, false);
    if (!picture) {
        return std::nullopt;
    }
    if (picture->header && picture->bytes.empty()) {
        return PictureSize{picture->header->width, picture->header->height};
    }
    const std::optional<PixelImage> decoded = Decode(*picture, false);
    if (!decoded) {
        return std::nullopt;
    }
    return PictureSize{decoded->width, decoded->height};
}

}  // namespace

std::optional<PixelImage> LoadPicture(const std::filesystem::path& path, bool general) {
    return RefuseWhenOutOfMemory([&]() -> std::optional<PixelImage> {
        const std::optional<CheckedPicture> picture = OpenChecked(path, true);
        if (!picture) {
            return std::nullopt;
        }
        return Decode(*picture, general);
    });
}

std::optional<PictureSize> ProbePicture(const std::filesystem::path& path) {
    const std::optional<RegularFile> file = RegularFile::Open(path, FileAccess::Read);
    if (!file) {
        return std::nullopt;
    }
    return ProbePicture(*file);
}

std::optional<PictureSize> ProbePicture(const RegularFile& file) {
    return RefuseWhenOutOfMemory([&] { return Probe(file); });
}

int PictureRows::Width() const {
    if (map_) {
        return map_->width;
    }
    return direct_ ? direct_->Width() : decoded_.width;
}

int PictureRows::Height() const {
    if (map_) {
        return map_->height;
    }
    return direct_ ? direct_->Height() : decoded_.height;
}

namespace {

std::uint32_t PixelOfBgr(const std::uint8_t* p) {
    return 0xFF000000U | (static_cast<std::uint32_t>(p[2]) << 16) |
           (static_cast<std::uint32_t>(p[1]) << 8) | p[0];
}

}  // namespace

void PictureRows::DecodeRow(int y, std::uint32_t* out) const {
    if (!map_) {
        direct_->DecodeRow(y, out);
        return;
    }
    const std::uint8_t* row = GatheredRow(y);
    for (std::size_t x = 0; x < static_cast<std::size_t>(map_->width); ++x) {
        out[x] = PixelOfBgr(row + 3 * x);
    }
}

const std::uint8_t* PictureRows::GatheredRow(int y) const {
    if (gatheredFirst_ < 0 || y < gatheredFirst_ || y >= gatheredFirst_ + kGatherRows) {
        GatherBlock(y - y % kGatherRows);
    }
    return gathered_.data() +
           static_cast<std::size_t>(y - gatheredFirst_) * 3 * static_cast<std::size_t>(map_->width);
}

void PictureRows::GatherBlock(int first) const {
    const auto width = static_cast<std::size_t>(map_->width);
    const int count = std::min(kGatherRows, map_->height - first);
    const std::size_t stride = 3 * width;
    gathered_.resize(stride * static_cast<std::size_t>(kGatherRows));
    gatheredFirst_ = first;
    const std::uint8_t flip = invert_ ? 0xFF : 0x00;
    const auto copy = [flip](std::uint8_t* target, const std::uint8_t* source) {
        target[0] = source[0] ^ flip;
        target[1] = source[1] ^ flip;
        target[2] = source[2] ^ flip;
    };
    if (map_->transposed) {
        // Column by column: the block's rows take nearby bytes of one file row.
        std::array<std::size_t, kGatherRows> columns{};
        for (int r = 0; r < count; ++r) {
            columns[static_cast<std::size_t>(r)] =
                3 * static_cast<std::size_t>(map_->alongY[static_cast<std::size_t>(first + r)]);
        }
        for (std::size_t x = 0; x < width; ++x) {
            const std::uint8_t* line = mapLines_[x];
            std::uint8_t* target = gathered_.data() + 3 * x;
            for (int r = 0; r < count; ++r, target += stride) {
                copy(target, line + columns[static_cast<std::size_t>(r)]);
            }
        }
        return;
    }
    for (int r = 0; r < count; ++r) {
        const std::uint8_t* line =
            direct_->Bgr24Row(map_->alongY[static_cast<std::size_t>(first + r)]);
        std::uint8_t* target = gathered_.data() + static_cast<std::size_t>(r) * stride;
        for (std::size_t x = 0; x < width; ++x) {
            copy(target + 3 * x, line + mapColumns_[x]);
        }
    }
}

std::optional<PictureRows::GatherPlan> PictureRows::Plan() const {
    if (!map_) {
        return std::nullopt;
    }
    return GatherPlan{&*map_, mapLines_, mapColumns_, invert_};
}

PictureRows PictureRows::FromImage(PixelImage image) {
    PictureRows rows;
    rows.decoded_ = std::move(image);
    return rows;
}

PixelImage PictureRows::Whole() && {
    if (!direct_) {
        return std::move(decoded_);
    }
    PixelImage picture;
    picture.width = Width();
    picture.height = Height();
    const auto width = static_cast<std::size_t>(picture.width);
    picture.pixels.resize(width * static_cast<std::size_t>(picture.height));
    for (int y = 0; y < picture.height; ++y) {
        DecodeRow(y, picture.pixels.data() + static_cast<std::size_t>(y) * width);
    }
    return picture;
}

bool PictureRows::MapRows(SourceMap map, bool invert) {
    if (map_ || !IsBgr24()) {
        return false;
    }
    const int sourceColumns = map.transposed ? direct_->Height() : direct_->Width();
    const int sourceRows = map.transposed ? direct_->Width() : direct_->Height();
    const auto inside = [](const std::vector<int>& table, int limit) {
        return std::all_of(table.begin(), table.end(),
                           [limit](int value) { return value >= 0 && value < limit; });
    };
    // alongX holds columns (rows when transposed) and alongY rows (columns).
    if (map.alongX.size() != static_cast<std::size_t>(map.width) ||
        map.alongY.size() != static_cast<std::size_t>(map.height) ||
        !inside(map.alongX, sourceColumns) || !inside(map.alongY, sourceRows)) {
        return false;
    }
    mapLines_.clear();
    mapColumns_.clear();
    for (const int along : map.alongX) {
        if (map.transposed) {
            mapLines_.push_back(direct_->Bgr24Row(along));
        } else {
            mapColumns_.push_back(3 * static_cast<std::size_t>(along));
        }
    }
    map_ = std::move(map);
    invert_ = invert;
    gatheredFirst_ = -1;
    return true;
}

std::vector<std::uint8_t> PictureRows::TakeBuffer() && {
    direct_.reset();
    map_.reset();
    mapLines_.clear();
    mapColumns_.clear();
    gatheredFirst_ = -1;
    return std::move(file_);
}

std::optional<PictureRows> OpenPictureRows(const std::filesystem::path& path,
                                           std::vector<std::uint8_t> buffer) {
    return RefuseWhenOutOfMemory([&]() -> std::optional<PictureRows> {
        std::optional<CheckedPicture> picture = OpenChecked(path, true, std::move(buffer));
        if (!picture) {
            return std::nullopt;
        }
        PictureRows rows;
        if (picture->format == PictureFormat::Bitmap) {
            rows.file_ = std::move(picture->bytes);
            rows.direct_ = DirectBitmap::Open(rows.file_);
            if (rows.direct_) {
                return rows;
            }
            picture->bytes = std::move(rows.file_);
            rows.file_.clear();
        }
        std::optional<PixelImage> decoded = Decode(*picture, false);
        if (!decoded) {
            return std::nullopt;
        }
        rows.decoded_ = std::move(*decoded);
        return rows;
    });
}

PixelImage MakeThumbnail(const PixelImage& picture) {
    PixelImage thumbnail;
    thumbnail.width = kThumbnailSide;
    thumbnail.height = kThumbnailSide;
    thumbnail.hasAlpha = picture.hasAlpha;
    constexpr auto kSide = static_cast<std::size_t>(kThumbnailSide);
    thumbnail.pixels.assign(kSide * kSide, 0xFF000000U);
    if (picture.width <= 0 || picture.height <= 0 ||
        picture.pixels.size() <
            static_cast<std::size_t>(picture.width) * static_cast<std::size_t>(picture.height)) {
        return thumbnail;
    }
    const auto sourceWidth = static_cast<std::size_t>(picture.width);
    const auto sourceHeight = static_cast<std::size_t>(picture.height);
    for (std::size_t y = 0; y < kSide; ++y) {
        // The source pixel under the centre of each thumbnail pixel.
        const std::size_t sourceY = (2 * y + 1) * sourceHeight / (2 * kSide);
        const std::uint32_t* sourceRow = picture.pixels.data() + sourceY * sourceWidth;
        for (std::size_t x = 0; x < kSide; ++x) {
            const std::size_t sourceX = (2 * x + 1) * sourceWidth / (2 * kSide);
            thumbnail.pixels[y * kSide + x] = sourceRow[sourceX];
        }
    }
    return thumbnail;
}

}  // namespace pictor::workspace
