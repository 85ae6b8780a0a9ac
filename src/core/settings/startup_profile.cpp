#include "core/settings/startup_profile.h"

#include <algorithm>

#include "core/common/ascii_text.h"
#include "core/common/text_format.h"
#include "core/common/translatable.h"

namespace pictor::settings {

namespace {

constexpr std::string_view kCommon = "COMMON";

// A settings file naming more models than this is damaged; reading a million
// keys one file pass each would only stall the start-up.
constexpr int kMaxModels = 1024;

constexpr int kDepths[] = {1, 2, 4, 8, 16, 24};

int Clamp(int value, int low, int high) {
    return std::max(low, std::min(value, high));
}

int ListPositionOrNone(int index, std::size_t count) {
    return index >= 0 && static_cast<std::size_t>(index) < count ? index : -1;
}

}  // namespace

const std::vector<std::string>& DepthListTexts() {
    static const std::vector<std::string> texts = {"1-Bit", "2-Bit",  "4-Bit",
                                                   "8-Bit", "16-Bit", "24-Bit"};
    return texts;
}

const std::vector<std::string>& AllocationListTexts() {
    // Marked for the front ends, which show them in the interface language.
    static const std::vector<std::string> texts = {
        PICTOR_TRANSLATE_NOOP("Core", "1 Byte"),     PICTOR_TRANSLATE_NOOP("Core", "2 Bytes"),
        PICTOR_TRANSLATE_NOOP("Core", "4 Bytes"),    PICTOR_TRANSLATE_NOOP("Core", "8 Bytes"),
        PICTOR_TRANSLATE_NOOP("Core", "16 Bytes"),   PICTOR_TRANSLATE_NOOP("Core", "32 Bytes"),
        PICTOR_TRANSLATE_NOOP("Core", "64 Byte"),    PICTOR_TRANSLATE_NOOP("Core", "128 Bytes"),
        PICTOR_TRANSLATE_NOOP("Core", "256 Bytes"),  PICTOR_TRANSLATE_NOOP("Core", "512 Bytes"),
        PICTOR_TRANSLATE_NOOP("Core", "1024 Bytes"), PICTOR_TRANSLATE_NOOP("Core", "2048 Bytes"),
        PICTOR_TRANSLATE_NOOP("Core", "4096 Byte"),
    };
    return texts;
}

const std::vector<std::string>& BlockListTexts() {
    static const std::vector<std::string> texts = {"MAX", "8",  "16", "24", "32", "40", "48",
                                                   "56",  "64", "72", "80", "88", "96", "104"};
    return texts;
}

const std::vector<std::string>& LcdSizeListTexts() {
    static const std::vector<std::string> texts = {"220x176", "320x240", "400x240", "480x320",
                                                   "272x480"};
    return texts;
}

const std::vector<std::string>& DitherListTexts() {
    static const std::vector<std::string> texts = {
        PICTOR_TRANSLATE_NOOP("Core", "None"), PICTOR_TRANSLATE_NOOP("Core", "Ordered"),
        PICTOR_TRANSLATE_NOOP("Core", "Floyd–Steinberg")};
    return texts;
}

std::vector<std::string> ColorTypeListTexts(int depthIndex) {
    switch (depthIndex) {
        case 0:
        case 1:
        case 2:
        case 3:
            return {"Level"};
        case 4:
            return {"BGR_565", "RGB_565"};  // a sorted list: BGR_565 comes first
        case 5:
            return {"MASK"};
        default:
            return {};
    }
}

void ShowProfile(const ModelProfile& profile, ProfileForm& form) {
    const auto depth = std::find(std::begin(kDepths), std::end(kDepths), profile.colorDepth);
    if (depth != std::end(kDepths)) {
        form.depthIndex = static_cast<int>(depth - std::begin(kDepths));
    }
    form.colorTypeIndex = profile.colorType;
    form.directionIndex = profile.convertDirection;
    form.outputTypeIndex = profile.outDataType;
    form.widthValue = static_cast<unsigned>(std::max(profile.panelWidth, 0));
    form.heightValue = static_cast<unsigned>(std::max(profile.panelHeight, 0));
    // log2 of the largest power of two not above the unit. Units outside 1..4096
    // have no list entry; they are shown as the nearest one (1 or 4096).
    int halvings = 0;
    for (int unit = profile.minAllocateSize; unit > 0; unit /= 2) {
        ++halvings;
    }
    form.allocationIndex = Clamp(halvings - 1, 0, 12);
    // Block column numbers round down to a multiple of 8; outside 0..104 they are
    // shown as the nearest entry ("MAX" or "104").
    form.blockIndex = Clamp(profile.blockColNum / 8, 0, 13);
    if (profile.blockColNum < 0) {
        form.blockIndex = 0;
    }
    form.editorPath = profile.extEditExe;
    form.sizeToBinCheck = profile.saveWidthHeightToBin;
    form.sizeToDefineCheck = profile.saveWidthHeightToDefine;
    form.leftTopCheck = profile.saveLeftTopToDefine;
    form.avoidSectorCheck = profile.avoidAcrossSector;
    // Modes the box does not offer are used as none, and shown so.
    const auto modes = static_cast<int>(DitherListTexts().size());
    form.ditherIndex = profile.dither >= 0 && profile.dither < modes ? profile.dither : 0;
}

ProfileForm ReadBackThroughControls(const ProfileForm& form) {
    ProfileForm out = form;
    out.depthIndex = ListPositionOrNone(form.depthIndex, DepthListTexts().size());
    out.colorTypeIndex =
        ListPositionOrNone(form.colorTypeIndex, ColorTypeListTexts(form.depthIndex).size());
    out.allocationIndex = ListPositionOrNone(form.allocationIndex, AllocationListTexts().size());
    out.blockIndex = ListPositionOrNone(form.blockIndex, BlockListTexts().size());
    out.outputTypeIndex = ListPositionOrNone(form.outputTypeIndex, 2);
    out.directionIndex = ListPositionOrNone(form.directionIndex, 2);
    out.ditherIndex = ListPositionOrNone(form.ditherIndex, DitherListTexts().size());
    if (!form.lcdSizeText.empty()) {
        for (const std::string& entry : LcdSizeListTexts()) {
            if (StartsWithIgnoringAsciiCase(entry, form.lcdSizeText)) {
                out.lcdSizeText = entry;
                break;
            }
        }
    }
    return out;
}

void CollectProfile(const ProfileForm& form, const std::string& modelName, ModelProfile& profile,
                    ProfileFile& file, WriteBack writeBack) {
    profile.modelName = modelName;
    if (form.depthIndex >= 0 && form.depthIndex < static_cast<int>(std::size(kDepths))) {
        profile.colorDepth = kDepths[form.depthIndex];
    }
    // No selection (a value without a list entry) takes the list's first entry.
    profile.colorType = std::max(form.colorTypeIndex, 0);
    profile.outDataType = std::max(form.outputTypeIndex, 0);
    profile.convertDirection = std::max(form.directionIndex, 0);
    profile.extEditExe = form.editorPath;
    profile.saveWidthHeightToBin = form.sizeToBinCheck;
    profile.panelWidth = static_cast<int>(form.widthValue);
    profile.panelHeight = static_cast<int>(form.heightValue);
    profile.minAllocateSize = 1 << Clamp(form.allocationIndex, 0, 12);
    profile.blockColNum = Clamp(form.blockIndex, 0, 13) * 8;
    profile.saveWidthHeightToDefine = form.sizeToDefineCheck;
    profile.saveLeftTopToDefine = form.leftTopCheck;
    profile.avoidAcrossSector = form.avoidSectorCheck;
    profile.dither = std::max(form.ditherIndex, 0);
    profile.settingsPath = file.Path();
    if (profile.colorDepth == 16) {
        SetChannelLayout(profile);
    } else {
        LoadColorLevels(profile, file, writeBack);
    }
}

std::optional<std::string> ModelNameProblem(std::string_view name, const CoreTextLookup& lookup) {
    const std::string_view trimmed = TrimBlanks(name);
    if (trimmed.empty()) {
        return LookUp(lookup,
                      PICTOR_TRANSLATE_NOOP("Core", "The model name is empty; type a name."));
    }
    for (const char c : trimmed) {
        const auto byte = static_cast<unsigned char>(c);
        if (c == '[' || c == ']' || c == '=' || byte < 0x20 || byte == 0x7F) {
            return FillPlaceholders(
                LookUp(lookup,
                       PICTOR_TRANSLATE_NOOP("Core",
                                             "The model name \"%1\" cannot be used: it must not "
                                             "hold [, ], = or control characters.")),
                {std::string(trimmed)});
        }
    }
    return std::nullopt;
}

std::string CleanModelName(std::string_view name) {
    return std::string(TrimBlanks(name));
}

bool SaveProfileKeys(ProfileFile& file, int modelCount, int selectedIndex,
                     const ModelProfile& profile) {
    if (ModelNameProblem(profile.modelName) ||
        CleanModelName(profile.modelName) != profile.modelName) {
        return false;
    }
    file.WriteInt(kCommon, "MODEL_COUNT", modelCount);
    file.WriteInt(kCommon, "CURRENT_MODE", selectedIndex);
    file.WriteString(kCommon, "MODEL_NAME" + std::to_string(selectedIndex), profile.modelName);
    file.WriteString(kCommon, "EXT_EDIT_EXE", profile.extEditExe);
    WriteModelSection(file, profile.modelName, profile);
    return true;
}

void WriteConfirmation(ProfileFile& file, int selectedIndex, const std::string& lcdSizeText) {
    file.WriteInt(kCommon, "CURRENT_MODE", selectedIndex);
    file.WriteString(kCommon, "LCD_TYPE", lcdSizeText);
}

void FinishProfile(ModelProfile& profile, const std::string& lcdSizeText) {
    const PanelSize panel = PanelSizeFromLcdType(lcdSizeText);
    profile.panelWidth = panel.width;
    profile.panelHeight = panel.height;
    profile.pixelsPerByte = PixelsPerByte(profile.colorDepth);
}

StartupProfile ConfirmStartupProfile(ProfileFile& file, WriteBack writeBack,
                                     std::optional<int> modelIndex) {
    StartupProfile startup;
    startup.settingsFound = file.Exists();
    // Both texts are written back by the OK, so they are read whole.
    startup.lcdSizeText = file.GetString(kCommon, "LCD_TYPE", "", ProfileFile::kWholeValue);
    const int count = Clamp(file.GetInt(kCommon, "MODEL_COUNT", 0), 0, kMaxModels);
    for (int i = 0; i < count; ++i) {
        startup.models.push_back(file.GetString(kCommon, "MODEL_NAME" + std::to_string(i),
                                                "Load Error", ProfileFile::kWholeValue));
    }
    startup.currentIndex = modelIndex.value_or(file.GetInt(kCommon, "CURRENT_MODE", 0));
    startup.confirmable = startup.currentIndex >= 0 && startup.currentIndex < count;
    if (!startup.confirmable) {
        return startup;
    }

    const std::string& name = startup.models[static_cast<std::size_t>(startup.currentIndex)];
    ModelProfile profile = LoadModelProfile(file, name, startup.lcdSizeText);
    ProfileForm form;
    ShowProfile(profile, form);
    form.lcdSizeText = startup.lcdSizeText;
    // The values travel through the form's controls and back, and the list
    // mappings decide what is collected and written.
    const ProfileForm shown = ReadBackThroughControls(form);
    CollectProfile(shown, name, profile, file, writeBack);
    if (writeBack == WriteBack::Yes) {
        SaveProfileKeys(file, count, startup.currentIndex, profile);
        WriteConfirmation(file, startup.currentIndex, shown.lcdSizeText);
    }
    startup.lcdSizeText = shown.lcdSizeText;
    FinishProfile(profile, shown.lcdSizeText);
    startup.profile = std::move(profile);
    return startup;
}

std::optional<int> FindModel(const std::vector<std::string>& models, const std::string& name) {
    for (std::size_t i = 0; i < models.size(); ++i) {
        if (models[i] == name) {
            return static_cast<int>(i);
        }
    }
    for (std::size_t i = 0; i < models.size(); ++i) {
        if (models[i].size() == name.size() && StartsWithIgnoringAsciiCase(models[i], name)) {
            return static_cast<int>(i);
        }
    }
    return std::nullopt;
}

}  // namespace pictor::settings
