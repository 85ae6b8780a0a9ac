#include "core/conversion/block_encoder.h"

#include <algorithm>
#include <optional>
#include <utility>

#include "core/common/out_of_memory.h"
#include "core/common/regular_file.h"
#include "core/conversion/dither.h"
#include "core/conversion/header_writer.h"
#include "core/conversion/picture_profile.h"
#include "core/conversion/pixel_encoder.h"
#include "core/workspace/entry_pictures.h"

namespace pictor::conversion {

namespace {

// Buffers larger than this are not kept for reuse.
constexpr std::size_t kLargestPooledBuffer = std::size_t{16} << 20;

// C source text takes at most "255," and a line end per byte.
constexpr std::uint64_t kTextBytesPerByte = 6;

}  // namespace

std::uint64_t MemoryEstimate(const workspace::ImageEntry& entry, const PictureJob& job,
                             bool cSource) {
    const auto area = [](int width, int height) {
        return static_cast<std::uint64_t>(std::max(width, 0)) * std::max(height, 0);
    };
    // A picture with operations is decoded at its source size first (a crop of a
    // large file is small only after it), then operated on into a second image.
    const std::uint64_t pixels =
        area(entry.width, entry.height) +
        (entry.operations.ChangesPixels() ? area(entry.sourceWidth, entry.sourceHeight) : 0);
    const std::uint64_t decoded = entry.bitmap != nullptr ? 0 : pixels * sizeof(std::uint32_t);
    const std::uint64_t encoded = cSource ? job.opening.size() + job.pixelBytes * kTextBytesPerByte
                                          : job.preamble.size() + job.pixelBytes;
    return decoded + encoded;
}

std::vector<std::uint8_t> ScratchPool::Take() {
    const std::lock_guard lock(mutex_);
    if (free_.empty()) {
        return {};
    }
    std::vector<std::uint8_t> buffer = std::move(free_.back());
    free_.pop_back();
    return buffer;
}

void ScratchPool::Give(std::vector<std::uint8_t> buffer) {
    if (buffer.capacity() > kLargestPooledBuffer) {
        return;
    }
    const std::lock_guard lock(mutex_);
    free_.push_back(std::move(buffer));
}

namespace {

// EncodeBlock without the guard against running out of memory.
EncodedBlock EncodePictureBlock(const workspace::ImageEntry& entry, const PictureJob& job,
                                const settings::ModelProfile& modelProfile, bool cSource,
                                ScratchPool& pool) {
    EncodedBlock block;
    std::optional<settings::ModelProfile> ownProfile;
    if (HasOwnProfile(modelProfile, entry.operations)) {
        ownProfile = PictureProfile(modelProfile, entry.operations);
    }
    const settings::ModelProfile& profile = ownProfile ? *ownProfile : modelProfile;
    std::optional<workspace::PictureRows> rows;
    // Dithering diffuses errors between neighbours, so it works on the whole
    // decoded picture; without it the encoder reads the file's rows directly.
    std::optional<workspace::PixelImage> decoded;
    const workspace::PixelImage* picture = entry.bitmap.get();
    if (Dithers(profile)) {
        if (picture == nullptr) {
            decoded = workspace::LoadEntryPicture(entry);
            if (!decoded) {
                return block;
            }
            picture = &*decoded;
        }
    } else if (picture == nullptr) {
        rows = workspace::OpenEntryRows(entry, pool.Take());
        if (!rows) {
            return block;
        }
    }
    struct ReturnFileBuffer {
        std::optional<workspace::PictureRows>& rows;
        ScratchPool& pool;
        ~ReturnFileBuffer() {
            if (rows) {
                pool.Give(std::move(*rows).TakeBuffer());
            }
        }
    } returnFileBuffer{rows, pool};
    const auto encode = [&](auto& out) {
        return rows ? EncodePicture(*rows, profile, out) : EncodeDithered(*picture, profile, out);
    };
    if (cSource) {
        block.text = job.opening;
        block.loaded = encode(block.text);
        WriteArrayClosing(block.text);
    } else {
        block.bytes = pool.Take();
        block.bytes.reserve(job.preamble.size() + static_cast<std::size_t>(job.pixelBytes));
        block.bytes.assign(job.preamble.begin(), job.preamble.end());
        block.loaded =
            encode(block.bytes) && block.bytes.size() == job.preamble.size() + job.pixelBytes;
    }
    return block;
}

}  // namespace

EncodedBlock EncodeBlock(const workspace::ImageEntry& entry, const PictureJob& job,
                         const settings::ModelProfile& profile, bool cSource, ScratchPool& pool) {
    return RefuseWhenOutOfMemory(
        [&] { return EncodePictureBlock(entry, job, profile, cSource, pool); });
}

}  // namespace pictor::conversion
