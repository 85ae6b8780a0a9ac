#pragma once

#include <cstdint>
#include <initializer_list>
#include <string>
#include <vector>

#include "core/settings/model_profile.h"
#include "core/workspace/pixel_image.h"

namespace pictor::conversion::testing {

inline constexpr std::uint32_t kBlack = 0xFF000000u;
inline constexpr std::uint32_t kWhite = 0xFFFFFFFFu;

/// An opaque grey pixel (R = G = B = value).
inline std::uint32_t Grey(std::uint32_t value) {
    return 0xFF000000u | (value << 16) | (value << 8) | value;
}

inline std::uint32_t Rgb(std::uint32_t red, std::uint32_t green, std::uint32_t blue) {
    return 0xFF000000u | (red << 16) | (green << 8) | blue;
}

inline workspace::PixelImage MakeImage(int width, int height, std::uint32_t fill = kBlack) {
    workspace::PixelImage image;
    image.width = width;
    image.height = height;
    image.pixels.assign(static_cast<std::size_t>(width) * static_cast<std::size_t>(height), fill);
    return image;
}

inline void Set(workspace::PixelImage& image, int x, int y, std::uint32_t argb) {
    image.pixels[static_cast<std::size_t>(y) * static_cast<std::size_t>(image.width) +
                 static_cast<std::size_t>(x)] = argb;
}

/// A grey-level profile with the standard thresholds (code k: k * 2^(8 - depth)).
inline settings::ModelProfile GreyProfile(int depth, int direction = 0, int block = 0) {
    settings::ModelProfile profile;
    profile.colorDepth = depth;
    profile.convertDirection = direction;
    profile.blockColNum = block;
    profile.pixelsPerByte = 8 / depth;
    for (int code = 0; code < (1 << depth); ++code) {
        profile.colorLevels[static_cast<std::size_t>(code)] =
            static_cast<std::uint8_t>(code << (8 - depth));
    }
    return profile;
}

/// A 16-bit profile: type 0 "BGR_565" (red low), 1 "RGB_565" (red high).
inline settings::ModelProfile ColourProfile(int type, int direction = 0, int block = 0) {
    settings::ModelProfile profile;
    profile.colorDepth = 16;
    profile.colorType = type;
    profile.convertDirection = direction;
    profile.blockColNum = block;
    profile.pixelsPerByte = 1;
    if (type == 0) {
        profile.channelLayout = {0, 5, 11, 5, 6, 5, 0x001F, 0x07E0, 0xF800};
    } else {
        profile.channelLayout = {11, 5, 0, 5, 6, 5, 0xF800, 0x07E0, 0x001F};
    }
    return profile;
}

inline settings::ModelProfile TrueColourProfile(int direction = 0) {
    settings::ModelProfile profile;
    profile.colorDepth = 24;
    profile.convertDirection = direction;
    profile.pixelsPerByte = 1;
    return profile;
}

inline std::vector<std::uint8_t> Bytes(std::initializer_list<int> values) {
    std::vector<std::uint8_t> bytes;
    for (const int v : values) {
        bytes.push_back(static_cast<std::uint8_t>(v));
    }
    return bytes;
}

}  // namespace pictor::conversion::testing
