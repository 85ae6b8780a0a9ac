// The conversion with any profile and a few small pictures made from the input.
// Asserts: a conversion that reports success leaves both outputs, an Icon.bin of
// at least its 2048-byte table whose entries point at blocks inside the file in
// list order; one that fails leaves the previous outputs as they were; every
// picture decodes back from Icon.bin, 24-bit ones exactly; and the encoder on its
// own appends exactly the bytes it announces, also for pictures without pixels;
// converting with three threads gives the same Icon.bin as with one.
#include <fuzzer/FuzzedDataProvider.h>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "core/conversion/convert_operation.h"
#include "core/conversion/picture_decoder.h"
#include "core/conversion/pixel_encoder.h"
#include "core/conversion/resource_image.h"
#include "fuzz_support.h"

namespace {

using pictor::fuzz::Require;
using namespace pictor;

constexpr int kDepths[] = {1, 2, 4, 8, 16, 24, 3, 32};
constexpr int kMaxPictures = 5;
constexpr int kMaxSide = 24;
const std::vector<std::uint8_t> kOldBin = {'o', 'l', 'd', ' ', 'b', 'i', 'n'};
const std::vector<std::uint8_t> kOldHeader = {'o', 'l', 'd', ' ', 'h'};

settings::ModelProfile ProfileFrom(FuzzedDataProvider& input) {
    settings::ModelProfile p;
    p.colorDepth = input.PickValueInArray(kDepths);
    p.colorType = input.ConsumeIntegralInRange(0, 3);
    p.convertDirection = input.ConsumeIntegralInRange(0, 1);
    p.outDataType = input.ConsumeIntegralInRange(0, 1);
    p.minAllocateSize = 1 << input.ConsumeIntegralInRange(0, 12);
    p.avoidAcrossSector = input.ConsumeBool() ? 1 : 0;
    p.saveWidthHeightToBin = input.ConsumeBool() ? 1 : 0;
    p.saveWidthHeightToDefine = input.ConsumeBool() ? 1 : 0;
    p.saveLeftTopToDefine = input.ConsumeBool() ? 1 : 0;
    p.blockColNum = 8 * input.ConsumeIntegralInRange(0, 13);
    p.bkColor = input.ConsumeIntegral<std::uint32_t>();
    for (auto& level : p.colorLevels) {
        level = input.ConsumeIntegral<std::uint8_t>();
    }
    p.pixelsPerByte = settings::PixelsPerByte(p.colorDepth);
    settings::SetChannelLayout(p);
    return p;
}

workspace::PictureList PicturesFrom(FuzzedDataProvider& input) {
    workspace::PictureList list;
    const int count = input.ConsumeIntegralInRange(1, kMaxPictures);
    for (int i = 0; i < count; ++i) {
        auto picture = std::make_shared<workspace::PixelImage>();
        picture->width = input.ConsumeIntegralInRange(0, kMaxSide);
        picture->height = input.ConsumeIntegralInRange(0, kMaxSide);
        picture->hasAlpha = input.ConsumeBool();
        picture->pixels.resize(static_cast<std::size_t>(picture->width) *
                               static_cast<std::size_t>(picture->height));
        for (auto& pixel : picture->pixels) {
            pixel =
                input.remaining_bytes() > 0 ? input.ConsumeIntegral<std::uint32_t>() : 0xFF336699U;
        }
        workspace::ImageEntry entry;
        entry.name = input.ConsumeRandomLengthString(10);
        entry.path = "/fuzz/" + entry.name + ".bmp";
        entry.width = picture->width;
        entry.height = picture->height;
        entry.left = input.ConsumeIntegralInRange(-300, 300);
        entry.top = input.ConsumeIntegralInRange(-300, 300);
        entry.bitmap = picture;
        entry.thumbnail = picture;
        list.Append(std::move(entry));
    }
    return list;
}

std::uint32_t Le32(const std::vector<std::uint8_t>& b, std::size_t at) {
    return std::uint32_t{b[at]} | std::uint32_t{b[at + 1]} << 8 | std::uint32_t{b[at + 2]} << 16 |
           std::uint32_t{b[at + 3]} << 24;
}

// `list` is in the conversion's order (it sorts the list it converts).
void CheckResourceImage(const std::vector<std::uint8_t>& bin, const settings::ModelProfile& profile,
                        const workspace::PictureList& list) {
    Require(bin.size() >= conversion::kTableBytes, "Icon.bin holds at least its table");
    const std::uint64_t unit = static_cast<std::uint64_t>(profile.minAllocateSize);
    std::uint64_t previous = conversion::kTableBytes;
    for (std::size_t i = 0; i < conversion::kTableEntries; ++i) {
        const std::uint64_t start = std::uint64_t{Le32(bin, i * 4)} * unit;
        if (std::getenv("PICTOR_FUZZ_TRACE") != nullptr && i < 8) {
            std::fprintf(stderr, "entry %zu: block at %llu of %zu bytes\n", i,
                         static_cast<unsigned long long>(start), bin.size());
        }
        if (i < list.Size()) {
            const std::uint64_t pixelBytes =
                conversion::EncodedByteCount(*list.At(i).bitmap, profile);
            Require(start >= previous && start + pixelBytes <= bin.size(),
                    "each picture's block lies inside the file, after the one before");
            previous = start;
        } else {
            Require(start == 0, "table entries without a picture are 0");
        }
    }
}

// Every picture decodes back from Icon.bin through its table entry; 24-bit
// pictures without alpha come back exactly.
void CheckReadBack(const std::vector<std::uint8_t>& bin, const settings::ModelProfile& profile,
                   const workspace::PictureList& list) {
    for (std::size_t i = 0; i < list.Size(); ++i) {
        const workspace::PixelImage& picture = *list.At(i).bitmap;
        const conversion::DecodeResult back = conversion::DecodeStoredPicture(
            bin, i, profile, conversion::PictureSize{picture.width, picture.height});
        const conversion::PictureSize size =
            conversion::EncodedSize(profile, picture.width, picture.height);
        Require(back.ok && back.image.width == size.width && back.image.height == size.height,
                "every converted picture decodes back from Icon.bin at its size");
        if (profile.colorDepth == 24 && !picture.hasAlpha) {
            for (std::size_t p = 0; p < picture.pixels.size(); ++p) {
                Require((back.image.pixels[p] & 0xFFFFFFU) == (picture.pixels[p] & 0xFFFFFFU),
                        "a 24-bit picture comes back with its own colours");
            }
        }
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    FuzzedDataProvider input(data, size);
    settings::ModelProfile profile = ProfileFrom(input);
    workspace::PictureList list = PicturesFrom(input);
    // Taken last, so that inputs made before these choices keep their meaning.
    profile.dither = input.ConsumeIntegralInRange(0, 2);
    const bool alsoInParallel = input.ConsumeBool();

    // The encoder on its own, as the layout calls it: it appends exactly the bytes
    // it announces, for every picture including the empty ones.
    for (const workspace::ImageEntry& entry : list.Entries()) {
        std::vector<std::uint8_t> encoded{0xEE};
        const bool encodes = conversion::EncodePicture(*entry.bitmap, profile, encoded);
        Require(encodes == settings::IsSupportedDepth(profile.colorDepth),
                "the encoder takes exactly the supported depths");
        Require(encoded.size() == 1 + conversion::EncodedByteCount(*entry.bitmap, profile),
                "the encoder appends the bytes it announces, after what was there");
    }

    const auto& dir = pictor::fuzz::Scratch();
    const bool cSource = profile.outDataType == 1;
    const auto dataPath = dir / (cSource ? "Icon.c" : "Icon.bin");
    const auto headerPath = dir / "Icon.h";
    pictor::fuzz::WriteBytes(dataPath, kOldBin);
    pictor::fuzz::WriteBytes(headerPath, kOldHeader);

    conversion::ConvertOptions options;
    options.outputDir = dir.Path();
    options.writeTrailers = false;
    options.jobs = 1;  // one thread: the same input always takes the same path
    pictor::fuzz::CountingSink messages;
    const conversion::ConvertResult result = conversion::Convert(list, profile, options, messages);
    Require(messages.count >= 1, "a conversion always ends with a message");
    if (std::getenv("PICTOR_FUZZ_TRACE") != nullptr) {
        std::fprintf(stderr, "depth %d, %zu pictures: %s\n", profile.colorDepth, list.Size(),
                     messages.last.text.c_str());
    }

    if (!result.success) {
        Require(pictor::fuzz::ReadBytes(dataPath) == kOldBin &&
                    pictor::fuzz::ReadBytes(headerPath) == kOldHeader,
                "a failed conversion leaves the previous outputs as they were");
        return 0;
    }
    Require(result.dataPath == dataPath && result.headerPath == headerPath,
            "the outputs are in the output directory");
    const auto first = pictor::fuzz::ReadBytes(dataPath);
    const auto header = pictor::fuzz::ReadBytes(headerPath);
    Require(first != kOldBin && header != kOldHeader, "a successful conversion replaces both");
    if (cSource) {
        return 0;
    }
    Require(result.pictureCount == static_cast<int>(list.Size()), "every picture is converted");
    CheckResourceImage(first, profile, list);
    CheckReadBack(first, profile, list);

    // More threads give the same image.
    if (alsoInParallel) {
        options.jobs = 3;
        pictor::fuzz::CountingSink parallelMessages;
        const conversion::ConvertResult parallel =
            conversion::Convert(list, profile, options, parallelMessages);
        Require(parallel.success && pictor::fuzz::ReadBytes(dataPath) == first,
                "three threads convert the pictures into the same Icon.bin as one");
    }
    return 0;
}
