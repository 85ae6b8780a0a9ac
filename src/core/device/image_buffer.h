#pragma once

#include <cstdint>
#include <filesystem>
#include <memory>
#include <optional>
#include <vector>

#include "core/common/message.h"
#include "core/common/translatable.h"

namespace pictor::device {

/// An image to download: the file's bytes zero-padded to whole 512-byte sectors.
/// The bytes are shared and immutable, so a running job keeps the image it writes
/// even when a new one is loaded meanwhile.
struct ImageBuffer {
    std::shared_ptr<const std::vector<std::uint8_t>> bytes;
    std::uint32_t sectorCount = 0;  // ceil(fileLength / 512)
    std::uint64_t fileLength = 0;   // length of the file as read
    std::filesystem::path path;
};

/// Why a load failed (the caller's message is the same for all of them).
enum class LoadFailure { None, CannotOpen, TooLarge, ShortRead, Empty };

/// Loads a `.bin` file for a flash of `flashSizeCode` MiB. A file longer than the
/// flash's capacity limit (`CapacityLimitFor`) shows the limit's warning with the
/// caption "警告" and the information icon and fails; a file that cannot be
/// opened or is read short fails without a message. Only regular files (or links
/// to them) are opened; a FIFO, device or directory fails at once (`CannotOpen`)
/// and never blocks. An empty file loads (its `fileLength` is 0); the download
/// job refuses it. `failure` (may be null) gets
/// the reason. Thread-safe (it touches nothing shared but the sink).
std::optional<ImageBuffer> LoadBinFile(const std::filesystem::path& path, int flashSizeCode,
                                       MessageSink& messages, LoadFailure* failure = nullptr);

/// Loads an image file the module already holds (the previous image of a
/// changes-only download): as `LoadBinFile`, but without a flash's capacity
/// check and without messages; a file larger than the largest flash (32 MiB)
/// fails as `TooLarge`. An empty file loads.
std::optional<ImageBuffer> LoadImageFile(const std::filesystem::path& path,
                                         LoadFailure* failure = nullptr);

/// The message of a download refused because its image is empty.
inline constexpr const char* kEmptyImageText =
    PICTOR_TRANSLATE_NOOP("Core", "the image is empty; nothing was erased");

/// The capacity check alone, for an image loaded earlier: true when `fileLength`
/// is within the limit for `flashSizeCode`; otherwise shows the warning as
/// `LoadBinFile` does and returns false.
bool CheckImageCapacity(std::uint64_t fileLength, int flashSizeCode, MessageSink& messages);

}  // namespace pictor::device
