#include "core/text/font_check.h"

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <optional>
#include <string_view>
#include <vector>

namespace pictor::text {

namespace {

constexpr int kMaxCompositeDepth = 8;
// Transformed coordinates must convert back to 16 bits; a little room is left for
// the reader's float rounding.
constexpr double kMaxCoordinate = 32000.0;

// Big-endian reads from the font's bytes, each one checked.
class Bytes {
  public:
    explicit Bytes(std::span<const std::uint8_t> data) : data_(data) {}

    [[nodiscard]] std::uint64_t Size() const { return data_.size(); }
    [[nodiscard]] bool Has(std::uint64_t offset, std::uint64_t length) const {
        return offset <= data_.size() && length <= data_.size() - offset;
    }
    [[nodiscard]] std::uint32_t U8(std::uint64_t offset) const {
        return data_[static_cast<std::size_t>(offset)];
    }
    [[nodiscard]] std::uint32_t U16(std::uint64_t offset) const {
        return (U8(offset) << 8) | U8(offset + 1);
    }
    [[nodiscard]] int S16(std::uint64_t offset) const {
        return static_cast<std::int16_t>(static_cast<std::uint16_t>(U16(offset)));
    }
    [[nodiscard]] std::uint32_t U32(std::uint64_t offset) const {
        return (U16(offset) << 16) | U16(offset + 2);
    }

  private:
    std::span<const std::uint8_t> data_;
};

constexpr std::uint32_t Tag(std::string_view tag) {
    return (static_cast<std::uint32_t>(static_cast<unsigned char>(tag[0])) << 24) |
           (static_cast<std::uint32_t>(static_cast<unsigned char>(tag[1])) << 16) |
           (static_cast<std::uint32_t>(static_cast<unsigned char>(tag[2])) << 8) |
           static_cast<std::uint32_t>(static_cast<unsigned char>(tag[3]));
}

struct Table {
    std::uint64_t offset = 0;
    std::uint64_t length = 0;
};

// A glyph's outline as far as the checks need it.
struct GlyphFacts {
    bool composite = false;
    int points = 0;     // simple glyphs: their own points
    double extent = 0;  // largest |coordinate| of a simple glyph
    struct Component {
        int glyph = 0;
        double scaleX = 0;  // how far a coordinate of the component can grow in x
        double scaleY = 0;
        double offsetX = 0;
        double offsetY = 0;
    };
    std::vector<Component> components;
};

class FontChecker {
  public:
    explicit FontChecker(std::span<const std::uint8_t> font) : bytes_(font) {}

    FontCheck Run() {
        FontCheck result;
        result.fault = Check(result);
        return result;
    }

  private:
    FontFault Check(FontCheck& result) {
        if (!bytes_.Has(0, 12)) {
            return FontFault::NotAFont;
        }
        std::uint64_t start = 0;
        if (bytes_.U32(0) == Tag("ttcf")) {
            const std::uint32_t version = bytes_.U32(4);
            if (!bytes_.Has(0, 16) || (version != 0x00010000 && version != 0x00020000) ||
                bytes_.U32(8) == 0) {
                return FontFault::NotAFont;
            }
            start = bytes_.U32(12);
            if (!bytes_.Has(start, 12)) {
                return FontFault::Damaged;
            }
        }
        const std::uint32_t version = bytes_.U32(start);
        if (version == Tag("OTTO")) {
            return FontFault::UnsupportedOutlines;
        }
        if (version != 0x00010000 && version != Tag("true")) {
            return FontFault::NotAFont;
        }
        start_ = start;
        result.fontStart = static_cast<std::uint32_t>(start);
        const std::uint32_t tableCount = bytes_.U16(start + 4);
        if (!bytes_.Has(start + 12, std::uint64_t{16} * tableCount)) {
            return FontFault::Damaged;
        }
        tableCount_ = tableCount;
        const std::optional<Table> glyf = Find("glyf");
        if (!glyf) {
            return Find("CFF ") ? FontFault::UnsupportedOutlines : FontFault::Damaged;
        }
        if (!CheckMetrics()) {
            return FontFault::Damaged;
        }
        result.glyphCount = glyphCount_;
        if (!CheckGlyphs(*glyf) || !CheckComposites()) {
            return FontFault::Damaged;
        }
        const FontFault map = CheckCharacterMap();
        if (map != FontFault::None) {
            return map;
        }
        result.kernUsable = KernUsable();
        return FontFault::None;
    }

    // The first table with `tag`, as the reader looks it up; nothing when there is
    // none, or when it lies (partly) outside the file.
    [[nodiscard]] std::optional<Table> Find(std::string_view tag) const {
        const std::uint32_t wanted = Tag(tag);
        for (std::uint32_t i = 0; i < tableCount_; ++i) {
            const std::uint64_t record = start_ + 12 + std::uint64_t{16} * i;
            if (bytes_.U32(record) != wanted) {
                continue;
            }
            const Table table{bytes_.U32(record + 8), bytes_.U32(record + 12)};
            if (table.offset == 0 || !bytes_.Has(table.offset, table.length)) {
                return std::nullopt;
            }
            return table;
        }
        return std::nullopt;
    }

    bool CheckMetrics() {
        const std::optional<Table> head = Find("head");
        const std::optional<Table> hhea = Find("hhea");
        const std::optional<Table> maxp = Find("maxp");
        const std::optional<Table> hmtx = Find("hmtx");
        const std::optional<Table> loca = Find("loca");
        if (!head || !hhea || !maxp || !hmtx || !loca || head->length < 54 || hhea->length < 36 ||
            maxp->length < 6) {
            return false;
        }
        locaFormat_ = bytes_.S16(head->offset + 50);
        glyphCount_ = static_cast<int>(bytes_.U16(maxp->offset + 4));
        const int ascent = bytes_.S16(hhea->offset + 4);
        const int descent = bytes_.S16(hhea->offset + 6);
        const auto longMetrics = static_cast<int>(bytes_.U16(hhea->offset + 34));
        // The baseline lies within the line: ascent above it, descent below.
        if ((locaFormat_ != 0 && locaFormat_ != 1) || glyphCount_ < 1 || ascent < 0 ||
            descent > 0 || ascent - descent < 1 || longMetrics < 1) {
            return false;
        }
        // Glyphs past the long metrics share the last advance and have a bearing each.
        const std::uint64_t metricBytes =
            glyphCount_ <= longMetrics
                ? std::uint64_t{4} * static_cast<std::uint64_t>(glyphCount_)
                : std::uint64_t{4} * static_cast<std::uint64_t>(longMetrics) +
                      std::uint64_t{2} * static_cast<std::uint64_t>(glyphCount_ - longMetrics);
        const std::uint64_t entry = locaFormat_ == 0 ? 2 : 4;
        if (hmtx->length < metricBytes ||
            loca->length < entry * (static_cast<std::uint64_t>(glyphCount_) + 1)) {
            return false;
        }
        loca_ = *loca;
        return true;
    }

    [[nodiscard]] std::uint64_t LocaEntry(int glyph) const {
        const auto index = static_cast<std::uint64_t>(glyph);
        return locaFormat_ == 0 ? std::uint64_t{2} * bytes_.U16(loca_.offset + 2 * index)
                                : bytes_.U32(loca_.offset + 4 * index);
    }

    bool CheckGlyphs(const Table& glyf) {
        facts_.assign(static_cast<std::size_t>(glyphCount_), GlyphFacts{});
        for (int glyph = 0; glyph < glyphCount_; ++glyph) {
            const std::uint64_t begin = LocaEntry(glyph);
            const std::uint64_t end = LocaEntry(glyph + 1);
            if (begin > end || end > glyf.length) {
                return false;
            }
            if (begin == end) {
                continue;  // no outline
            }
            if (end - begin < 10 || !CheckGlyph(glyf.offset + begin, glyf.offset + end,
                                                facts_[static_cast<std::size_t>(glyph)])) {
                return false;
            }
        }
        return true;
    }

    bool CheckGlyph(std::uint64_t at, std::uint64_t end, GlyphFacts& facts) const {
        const int contours = bytes_.S16(at);
        if (contours > 0) {
            return CheckSimpleGlyph(at, end, contours, facts);
        }
        if (contours < 0) {
            facts.composite = true;
            return CheckCompositeGlyph(at + 10, end, facts);
        }
        return true;
    }

    // Walks the flags and coordinates exactly as the reader does.
    bool CheckSimpleGlyph(std::uint64_t at, std::uint64_t end, int contours,
                          GlyphFacts& facts) const {
        const std::uint64_t endPoints = at + 10;
        const std::uint64_t countAt = endPoints + 2 * static_cast<std::uint64_t>(contours);
        if (countAt + 2 > end) {
            return false;
        }
        int previous = -1;
        for (int c = 0; c < contours; ++c) {
            const auto last =
                static_cast<int>(bytes_.U16(endPoints + 2 * static_cast<std::uint64_t>(c)));
            if (last <= previous) {
                return false;
            }
            previous = last;
        }
        const int points = previous + 1;
        if (points > kMaxGlyphPoints) {
            return false;
        }
        std::uint64_t cursor = countAt + 2 + bytes_.U16(countAt);
        std::vector<std::uint8_t> flags(static_cast<std::size_t>(points));
        std::uint32_t repeat = 0;
        std::uint8_t flag = 0;
        for (std::uint8_t& f : flags) {
            if (repeat == 0) {
                if (cursor >= end) {
                    return false;
                }
                flag = static_cast<std::uint8_t>(bytes_.U8(cursor++));
                if ((flag & 8) != 0) {
                    if (cursor >= end) {
                        return false;
                    }
                    repeat = bytes_.U8(cursor++);
                }
            } else {
                --repeat;
            }
            f = flag;
        }
        double extent = 0;
        // x: short flag 2 with sign flag 16; y: 4 with 32.
        for (const auto& [shortFlag, sameFlag] : {std::pair{2, 16}, std::pair{4, 32}}) {
            int value = 0;
            for (const std::uint8_t f : flags) {
                if ((f & shortFlag) != 0) {
                    if (cursor >= end) {
                        return false;
                    }
                    const auto delta = static_cast<int>(bytes_.U8(cursor++));
                    value += (f & sameFlag) != 0 ? delta : -delta;
                } else if ((f & sameFlag) == 0) {
                    if (cursor + 2 > end) {
                        return false;
                    }
                    value += bytes_.S16(cursor);
                    cursor += 2;
                }
                // The reader keeps each coordinate in 16 bits.
                const auto stored = static_cast<std::int16_t>(static_cast<std::uint16_t>(value));
                extent = std::max(extent, std::abs(static_cast<double>(stored)));
            }
        }
        // A contour that starts with an off-curve point makes the reader look at
        // the point after it: such a contour needs two points.
        int first = 0;
        for (int c = 0; c < contours; ++c) {
            const auto last =
                static_cast<int>(bytes_.U16(endPoints + 2 * static_cast<std::uint64_t>(c)));
            if (last == first && (flags[static_cast<std::size_t>(first)] & 1) == 0) {
                return false;
            }
            first = last + 1;
        }
        facts.points = points;
        facts.extent = extent;
        return true;
    }

    bool CheckCompositeGlyph(std::uint64_t cursor, std::uint64_t end, GlyphFacts& facts) const {
        constexpr std::uint32_t kWords = 1;
        constexpr std::uint32_t kXyValues = 2;
        constexpr std::uint32_t kScale = 8;
        constexpr std::uint32_t kMore = 32;
        constexpr std::uint32_t kXyScale = 64;
        constexpr std::uint32_t kTwoByTwo = 128;
        const auto f2dot14 = [this](std::uint64_t at) { return bytes_.S16(at) / 16384.0; };
        bool more = true;
        while (more) {
            if (cursor + 4 > end) {
                return false;
            }
            const std::uint32_t flags = bytes_.U16(cursor);
            GlyphFacts::Component component;
            component.glyph = static_cast<int>(bytes_.U16(cursor + 2));
            cursor += 4;
            // Components placed by matching points are not read by the renderer.
            if ((flags & kXyValues) == 0 || component.glyph >= glyphCount_) {
                return false;
            }
            const std::uint64_t argumentBytes = (flags & kWords) != 0 ? 4 : 2;
            if (cursor + argumentBytes > end) {
                return false;
            }
            if ((flags & kWords) != 0) {
                component.offsetX = bytes_.S16(cursor);
                component.offsetY = bytes_.S16(cursor + 2);
            } else {
                component.offsetX = static_cast<std::int8_t>(bytes_.U8(cursor));
                component.offsetY = static_cast<std::int8_t>(bytes_.U8(cursor + 1));
            }
            cursor += argumentBytes;
            double a = 1;  // the matrix [a b; c d]
            double b = 0;
            double c = 0;
            double d = 1;
            std::uint64_t matrixBytes = 0;
            if ((flags & kScale) != 0) {
                matrixBytes = 2;
            } else if ((flags & kXyScale) != 0) {
                matrixBytes = 4;
            } else if ((flags & kTwoByTwo) != 0) {
                matrixBytes = 8;
            }
            if (cursor + matrixBytes > end) {
                return false;
            }
            if (matrixBytes == 2) {
                a = d = f2dot14(cursor);
            } else if (matrixBytes == 4) {
                a = f2dot14(cursor);
                d = f2dot14(cursor + 2);
            } else if (matrixBytes == 8) {
                a = f2dot14(cursor);
                b = f2dot14(cursor + 2);
                c = f2dot14(cursor + 4);
                d = f2dot14(cursor + 6);
            }
            cursor += matrixBytes;
            // The reader multiplies x by m = |(a, b)| and y by n = |(c, d)| on top of
            // the matrix: x' = m (a x + c y + dx), y' = n (b x + d y + dy).
            const double m = std::sqrt(a * a + b * b);
            const double n = std::sqrt(c * c + d * d);
            component.scaleX = m * (std::abs(a) + std::abs(c));
            component.scaleY = n * (std::abs(b) + std::abs(d));
            component.offsetX = m * std::abs(component.offsetX);
            component.offsetY = n * std::abs(component.offsetY);
            facts.components.push_back(component);
            more = (flags & kMore) != 0;
        }
        return true;
    }

    // Composite glyphs form no cycle, nest at most kMaxCompositeDepth deep, have at
    // most kMaxGlyphPoints points and keep their transformed coordinates in 16 bits.
    bool CheckComposites() {
        state_.assign(facts_.size(), Visit::New);
        for (std::size_t glyph = 0; glyph < facts_.size(); ++glyph) {
            if (!Resolve(glyph, 0)) {
                return false;
            }
        }
        return true;
    }

    enum class Visit { New, Open, Done };

    bool Resolve(std::size_t glyph, int depth) {
        if (state_[glyph] == Visit::Done) {
            return true;
        }
        if (state_[glyph] == Visit::Open || depth > kMaxCompositeDepth) {
            return false;
        }
        GlyphFacts& facts = facts_[glyph];
        if (!facts.composite) {
            state_[glyph] = Visit::Done;
            return true;
        }
        state_[glyph] = Visit::Open;
        long long points = 0;
        double extent = 0;
        for (const GlyphFacts::Component& component : facts.components) {
            const auto part = static_cast<std::size_t>(component.glyph);
            if (!Resolve(part, depth + 1)) {
                return false;
            }
            const GlyphFacts& used = facts_[part];
            points += used.points;
            const double x = component.scaleX * used.extent + component.offsetX;
            const double y = component.scaleY * used.extent + component.offsetY;
            if (points > kMaxGlyphPoints || x > kMaxCoordinate || y > kMaxCoordinate) {
                return false;
            }
            extent = std::max({extent, x, y});
        }
        facts.points = static_cast<int>(points);
        facts.extent = extent;
        state_[glyph] = Visit::Done;
        return true;
    }

    FontFault CheckCharacterMap() const {
        const std::optional<Table> cmap = Find("cmap");
        if (!cmap || cmap->length < 4) {
            return FontFault::Damaged;
        }
        const std::uint32_t records = bytes_.U16(cmap->offset + 2);
        if (cmap->length < 4 + std::uint64_t{8} * records) {
            return FontFault::Damaged;
        }
        // The reader takes the last Microsoft Unicode (BMP or full) or Unicode
        // platform record.
        std::optional<std::uint64_t> chosen;
        for (std::uint32_t i = 0; i < records; ++i) {
            const std::uint64_t record = cmap->offset + 4 + std::uint64_t{8} * i;
            const std::uint32_t platform = bytes_.U16(record);
            const std::uint32_t encoding = bytes_.U16(record + 2);
            if (platform == 0 || (platform == 3 && (encoding == 1 || encoding == 10))) {
                chosen = bytes_.U32(record + 4);
            }
        }
        if (!chosen || *chosen == 0) {
            return FontFault::NoCharacterMap;
        }
        return CheckSubtable(*cmap, *chosen);
    }

    FontFault CheckSubtable(const Table& cmap, std::uint64_t offset) const {
        const auto inside = [&](std::uint64_t from, std::uint64_t length) {
            return from <= cmap.length && length <= cmap.length - from;
        };
        if (!inside(offset, 2)) {
            return FontFault::Damaged;
        }
        const std::uint64_t at = cmap.offset + offset;
        switch (bytes_.U16(at)) {
            case 0:
                return inside(offset, 6) && inside(offset, bytes_.U16(at + 2)) ? FontFault::None
                                                                               : FontFault::Damaged;
            case 6:
                return inside(offset, 10) &&
                               inside(offset, 10 + std::uint64_t{2} * bytes_.U16(at + 8))
                           ? FontFault::None
                           : FontFault::Damaged;
            case 4:
                return CheckFormat4(cmap, offset) ? FontFault::None : FontFault::Damaged;
            case 12:
            case 13:
                return inside(offset, 16) &&
                               inside(offset, 16 + std::uint64_t{12} * bytes_.U32(at + 12))
                           ? FontFault::None
                           : FontFault::Damaged;
            default:
                return FontFault::NoCharacterMap;
        }
    }

    // Segments of start and end codes with a delta or an offset into the glyph
    // index array. The reader's binary search trusts the header's search values,
    // so where they can lead it is worked out here.
    bool CheckFormat4(const Table& cmap, std::uint64_t offset) const {
        const auto inside = [&](std::uint64_t from, std::uint64_t length) {
            return from <= cmap.length && length <= cmap.length - from;
        };
        if (!inside(offset, 14)) {
            return false;
        }
        const std::uint64_t at = cmap.offset + offset;
        const std::uint64_t segments = bytes_.U16(at + 6) / 2;
        if (segments == 0 || !inside(offset, 16 + 8 * segments)) {
            return false;
        }
        const std::uint64_t searchRange = bytes_.U16(at + 8) / 2;
        const std::uint32_t entrySelector = bytes_.U16(at + 10);
        const std::uint64_t rangeShift = bytes_.U16(at + 12) / 2;
        // The search first reads end code [rangeShift], then moves from index
        // -1 or rangeShift - 1 by halves of searchRange; the segment it ends on is
        // one past that. Its largest reach must stay a segment.
        if (rangeShift >= segments || entrySelector > 16) {
            return false;
        }
        std::uint64_t reach = rangeShift;  // one past the largest start index
        std::uint64_t step = searchRange;
        for (std::uint32_t i = 0; i < entrySelector; ++i) {
            step >>= 1;
            reach += step;
        }
        if (reach >= segments) {
            return false;
        }
        const std::uint64_t ends = at + 14;
        const std::uint64_t starts = ends + 2 * segments + 2;
        const std::uint64_t rangeOffsets = starts + 4 * segments;
        for (std::uint64_t s = 0; s < segments; ++s) {
            const std::uint32_t first = bytes_.U16(starts + 2 * s);
            const std::uint32_t last = bytes_.U16(ends + 2 * s);
            const std::uint32_t rangeOffset = bytes_.U16(rangeOffsets + 2 * s);
            if (rangeOffset == 0 || last < first) {
                continue;
            }
            const std::uint64_t lastEntry = std::uint64_t{rangeOffsets} + 2 * std::uint64_t{s} +
                                            rangeOffset + 2 * std::uint64_t{last - first};
            if (lastEntry + 2 > cmap.offset + cmap.length) {
                return false;
            }
        }
        return true;
    }

    // The reader uses a 'kern' table's first subtable when it is horizontal format 0.
    [[nodiscard]] bool KernUsable() const {
        const std::optional<Table> kern = Find("kern");
        if (!kern || kern->length < 18) {
            return false;
        }
        const std::uint64_t pairs = bytes_.U16(kern->offset + 10);
        return bytes_.U16(kern->offset + 2) >= 1 && bytes_.U16(kern->offset + 8) == 1 &&
               kern->length >= 18 + 6 * pairs;
    }

    Bytes bytes_;
    std::uint64_t start_ = 0;
    std::uint32_t tableCount_ = 0;
    int locaFormat_ = 0;
    int glyphCount_ = 0;
    Table loca_;
    std::vector<GlyphFacts> facts_;
    std::vector<Visit> state_;
};

}  // namespace

FontCheck CheckFont(std::span<const std::uint8_t> font) {
    return FontChecker(font).Run();
}

}  // namespace pictor::text
