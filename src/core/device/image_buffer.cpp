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

std::optional<ImageBuffer> LoadBinFile(const std::filesystem::path& path, int flashSizeCode,
                                       MessageSink& messages, LoadFailure* failure) {
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
    if (!CheckImageCapacity(length, flashSizeCode, messages)) {
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

}  // namespace pictor::device
