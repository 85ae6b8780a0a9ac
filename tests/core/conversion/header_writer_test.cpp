#include "core/conversion/header_writer.h"

#include <gtest/gtest.h>
#include <stdlib.h>

#include "conversion_test_support.h"
#include "support/platform.h"

namespace pictor::conversion {
namespace {

using namespace testing;  // NOLINT: test helpers

std::tm At(int year, int month, int day, int hour, int minute, int second) {
    std::tm time{};
    time.tm_year = year - 1900;
    time.tm_mon = month - 1;
    time.tm_mday = day;
    time.tm_hour = hour;
    time.tm_min = minute;
    time.tm_sec = second;
    return time;
}

TEST(HeaderWriter, GenerationTimeUsesTwelveHourClock) {
    const struct {
        std::tm time;
        const char* expected;
    } cases[] = {
        {At(2016, 9, 17, 15, 4, 5), "\r\n// Generation Time: 2016/09/17  PM 03:04:05   \r\n\r\n"},
        {At(2001, 1, 2, 0, 7, 9), "\r\n// Generation Time: 2001/01/02  AM 12:07:09   \r\n\r\n"},
        {At(2030, 12, 31, 12, 0, 0), "\r\n// Generation Time: 2030/12/31  PM 12:00:00   \r\n\r\n"},
        {At(2030, 12, 31, 11, 59, 59),
         "\r\n// Generation Time: 2030/12/31  AM 11:59:59   \r\n\r\n"},
    };
    for (const auto& c : cases) {
        std::string out;
        WriteGenerationTime(out, c.time);
        EXPECT_EQ(out, c.expected);
    }
}

TEST(HeaderWriter, SourceDateEpochFixesTheTimeInUtc) {
    pictor::test::SetEnvironment("SOURCE_DATE_EPOCH", "1474124645");
    std::string out;
    WriteGenerationTime(out, GenerationTime());
    pictor::test::UnsetEnvironment("SOURCE_DATE_EPOCH");
    EXPECT_EQ(out, "\r\n// Generation Time: 2016/09/17  PM 03:04:05   \r\n\r\n");
}

TEST(HeaderWriter, SymbolUpperCasesOnlyAsciiLetters) {
    EXPECT_EQ(SymbolName("my-icon 2"), "MY-ICON 2");
    EXPECT_EQ(SymbolName("Run_01"), "RUN_01");
    EXPECT_EQ(SymbolName("图标a"), "图标A");
}

TEST(HeaderWriter, OrderNumberInLowerCaseHex) {
    std::string out;
    WriteOrderNumberLine(out, "LOGO", 0);
    WriteOrderNumberLine(out, "A", 10);
    WriteOrderNumberLine(out, "B", 15);
    WriteOrderNumberLine(out, "C", 16);
    WriteOrderNumberLine(out, "D", 256);
    EXPECT_EQ(out,
              "\r\n#define LOGO  0x0\r\n#define A  0xa\r\n#define B  0xf\r\n#define C  0x10"
              "\r\n#define D  0x100");
}

TEST(HeaderWriter, SizeDefinesCountPartialBytesAsWhole) {
    const struct {
        settings::ModelProfile profile;
        int width;
        int height;
        const char* expected;
    } cases[] = {
        {GreyProfile(1, 0), 10, 12, "\r\n#define P_H  12\r\n#define P_W  2"},
        {GreyProfile(1, 1), 10, 12, "\r\n#define P_H  2\r\n#define P_W  10"},
        {GreyProfile(2, 0), 9, 3, "\r\n#define P_H  3\r\n#define P_W  3"},
        {GreyProfile(4, 1), 9, 3, "\r\n#define P_H  2\r\n#define P_W  9"},
        {GreyProfile(8, 0), 9, 3, "\r\n#define P_H  3\r\n#define P_W  9"},
        {ColourProfile(0), 64, 32, "\r\n#define P_H  32\r\n#define P_W  64"},
    };
    for (const auto& c : cases) {
        std::string out;
        WriteSizeDefines(out, "P", c.profile, c.width, c.height);
        EXPECT_EQ(out, c.expected);
    }
}

TEST(HeaderWriter, PositionDefinesTopFirstWithSign) {
    std::string out;
    WritePositionDefines(out, "LOGO", -8, 300);
    EXPECT_EQ(out, "\r\n#define LOGO_T  300\r\n#define LOGO_L  -8");
}

TEST(HeaderWriter, CSourcePieces) {
    std::string out;
    WriteArrayOpening(out, "LOGO");
    WriteSizePrefixText(out, {2, 300});
    WriteArrayClosing(out);
    WriteClosingLines(out);
    EXPECT_EQ(out, "\r\n\r\n CBYTE LOGO[] ={  \r\n2,44,\r\n0,\r\n1,\r\n } \r\n\r\n\r\n");
}

}  // namespace
}  // namespace pictor::conversion
