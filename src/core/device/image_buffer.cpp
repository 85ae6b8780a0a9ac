#include "core/device/image_buffer.h"

#include <fstream>

#include "core/device/device_frames.h"
#include "core/device/flash_layout.h"

namespace pictor::device {

bool CheckImageCapacity(std::uint64_t fileLength, int flashSizeCode, MessageSink& messages) {
    const CapacityLimit limit = CapacityLimitFor(flashSizeCode);
    if (fileLength <= limit.maxBytes) {
        return true;
    }
    messages.Show(Message{std::string(limit.warning), "警告", MessageIcon::Information});
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
    std::error_code error;
    if (std::filesystem::is_directory(path, error)) {
        return fail(LoadFailure::CannotOpen);
    }
    std::ifstream file(path, std::ios::binary);
    if (!file) {
        return fail(LoadFailure::CannotOpen);
    }
    file.seekg(0, std::ios::end);
    const std::streamoff end = file.tellg();
    file.seekg(0, std::ios::beg);
    if (end < 0 || !file) {
        return fail(LoadFailure::CannotOpen);
    }
    const auto length = static_cast<std::uint64_t>(end);
    if (!CheckImageCapacity(length, flashSizeCode, messages)) {
        return fail(LoadFailure::TooLarge);
    }
    const auto sectorCount = static_cast<std::uint32_t>((length + kSectorBytes - 1) / kSectorBytes);
    auto bytes =
        std::make_shared<std::vector<std::uint8_t>>(std::size_t{sectorCount} * kSectorBytes);
    if (length > 0) {
        file.read(reinterpret_cast<char*>(bytes->data()), static_cast<std::streamsize>(length));
    }
    if (length > 0 && static_cast<std::uint64_t>(file.gcount()) != length) {
        return fail(LoadFailure::ShortRead);
    }
    if (failure != nullptr) {
        *failure = LoadFailure::None;
    }
    return ImageBuffer{std::move(bytes), sectorCount, length, path};
}

}  // namespace pictor::device
