#include <gtest/gtest.h>

#include <string_view>

#include "core/device/crc16.h"
#include "core/device/device_frames.h"
#include "fake_module.h"

namespace pictor::device {
namespace {

using test::Bytes;

template <std::size_t N>
Bytes ToBytes(const std::array<std::uint8_t, N>& frame) {
    return Bytes(frame.begin(), frame.end());
}

TEST(DeviceFrames, EveryFrameByteForByte) {
    struct Case {
        const char* name;
        Bytes actual;
        Bytes expected;
    };
    const Case cases[] = {
        {"connect with magic", ToBytes(ConnectFrame(true)), {0xAA, 0x04, 0x90, 0x55, 0xAA}},
        {"connect without magic", ToBytes(ConnectFrame(false)), {0xAA, 0x04, 0x90, 0x00, 0x00}},
        {"erase block 32", ToBytes(EraseBlockFrame(32)), {0xAA, 0x03, 0x91, 0x20}},
        {"first mode-2 chunk at 2 MiB",
         ToBytes(WriteSectorFrame(4096, 512, true)),
         {0xAA, 0x08, 0x94, 0x00, 0x00, 0x10, 0x00, 0x02, 0x02}},
        {"second mode-2 chunk",
         ToBytes(WriteSectorFrame(4097, 512, true)),
         {0xAA, 0x08, 0x94, 0x00, 0x00, 0x10, 0x01, 0x02, 0x02}},
        {"mode-1 chunk",
         ToBytes(WriteSectorFrame(2048, 512, false)),
         {0xAA, 0x08, 0x94, 0x00, 0x00, 0x08, 0x00, 0x02, 0x00}},
        {"sector number big-endian",
         ToBytes(WriteSectorFrame(0x01020304, 512, false)),
         {0xAA, 0x08, 0x94, 0x01, 0x02, 0x03, 0x04, 0x02, 0x00}},
        {"first read-back at 2 MiB",
         ToBytes(ReadSectorFrame(4096, 512)),
         {0xAA, 0x08, 0x95, 0x00, 0x00, 0x10, 0x00, 0x02, 0x00}},
        {"settings write with the defaults",
         ToBytes(WriteSettingsFrame(LcdSettings{})),
         {0xAA, 0x08, 0x96, 0xFF, 0x03, 0x05, 0x04, 0x01, 0xED}},
        {"settings write",
         ToBytes(WriteSettingsFrame(LcdSettings{1, 6, 9, 0, 5})),
         {0xAA, 0x08, 0x96, 0x01, 0x06, 0x09, 0x00, 0x05, 0xED}},
        {"settings read", ToBytes(ReadSettingsFrame()), {0xAA, 0x03, 0x97, 0xED}},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(c.actual, c.expected) << c.name;
    }
}

TEST(DeviceFrames, Crc16CheckValues) {
    auto crcOf = [](std::string_view text) {
        return Crc16(std::span(reinterpret_cast<const std::uint8_t*>(text.data()), text.size()));
    };
    EXPECT_EQ(crcOf("123456789"), 0x31C3);
    EXPECT_EQ(crcOf("abc"), 0x9DD6);
    EXPECT_EQ(crcOf(""), 0);
    // A single 0x01 byte: the polynomial itself.
    EXPECT_EQ(crcOf("\x01"), 0x1021);
}

}  // namespace
}  // namespace pictor::device
