#pragma once

#include <cstdint>
#include <filesystem>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "core/common/message.h"
#include "core/text/font_check.h"
#include "core/text/text_picture.h"
#include "core/workspace/pixel_image.h"

namespace pictor::text {

/// Largest font file that is read, in bytes.
inline constexpr std::uint64_t kMaxFontFileBytes = std::uint64_t{64} << 20;

struct FontFace;

/// A font file read into memory and checked (CheckFont) so that it can be drawn.
/// Shares its bytes: copies are cheap. Immutable and thread-safe.
class Font {
  public:
    /// Reads and checks the font file at `path`. On failure returns nothing and,
    /// when `why` is given, sets it to a message (exclamation icon) that names the
    /// file: not found, unreadable, too large, not a font, PostScript outlines, no
    /// Unicode character map or damaged.
    static std::optional<Font> Load(const std::filesystem::path& path, Message* why = nullptr);
    /// Checks font bytes already in memory (`path` only names them in messages).
    static std::optional<Font> FromBytes(std::vector<std::uint8_t> bytes,
                                         const std::filesystem::path& path, FontFault* fault,
                                         Message* why = nullptr);

    [[nodiscard]] const std::filesystem::path& Path() const;
    /// Whether the font has a glyph for the Unicode code point.
    [[nodiscard]] bool HasGlyph(char32_t character) const;

    [[nodiscard]] const FontFace& Face() const { return *face_; }

  private:
    explicit Font(std::shared_ptr<const FontFace> face) : face_(std::move(face)) {}
    std::shared_ptr<const FontFace> face_;
};

/// A rendered text, or why it could not be rendered.
struct RenderedText {
    bool ok = false;
    Message error;  // when not `ok`: why (exclamation icon)
    /// The text's pixels: lines of `size` pixels, the font's line gap between them,
    /// as wide as the widest line's ink and advances. Opaque over the background
    /// colour, or with the coverage as alpha (`hasAlpha`) over a transparent one.
    workspace::PixelImage image;
    int baseline = 0;  // row of the first line's baseline
    /// Characters the font has no glyph for, once each in text order; the font's
    /// missing-glyph box is drawn for them.
    std::vector<char32_t> missing;
};

/// Renders `text` with its font file. Refuses an empty text (nothing but line
/// breaks counts as empty), text that is not UTF-8, a size outside kMinTextSize to
/// kMaxTextSize, a font that does not load, and a picture larger than 8192 pixels on
/// a side. Every line is `size` pixels high (the font's ascent to its descent, so
/// texts of one font and size share their height and baseline); glyphs sit on whole
/// pixels and are drawn with integer positions, so the same font file, text and
/// options give the same pixels. Thread-safe.
RenderedText RenderText(const TextPicture& text);
/// The same with a font already loaded (its path is not read again).
RenderedText RenderText(const TextPicture& text, const Font& font);

/// The message that reports `missing` characters of `text`'s font (exclamation
/// icon), naming the font file and each character as U+XXXX.
Message MissingGlyphsMessage(const TextPicture& text, const std::vector<char32_t>& missing);

}  // namespace pictor::text
