#pragma once

#include <cstdint>
#include <vector>

namespace pictor::workspace {

/// A decoded picture: `width` x `height` pixels, row-major from the top row,
/// each 0xAARRGGBB with 8-bit red, green and blue as stored in the file.
/// `hasAlpha` is true only for pictures whose format carries transparency that the
/// encoder must blend over the background colour (PNG); bitmaps keep their stored
/// RGB and report false even when their alpha bytes are not 0xFF.
struct PixelImage {
    int width = 0;
    int height = 0;
    std::vector<std::uint32_t> pixels;
    bool hasAlpha = false;

    [[nodiscard]] std::uint32_t At(int x, int y) const {
        return pixels[static_cast<std::size_t>(y) * static_cast<std::size_t>(width) +
                      static_cast<std::size_t>(x)];
    }
    [[nodiscard]] const std::uint32_t* Row(int y) const {
        return pixels.data() + static_cast<std::size_t>(y) * static_cast<std::size_t>(width);
    }
};

}  // namespace pictor::workspace
