#include "core/conversion/resource_image.h"

#include <algorithm>

#include "core/common/translatable.h"
#include "core/conversion/pixel_encoder.h"

namespace pictor::conversion {

namespace {

int BytePixels(int colorDepth) {
    return colorDepth > 0 && colorDepth < 8 ? 8 / colorDepth : 1;
}

}  // namespace

PrefixDimensions SizePrefixDimensions(const settings::ModelProfile& profile, int width,
                                      int height) {
    const int perByte = BytePixels(profile.colorDepth);
    if (profile.convertDirection == 0) {
        return {height, width / perByte};
    }
    return {height / perByte, width};
}

std::uint64_t SizePrefixBytes(const settings::ModelProfile& profile) {
    return std::max<std::uint64_t>(
        6, static_cast<std::uint64_t>(std::max(profile.minAllocateSize, 1)));
}

std::uint64_t SectorEstimate(const settings::ModelProfile& profile, int width, int height) {
    const std::uint64_t prefix = profile.saveWidthHeightToBin != 0 ? SizePrefixBytes(profile) : 0;
    const std::uint64_t bits = static_cast<std::uint64_t>(std::max(profile.colorDepth, 0)) *
                               static_cast<std::uint64_t>(std::max(width, 0)) *
                               static_cast<std::uint64_t>(std::max(height, 0));
    return prefix + (bits + 7) / 8;
}

std::array<std::uint8_t, kTableBytes> EncodeIndexTable(
    const std::array<std::uint32_t, kTableEntries>& entries) {
    std::array<std::uint8_t, kTableBytes> bytes{};
    for (std::size_t i = 0; i < kTableEntries; ++i) {
        for (std::size_t b = 0; b < 4; ++b) {
            bytes[i * 4 + b] = static_cast<std::uint8_t>(entries[i] >> (8 * b));
        }
    }
    return bytes;
}

std::uint32_t TableEntry(std::span<const std::uint8_t> image, std::size_t index) {
    const std::size_t at = index * 4;
    return static_cast<std::uint32_t>(image[at]) |
           (static_cast<std::uint32_t>(image[at + 1]) << 8) |
           (static_cast<std::uint32_t>(image[at + 2]) << 16) |
           (static_cast<std::uint32_t>(image[at + 3]) << 24);
}

ResourceImageLayout::ResourceImageLayout(const settings::ModelProfile& profile)
    : profile_(profile), unit_(static_cast<std::uint64_t>(std::max(profile.minAllocateSize, 1))) {}

void ResourceImageLayout::AppendZeros(std::uint64_t count, std::vector<std::uint8_t>& out) {
    out.insert(out.end(), static_cast<std::size_t>(count), std::uint8_t{0});
    counter_ += count;
}

void ResourceImageLayout::AlignToUnit(std::vector<std::uint8_t>& out) {
    const std::uint64_t rest = counter_ % unit_;
    if (rest != 0) {
        AppendZeros(unit_ - rest, out);
        next_.alignmentFill += unit_ - rest;
    }
}

bool ResourceImageLayout::KeepInSector(std::uint64_t estimate, std::vector<std::uint8_t>& out,
                                       MessageSink& messages) {
    if (estimate > kSectorBytes) {
        messages.Show({PICTOR_TRANSLATE_NOOP("Core", "单个图片尺寸大于1 sector!"), "",
                       MessageIcon::Exclamation});
        return false;
    }
    const std::uint64_t room = kSectorBytes - counter_ % kSectorBytes;
    if (estimate > room) {
        AppendZeros(room, out);
        next_.sectorFill += room;
    }
    return true;
}

void ResourceImageLayout::RecordBlockStart(std::size_t index) {
    if (index < kTableEntries) {
        table_[index] = static_cast<std::uint32_t>(counter_ / unit_);
    }
    next_.start = counter_;
    blocks_.push_back(next_);
    next_ = PlacedBlock{};
}

void ResourceImageLayout::AddToBlock(std::uint64_t PlacedBlock::*part, std::uint64_t bytes) {
    if (!blocks_.empty()) {
        blocks_.back().*part += bytes;
    }
}

void ResourceImageLayout::SkipPixels(std::uint64_t bytes) {
    counter_ += bytes;
    AddToBlock(&PlacedBlock::pixelBytes, bytes);
}

void ResourceImageLayout::WriteSizePrefix(PrefixDimensions dimensions, int seriesCount,
                                          std::vector<std::uint8_t>& out) {
    const auto v = static_cast<unsigned>(dimensions.v);
    const auto h = static_cast<unsigned>(dimensions.h);
    const auto series = static_cast<unsigned>(seriesCount);
    const std::uint8_t prefix[6] = {
        static_cast<std::uint8_t>(v),           static_cast<std::uint8_t>(h),
        static_cast<std::uint8_t>(v >> 8),      static_cast<std::uint8_t>(h >> 8),
        static_cast<std::uint8_t>(series >> 8), static_cast<std::uint8_t>(series),
    };
    out.insert(out.end(), std::begin(prefix), std::end(prefix));
    counter_ += 6;
    std::uint64_t bytes = 6;
    if (unit_ > 6) {
        AppendZeros(unit_ - 6, out);
        bytes = unit_;
    }
    AddToBlock(&PlacedBlock::prefixBytes, bytes);
}

bool ResourceImageLayout::WritePixels(const workspace::PixelImage& image,
                                      std::vector<std::uint8_t>& out) {
    const std::size_t before = out.size();
    if (!EncodePicture(image, profile_, out)) {
        return false;
    }
    counter_ += out.size() - before;
    AddToBlock(&PlacedBlock::pixelBytes, out.size() - before);
    return true;
}

}  // namespace pictor::conversion
