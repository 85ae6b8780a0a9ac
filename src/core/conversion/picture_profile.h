#pragma once

#include "core/settings/model_profile.h"
#include "core/workspace/picture_operations.h"

namespace pictor::conversion {

/// Whether a picture with `operations` is encoded with a profile of its own: on a
/// 1-bit model, a picture with a threshold.
bool HasOwnProfile(const settings::ModelProfile& profile,
                   const workspace::PictureOperations& operations);

/// The profile a picture with `operations` is encoded with: `profile`, on a 1-bit
/// model with the picture's threshold as the grey level from which a pixel is
/// code 1 (instead of the model's grey-level table), in the encoder, the
/// dithering and the decoder alike.
settings::ModelProfile PictureProfile(const settings::ModelProfile& profile,
                                      const workspace::PictureOperations& operations);

}  // namespace pictor::conversion
