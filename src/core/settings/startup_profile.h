#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/common/translatable.h"
#include "core/settings/model_profile.h"
#include "core/settings/profile_file.h"

namespace pictor::settings {

/// The configuration form's values: what the configuration dialog's controls hold
/// (list positions, radio indices, texts), with -1 for "no entry selected".
struct ProfileForm {
    std::string editorPath;
    unsigned widthValue = 0;
    unsigned heightValue = 0;
    int sizeToBinCheck = 0;
    int sizeToDefineCheck = 0;
    int avoidSectorCheck = 0;
    int leftTopCheck = 0;
    int outputTypeIndex = -1;
    int allocationIndex = -1;
    int depthIndex = -1;
    int colorTypeIndex = -1;
    int directionIndex = -1;
    int blockIndex = -1;
    int ditherIndex = 0;  // "Dither": 0 none, 1 ordered, 2 Floyd-Steinberg
    std::string lcdSizeText;

    friend bool operator==(const ProfileForm&, const ProfileForm&) = default;
};

/// List texts of the configuration form.
const std::vector<std::string>& DepthListTexts();       // "1-Bit" … "24-Bit"
const std::vector<std::string>& AllocationListTexts();  // "1 Byte" … "4096 Byte"
const std::vector<std::string>& BlockListTexts();       // "MAX", "8" … "104"
const std::vector<std::string>& LcdSizeListTexts();     // "220x176" … "272x480"
const std::vector<std::string>& DitherListTexts();  // "DITHER" 0, 1, 2: "None" … "Floyd–Steinberg"
/// Colour types of a depth list position, in the list's (sorted) order.
std::vector<std::string> ColorTypeListTexts(int depthIndex);

/// Copies a profile into form values (the list-position mappings: depth to its
/// position, allocation unit to log2 of the largest power of two not above it,
/// block column number / 8, dither mode to its position with an unknown mode
/// shown as none). `form.lcdSizeText` is left as it is.
void ShowProfile(const ModelProfile& profile, ProfileForm& form);

/// What the form's controls give back: a list position past the end of its list,
/// or a radio index without a button, reads back as -1; the LCD size text selects
/// the first list entry it is a case-insensitive prefix of.
ProfileForm ReadBackThroughControls(const ProfileForm& form);

/// Copies form values into a profile and completes it: levels (depths 1..8, with
/// `writeBack` deciding whether a regenerated table is written) or channel layout
/// (depth 16). A depth position outside the list leaves `colorDepth` as it was;
/// positions read back as -1 take the list's first entry.
void CollectProfile(const ProfileForm& form, const std::string& modelName, ModelProfile& profile,
                    ProfileFile& file, WriteBack writeBack);

/// Why `name` cannot name a model, as a message for the user, or nothing when it
/// can. A model name is also its section's name, so after its edge blanks are
/// removed it must be non-empty and hold no "[", "]", "=" or control character.
/// The message goes through `lookup` (a front end's translation).
std::optional<std::string> ModelNameProblem(std::string_view name,
                                            const CoreTextLookup& lookup = {});

/// The name as Save stores it: without edge blanks (the settings file could not
/// give them back).
std::string CleanModelName(std::string_view name);

/// Save: writes "MODEL_COUNT" (`modelCount`), "CURRENT_MODE" (`selectedIndex`),
/// "MODEL_NAME<selectedIndex>" (the profile's model name) and "EXT_EDIT_EXE" to
/// "COMMON", then the fourteen keys of the model's section. Writes nothing and
/// returns false when the model name is not a clean one (`ModelNameProblem`, or
/// edge blanks left).
bool SaveProfileKeys(ProfileFile& file, int modelCount, int selectedIndex,
                     const ModelProfile& profile);

/// The confirmation's own writes: "CURRENT_MODE" and "LCD_TYPE" of "COMMON".
void WriteConfirmation(ProfileFile& file, int selectedIndex, const std::string& lcdSizeText);

/// Completes a confirmed profile: panel size from the LCD size text and
/// `pixelsPerByte` from the depth.
void FinishProfile(ModelProfile& profile, const std::string& lcdSizeText);

/// The start-up box's view of the settings file.
struct StartupProfile {
    bool settingsFound = false;       // false: "没有找到配置文件! " is due
    std::vector<std::string> models;  // model names, without the trailing "New"
    int currentIndex = 0;             // "CURRENT_MODE"
    std::string lcdSizeText;          // "LCD_TYPE"
    /// True when the current index names a model (not "New", not out of range):
    /// only then can the start-up box be confirmed.
    bool confirmable = false;
    /// The profile as the box's OK completes it (valid when `confirmable`).
    ModelProfile profile;
};

/// Loads the settings the way the start-up box does and completes the profile as
/// its OK would: the model at `modelIndex` (default "CURRENT_MODE") is loaded,
/// passed through the form's list mappings, collected and completed (levels or
/// layout, panel size from the LCD size text, `pixelsPerByte`). With
/// `WriteBack::Yes` the OK's writes happen too (model list keys, the model's
/// fourteen keys, "CURRENT_MODE", "LCD_TYPE", a regenerated level table); with
/// `WriteBack::No` the file is not touched.
StartupProfile ConfirmStartupProfile(ProfileFile& file, WriteBack writeBack,
                                     std::optional<int> modelIndex = std::nullopt);

/// Index of the model named `name` in `models` (exact match first, then ASCII
/// case-insensitive), or nothing.
std::optional<int> FindModel(const std::vector<std::string>& models, const std::string& name);

}  // namespace pictor::settings
