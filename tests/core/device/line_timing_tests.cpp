#include <gtest/gtest.h>

#include "core/device/line_timing.h"

namespace pictor::device {
namespace {

using std::chrono::milliseconds;

TEST(LineTimingTest, ReplyTimeoutIsTwoSecondsPlusTwiceTheLineTime) {
    struct Case {
        std::size_t bytes;
        int baud;
        milliseconds expected;
    };
    // Line time = bytes x 10 bits / baud; twice that, rounded up to whole ms.
    const Case cases[] = {
        {514, 256000, milliseconds(2041)},  // 20.078 ms -> 40.16 -> 41
        {2, 9600, milliseconds(2005)},      // 2.083 ms -> 4.17 -> 5
        {512, 115200, milliseconds(2089)},  // 44.44 ms -> 88.89 -> 89
        {514, 1200, milliseconds(10567)},   // 4283.3 ms -> 8566.7 -> 8567
        {9, 9600, milliseconds(2019)},      // 9.375 ms -> 18.75 -> 19
        {0, 9600, milliseconds(2000)},     {512, 0, milliseconds(2000)},
        {512, -1, milliseconds(2000)},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(ReplyTimeout(c.bytes, c.baud), c.expected) << c.bytes << " bytes @ " << c.baud;
    }
}

TEST(LineTimingTest, LineTimeIsTenBitsPerByte) {
    EXPECT_EQ(LineTime(25600, 256000), std::chrono::seconds(1));
    EXPECT_EQ(LineTime(3, 1200), std::chrono::milliseconds(25));
}

}  // namespace
}  // namespace pictor::device
