#pragma once

#include <cstdint>

#include "core/settings/model_profile.h"
#include "core/workspace/picture_list.h"
#include "core/workspace/pixel_image.h"

namespace pictor::conversion {

/// Which pictures `RenderPanel` draws.
enum class PreviewPictures { Shown, All };

/// The panel as the module shows it after a conversion with `profile`: a
/// `panelWidth` x `panelHeight` picture filled with the background colour
/// (`bkColor`, as the profile's depth shows it), and on it each picture of `list`
/// (the shown ones, or all), in list order, at its position and clipped to the
/// panel, as it comes out of the encoder and back through the decoder (dithered
/// when the profile dithers, blended over the background when it has
/// transparency, with its own threshold on a 1-bit model). An entry without a kept
/// bitmap is loaded from its file or text. A picture the encoder refuses, or that
/// does not load, is left out. Opaque 0xFFRRGGBB pixels; an empty picture when the
/// panel does not fit in the memory at hand.
workspace::PixelImage RenderPanel(const workspace::PictureList& list,
                                  const settings::ModelProfile& profile,
                                  PreviewPictures which = PreviewPictures::Shown);

/// The background colour (`bkColor`, a Windows RGB value) as the profile's depth
/// shows it on the panel, as an opaque 0xFFRRGGBB pixel.
std::uint32_t PanelBackground(const settings::ModelProfile& profile);

/// One picture as the panel shows it: dithered when the profile dithers, encoded
/// and decoded (so of the decoder's size). Empty when the encoder refuses it.
workspace::PixelImage PanelTruePicture(const workspace::PixelImage& picture,
                                       const settings::ModelProfile& profile);

}  // namespace pictor::conversion
