#pragma once

// Pictures, profiles and picture files the benchmarks share. The pictures follow
// a fixed linear congruential rng, so every run measures the same pixels.

#include <unistd.h>

#include <cstdint>
#include <filesystem>
#include <memory>
#include <string>
#include <system_error>
#include <utility>

#include "core/settings/model_profile.h"
#include "core/workspace/picture_list.h"
#include "support/bitmap_files.h"

namespace pictor::bench {

inline std::uint32_t NextState(std::uint32_t state) {
    return state * 1664525u + 1013904223u;
}

/// A horizontal red and vertical green ramp with noisy blue, opaque.
inline workspace::PixelImage Gradient(int width, int height, std::uint32_t state) {
    workspace::PixelImage image;
    image.width = width;
    image.height = height;
    image.pixels.reserve(static_cast<std::size_t>(width) * static_cast<std::size_t>(height));
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            state = NextState(state);
            const auto red = static_cast<std::uint32_t>(x * 255 / width) & 0xFFu;
            const auto green = static_cast<std::uint32_t>(y * 255 / height) & 0xFFu;
            const std::uint32_t blue = (state >> 24) & 0x3Fu;
            image.pixels.push_back(0xFF000000u | (red << 16) | (green << 8) | blue);
        }
    }
    return image;
}

/// Sets the codes of `profile`'s depth: the 16-bit channel layout of its colour
/// type, or grey levels k * 2^(8 - depth) for depths up to 8.
inline void SetStandardCodes(settings::ModelProfile& profile) {
    const int depth = profile.colorDepth;
    if (depth == 16) {
        settings::SetChannelLayout(profile);
    } else if (depth <= 8) {
        for (int code = 0; code < (1 << depth); ++code) {
            profile.colorLevels[static_cast<std::size_t>(code)] =
                static_cast<std::uint8_t>(code << (8 - depth));
        }
    }
}

/// A 480 x 320 panel model of colour type 1 with the given depth and dither mode.
inline settings::ModelProfile PanelProfile(int depth, int dither, std::uint32_t bkColor = 0) {
    settings::ModelProfile profile;
    profile.colorDepth = depth;
    profile.colorType = 1;
    profile.pixelsPerByte = settings::PixelsPerByte(depth);
    profile.panelWidth = 480;
    profile.panelHeight = 320;
    profile.dither = dither;
    profile.bkColor = bkColor;
    SetStandardCodes(profile);
    return profile;
}

/// A 480 x 320 panel full of shown pictures: one full-screen gradient and 60
/// icons of 48 x 48 over it in rows of ten.
inline workspace::PictureList FullPanelList() {
    workspace::PictureList list;
    const auto add = [&list](workspace::PixelImage image, int left, int top) {
        workspace::ImageEntry entry;
        entry.width = image.width;
        entry.height = image.height;
        entry.left = left;
        entry.top = top;
        entry.shown = true;
        entry.bitmap = std::make_shared<const workspace::PixelImage>(std::move(image));
        list.Append(std::move(entry));
    };
    add(Gradient(480, 320, 1), 0, 0);
    for (int i = 0; i < 60; ++i) {
        add(Gradient(48, 48, static_cast<std::uint32_t>(i)), (i % 10) * 48, (i / 10) * 48);
    }
    return list;
}

/// Writes a bottom-up 24-bit bitmap of a patterned picture: each channel mixes
/// the pixel's position with the rng.
inline void WritePatternBitmap(const std::filesystem::path& path, int width, int height,
                               std::uint32_t state) {
    test::BitmapLayout layout;
    layout.width = width;
    layout.height = height;
    const auto rowBytes = static_cast<std::size_t>((width * 3 + 3) & ~3);
    layout.pixels.reserve(rowBytes * static_cast<std::size_t>(height));
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            state = NextState(state);
            layout.pixels.push_back(static_cast<std::uint8_t>(x + (state >> 28)));
            layout.pixels.push_back(static_cast<std::uint8_t>(y + (state >> 26)));
            layout.pixels.push_back(static_cast<std::uint8_t>((x ^ y) + (state >> 24)));
        }
        layout.pixels.resize(rowBytes * static_cast<std::size_t>(y + 1), 0);
    }
    test::WriteBytes(path, test::BuildBitmap(layout));
}

/// A folder of one benchmark run under the system's temporary folder (its name
/// and the process id), with an "out" folder inside; removed with its files.
class BenchFolder {
  public:
    explicit BenchFolder(const std::string& name)
        : path_(std::filesystem::temp_directory_path() /
                (name + "-" + std::to_string(::getpid()))) {
        std::filesystem::create_directories(path_ / "out");
    }
    ~BenchFolder() {
        std::error_code ignored;
        std::filesystem::remove_all(path_, ignored);
    }
    BenchFolder(const BenchFolder&) = delete;
    BenchFolder& operator=(const BenchFolder&) = delete;

    [[nodiscard]] const std::filesystem::path& Path() const { return path_; }

  private:
    std::filesystem::path path_;
};

}  // namespace pictor::bench
