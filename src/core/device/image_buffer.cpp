#include "core/device/image_buffer.h"

#include "core/common/regular_file.h"
#include "core/common/translatable.h"
#include "core/device/device_frames.h"
#include "core/device/flash_layout.h"

namespace pictor::device {

bool CheckImageCapacity(std::uint64_t fileLength, int flashSizeCode, MessageSink& messages) {
    const CapacityLimit limit = CapacityLimitFor(flashSizeCode);
    if (fileLength <= limit.maxBytes) {
        return true;
    }
    messages.Show(Message{std::string(limit.warning), PICTOR_TRANSLATE_NOOP("Core", "警告"),
                          MessageIcon::Information});
    return false;
}

namespace {

constexpr std::uint64_t kLargestFlashBytes = 32ULL * 1024 * 1024;

/// Opens `path`, checks its length with `fits` and reads it zero-padded to whole
/// sectors.
template <typename Fits>
std::optional<ImageBuffer> LoadPadded(const std::filesystem::path& path, LoadFailure* failure,
                                      Fits fits) {
    auto fail = [failure](LoadFailure why) -> std::optional<ImageBuffer> {
        if (failure != nullptr) {
            *failure = why;
        }
        return std::nullopt;
    };
    // Only a regular file (or a link to one) is opened, and the open never
    // blocks: a FIFO or a device named as the image is refused at once.
    const std::optional<RegularFile> file = RegularFile::Open(path, FileAccess::Read);
    if (!file) {
        return fail(LoadFailure::CannotOpen);
    }
    const std::uint64_t length = file->Size();
    if (!fits(length)) {
        return fail(LoadFailure::TooLarge);
    }
    std::optional<std::vector<std::uint8_t>> content = file->ReadAll(length);
    if (!content || content->size() != length) {
        return fail(LoadFailure::ShortRead);
    }
    const auto sectorCount = static_cast<std::uint32_t>((length + kSectorBytes - 1) / kSectorBytes);
    content->resize(std::size_t{sectorCount} * kSectorBytes);
    auto bytes = std::make_shared<const std::vector<std::uint8_t>>(std::move(*content));
    if (failure != nullptr) {
        *failure = LoadFailure::None;
    }
    return ImageBuffer{std::move(bytes), sectorCount, length, path};
}

}  // namespace

std::optional<ImageBuffer> LoadBinFile(const std::filesystem::path& path, int flashSizeCode,
                                       MessageSink& messages, LoadFailure* failure) {
    return LoadPadded(path, failure, [&](std::uint64_t length) {
        return CheckImageCapacity(length, flashSizeCode, messages);
    });
}

std::optional<ImageBuffer> LoadImageFile(const std::filesystem::path& path, LoadFailure* failure) {
    return LoadPadded(path, failure,
                      [](std::uint64_t length) { return length <= kLargestFlashBytes; });
}

}  // namespace pictor::device
