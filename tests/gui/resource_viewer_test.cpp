#include "gui/resource_viewer.h"

#include <gtest/gtest.h>

#include <QBuffer>
#include <QColor>

namespace pictor::gui {
namespace {

// RGB 565: red in bits 11-15, green in 5-10, blue in 0-4.
settings::ChannelLayout Rgb565() {
    settings::ChannelLayout layout;
    layout.redShift = 11;
    layout.greenShift = 5;
    layout.blueShift = 0;
    layout.redBits = 5;
    layout.greenBits = 6;
    layout.blueBits = 5;
    layout.redMask = 0xF800;
    layout.greenMask = 0x07E0;
    layout.blueMask = 0x001F;
    return layout;
}

// A 2 x 2 picture: red, green / blue, white, as big-endian words.
const QByteArray kPixels = QByteArray::fromHex(
    "F800"
    "07E0"
    "001F"
    "FFFF");

TEST(ResourceViewerTest, DecodesWordsRowByRowAtTheBlockStart) {
    const struct {
        const char* name;
        QByteArray block;  // what precedes the pixels within the block
        int unit;
        bool prefix;
    } cases[] = {
        {"no prefix", {}, 1, false},
        {"prefix padded to 6 bytes", QByteArray::fromHex("0202000000 00"), 4, true},
        {"prefix padded to the unit", QByteArray::fromHex("02020000") + QByteArray(12, '\0'), 16,
         true},
    };
    for (const auto& c : cases) {
        // One allocation unit of filler before the block: address 1.
        QByteArray data = QByteArray(c.unit, '\x55') + c.block + kPixels;
        QBuffer buffer(&data);
        buffer.open(QIODevice::ReadOnly);
        ViewerRequest request;
        request.address = 1;
        request.minAllocateSize = c.unit;
        request.rows = c.prefix ? 9 : 2;  // the prefix wins over the fields
        request.columns = c.prefix ? 9 : 2;
        request.sizePrefix = c.prefix;
        request.layout = Rgb565();
        const QImage image = DecodeResourcePicture(buffer, request);
        ASSERT_EQ(image.size(), QSize(2, 2)) << c.name;
        EXPECT_EQ(image.pixelColor(0, 0), QColor(0xF8, 0, 0)) << c.name;
        EXPECT_EQ(image.pixelColor(1, 0), QColor(0, 0xFC, 0)) << c.name;
        EXPECT_EQ(image.pixelColor(0, 1), QColor(0, 0, 0xF8)) << c.name;
        EXPECT_EQ(image.pixelColor(1, 1), QColor(0xF8, 0xFC, 0xF8)) << c.name;
    }
}

TEST(ResourceViewerTest, StopsAtTheEndOfTheFile) {
    QByteArray data = kPixels.left(6);  // three words of a 2 x 4 picture
    QBuffer buffer(&data);
    buffer.open(QIODevice::ReadOnly);
    ViewerRequest request;
    request.rows = 4;
    request.columns = 2;
    request.layout = Rgb565();
    const QImage image = DecodeResourcePicture(buffer, request);
    ASSERT_EQ(image.size(), QSize(2, 2));
    EXPECT_EQ(image.pixelColor(0, 1), QColor(0, 0, 0xF8));
    EXPECT_EQ(image.pixelColor(1, 1).alpha(), 0);

    request.address = 100;  // past the end: nothing to draw
    EXPECT_TRUE(DecodeResourcePicture(buffer, request).isNull());
}

}  // namespace
}  // namespace pictor::gui
