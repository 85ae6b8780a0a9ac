#include "core/settings/startup_profile.h"

#include <gtest/gtest.h>

#include <utility>

#include "core/settings/scom_settings.h"
#include "support/temp_dir.h"

namespace pictor::settings {
namespace {

using test::ReadFile;
using test::TempDir;
using test::WriteFile;

class StartupProfileTest : public ::testing::Test {
  protected:
    TempDir dir;
    std::filesystem::path path = dir / "Pictor.ini";
    ProfileFile file{path};
};

TEST_F(StartupProfileTest, NoSettingsFileCannotBeConfirmedAndCreatesNothing) {
    const StartupProfile startup = ConfirmStartupProfile(file, WriteBack::Yes);
    EXPECT_FALSE(startup.settingsFound);
    EXPECT_TRUE(startup.models.empty());
    EXPECT_FALSE(startup.confirmable);
    EXPECT_FALSE(std::filesystem::exists(path));
}

TEST_F(StartupProfileTest, AnEmptySectionLoadsTheDefaultsAndOkWritesAllFourteenKeys) {
    WriteFile(path, "[COMMON]\nMODEL_COUNT=1\nMODEL_NAME0=Bare\n");
    const StartupProfile startup = ConfirmStartupProfile(file, WriteBack::Yes);
    ASSERT_TRUE(startup.confirmable);
    const ModelProfile& p = startup.profile;
    EXPECT_EQ(p.modelName, "Bare");
    EXPECT_EQ(p.colorDepth, 1);
    EXPECT_EQ(p.colorType, 0);
    EXPECT_EQ(p.convertDirection, 0);
    EXPECT_EQ(p.outDataType, 0);
    EXPECT_EQ(p.minAllocateSize, 1);
    EXPECT_EQ(p.blockColNum, 0);
    EXPECT_EQ(p.bkColor, 0U);
    EXPECT_EQ(p.pixelsPerByte, 8);
    EXPECT_EQ(p.extEditExe, "Error load");
    EXPECT_EQ(p.dither, 0);  // no "DITHER" key: none
    EXPECT_EQ(p.colorLevels[0], 0);
    EXPECT_EQ(p.colorLevels[1], 128);
    EXPECT_EQ(ReadFile(path),
              "[COMMON]\nMODEL_COUNT=1\nMODEL_NAME0=Bare\nCURRENT_MODE=0\nEXT_EDIT_EXE=Error load\n"
              "LCD_TYPE=\n"
              "[ColorLevel1]\nCL0=0\nCL1=128\n"
              "[Bare]\nCOLOR_DEPTH=1\nCONVERT_DIRECTION=0\nCOLOR_TYPE=0\nPANEL_WIDTH=320\n"
              "PANEL_HEIGHT=240\nOUT_DATA_TYPE=0\nSAVE_WIDTH_HEIGHT_TO_DEFINE=0\n"
              "SAVE_LEFT_TOP_TO_DEFINE=0\nSAVE_WIDTH_HEIGHT_TO_BIN=0\nBKCOLOR=0\n"
              "MIN_ALLOCATE_SIZE=1\nBLOCK_COL_NUM=0\nAVOID_ACROSS_SECTOR=0\nDITHER=0\n");
}

TEST_F(StartupProfileTest, TheCurrentOfTwoModelsIsLoadedAndWrittenBack) {
    WriteFile(path,
              "[COMMON]\nLCD_TYPE=480\nMODEL_COUNT=2\nMODEL_NAME0=Mono\nMODEL_NAME1=Colour\n"
              "CURRENT_MODE=1\nEXT_EDIT_EXE=/usr/bin/gimp\n"
              "[Colour]\nCOLOR_DEPTH=16\nCOLOR_TYPE=1\nCONVERT_DIRECTION=1\nMIN_ALLOCATE_SIZE=100\n"
              "BLOCK_COL_NUM=20\nBKCOLOR=16711680\nSAVE_WIDTH_HEIGHT_TO_BIN=5\nDITHER=2\n");
    const StartupProfile startup = ConfirmStartupProfile(file, WriteBack::Yes);
    ASSERT_TRUE(startup.confirmable);
    ASSERT_EQ(startup.models, (std::vector<std::string>{"Mono", "Colour"}));
    const ModelProfile& p = startup.profile;
    EXPECT_EQ(p.modelName, "Colour");
    EXPECT_EQ(p.colorDepth, 16);
    EXPECT_EQ(p.colorType, 1);
    EXPECT_EQ(p.channelLayout.redShift, 11);  // RGB_565: red in bits 11-15
    EXPECT_EQ(p.channelLayout.blueMask, 0x001F);
    EXPECT_EQ(p.convertDirection, 1);
    EXPECT_EQ(p.minAllocateSize, 64);  // 100 maps to the "64 Byte" entry
    EXPECT_EQ(p.blockColNum, 16);      // 20 maps to the "16" entry
    EXPECT_EQ(p.bkColor, 16711680U);   // pure blue
    EXPECT_EQ(p.saveWidthHeightToBin, 1);
    EXPECT_EQ(p.panelWidth, 480);
    EXPECT_EQ(p.panelHeight, 320);
    EXPECT_EQ(p.pixelsPerByte, 1);
    EXPECT_EQ(p.extEditExe, "/usr/bin/gimp");
    EXPECT_EQ(p.dither, 2);

    EXPECT_EQ(file.GetInt("COMMON", "MODEL_COUNT", 0), 2);
    EXPECT_EQ(file.GetInt("COMMON", "CURRENT_MODE", 0), 1);
    EXPECT_EQ(file.GetString("COMMON", "MODEL_NAME1", ""), "Colour");
    EXPECT_EQ(file.GetString("COMMON", "LCD_TYPE", ""), "480x320");  // prefix match
    EXPECT_EQ(file.GetInt("Colour", "MIN_ALLOCATE_SIZE", 0), 64);
    EXPECT_EQ(file.GetInt("Colour", "BLOCK_COL_NUM", 0), 16);
    EXPECT_EQ(file.GetString("Colour", "BKCOLOR", ""), "16711680");
    EXPECT_EQ(file.GetInt("Colour", "PANEL_WIDTH", 0), 480);
    EXPECT_EQ(file.GetInt("Colour", "DITHER", 0), 2);
    EXPECT_FALSE(file.GetString("ColorLevel1", "CL0", "none") != "none");
}

TEST_F(StartupProfileTest, WithoutWriteBackTheFileStaysByteForByte) {
    const std::string content =
        "[COMMON]\nMODEL_COUNT=1\nMODEL_NAME0=Grey\n[Grey]\nCOLOR_DEPTH=2\n"
        "[ColorLevel2]\nCL0=10\nCL1=20\n";
    WriteFile(path, content);
    const StartupProfile startup = ConfirmStartupProfile(file, WriteBack::No);
    ASSERT_TRUE(startup.confirmable);
    // An incomplete table is regenerated in memory only.
    EXPECT_EQ(startup.profile.colorLevels[0], 0);
    EXPECT_EQ(startup.profile.colorLevels[1], 64);
    EXPECT_EQ(startup.profile.colorLevels[2], 128);
    EXPECT_EQ(startup.profile.colorLevels[3], 192);
    EXPECT_EQ(ReadFile(path), content);
}

TEST_F(StartupProfileTest, CurrentModePointingAtNewOrOutsideIsNotConfirmable) {
    WriteFile(path, "[COMMON]\nMODEL_COUNT=1\nMODEL_NAME0=A\nCURRENT_MODE=1\n");
    EXPECT_FALSE(ConfirmStartupProfile(file, WriteBack::No).confirmable);
    EXPECT_FALSE(ConfirmStartupProfile(file, WriteBack::No, -1).confirmable);
    EXPECT_TRUE(ConfirmStartupProfile(file, WriteBack::No, 0).confirmable);
}

TEST_F(StartupProfileTest, AMissingModelNameReadsAsLoadError) {
    WriteFile(path, "[COMMON]\nMODEL_COUNT=1\n[Load Error]\nCOLOR_DEPTH=8\n");
    const StartupProfile startup = ConfirmStartupProfile(file, WriteBack::No);
    ASSERT_TRUE(startup.confirmable);
    EXPECT_EQ(startup.profile.modelName, "Load Error");
    EXPECT_EQ(startup.profile.colorDepth, 8);
    EXPECT_EQ(startup.profile.colorLevels[200], 200);
}

TEST(ColorLevels, AnIncompleteOrOutOfRangeTableIsRegeneratedAndWritten) {
    TempDir dir;
    ProfileFile file(dir / "Pictor.ini");
    WriteFile(file.Path(), "[ColorLevel2]\nCL0=5\nCL1=6\n");
    ModelProfile profile;
    profile.colorDepth = 2;
    EXPECT_TRUE(LoadColorLevels(profile, file, WriteBack::Yes));
    EXPECT_EQ(ReadFile(file.Path()), "[ColorLevel2]\nCL0=0\nCL1=64\nCL2=128\nCL3=192\n");

    WriteFile(file.Path(), "[ColorLevel1]\nCL0=7\nCL1=300\n");
    profile.colorDepth = 1;
    EXPECT_TRUE(LoadColorLevels(profile, file, WriteBack::Yes));
    EXPECT_EQ(profile.colorLevels[0], 0);
    EXPECT_EQ(profile.colorLevels[1], 128);

    WriteFile(file.Path(), "[ColorLevel1]\nCL0=7\nCL1=99\n");
    EXPECT_FALSE(LoadColorLevels(profile, file, WriteBack::Yes));
    EXPECT_EQ(profile.colorLevels[0], 7);
    EXPECT_EQ(profile.colorLevels[1], 99);

    profile.colorDepth = 4;  // no section at all: 0, 16, ... 240
    EXPECT_TRUE(LoadColorLevels(profile, file, WriteBack::No));
    EXPECT_EQ(profile.colorLevels[15], 240);
    EXPECT_EQ(file.GetString("ColorLevel4", "CL0", "none"), "none");
}

TEST(ProfileForm, ListMappingsFollowTheListPositions) {
    struct Case {
        int unit;
        int expectedUnit;
        int block;
        int expectedBlock;
    };
    for (const Case& c : {Case{1, 1, 0, 0}, Case{4096, 4096, 104, 104}, Case{100, 64, 20, 16},
                          Case{0, 1, -8, 0}, Case{9000, 4096, 200, 104}, Case{3, 2, 7, 0}}) {
        ModelProfile profile;
        profile.minAllocateSize = c.unit;
        profile.blockColNum = c.block;
        ProfileForm form;
        ShowProfile(profile, form);
        TempDir dir;
        ProfileFile file(dir / "none.ini");
        ModelProfile collected = profile;
        CollectProfile(ReadBackThroughControls(form), "m", collected, file, WriteBack::No);
        EXPECT_EQ(collected.minAllocateSize, c.expectedUnit) << c.unit;
        EXPECT_EQ(collected.blockColNum, c.expectedBlock) << c.block;
    }
}

TEST(ProfileForm, DitherModesShowAtTheirPositionsAndUnknownOnesAsNone) {
    EXPECT_EQ(DitherListTexts(), (std::vector<std::string>{"None", "Ordered", "Floyd–Steinberg"}));
    TempDir dir;
    ProfileFile file(dir / "none.ini");
    for (const auto& [stored, shown] : {std::pair{0, 0}, {1, 1}, {2, 2}, {3, 0}, {-1, 0}}) {
        ModelProfile profile;
        profile.dither = stored;
        ProfileForm form;
        ShowProfile(profile, form);
        EXPECT_EQ(form.ditherIndex, shown) << stored;
        CollectProfile(ReadBackThroughControls(form), "m", profile, file, WriteBack::No);
        EXPECT_EQ(profile.dither, shown) << stored;
    }
}

TEST(ProfileForm, ADepthOutsideTheListStaysAndColourTypesFollowTheDepth) {
    ModelProfile profile;
    profile.colorDepth = 3;
    profile.colorType = 1;
    ProfileForm form;
    ShowProfile(profile, form);
    EXPECT_EQ(form.depthIndex, -1);
    const ProfileForm back = ReadBackThroughControls(form);
    EXPECT_EQ(back.colorTypeIndex, -1);
    TempDir dir;
    ProfileFile file(dir / "none.ini");
    CollectProfile(back, "m", profile, file, WriteBack::No);
    EXPECT_EQ(profile.colorDepth, 3);
    EXPECT_EQ(profile.colorType, 0);

    EXPECT_EQ(ColorTypeListTexts(4), (std::vector<std::string>{"BGR_565", "RGB_565"}));
    EXPECT_EQ(ColorTypeListTexts(0), (std::vector<std::string>{"Level"}));
    EXPECT_EQ(ColorTypeListTexts(5), (std::vector<std::string>{"MASK"}));
}

TEST(PanelSize, TheLeadingNumberOfTheLcdTypeDecides) {
    EXPECT_EQ(PanelSizeFromLcdType("220x176"), (PanelSize{220, 176}));
    EXPECT_EQ(PanelSizeFromLcdType("272x480"), (PanelSize{480, 272}));
    EXPECT_EQ(PanelSizeFromLcdType("400x240"), (PanelSize{400, 240}));
    EXPECT_EQ(PanelSizeFromLcdType("480"), (PanelSize{480, 320}));
    EXPECT_EQ(PanelSizeFromLcdType(""), (PanelSize{320, 240}));
    EXPECT_EQ(PanelSizeFromLcdType("big"), (PanelSize{320, 240}));
    EXPECT_EQ(PixelsPerByte(1), 8);
    EXPECT_EQ(PixelsPerByte(2), 4);
    EXPECT_EQ(PixelsPerByte(4), 2);
    EXPECT_EQ(PixelsPerByte(16), 1);
}

TEST(ScomSettings, StartUpValuesDeriveFromTheScomKeys) {
    TempDir dir;
    ProfileFile file(dir / "Pictor.ini");
    EXPECT_EQ(ReadScomSettings(file), (ScomSettings{"COM1", "256000", "64Mbit", 8, 4096}));

    WriteFile(file.Path(), "[Scom]\nCOM=\nBIT=115200\nFLASH_TYPE=16Mbit\nDOWNLOAD_TYPE=100\n");
    EXPECT_EQ(ReadScomSettings(file), (ScomSettings{"COM1", "115200", "16Mbit", 8, 0}));
    EXPECT_EQ(FlashSizeCodeForPickedType("16Mbit"), 2);

    WriteFile(file.Path(), "[Scom]\nFLASH_TYPE=256Mbit\nDOWNLOAD_TYPE=1\n");
    EXPECT_EQ(ReadScomSettings(file).flashSizeCode, 32);
    EXPECT_EQ(ReadScomSettings(file).imageStartSector, 12288U);

    WriteFile(file.Path(), "[Scom]\nFLASH_TYPE=128Mbit\n");
    EXPECT_EQ(ReadScomSettings(file).flashSizeCode, 16);
    EXPECT_EQ(ReadScomSettings(file).imageStartSector, 4096U);

    WriteFile(file.Path(), "[Scom]\nFLASH_TYPE=32Mbit\nDOWNLOAD_TYPE=7\n");
    EXPECT_EQ(ReadScomSettings(file).imageStartSector, 4096U);
    EXPECT_EQ(FlashSizeCodeForPickedType("128Mbit"), 16);
    EXPECT_EQ(FlashSizeCodeForPickedType("256Mbit"), 32);
    EXPECT_EQ(FlashSizeCodeForPickedType("32Mbit"), 8);
}

}  // namespace
}  // namespace pictor::settings

namespace pictor::settings {
namespace {

TEST_F(StartupProfileTest, EveryModelKeyIsReadUnderItsOwnName) {
    // Each key holds a value unlike its default, so a key read under a wrong
    // name gives itself away.
    WriteFile(path,
              "[COMMON]\nEXT_EDIT_EXE=/opt/paint\n"
              "[M]\nCOLOR_DEPTH=16\nCOLOR_TYPE=1\nCONVERT_DIRECTION=1\nOUT_DATA_TYPE=1\n"
              "SAVE_WIDTH_HEIGHT_TO_DEFINE=1\nSAVE_LEFT_TOP_TO_DEFINE=1\nMIN_ALLOCATE_SIZE=512\n"
              "BLOCK_COL_NUM=24\nAVOID_ACROSS_SECTOR=1\nSAVE_WIDTH_HEIGHT_TO_BIN=1\n"
              "BKCOLOR=65280\nDITHER=1\n");
    const ModelProfile p = LoadModelProfile(file, "M", "400x240");
    EXPECT_EQ(p.colorDepth, 16);
    EXPECT_EQ(p.colorType, 1);
    EXPECT_EQ(p.convertDirection, 1);
    EXPECT_EQ(p.outDataType, 1);
    EXPECT_EQ(p.saveWidthHeightToDefine, 1);
    EXPECT_EQ(p.saveLeftTopToDefine, 1);
    EXPECT_EQ(p.minAllocateSize, 512);
    EXPECT_EQ(p.blockColNum, 24);
    EXPECT_EQ(p.avoidAcrossSector, 1);
    EXPECT_EQ(p.saveWidthHeightToBin, 1);
    EXPECT_EQ(p.bkColor, 65280U);
    EXPECT_EQ(p.extEditExe, "/opt/paint");
    EXPECT_EQ(p.panelWidth, 400);
    EXPECT_EQ(p.dither, 1);
}

TEST_F(StartupProfileTest, EveryModelKeyIsWrittenUnderItsOwnName) {
    ModelProfile p;
    p.colorDepth = 4;
    p.convertDirection = 1;
    p.colorType = 2;
    p.panelWidth = 220;
    p.panelHeight = 176;
    p.outDataType = 1;
    p.saveWidthHeightToDefine = 7;  // flags are written as 1
    p.saveLeftTopToDefine = 0;
    p.saveWidthHeightToBin = 1;
    p.bkColor = 0xFFFFFFFFU;
    p.minAllocateSize = 32;
    p.blockColNum = 40;
    p.avoidAcrossSector = 1;
    p.dither = 2;
    WriteModelSection(file, "Grey", p);
    EXPECT_EQ(ReadFile(path),
              "[Grey]\nCOLOR_DEPTH=4\nCONVERT_DIRECTION=1\nCOLOR_TYPE=2\nPANEL_WIDTH=220\n"
              "PANEL_HEIGHT=176\nOUT_DATA_TYPE=1\nSAVE_WIDTH_HEIGHT_TO_DEFINE=1\n"
              "SAVE_LEFT_TOP_TO_DEFINE=0\nSAVE_WIDTH_HEIGHT_TO_BIN=1\nBKCOLOR=4294967295\n"
              "MIN_ALLOCATE_SIZE=32\nBLOCK_COL_NUM=40\nAVOID_ACROSS_SECTOR=1\nDITHER=2\n");
}

TEST_F(StartupProfileTest, ModelNamesTheFileCannotGiveBackAreRefused) {
    EXPECT_FALSE(ModelNameProblem("Colour 2"));
    EXPECT_FALSE(ModelNameProblem("  Colour "));  // the blanks are removed on Save
    EXPECT_EQ(CleanModelName("  Colour "), "Colour");
    for (const char* bad : {"", "   ", "A]B", "[A", "A=B", "A\tB", "A\nB", "A\x7f"}) {
        const auto problem = ModelNameProblem(bad);
        ASSERT_TRUE(problem) << bad;
        EXPECT_NE(problem->find("model name"), std::string::npos);
    }

    ModelProfile p;
    p.modelName = "A]B";
    EXPECT_FALSE(SaveProfileKeys(file, 1, 0, p));
    p.modelName = " Colour";
    EXPECT_FALSE(SaveProfileKeys(file, 1, 0, p));
    EXPECT_FALSE(std::filesystem::exists(path));

    // A clean name round-trips: Save, then the start-up loads what was saved.
    p.modelName = "Colour";
    p.colorDepth = 8;
    ASSERT_TRUE(SaveProfileKeys(file, 1, 0, p));
    const StartupProfile startup = ConfirmStartupProfile(file, WriteBack::No);
    ASSERT_TRUE(startup.confirmable);
    EXPECT_EQ(startup.profile.modelName, "Colour");
    EXPECT_EQ(startup.profile.colorDepth, 8);
}

TEST_F(StartupProfileTest, PathsAndWrittenBackTextsAreReadWhole) {
    const std::string port =
        "/dev/serial/by-id/usb-Example_Serial_Bridge_Controller_0123456789abcdef-"
        "if00-port0-with-a-long-tail-xxxxxxxxxxxxxx";
    ASSERT_GT(port.size(), 99U);
    const std::string editor = "/opt/" + std::string(1500, 'e') + "/paint";
    const std::string model(1100, 'M');
    WriteFile(path, "[Scom]\nCOM=" + port + "\nBIT=115200\n[COMMON]\nMODEL_COUNT=1\nMODEL_NAME0=" +
                        model + "\nEXT_EDIT_EXE=" + editor + "\n[" + model + "]\nCOLOR_DEPTH=2\n");
    EXPECT_EQ(ReadScomSettings(file).portText, port);
    const StartupProfile startup = ConfirmStartupProfile(file, WriteBack::No);
    ASSERT_EQ(startup.models, std::vector<std::string>{model});
    EXPECT_EQ(startup.profile.extEditExe, editor);
    EXPECT_EQ(startup.profile.colorDepth, 2);
}

TEST(FindModel, ExactNamesWinAndAPrefixIsNoMatch) {
    const std::vector<std::string> models = {"Colour", "colour", "Colour 2", "Mono"};
    EXPECT_EQ(FindModel(models, "colour"), 1);
    EXPECT_EQ(FindModel(models, "COLOUR"), 0);  // case-insensitive: the first one
    EXPECT_EQ(FindModel(models, "Colour 2"), 2);
    EXPECT_EQ(FindModel({"Colour 2"}, "Colour"), std::nullopt);
    EXPECT_EQ(FindModel({"Mono"}, "Mon"), std::nullopt);
    EXPECT_EQ(FindModel({"Mono"}, "Mono "), std::nullopt);
}

}  // namespace
}  // namespace pictor::settings
