#pragma once

#include <string>
#include <vector>

#include "core/settings/profile_file.h"

namespace pictor::settings {

/// The model names of the settings file in list order: "MODEL_NAME0" …
/// "MODEL_NAME<MODEL_COUNT − 1>" of "COMMON" ("Load Error" for a missing name).
std::vector<std::string> ReadModelNames(const ProfileFile& file);

/// Removes the model at `index` from the model list of "COMMON": the names after
/// it move down one place, "MODEL_COUNT" drops by one, and "CURRENT_MODE" keeps
/// naming the same model (the model before the deleted one when it was the
/// deleted one, the "New" entry when it was that). The model's own section stays
/// in the file, so nothing but the list entry is lost. Refuses (false, file
/// untouched) an index outside the list and the last remaining model; false also
/// when a write fails.
bool DeleteModel(ProfileFile& file, int index);

}  // namespace pictor::settings
