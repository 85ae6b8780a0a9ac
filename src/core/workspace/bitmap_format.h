#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <span>

namespace pictor::workspace {

/// What a Windows bitmap's headers declare, read without touching its pixels.
struct BitmapHeader {
    std::uint32_t headerSize = 0;  // 12 (OS/2 core), 40, 52, 56, 108 or 124
    int width = 0;
    int height = 0;  // always positive; `topDown` tells the row order
    bool topDown = false;
    int bitCount = 0;
    std::uint32_t compression = 0;         // 0 RGB, 1 RLE8, 2 RLE4, 3 BITFIELDS
    std::array<std::uint32_t, 3> masks{};  // red, green, blue (BITFIELDS and V4/V5 headers)
    std::uint32_t alphaMask = 0;           // V4/V5 headers only
    std::uint64_t paletteOffset = 0;       // file offset of the first palette entry
    std::uint32_t paletteEntries = 0;      // entries the palette declares
    int paletteEntryBytes = 4;             // 3 in the OS/2 core format
    std::uint64_t dataOffset = 0;          // file offset of the pixel data (bfOffBits)
    std::uint64_t rowBytes = 0;            // one stored row, padded to 4 bytes (uncompressed)

    [[nodiscard]] bool IsRunLength() const { return compression == 1 || compression == 2; }
};

/// Bytes of the file that the header parser needs at most (file header, the
/// largest info header, three masks and a 256-entry palette).
inline constexpr std::size_t kBitmapHeadBytes = 14 + 124 + 12 + 256 * 4;

/// Reads the headers at the start of `head` (a prefix of the file, at most
/// kBitmapHeadBytes needed). Returns nothing when they are not a bitmap's, use an
/// unknown header size or compression, or declare a size the decoders cannot hold.
/// Width and height are not checked against any maximum here.
std::optional<BitmapHeader> ParseBitmapHeader(std::span<const std::uint8_t> head);

/// File offset where the pixels are read: the header's data offset, or the end of
/// the palette (or masks) when the data offset points before it, since decoders read
/// on from there instead of going back.
std::uint64_t PixelDataOffset(const BitmapHeader& header);

/// Whether `file` (the whole file) holds every pixel `header` declares: for
/// uncompressed data all rows after the data offset and the palette before it; for
/// run-length data a stream that reaches its last row (or its end-of-bitmap mark on
/// the last row) without running out of bytes. Never reads past `file`.
bool HoldsDeclaredPixels(const BitmapHeader& header, std::span<const std::uint8_t> file);

/// The same check for uncompressed data from the file's size alone (no bytes
/// needed). Run-length data always passes here; it needs HoldsDeclaredPixels.
bool SizeHoldsDeclaredRows(const BitmapHeader& header, std::uint64_t fileSize);

/// An uncompressed bitmap in one of the common layouts, decoded straight from the
/// file's bytes row by row: 1, 4 and 8 bits with a palette, 16 bits 5-5-5 (or bit
/// fields 5-5-5 / 5-6-5), 24 bits, 32 bits (plain or bit fields 8-8-8), bottom-up
/// or top-down, with a 40-byte or larger info header. Gives exactly the colours the
/// general decoder gives for the same file. Views `file`, which must outlive it.
class DirectBitmap {
  public:
    /// Whether a bitmap with these headers is one of the layouts decoded here.
    static bool IsDirectLayout(const BitmapHeader& header);
    /// Returns nothing for any other layout, or when the file is short; those go
    /// through the general decoder.
    static std::optional<DirectBitmap> Open(std::span<const std::uint8_t> file);

    [[nodiscard]] int Width() const { return header_.width; }
    [[nodiscard]] int Height() const { return header_.height; }

    /// Writes row `y` (0 = top) as Width() words 0xFFRRGGBB to `out`.
    void DecodeRow(int y, std::uint32_t* out) const;

    /// For a 24-bit bitmap the stored bytes of row `y` (0 = top): blue, green, red
    /// per pixel. Null for every other layout.
    [[nodiscard]] const std::uint8_t* Bgr24Row(int y) const;

  private:
    enum class Kind { Palette1, Palette4, Palette8, Rgb555, Rgb565, Bgr24, Bgrx32 };

    DirectBitmap(const BitmapHeader& header, Kind kind, std::span<const std::uint8_t> file)
        : header_(header), kind_(kind), file_(file) {}
    static std::optional<Kind> LayoutKind(const BitmapHeader& header);
    [[nodiscard]] const std::uint8_t* StoredRow(int y) const;

    BitmapHeader header_;
    Kind kind_;
    std::span<const std::uint8_t> file_;
    std::array<std::uint32_t, 256> palette_{};
};

}  // namespace pictor::workspace
