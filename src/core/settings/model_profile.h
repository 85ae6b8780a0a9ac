#pragma once

#include <array>
#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>

#include "core/settings/profile_file.h"

namespace pictor::settings {

/// Where the three colour channels sit in a 16-bit pixel word.
struct ChannelLayout {
    int redShift = 0;
    int greenShift = 0;
    int blueShift = 0;
    int redBits = 0;
    int greenBits = 0;
    int blueBits = 0;
    std::uint16_t redMask = 0;
    std::uint16_t greenMask = 0;
    std::uint16_t blueMask = 0;

    friend bool operator==(const ChannelLayout&, const ChannelLayout&) = default;
};

/// The active model's conversion options. Which of `colorLevels` and
/// `channelLayout` is meaningful follows from `colorDepth` (1..8: levels; 16: layout).
struct ModelProfile {
    std::string modelName;
    std::filesystem::path settingsPath;
    int colorDepth = 1;        // bits per pixel: 1, 2, 4, 8, 16 or 24
    int colorType = 0;         // index in the colour-type list of the depth
    int convertDirection = 0;  // 0 = horizontal first, 1 = vertical first
    int pixelsPerByte = 8;     // derived: 8 / depth below 8, else 1
    int panelWidth = 320;      // derived from "LCD_TYPE"
    int panelHeight = 240;
    int outDataType = 0;                          // 0 = Icon.bin + Icon.h, 1 = C source + Icon.h
    std::array<std::uint8_t, 256> colorLevels{};  // entry k = lowest grey of code k
    ChannelLayout channelLayout{};
    int saveWidthHeightToDefine = 0;
    int saveLeftTopToDefine = 0;
    int minAllocateSize = 1;  // bytes, a power of two 1..4096
    int avoidAcrossSector = 0;
    int saveWidthHeightToBin = 0;
    std::string extEditExe;
    std::uint32_t bkColor = 0;  // Windows RGB value: red in the low byte
    int blockColNum = 0;        // 0 = "MAX", else a multiple of 8 up to 104
    int dither = 0;             // "DITHER": 0 none, 1 ordered (Bayer 8x8), 2 Floyd-Steinberg

    friend bool operator==(const ModelProfile&, const ModelProfile&) = default;
};

/// Whether an operation that may repair the settings writes its repair back.
enum class WriteBack { Yes, No };

struct PanelSize {
    int width = 320;
    int height = 240;
    friend bool operator==(const PanelSize&, const PanelSize&) = default;
};

/// Panel size from the leading decimal number of an "LCD_TYPE" text
/// (220 → 220x176, 272 → 480x272, 400 → 400x240, 480 → 480x320, else 320x240).
PanelSize PanelSizeFromLcdType(std::string_view lcdType);

/// 8 / depth for depths below 8 (integer division), else 1.
int PixelsPerByte(int colorDepth);

/// True for the depths a profile may hold: 1, 2, 4, 8, 16, 24.
bool IsSupportedDepth(int colorDepth);

/// Reads the model section `sectionName` (and "EXT_EDIT_EXE" of "COMMON") into a
/// profile; the panel size comes from `lcdType`. Levels, channel layout and
/// `pixelsPerByte` are not set here (see `CompleteProfile`).
ModelProfile LoadModelProfile(const ProfileFile& file, const std::string& sectionName,
                              std::string_view lcdType);

/// Fills `colorLevels` from "ColorLevel<depth>" for depths 1, 2, 4 and 8. When a
/// key is missing or above 255 the whole table is regenerated (code j gets
/// j * 2^(8 - depth)) and, with `WriteBack::Yes`, written out. Returns true when
/// the table was regenerated. Other depths leave the table untouched.
bool LoadColorLevels(ModelProfile& profile, ProfileFile& file, WriteBack writeBack);

/// Sets `channelLayout` for depth 16 from `colorType` (0 "BGR_565", 1 "RGB_565");
/// any other type or depth leaves it as it was.
void SetChannelLayout(ModelProfile& profile);

/// The standard channel layout of a 16-bit colour type, or a zero layout.
ChannelLayout ChannelLayoutFor(int colorType);

/// Writes the fourteen keys of the model section, in their fixed order ("DITHER"
/// last, also when 0, where older files without it mean the same).
void WriteModelSection(ProfileFile& file, const std::string& sectionName,
                       const ModelProfile& profile);

}  // namespace pictor::settings
