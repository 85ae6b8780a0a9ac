#pragma once

#include <vector>

#include "core/common/message.h"
#include "core/settings/model_profile.h"
#include "core/workspace/picture_list.h"

namespace pictor::conversion {

/// Warnings (exclamation icon) for the pictures of `list` that, as converted (after
/// their operations), are larger than the panel of `profile`, or reach past its
/// edge at their position: one per such picture, in list order. The conversion
/// goes on; a picture may be meant to be shown in parts. None when the profile has
/// no panel size.
std::vector<Message> PanelFitWarnings(const workspace::PictureList& list,
                                      const settings::ModelProfile& profile);

}  // namespace pictor::conversion
