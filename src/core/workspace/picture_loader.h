#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <span>
#include <vector>

#include "core/workspace/bitmap_format.h"
#include "core/workspace/pixel_image.h"
#include "core/workspace/source_map.h"

namespace pictor {
class RegularFile;
}

namespace pictor::workspace {

/// Largest width or height of a picture that loads, in pixels.
inline constexpr int kMaxPictureSide = 8192;
/// Width and height of a thumbnail, in pixels.
inline constexpr int kThumbnailSide = 96;

/// Loads a picture file at its own size. Accepts Windows bitmaps (1, 4, 8 bits per pixel
/// with palettes, RLE4, RLE8, 16 bits per pixel 5-5-5 or bit fields, 24 and 32 bits per
/// pixel, bottom-up or top-down) and PNG, recognised by their content, not their file
/// name. Bitmaps give their stored red, green and blue with alpha 0xFF (a 32-bit bitmap's
/// fourth byte is ignored) and `hasAlpha` false; a PNG with an alpha channel keeps its
/// unpremultiplied colours and alpha with `hasAlpha` true.
/// Returns nothing for other formats, unreadable or damaged files, pictures wider or
/// higher than kMaxPictureSide or of zero size (the size is checked from the header before
/// any pixel memory is taken), and pictures whose pixels do not fit in the memory at hand
/// (never an exception). A bitmap whose file holds fewer pixel bytes than its header
/// declares (or whose run-length stream ends early) is damaged. Only regular files (or
/// links to them) are opened; a FIFO or a device is refused without blocking.
/// Common uncompressed bitmaps are decoded directly from the file's rows, every other
/// bitmap by the general bitmap decoder and PNG by the PNG decoder; `general` forces the
/// general bitmap decoder (for comparisons). A PNG is read whole and decoded only when
/// its header declares an accepted size; a damaged PNG (wrong CRC on a critical chunk,
/// no IEND, image data cut short) is refused. Thread-safe.
std::optional<PixelImage> LoadPicture(const std::filesystem::path& path, bool general = false);

/// Width and height of a picture that LoadPicture would load.
struct PictureSize {
    int width = 0;
    int height = 0;

    friend bool operator==(const PictureSize&, const PictureSize&) = default;
};

/// Checks that `path` is a picture LoadPicture loads and returns its size, keeping no
/// pixels: a common uncompressed bitmap is checked from its headers and its file size
/// alone, any other picture is decoded once and dropped. Thread-safe.
std::optional<PictureSize> ProbePicture(const std::filesystem::path& path);

/// As above, for a file already open (the import reads its trailer through the same
/// open file).
std::optional<PictureSize> ProbePicture(const RegularFile& file);

/// A picture opened for encoding row by row. A common uncompressed bitmap keeps only its
/// file's bytes and decodes each row when asked; any other picture is decoded whole.
/// Move-only in practice (large); not thread-safe per object.
class PictureRows {
  public:
    PictureRows() = default;
    PictureRows(PictureRows&&) noexcept = default;
    PictureRows& operator=(PictureRows&&) noexcept = default;
    PictureRows(const PictureRows&) = delete;  // the view must follow its bytes
    PictureRows& operator=(const PictureRows&) = delete;
    ~PictureRows() = default;

    [[nodiscard]] int Width() const;
    [[nodiscard]] int Height() const;
    /// The whole decoded picture, or null when the rows come straight from a bitmap file.
    [[nodiscard]] const PixelImage* Decoded() const { return direct_ ? nullptr : &decoded_; }
    /// Writes row `y` (0 = top) as Width() words 0xFFRRGGBB; only when Decoded() is null.
    void DecodeRow(int y, std::uint32_t* out) const;
    /// Whether the rows come from a 24-bit bitmap file (Bgr24Row gives them).
    [[nodiscard]] bool IsBgr24() const { return direct_ && direct_->Bgr24Row(0) != nullptr; }
    /// The bytes of row `y` (blue, green, red per pixel) when the rows come from a
    /// 24-bit bitmap file: its stored row, or for mapped rows the row gathered
    /// from them (valid until a row of another block of rows is asked for); null
    /// otherwise.
    [[nodiscard]] const std::uint8_t* Bgr24Row(int y) const {
        if (!direct_) {
            return nullptr;
        }
        return map_ ? GatheredRow(y) : direct_->Bgr24Row(y);
    }

    /// How mapped rows of a 24-bit bitmap are picked from its file (see MapRows):
    /// per target column, its file row when the map is transposed, else its byte
    /// offset within the file row of the target row. For encoders that pack the
    /// picked bytes at once.
    struct GatherPlan {
        const SourceMap* map = nullptr;
        std::span<const std::uint8_t* const> columnLines;  // transposed maps
        std::span<const std::size_t> columnOffsets;        // other maps
        bool invert = false;
    };
    /// The plan of mapped rows; nothing for other rows.
    [[nodiscard]] std::optional<GatherPlan> Plan() const;
    /// The stored bytes of row `y` of the file under mapped rows.
    [[nodiscard]] const std::uint8_t* FileRow(int y) const { return direct_->Bgr24Row(y); }

    /// Rows made from a decoded picture.
    static PictureRows FromImage(PixelImage image);
    /// The whole picture as these rows give it (decoded now when they come from a file).
    [[nodiscard]] PixelImage Whole() &&;

    /// Makes the rows those of the picture `map` gathers from this one (with red,
    /// green and blue inverted when `invert`), picked from the file's bytes a few
    /// rows at a time as they are asked for. Only for rows straight from a 24-bit
    /// bitmap (Bgr24Row not null) and a map made for its size; returns false and
    /// changes nothing otherwise.
    bool MapRows(SourceMap map, bool invert);

    /// Gives the file's bytes away for reuse by a later OpenPictureRows.
    std::vector<std::uint8_t> TakeBuffer() &&;

  private:
    friend std::optional<PictureRows> OpenPictureRows(const std::filesystem::path& path,
                                                      std::vector<std::uint8_t> buffer);

    std::vector<std::uint8_t> file_;
    std::optional<DirectBitmap> direct_;  // views file_
    PixelImage decoded_;
    // Mapped rows are gathered kGatherRows at a time: a quarter turn reads each
    // target column from one file row, so the block's rows share its bytes (a
    // block of 64 rows of a 480-pixel picture is 90 KiB).
    static constexpr int kGatherRows = 64;
    [[nodiscard]] const std::uint8_t* GatheredRow(int y) const;
    void GatherBlock(int first) const;

    std::optional<SourceMap> map_;               // set by MapRows
    std::vector<const std::uint8_t*> mapLines_;  // the file row of each target column (transposed)
    std::vector<std::size_t> mapColumns_;        // byte offsets of alongX (not transposed)
    bool invert_ = false;
    mutable std::vector<std::uint8_t> gathered_;  // kGatherRows target rows, 3 bytes a pixel
    mutable int gatheredFirst_ = -1;
};

/// Opens `path` for encoding; nothing where LoadPicture gives nothing. A bitmap's
/// bytes are read into `buffer` (whose memory is reused; see TakeBuffer). Thread-safe.
std::optional<PictureRows> OpenPictureRows(const std::filesystem::path& path,
                                           std::vector<std::uint8_t> buffer = {});

/// Returns `picture` stretched to kThumbnailSide x kThumbnailSide pixels by sampling the
/// nearest source pixel, keeping `hasAlpha`. An empty picture (or one with fewer pixels
/// than its size) gives a black thumbnail.
PixelImage MakeThumbnail(const PixelImage& picture);

}  // namespace pictor::workspace
