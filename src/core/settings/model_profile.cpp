#include "core/settings/model_profile.h"

#include <algorithm>

#include "core/common/ascii_text.h"

namespace pictor::settings {

namespace {

constexpr std::string_view kCommon = "COMMON";

// "BKCOLOR" is stored as unsigned decimal text; a leading minus wraps as the
// C runtime's unsigned conversion does.
std::uint32_t ParseColorValue(std::string_view text) {
    const LeadingNumber number = ParseLeadingNumber(text);
    const auto magnitude =
        static_cast<std::uint32_t>(std::min<std::uint64_t>(number.magnitude, 0xFFFFFFFFULL));
    return number.negative ? 0U - magnitude : magnitude;
}

int Flag(int value) {
    return value != 0 ? 1 : 0;
}

}  // namespace

PanelSize PanelSizeFromLcdType(std::string_view lcdType) {
    switch (ParseLeadingInt(lcdType)) {
        case 220:
            return {220, 176};
        case 272:
            return {480, 272};
        case 400:
            return {400, 240};
        case 480:
            return {480, 320};
        default:
            return {320, 240};
    }
}

int PixelsPerByte(int colorDepth) {
    return colorDepth > 0 && colorDepth < 8 ? 8 / colorDepth : 1;
}

bool IsSupportedDepth(int colorDepth) {
    switch (colorDepth) {
        case 1:
        case 2:
        case 4:
        case 8:
        case 16:
        case 24:
            return true;
        default:
            return false;
    }
}

ModelProfile LoadModelProfile(const ProfileFile& file, const std::string& sectionName,
                              std::string_view lcdType) {
    ModelProfile profile;
    profile.modelName = sectionName;
    profile.settingsPath = file.Path();
    profile.colorDepth = file.GetInt(sectionName, "COLOR_DEPTH", 1);
    profile.colorType = file.GetInt(sectionName, "COLOR_TYPE", 0);
    profile.convertDirection = file.GetInt(sectionName, "CONVERT_DIRECTION", 0);
    const PanelSize panel = PanelSizeFromLcdType(lcdType);
    profile.panelWidth = panel.width;
    profile.panelHeight = panel.height;
    profile.outDataType = file.GetInt(sectionName, "OUT_DATA_TYPE", 0);
    profile.saveWidthHeightToDefine =
        Flag(file.GetInt(sectionName, "SAVE_WIDTH_HEIGHT_TO_DEFINE", 0));
    profile.saveLeftTopToDefine = Flag(file.GetInt(sectionName, "SAVE_LEFT_TOP_TO_DEFINE", 0));
    profile.minAllocateSize = file.GetInt(sectionName, "MIN_ALLOCATE_SIZE", 1);
    profile.blockColNum = file.GetInt(sectionName, "BLOCK_COL_NUM", 0);
    profile.avoidAcrossSector = Flag(file.GetInt(sectionName, "AVOID_ACROSS_SECTOR", 0));
    profile.saveWidthHeightToBin = Flag(file.GetInt(sectionName, "SAVE_WIDTH_HEIGHT_TO_BIN", 0));
    profile.bkColor = ParseColorValue(file.GetString(sectionName, "BKCOLOR", "0"));
    profile.dither = file.GetInt(sectionName, "DITHER", 0);  // absent in older files: none
    // A path, written back by the next Save: read whole.
    profile.extEditExe =
        file.GetString(kCommon, "EXT_EDIT_EXE", "Error load", ProfileFile::kWholeValue);
    return profile;
}

bool LoadColorLevels(ModelProfile& profile, ProfileFile& file, WriteBack writeBack) {
    const int depth = profile.colorDepth;
    if (depth != 1 && depth != 2 && depth != 4 && depth != 8) {
        return false;
    }
    const std::string section = "ColorLevel" + std::to_string(depth);
    const int codes = 1 << depth;
    bool complete = true;
    for (int k = 0; k < codes; ++k) {
        const int level = file.GetInt(section, "CL" + std::to_string(k), 256);
        if (level >= 256) {
            complete = false;
            break;
        }
        profile.colorLevels[static_cast<std::size_t>(k)] = static_cast<std::uint8_t>(level);
    }
    if (complete) {
        return false;
    }
    // Regenerate the standard table: code j starts at j * 2^(8 - depth).
    for (int j = 0; j < codes; ++j) {
        const auto level = static_cast<std::uint8_t>((j << (8 - depth)) & 0xFF);
        profile.colorLevels[static_cast<std::size_t>(j)] = level;
        if (writeBack == WriteBack::Yes) {
            file.WriteInt(section, "CL" + std::to_string(j), level);
        }
    }
    return true;
}

ChannelLayout ChannelLayoutFor(int colorType) {
    switch (colorType) {
        case 0:  // "BGR_565": red in bits 0-4, blue in bits 11-15
            return {0, 5, 11, 5, 6, 5, 0x001F, 0x07E0, 0xF800};
        case 1:  // "RGB_565": red in bits 11-15, blue in bits 0-4
            return {11, 5, 0, 5, 6, 5, 0xF800, 0x07E0, 0x001F};
        default:
            return {};
    }
}

void SetChannelLayout(ModelProfile& profile) {
    if (profile.colorDepth != 16 || (profile.colorType != 0 && profile.colorType != 1)) {
        return;
    }
    profile.channelLayout = ChannelLayoutFor(profile.colorType);
}

void WriteModelSection(ProfileFile& file, const std::string& sectionName,
                       const ModelProfile& profile) {
    file.WriteInt(sectionName, "COLOR_DEPTH", profile.colorDepth);
    file.WriteInt(sectionName, "CONVERT_DIRECTION", profile.convertDirection);
    file.WriteInt(sectionName, "COLOR_TYPE", profile.colorType);
    file.WriteInt(sectionName, "PANEL_WIDTH", profile.panelWidth);
    file.WriteInt(sectionName, "PANEL_HEIGHT", profile.panelHeight);
    file.WriteInt(sectionName, "OUT_DATA_TYPE", profile.outDataType);
    file.WriteInt(sectionName, "SAVE_WIDTH_HEIGHT_TO_DEFINE",
                  Flag(profile.saveWidthHeightToDefine));
    file.WriteInt(sectionName, "SAVE_LEFT_TOP_TO_DEFINE", Flag(profile.saveLeftTopToDefine));
    file.WriteInt(sectionName, "SAVE_WIDTH_HEIGHT_TO_BIN", Flag(profile.saveWidthHeightToBin));
    file.WriteString(sectionName, "BKCOLOR", std::to_string(profile.bkColor));
    file.WriteInt(sectionName, "MIN_ALLOCATE_SIZE", profile.minAllocateSize);
    file.WriteInt(sectionName, "BLOCK_COL_NUM", profile.blockColNum);
    file.WriteInt(sectionName, "AVOID_ACROSS_SECTOR", Flag(profile.avoidAcrossSector));
    file.WriteInt(sectionName, "DITHER", profile.dither);
}

}  // namespace pictor::settings
