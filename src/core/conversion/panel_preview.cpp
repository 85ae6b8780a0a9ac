#include "core/conversion/panel_preview.h"

#include <algorithm>
#include <optional>
#include <vector>

#include "core/common/out_of_memory.h"
#include "core/conversion/dither.h"
#include "core/conversion/picture_decoder.h"
#include "core/conversion/picture_profile.h"
#include "core/conversion/pixel_encoder.h"
#include "core/workspace/entry_pictures.h"

namespace pictor::conversion {

// The background colour (a Windows RGB value, red in the low byte) as the
// profile's depth shows it: an 8 x 8 block of it through the encoder and decoder,
// large enough for a whole byte group at every depth.
std::uint32_t PanelBackground(const settings::ModelProfile& profile) {
    const std::uint32_t bk = profile.bkColor;
    const std::uint32_t argb =
        0xFF000000u | ((bk & 0xFFu) << 16) | (bk & 0xFF00u) | ((bk >> 16) & 0xFFu);
    workspace::PixelImage block;
    block.width = 8;
    block.height = 8;
    block.pixels.assign(64, argb);
    settings::ModelProfile plain = profile;
    plain.dither = 0;  // a flat colour is not dithered on the panel either
    const workspace::PixelImage shown = PanelTruePicture(block, plain);
    return shown.pixels.empty() ? argb : shown.pixels.front();
}

workspace::PixelImage PanelTruePicture(const workspace::PixelImage& picture,
                                       const settings::ModelProfile& profile) {
    std::vector<std::uint8_t> bytes;
    if (!EncodeDithered(picture, profile, bytes)) {
        return {};
    }
    DecodeResult decoded = DecodePixels(bytes, picture.width, picture.height, profile);
    return decoded.ok ? std::move(decoded.image) : workspace::PixelImage{};
}

namespace {

workspace::PixelImage Render(const workspace::PictureList& list,
                             const settings::ModelProfile& profile, PreviewPictures which) {
    workspace::PixelImage panel;
    panel.width = std::max(profile.panelWidth, 0);
    panel.height = std::max(profile.panelHeight, 0);
    panel.pixels.assign(
        static_cast<std::size_t>(panel.width) * static_cast<std::size_t>(panel.height),
        PanelBackground(profile));
    for (const workspace::ImageEntry& entry : list.Entries()) {
        if (which == PreviewPictures::Shown && !entry.shown) {
            continue;
        }
        std::optional<workspace::PixelImage> loaded;
        const workspace::PixelImage* picture = entry.bitmap.get();
        if (picture == nullptr) {
            loaded = workspace::LoadEntryPicture(entry);
            if (!loaded) {
                continue;
            }
            picture = &*loaded;
        }
        const workspace::PixelImage shown =
            HasOwnProfile(profile, entry.operations)
                ? PanelTruePicture(*picture, PictureProfile(profile, entry.operations))
                : PanelTruePicture(*picture, profile);
        // 64-bit so that positions far off the panel cannot overflow.
        const long long left = entry.left;
        const long long top = entry.top;
        const long long firstX = std::max(0LL, -left);
        const long long firstY = std::max(0LL, -top);
        const long long endX = std::min<long long>(shown.width, panel.width - left);
        const long long endY = std::min<long long>(shown.height, panel.height - top);
        for (long long y = firstY; y < endY; ++y) {
            for (long long x = firstX; x < endX; ++x) {
                panel.pixels[static_cast<std::size_t>((y + top) * panel.width + x + left)] =
                    shown.At(static_cast<int>(x), static_cast<int>(y));
            }
        }
    }
    return panel;
}

}  // namespace

workspace::PixelImage RenderPanel(const workspace::PictureList& list,
                                  const settings::ModelProfile& profile, PreviewPictures which) {
    return RefuseWhenOutOfMemory([&] { return Render(list, profile, which); });
}

}  // namespace pictor::conversion
