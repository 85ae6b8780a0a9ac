// Text pictures: layout in font units with integer pixel positions, each glyph
// rasterised by the TrueType reader into its clipped box and added to one
// coverage plane, which is then coloured.

#include "core/text/text_renderer.h"

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <cstdio>
#include <utility>

#include "core/common/regular_file.h"
#include "core/common/translatable.h"
#include "core/common/utf8.h"
#include "core/text/font_face.h"
#include "core/workspace/picture_loader.h"

namespace pictor::text {

namespace {

// The rasteriser's flatness for curves, in pixels (its own default).
constexpr float kFlatness = 0.35f;

Message TextMessage(const char* pattern, std::vector<std::string> args = {}) {
    return PatternMessage(pattern, std::move(args), "", MessageIcon::Exclamation);
}

RenderedText Refused(Message why) {
    RenderedText result;
    result.error = std::move(why);
    return result;
}

long long FloorDivide(long long numerator, long long denominator) {
    const long long quotient = numerator / denominator;
    return (numerator % denominator != 0 && (numerator < 0) != (denominator < 0)) ? quotient - 1
                                                                                  : quotient;
}

// One glyph's outline, freed with the font.
class GlyphShape {
  public:
    GlyphShape(const FontFace& face, int glyph) : face_(face) {
        count_ = stbtt_GetGlyphShape(&face.info, glyph, &vertices_);
    }
    GlyphShape(const GlyphShape&) = delete;
    GlyphShape& operator=(const GlyphShape&) = delete;
    ~GlyphShape() { stbtt_FreeShape(&face_.info, vertices_); }

    [[nodiscard]] int Count() const { return vertices_ != nullptr ? count_ : 0; }
    [[nodiscard]] stbtt_vertex* Vertices() const { return vertices_; }

  private:
    const FontFace& face_;
    stbtt_vertex* vertices_ = nullptr;
    int count_ = 0;
};

// A glyph placed on a line: its outline's pixel box relative to its origin.
struct PlacedGlyph {
    int glyph = 0;
    long long origin = 0;  // pixels from the line's start
    int x0 = 0;            // ink box, pixels relative to the origin and the baseline
    int y0 = 0;
    int x1 = 0;
    int y1 = 0;
};

struct Line {
    std::vector<PlacedGlyph> glyphs;
    long long left = 0;   // leftmost pixel of ink or advance (at most 0)
    long long right = 0;  // one past the rightmost
};

class Layout {
  public:
    Layout(const FontFace& face, int size)
        : face_(face),
          size_(size),
          unitsPerLine_(face.ascent - face.descent),
          scale_(static_cast<float>(size) / static_cast<float>(unitsPerLine_)) {}

    // Font units to whole pixels, rounded half up.
    [[nodiscard]] long long Pixels(long long units) const {
        return FloorDivide(2 * units * size_ + unitsPerLine_, 2LL * unitsPerLine_);
    }
    [[nodiscard]] float Scale() const { return scale_; }

    // Lays out one line; false when a glyph's outline is too large to draw.
    bool AddLine(const std::u32string& characters, std::vector<char32_t>& missing) {
        Line line;
        long long pen = 0;
        int previous = -1;
        for (const char32_t character : characters) {
            const int glyph = face_.GlyphOf(character);
            if (glyph == 0 &&
                std::find(missing.begin(), missing.end(), character) == missing.end()) {
                missing.push_back(character);
            }
            if (previous >= 0) {
                pen += stbtt_GetGlyphKernAdvance(&face_.info, previous, glyph);
            }
            PlacedGlyph placed;
            placed.glyph = glyph;
            placed.origin = Pixels(pen);
            if (!InkBox(placed)) {
                return false;
            }
            int advance = 0;
            int bearing = 0;
            stbtt_GetGlyphHMetrics(&face_.info, glyph, &advance, &bearing);
            pen += advance;
            if (placed.x1 > placed.x0) {
                line.left = std::min(line.left, placed.origin + placed.x0);
                line.right = std::max(line.right, placed.origin + placed.x1);
            }
            line.glyphs.push_back(placed);
            previous = glyph;
        }
        line.right = std::max(line.right, Pixels(pen));
        lines_.push_back(std::move(line));
        return true;
    }

    [[nodiscard]] const std::vector<Line>& Lines() const { return lines_; }

  private:
    // The pixel box of the outline's points (control points included, so it holds
    // every curve), as the rasteriser will cover it.
    bool InkBox(PlacedGlyph& placed) const {
        const GlyphShape shape(face_, placed.glyph);
        if (shape.Count() == 0) {
            return true;
        }
        int minX = 0x7FFF;
        int minY = 0x7FFF;
        int maxX = -0x8000;
        int maxY = -0x8000;
        for (int i = 0; i < shape.Count(); ++i) {
            const stbtt_vertex& v = shape.Vertices()[i];
            minX = std::min(minX, static_cast<int>(v.x));
            maxX = std::max(maxX, static_cast<int>(v.x));
            minY = std::min(minY, static_cast<int>(v.y));
            maxY = std::max(maxY, static_cast<int>(v.y));
            if (v.type == STBTT_vcurve || v.type == STBTT_vcubic) {
                minX = std::min(minX, static_cast<int>(v.cx));
                maxX = std::max(maxX, static_cast<int>(v.cx));
                minY = std::min(minY, static_cast<int>(v.cy));
                maxY = std::max(maxY, static_cast<int>(v.cy));
            }
        }
        // An outline reaching this far from its origin cannot be part of a picture.
        const float reach = static_cast<float>(std::max(
                                {std::abs(minX), std::abs(maxX), std::abs(minY), std::abs(maxY)})) *
                            scale_;
        if (reach > static_cast<float>(workspace::kMaxPictureSide)) {
            return false;
        }
        placed.x0 = static_cast<int>(std::floor(static_cast<float>(minX) * scale_));
        placed.x1 = static_cast<int>(std::ceil(static_cast<float>(maxX) * scale_));
        placed.y0 = static_cast<int>(std::floor(static_cast<float>(-maxY) * scale_));
        placed.y1 = static_cast<int>(std::ceil(static_cast<float>(-minY) * scale_));
        return true;
    }

    const FontFace& face_;
    int size_;
    int unitsPerLine_;
    float scale_;
    std::vector<Line> lines_;
};

// Adds one glyph's coverage to `coverage` (width x height), its origin at
// (originX, baseline); whatever falls outside is clipped.
void DrawGlyph(const FontFace& face, float scale, const PlacedGlyph& glyph, long long originX,
               long long baseline, std::vector<std::uint8_t>& coverage, int width, int height) {
    const long long left = std::max(0LL, originX + glyph.x0);
    const long long top = std::max(0LL, baseline + glyph.y0);
    const long long right = std::min<long long>(width, originX + glyph.x1);
    const long long bottom = std::min<long long>(height, baseline + glyph.y1);
    if (left >= right || top >= bottom) {
        return;
    }
    const GlyphShape shape(face, glyph.glyph);
    if (shape.Count() == 0) {
        return;
    }
    const auto boxWidth = static_cast<int>(right - left);
    const auto boxHeight = static_cast<int>(bottom - top);
    std::vector<std::uint8_t> box(static_cast<std::size_t>(boxWidth) *
                                  static_cast<std::size_t>(boxHeight));
    stbtt__bitmap bitmap{boxWidth, boxHeight, boxWidth, box.data()};
    // The box's corner in the glyph's pixel space (y down from the baseline).
    stbtt_Rasterize(&bitmap, kFlatness, shape.Vertices(), shape.Count(), scale, scale, 0.0f, 0.0f,
                    static_cast<int>(left - originX), static_cast<int>(top - baseline), 1, nullptr);
    for (int y = 0; y < boxHeight; ++y) {
        std::uint8_t* row = coverage.data() + static_cast<std::size_t>(top + y) * width +
                            static_cast<std::size_t>(left);
        const std::uint8_t* source = box.data() + static_cast<std::size_t>(y) * boxWidth;
        for (int x = 0; x < boxWidth; ++x) {
            row[x] = static_cast<std::uint8_t>(std::min(255, row[x] + source[x]));
        }
    }
}

std::uint32_t Blend(std::uint32_t foreground, std::uint32_t background, std::uint32_t coverage) {
    const auto channel = [coverage](std::uint32_t f, std::uint32_t b) {
        return (f * coverage + b * (255 - coverage) + 127) / 255;
    };
    return 0xFF000000u | (channel((foreground >> 16) & 0xFFu, (background >> 16) & 0xFFu) << 16) |
           (channel((foreground >> 8) & 0xFFu, (background >> 8) & 0xFFu) << 8) |
           channel(foreground & 0xFFu, background & 0xFFu);
}

workspace::PixelImage Colour(const TextPicture& text, std::vector<std::uint8_t> coverage, int width,
                             int height) {
    workspace::PixelImage image;
    image.width = width;
    image.height = height;
    image.hasAlpha = !text.background.has_value();
    image.pixels.resize(coverage.size());
    const std::uint32_t colour = text.color & 0xFFFFFFu;
    for (std::size_t i = 0; i < coverage.size(); ++i) {
        std::uint32_t c = coverage[i];
        if (!text.antialias) {
            c = c >= 128 ? 255 : 0;
        }
        image.pixels[i] = text.background ? Blend(colour, *text.background, c) : (c << 24) | colour;
    }
    return image;
}

std::vector<std::u32string> SplitLines(const std::u32string& characters) {
    std::vector<std::u32string> lines(1);
    for (const char32_t c : characters) {
        if (c == U'\n') {
            lines.emplace_back();
        } else if (c != U'\r') {
            lines.back().push_back(c);
        }
    }
    return lines;
}

Message TooLarge(const TextPicture& text, long long width, long long height) {
    return TextMessage(PICTOR_TRANSLATE_NOOP("Core",
                                             "the text at %1 pixels would be %2 x %3 pixels, more "
                                             "than %4 on a side"),
                       {std::to_string(text.size), std::to_string(width), std::to_string(height),
                        std::to_string(workspace::kMaxPictureSide)});
}

}  // namespace

RenderedText RenderText(const TextPicture& text) {
    Message why;
    const std::optional<Font> font = Font::Load(text.font, &why);
    if (!font) {
        return Refused(std::move(why));
    }
    return RenderText(text, *font);
}

RenderedText RenderText(const TextPicture& text, const Font& font) {
    const std::optional<std::u32string> characters = DecodeUtf8(text.text);
    if (!characters) {
        return Refused(TextMessage(PICTOR_TRANSLATE_NOOP("Core", "the text is not UTF-8")));
    }
    const std::vector<std::u32string> lines = SplitLines(*characters);
    if (std::all_of(lines.begin(), lines.end(), [](const auto& line) { return line.empty(); })) {
        return Refused(TextMessage(PICTOR_TRANSLATE_NOOP("Core", "the text is empty")));
    }
    if (text.size < kMinTextSize || text.size > kMaxTextSize) {
        return Refused(
            TextMessage(PICTOR_TRANSLATE_NOOP("Core", "the text size %1 is not %2 to %3 pixels"),
                        {std::to_string(text.size), std::to_string(kMinTextSize),
                         std::to_string(kMaxTextSize)}));
    }
    const FontFace& face = font.Face();
    RenderedText result;
    Layout layout(face, text.size);
    for (const std::u32string& line : lines) {
        if (!layout.AddLine(line, result.missing)) {
            return Refused(
                TextMessage(PICTOR_TRANSLATE_NOOP("Core",
                                                  "%1: a glyph of the font is too large to draw at "
                                                  "%2 pixels"),
                            {Utf8FromPath(font.Path()), std::to_string(text.size)}));
        }
    }
    const long long gap = std::max(0LL, layout.Pixels(face.lineGap));
    const long long baseline = layout.Pixels(face.ascent);
    long long width = 0;
    for (const Line& line : layout.Lines()) {
        width = std::max(width, line.right - line.left);
    }
    const auto count = static_cast<long long>(lines.size());
    const long long height = count * text.size + (count - 1) * gap;
    if (width < 1) {
        // Every glyph of the text is blank and has no advance in this font.
        return Refused(
            TextMessage(PICTOR_TRANSLATE_NOOP("Core", "%1: the text draws nothing with this font"),
                        {Utf8FromPath(font.Path())}));
    }
    if (width > workspace::kMaxPictureSide || height > workspace::kMaxPictureSide) {
        return Refused(TooLarge(text, width, height));
    }
    const auto w = static_cast<int>(width);
    const auto h = static_cast<int>(height);
    std::vector<std::uint8_t> coverage(static_cast<std::size_t>(w) * static_cast<std::size_t>(h));
    long long top = 0;
    for (const Line& line : layout.Lines()) {
        const long long lineWidth = line.right - line.left;
        long long start = -line.left;
        if (text.align == TextAlign::Center) {
            start += (width - lineWidth) / 2;
        } else if (text.align == TextAlign::Right) {
            start += width - lineWidth;
        }
        for (const PlacedGlyph& glyph : line.glyphs) {
            DrawGlyph(face, layout.Scale(), glyph, start + glyph.origin, top + baseline, coverage,
                      w, h);
        }
        top += text.size + gap;
    }
    result.ok = true;
    result.baseline = static_cast<int>(baseline);
    result.image = Colour(text, std::move(coverage), w, h);
    return result;
}

Message MissingGlyphsMessage(const TextPicture& text, const std::vector<char32_t>& missing) {
    std::string list;
    for (const char32_t character : missing) {
        char code[16];
        std::snprintf(code, sizeof code, "U+%04X", static_cast<unsigned>(character));
        if (!list.empty()) {
            list += ", ";
        }
        list += code;
    }
    return TextMessage(PICTOR_TRANSLATE_NOOP("Core",
                                             "%1 has no glyph for %2 (in \"%3\"); its empty box is "
                                             "drawn instead"),
                       {Utf8FromPath(text.font), list, text.text});
}

}  // namespace pictor::text
