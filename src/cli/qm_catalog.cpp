#include "cli/qm_catalog.h"

#include <algorithm>
#include <array>

#include "core/common/utf8.h"

namespace pictor::cli {

namespace {

constexpr std::array<std::uint8_t, 16> kMagic = {0x3C, 0xB8, 0x64, 0x18, 0xCA, 0xEF, 0x9C, 0x95,
                                                 0xCD, 0x21, 0x1C, 0xBF, 0x60, 0xA1, 0xBD, 0xDD};

// Section tags of the file.
constexpr std::uint8_t kMessagesSection = 0x69;

// Record tags inside the messages section.
enum RecordTag : std::uint8_t {
    kEnd = 1,
    kSourceText16 = 2,
    kTranslation = 3,
    kContext16 = 4,
    kObsolete1 = 5,
    kSourceText = 6,
    kContext = 7,
    kComment = 8,
    kObsolete2 = 9,
};

constexpr std::uint32_t kNullString = 0xFFFFFFFFU;

// A bounds-checked big-endian reader over the bytes.
class Reader {
  public:
    explicit Reader(std::span<const std::uint8_t> bytes) : bytes_(bytes) {}

    [[nodiscard]] bool AtEnd() const { return pos_ >= bytes_.size(); }

    bool U8(std::uint8_t& value) {
        if (bytes_.size() - pos_ < 1) {
            return false;
        }
        value = bytes_[pos_++];
        return true;
    }

    bool U32(std::uint32_t& value) {
        if (bytes_.size() - pos_ < 4) {
            return false;
        }
        value = (std::uint32_t{bytes_[pos_]} << 24) | (std::uint32_t{bytes_[pos_ + 1]} << 16) |
                (std::uint32_t{bytes_[pos_ + 2]} << 8) | std::uint32_t{bytes_[pos_ + 3]};
        pos_ += 4;
        return true;
    }

    bool Bytes(std::size_t count, std::span<const std::uint8_t>& out) {
        if (bytes_.size() - pos_ < count) {
            return false;
        }
        out = bytes_.subspan(pos_, count);
        pos_ += count;
        return true;
    }

  private:
    std::span<const std::uint8_t> bytes_;
    std::size_t pos_ = 0;
};

// UTF-16 big-endian to UTF-8; an unpaired surrogate becomes U+FFFD.
std::string Utf16BeToUtf8(std::span<const std::uint8_t> bytes) {
    std::string out;
    out.reserve(bytes.size());
    const std::size_t units = bytes.size() / 2;
    for (std::size_t i = 0; i < units; ++i) {
        const std::uint32_t unit = (std::uint32_t{bytes[2 * i]} << 8) | bytes[2 * i + 1];
        if (unit >= 0xD800 && unit < 0xDC00 && i + 1 < units) {
            const std::uint32_t low = (std::uint32_t{bytes[2 * i + 2]} << 8) | bytes[2 * i + 3];
            if (low >= 0xDC00 && low < 0xE000) {
                AppendUtf8(out, 0x10000 + ((unit - 0xD800) << 10) + (low - 0xDC00));
                ++i;
                continue;
            }
        }
        AppendUtf8(out, unit >= 0xD800 && unit < 0xE000 ? 0xFFFD : unit);
    }
    return out;
}

std::string AsString(std::span<const std::uint8_t> bytes) {
    return {reinterpret_cast<const char*>(bytes.data()), bytes.size()};
}

// One message record, up to its end tag.
struct Record {
    std::optional<std::string> translation;
    std::optional<std::string> source;
    std::optional<std::string> context;
    bool hasComment = false;
};

bool ReadRecord(Reader& reader, Record& record) {
    for (;;) {
        std::uint8_t tag = 0;
        if (!reader.U8(tag)) {
            return false;
        }
        std::uint32_t length = 0;
        std::span<const std::uint8_t> payload;
        switch (tag) {
            case kEnd:
                return true;
            case kTranslation:
                if (!reader.U32(length)) {
                    return false;
                }
                if (length == kNullString) {
                    break;
                }
                if (length % 2 != 0 || !reader.Bytes(length, payload)) {
                    return false;
                }
                // Plural forms follow the first; the tool uses only the first.
                if (!record.translation) {
                    record.translation = Utf16BeToUtf8(payload);
                }
                break;
            case kObsolete1:
                if (!reader.U32(length)) {
                    return false;
                }
                break;
            case kSourceText:
            case kContext:
            case kComment:
                if (!reader.U32(length) || !reader.Bytes(length, payload)) {
                    return false;
                }
                if (tag == kSourceText) {
                    record.source = AsString(payload);
                } else if (tag == kContext) {
                    record.context = AsString(payload);
                } else {
                    record.hasComment = !payload.empty();
                }
                break;
            case kSourceText16:
            case kContext16:
            case kObsolete2:
            default:
                return false;  // forms lrelease no longer writes
        }
    }
}

}  // namespace

std::optional<QmCatalog> QmCatalog::Parse(std::span<const std::uint8_t> bytes) {
    if (bytes.size() < kMagic.size() || !std::equal(kMagic.begin(), kMagic.end(), bytes.begin())) {
        return std::nullopt;
    }
    QmCatalog catalog;
    Reader sections(bytes.subspan(kMagic.size()));
    while (!sections.AtEnd()) {
        std::uint8_t tag = 0;
        std::uint32_t length = 0;
        std::span<const std::uint8_t> block;
        if (!sections.U8(tag) || !sections.U32(length) || !sections.Bytes(length, block)) {
            return std::nullopt;
        }
        if (tag != kMessagesSection) {
            continue;  // hashes, contexts, language, plural rules: not needed here
        }
        Reader records(block);
        while (!records.AtEnd()) {
            Record record;
            if (!ReadRecord(records, record)) {
                return std::nullopt;
            }
            // A message with a disambiguating comment is never looked up by the tool.
            if (record.translation && record.source && !record.hasComment) {
                catalog.messages_.insert_or_assign(
                    std::pair{record.context.value_or(std::string()), std::move(*record.source)},
                    std::move(*record.translation));
            }
        }
    }
    return catalog;
}

std::optional<std::string> QmCatalog::Find(std::string_view context,
                                           std::string_view source) const {
    const auto found = messages_.find(std::pair{std::string(context), std::string(source)});
    if (found == messages_.end()) {
        return std::nullopt;
    }
    return found->second;
}

}  // namespace pictor::cli
