// Loading a .bin image for the download, the capacity checks and reading pictures
// back from a resource image. The input is the file. Asserts that a small file loads as its own
// bytes zero-padded to whole sectors, and that a file beyond a flash's limit (a sparse file of that
// length) is refused with one warning before anything is read.
#include <unistd.h>

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <span>

#include "core/conversion/picture_decoder.h"
#include "core/device/device_frames.h"
#include "core/device/flash_layout.h"
#include "core/device/image_buffer.h"
#include "fuzz_support.h"

namespace {

using pictor::fuzz::Require;
using namespace pictor::device;

constexpr int kFlashSizeCodes[] = {2, 8, 16, 32, 0};

void CheckLoaded(const ImageBuffer& image, std::span<const std::uint8_t> bytes) {
    const std::uint64_t sectors = (bytes.size() + kSectorBytes - 1) / kSectorBytes;
    Require(image.fileLength == bytes.size(), "the image's length is the file's");
    Require(image.sectorCount == sectors, "the image covers the file in whole sectors");
    Require(image.bytes && image.bytes->size() == sectors * kSectorBytes,
            "the image's bytes fill its sectors");
    Require(std::equal(bytes.begin(), bytes.end(), image.bytes->begin()),
            "the image starts with the file's bytes");
    Require(std::all_of(image.bytes->begin() + static_cast<std::ptrdiff_t>(bytes.size()),
                        image.bytes->end(), [](std::uint8_t b) { return b == 0; }),
            "the last sector is padded with zero bytes");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::span<const std::uint8_t> bytes(data, size);
    const auto path = pictor::fuzz::Scratch() / "Icon.bin";
    pictor::fuzz::WriteBytes(path, bytes);

    for (const int code : kFlashSizeCodes) {
        pictor::fuzz::CountingSink messages;
        LoadFailure failure = LoadFailure::None;
        const auto image = LoadBinFile(path, code, messages, &failure);
        if (image) {
            CheckLoaded(*image, bytes);
            Require(messages.count == 0 && failure == LoadFailure::None,
                    "a loaded image shows nothing");
        } else {
            // Only an empty image may be refused at this size.
            Require(size == 0, "a small readable image loads");
        }
    }

    // The same bytes as a resource image read back picture by picture: a damaged
    // table or size prefix is refused, and nothing past the image is read.
    for (const int depth : {1, 4, 16, 24}) {
        pictor::settings::ModelProfile profile;
        profile.colorDepth = depth;
        profile.pixelsPerByte = pictor::settings::PixelsPerByte(depth);
        profile.saveWidthHeightToBin = 1;
        profile.minAllocateSize = size > 0 ? 1 << (data[0] % 13) : 1;
        profile.channelLayout = pictor::settings::ChannelLayoutFor(1);
        for (std::size_t index = 0; index < 3; ++index) {
            const auto back = pictor::conversion::DecodeStoredPicture(bytes, index, profile);
            Require(!back.ok ||
                        back.image.pixels.size() == static_cast<std::size_t>(back.image.width) *
                                                        static_cast<std::size_t>(back.image.height),
                    "a picture read back has width x height pixels");
        }
    }

    // A file past the limit, made sparse so that nothing large is written.
    const int code = kFlashSizeCodes[size % std::size(kFlashSizeCodes)];
    const std::uint64_t over = CapacityLimitFor(code).maxBytes + 1 + (size > 0 ? data[0] : 0);
    std::filesystem::resize_file(path, over);
    pictor::fuzz::CountingSink messages;
    LoadFailure failure = LoadFailure::None;
    Require(!LoadBinFile(path, code, messages, &failure) && failure == LoadFailure::TooLarge,
            "an image beyond the flash's limit is refused as too large");
    Require(messages.count == 1 && messages.last.caption == "警告",
            "the refusal shows the capacity warning once");

    // The check alone, for an image loaded earlier, with any length.
    if (size >= 8) {
        std::uint64_t length = 0;
        for (int i = 0; i < 8; ++i) {
            length = length << 8 | data[i];
        }
        pictor::fuzz::CountingSink checkMessages;
        const bool fits = CheckImageCapacity(length, code, checkMessages);
        Require(fits == (length <= CapacityLimitFor(code).maxBytes),
                "the check accepts exactly the lengths within the limit");
        Require(checkMessages.count == (fits ? 0 : 1), "a refusal shows one warning");
    }
    return 0;
}
