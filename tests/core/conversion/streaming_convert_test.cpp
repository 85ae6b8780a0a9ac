// The conversion of pictures decoded from their files one at a time (the
// command-line path) against the conversion of pictures decoded up front by Qt,
// over a matrix of profiles and worker counts; plus the ordered work queue and
// the capacity warning.

#include <gtest/gtest.h>
#include <stdlib.h>

#include <QImage>
#include <QString>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <functional>
#include <memory>
#include <mutex>
#include <stdexcept>
#include <string>
#include <vector>

#include "conversion_test_support.h"
#include "core/conversion/block_encoder.h"
#include "core/conversion/convert_operation.h"
#include "core/conversion/ordered_work.h"
#include "core/workspace/picture_import.h"
#include "core/workspace/picture_loader.h"
#include "support/bitmap_files.h"
#include "support/memory_limit.h"
#include "support/platform.h"
#include "support/recording_sink.h"
#include "support/temp_dir.h"

namespace pictor::conversion {
namespace {

using namespace testing;  // NOLINT: test helpers
namespace fs = std::filesystem;

using test::RecordingSink;

test::Bytes Pattern(std::size_t size, unsigned step) {
    test::Bytes bytes(size);
    for (std::size_t i = 0; i < size; ++i) {
        bytes[i] = static_cast<std::uint8_t>(i * step + 5);
    }
    return bytes;
}

// Small pictures of every kind the loader takes (direct bitmap layouts, a
// run-length bitmap and a PNG with transparency), named so that two form a series.
std::vector<std::string> WritePictures(const fs::path& dir) {
    std::vector<std::pair<std::string, test::Bytes>> files = {
        {"run01.bmp", test::BuildBitmap({7, 5, 24, 0, {}, {}, Pattern(24 * 5, 37)})},
        {"run02.bmp",
         test::BuildBitmap({6, -4, 16, 3, {0xF800, 0x07E0, 0x001F}, {}, Pattern(12 * 4, 91)})},
        {"palette.bmp",
         test::BuildBitmap({9, 3, 8, 0, {}, {0x102030, 0xF0E0D0, 0x808080}, Pattern(12 * 3, 1)})},
        {"nibbles.bmp",
         test::BuildBitmap(
             {5, 6, 4, 0, {}, {0xFFFFFF, 0, 0x3060A0, 0xA06030}, Pattern(4 * 6, 17)})},
        {"mono.bmp", test::BuildBitmap({10, 2, 1, 0, {}, {0x000000, 0xFFFFFF}, Pattern(8, 29)})},
        {"wide.bmp", test::BuildBitmap({4, 4, 32, 0, {}, {}, Pattern(64, 13)})},
        {"rle.bmp", test::BuildBitmap({4,
                                       2,
                                       8,
                                       1,
                                       {},
                                       {0x102030, 0x405060, 0xA0B0C0},
                                       {3, 1, 1, 2, 0, 0, 0, 3, 0, 1, 2, 0, 1, 2, 0, 1}})},
    };
    std::vector<std::string> paths;
    for (const auto& [name, bytes] : files) {
        EXPECT_TRUE(test::WriteBytes(dir / name, bytes));
        paths.push_back((dir / name).string());
    }
    QImage png(3, 3, QImage::Format_ARGB32);
    for (int i = 0; i < 9; ++i) {
        png.setPixel(
            i % 3, i / 3,
            0x20000000U * static_cast<unsigned>(i % 8) + 0x00305070U * static_cast<unsigned>(i));
    }
    EXPECT_TRUE(png.save(QString::fromStdString((dir / "alpha.png").string()), "PNG"));
    paths.push_back((dir / "alpha.png").string());
    return paths;
}

// The list as the desktop application holds it: every picture decoded by Qt.
workspace::PictureList DecodedList(const std::vector<std::string>& paths) {
    workspace::PictureList list;
    RecordingSink sink;
    workspace::ImportPictures(list, paths, sink, {.openForWriting = false});
    for (std::size_t i = 0; i < list.Size(); ++i) {
        workspace::ImageEntry& entry = list.At(i);
        auto decoded = workspace::LoadPicture(entry.path, true);
        EXPECT_TRUE(decoded.has_value()) << entry.path;
        entry.bitmap = std::make_shared<const workspace::PixelImage>(std::move(*decoded));
    }
    return list;
}

std::vector<settings::ModelProfile> ProfileMatrix() {
    std::vector<settings::ModelProfile> base;
    for (const int direction : {0, 1}) {
        for (const int depth : {1, 2, 4, 8}) {
            base.push_back(GreyProfile(depth, direction, 8));
            base.push_back(GreyProfile(depth, direction, 0));
        }
        base.push_back(ColourProfile(0, direction));
        base.push_back(ColourProfile(1, direction, 16));
        base.push_back(TrueColourProfile(direction));
    }
    std::vector<settings::ModelProfile> profiles;
    int variant = 0;
    for (settings::ModelProfile profile : base) {
        // Rotate the layout options through the depths so every pairing shows up.
        profile.minAllocateSize = variant % 3 == 0 ? 1 : (variant % 3 == 1 ? 4 : 64);
        profile.saveWidthHeightToBin = variant % 2;
        profile.avoidAcrossSector = (variant / 2) % 2;
        profile.saveWidthHeightToDefine = 1;
        profile.saveLeftTopToDefine = variant % 2;
        profile.bkColor = 0x00336699;
        profile.outDataType = (variant / 4) % 2;
        profiles.push_back(profile);
        ++variant;
    }
    return profiles;
}

struct Outputs {
    std::string data;
    std::string header;
};

Outputs RunConvert(workspace::PictureList list, const settings::ModelProfile& profile,
                   const fs::path& out, unsigned jobs) {
    ConvertOptions options;
    options.outputDir = out;
    options.writeTrailers = false;
    options.jobs = jobs;
    RecordingSink sink;
    const ConvertResult result = Convert(list, profile, options, sink);
    EXPECT_TRUE(result.success);
    return {test::ReadFile(result.dataPath), test::ReadFile(result.headerPath)};
}

TEST(StreamingConvert, SameBytesAsDecodedPicturesForEveryProfileAndWorkerCount) {
    pictor::test::SetEnvironment("SOURCE_DATE_EPOCH", "1474124645");
    const test::TempDir dir;
    fs::create_directory(dir / "out");
    const std::vector<std::string> paths = WritePictures(dir.Path());
    const workspace::PictureList decoded = DecodedList(paths);
    ASSERT_EQ(decoded.Size(), paths.size());

    workspace::PictureList streamed;
    RecordingSink sink;
    workspace::ImportPictures(streamed, paths, sink,
                              {.openForWriting = false, .keepPixels = false});
    ASSERT_EQ(streamed.Size(), paths.size());
    for (const workspace::ImageEntry& entry : streamed.Entries()) {
        EXPECT_EQ(entry.bitmap, nullptr);
        EXPECT_GT(entry.width, 0);
    }

    int index = 0;
    for (const settings::ModelProfile& profile : ProfileMatrix()) {
        SCOPED_TRACE("profile " + std::to_string(index) + " depth " +
                     std::to_string(profile.colorDepth) + " direction " +
                     std::to_string(profile.convertDirection));
        const Outputs expected = RunConvert(decoded, profile, dir / "out", 1);
        ASSERT_FALSE(expected.data.empty());
        // Every worker count on a few profiles, the default elsewhere.
        const std::vector<unsigned> counts =
            index % 6 == 0 ? std::vector<unsigned>{1, 2, 8} : std::vector<unsigned>{0};
        for (const unsigned jobs : counts) {
            SCOPED_TRACE("jobs " + std::to_string(jobs));
            const Outputs actual = RunConvert(streamed, profile, dir / "out", jobs);
            EXPECT_EQ(actual.data, expected.data);
            EXPECT_EQ(actual.header, expected.header);
        }
        ++index;
    }
    pictor::test::UnsetEnvironment("SOURCE_DATE_EPOCH");
}

TEST(StreamingConvert, PictureChangedSinceImportFailsAndKeepsTheOldOutputs) {
    const test::TempDir dir;
    ASSERT_TRUE(test::WriteBytes(dir / "a.bmp", test::SolidBitmap(4, 4, 0x112233)));
    ASSERT_TRUE(test::WriteBytes(dir / "b.bmp", test::SolidBitmap(4, 4, 0x445566)));
    workspace::PictureList list;
    RecordingSink sink;
    workspace::ImportPictures(list, {(dir / "a.bmp").string(), (dir / "b.bmp").string()}, sink,
                              {.openForWriting = false, .keepPixels = false});
    ASSERT_EQ(list.Size(), 2U);
    test::WriteFile(dir / "Icon.bin", "old bin");
    test::WriteFile(dir / "Icon.h", "old header");

    const test::Bytes whole = test::SolidBitmap(4, 4, 0);
    const struct {
        const char* label;
        test::Bytes bytes;
    } changes[] = {
        {"other size", test::SolidBitmap(5, 4, 0x445566)},
        {"cut short", test::Bytes(whole.begin(), whole.begin() + 60)},
    };
    for (const auto& change : changes) {
        SCOPED_TRACE(change.label);
        ASSERT_TRUE(test::WriteBytes(dir / "b.bmp", change.bytes));
        for (const unsigned jobs : {1U, 2U}) {
            ConvertOptions options;
            options.outputDir = dir.Path();
            options.writeTrailers = false;
            options.jobs = jobs;
            sink.messages.clear();
            EXPECT_FALSE(Convert(list, ColourProfile(1), options, sink).success);
            EXPECT_EQ(sink.messages,
                      (std::vector<Message>{{"加载图片 " + (dir / "b.bmp").string() + " 错误 !", "",
                                             MessageIcon::Exclamation}}));
            EXPECT_EQ(test::ReadFile(dir / "Icon.bin"), "old bin");
            EXPECT_EQ(test::ReadFile(dir / "Icon.h"), "old header");
        }
    }
}

TEST(StreamingConvert, ImageLargerThanTheFlashWarnsButSucceeds) {
    const test::TempDir dir;
    auto list = workspace::PictureList();
    workspace::ImageEntry entry;
    entry.name = "big";
    entry.width = 40;
    entry.height = 20;
    entry.bitmap = std::make_shared<const workspace::PixelImage>(MakeImage(40, 20));
    list.Append(entry);
    ConvertOptions options;
    options.outputDir = dir.Path();
    options.writeTrailers = false;
    RecordingSink sink;

    // 2048 table bytes + 40 x 20 x 2 pixel bytes = 3648 bytes.
    options.flashCapacity = 3647;
    ConvertResult result = Convert(list, ColourProfile(1), options, sink);
    EXPECT_TRUE(result.success);
    EXPECT_TRUE(result.exceedsFlash);
    EXPECT_EQ(result.imageBytes, 3648U);
    ASSERT_EQ(sink.messages.size(), 2U);
    EXPECT_EQ(sink.messages[0].icon, MessageIcon::Exclamation);
    EXPECT_NE(sink.messages[0].text.find("3648"), std::string::npos);
    EXPECT_NE(sink.messages[0].text.find("3647"), std::string::npos);
    EXPECT_EQ(sink.messages[1].text, "转档成功");

    sink.messages.clear();
    options.flashCapacity = 3648;
    result = Convert(list, ColourProfile(1), options, sink);
    EXPECT_FALSE(result.exceedsFlash);
    EXPECT_EQ(sink.messages.size(), 1U);

    EXPECT_EQ(FlashTypeCapacity("64Mbit"), 8U << 20);
    EXPECT_EQ(FlashTypeCapacity("256Mbit"), 32U << 20);
    EXPECT_EQ(FlashTypeCapacity("16Mbit"), 2U << 20);
    EXPECT_EQ(FlashTypeCapacity(""), std::nullopt);
    EXPECT_EQ(FlashTypeCapacity("Mbit"), std::nullopt);
}

TEST(StreamingConvert, APictureTooLargeForTheMemoryIsALoadFailureAtAnyJobCount) {
    PICTOR_SKIP_WITHOUT_MEMORY_LIMIT();
    const test::TempDir dir;
    const fs::path huge = dir / "huge.bmp";
    ASSERT_TRUE(test::WriteBytes(huge, test::HugeRunLengthBitmap()));
    ASSERT_TRUE(test::WriteBytes(dir / "small.bmp", test::SolidBitmap(2, 2, 0x123456)));
    test::WriteFile(dir / "Icon.bin", "old bin");
    for (const unsigned jobs : {1U, 2U}) {
        SCOPED_TRACE(jobs);
        // The list as the import made it (the size from the headers), the pixels
        // decoded by the conversion, with 128 MiB to spare for their 256 MiB.
        const int wrong = test::RunWithLimitedMemory(std::uint64_t{128} << 20, [&] {
            workspace::PictureList list;
            for (const char* name : {"small", "huge"}) {
                workspace::ImageEntry entry;
                entry.path = (dir / (std::string(name) + ".bmp")).string();
                entry.name = name;
                entry.width = entry.height = std::string(name) == "huge" ? 8192 : 2;
                list.Append(std::move(entry));
            }
            ConvertOptions options;
            options.outputDir = dir.Path();
            options.writeTrailers = false;
            options.jobs = jobs;
            RecordingSink sink;
            const bool success = Convert(list, ColourProfile(0), options, sink).success;
            const bool named =
                sink.messages == std::vector<Message>{{"加载图片 " + huge.string() + " 错误 !", "",
                                                       MessageIcon::Exclamation}};
            return (success ? 1 : 0) | (named ? 0 : 2);
        });
        EXPECT_EQ(wrong, 0);
        EXPECT_EQ(test::ReadFile(dir / "Icon.bin"), "old bin");
    }
}

TEST(RunInOrder, ConsumesInOrderWhenLaterItemsFinishFirst) {
    // Item 0 cannot finish before item 2 has been produced, so with several workers
    // the results arrive out of order; they must still be consumed in order.
    std::mutex mutex;
    std::condition_variable producedTwo;
    bool twoDone = false;
    std::vector<std::size_t> seen;
    const bool completed = RunInOrder<std::size_t>(
        6, 3, 6,
        [&](std::size_t item) {
            std::unique_lock lock(mutex);
            if (item == 0) {
                producedTwo.wait(lock, [&] { return twoDone; });
            } else if (item == 2) {
                twoDone = true;
                producedTwo.notify_all();
            }
            return item * 10;
        },
        [&](std::size_t item, std::size_t& result) {
            EXPECT_EQ(result, item * 10);
            seen.push_back(item);
            return true;
        });
    EXPECT_TRUE(completed);
    EXPECT_EQ(seen, (std::vector<std::size_t>{0, 1, 2, 3, 4, 5}));
}

TEST(RunInOrder, StopsStartingItemsOnceConsumeRefuses) {
    for (const unsigned workers : {1U, 4U}) {
        std::atomic<std::size_t> produced{0};
        std::vector<std::size_t> seen;
        const bool completed = RunInOrder<int>(
            1000, workers, 8,
            [&](std::size_t) {
                ++produced;
                return 0;
            },
            [&](std::size_t item, int&) {
                seen.push_back(item);
                return item < 3;
            });
        EXPECT_FALSE(completed);
        EXPECT_EQ(seen, (std::vector<std::size_t>{0, 1, 2, 3}));
        // No more than the window beyond the refused item was ever started.
        EXPECT_LE(produced.load(), 4U + 8U);
    }
}

TEST(RunInOrder, AProducerExceptionComesBackInOrderAndStopsTheWork) {
    for (const unsigned workers : {1U, 4U}) {
        SCOPED_TRACE(workers);
        std::atomic<std::size_t> produced{0};
        std::vector<std::size_t> seen;
        EXPECT_THROW(RunInOrder<std::size_t>(
                         1000, workers, 8,
                         [&](std::size_t item) {
                             ++produced;
                             if (item == 4) {
                                 throw std::runtime_error("item 4");
                             }
                             return item;
                         },
                         [&](std::size_t item, std::size_t&) {
                             seen.push_back(item);
                             return true;
                         }),
                     std::runtime_error);
        // Everything before the failed item was consumed, nothing after it.
        EXPECT_EQ(seen, (std::vector<std::size_t>{0, 1, 2, 3}));
        EXPECT_LE(produced.load(), 5U + 8U);
    }
}

TEST(RunInOrder, AConsumerExceptionLeavesNoWorkerRunning) {
    std::atomic<std::size_t> produced{0};
    EXPECT_THROW(RunInOrder<int>(
                     1000, 4, 8,
                     [&](std::size_t) {
                         ++produced;
                         return 0;
                     },
                     [&](std::size_t item, int&) {
                         if (item == 2) {
                             throw std::runtime_error("disk on fire");
                         }
                         return true;
                     }),
                 std::runtime_error);
    // The workers were joined: no item starts after RunInOrder has returned.
    const std::size_t atReturn = produced.load();
    EXPECT_LE(atReturn, 3U + 8U);
    EXPECT_EQ(produced.load(), atReturn);
}

TEST(RunInOrder, TheBytesInFlightStayWithinTheBudgetAndALargeItemGoesAlone) {
    // Budget 100. Items 0 and 1 (60 each) never overlap; 2, 3 and 4 (30 each) do;
    // item 5 (200) is over the budget and runs with nothing else in flight.
    const std::vector<std::uint64_t> costs = {60, 60, 30, 30, 30, 200, 10, 10};
    std::mutex mutex;
    std::condition_variable started;
    std::uint64_t inFlight = 0;  // as the items see it: from produce to consume
    std::vector<std::uint64_t> seenAtStart(costs.size(), 0);
    std::vector<bool> begun(costs.size(), false);
    const auto waitFor = [&](std::unique_lock<std::mutex>& lock, std::chrono::milliseconds limit,
                             const std::function<bool()>& done) {
        return started.wait_for(lock, limit, done);
    };
    const bool completed = RunInOrder<std::size_t>(
        costs.size(), 4, InFlightLimit{8, 100}, [&](std::size_t item) { return costs[item]; },
        [&](std::size_t item) {
            std::unique_lock lock(mutex);
            inFlight += costs[item];
            seenAtStart[item] = inFlight;
            begun[item] = true;
            started.notify_all();
            if (item == 0 || item == 5) {
                // Room for a wrong start to happen: nothing else may begin meanwhile.
                waitFor(lock, std::chrono::milliseconds(50), [&] { return begun[item + 1]; });
            } else if (item == 2) {
                // 3 and 4 fit beside 2 once 1 is consumed, and must run with it.
                EXPECT_TRUE(waitFor(lock, std::chrono::seconds(20), [&] {
                    return begun[3] && begun[4];
                })) << "items 3 and 4 never ran beside item 2";
            }
            return item;
        },
        [&](std::size_t item, std::size_t&) {
            const std::lock_guard lock(mutex);
            inFlight -= costs[item];
            return true;
        });
    EXPECT_TRUE(completed);
    EXPECT_EQ(seenAtStart[0], 60U);
    EXPECT_EQ(seenAtStart[5], 200U);
    for (std::size_t item = 0; item < costs.size(); ++item) {
        if (item != 5) {
            EXPECT_LE(seenAtStart[item], 100U) << item;
        }
    }
}

// The byte budget must see the source a crop is cut from: a 16x16 crop of an
// 8192x8192 picture decodes 256 MiB before it is small.
TEST(MemoryEstimateTest, AnOperatedPictureCountsItsSourceToo) {
    workspace::ImageEntry entry;
    entry.width = 16;
    entry.height = 16;
    entry.sourceWidth = 8192;
    entry.sourceHeight = 8192;
    const PictureJob job{{}, {}, 16 * 16 * 2, 0};
    const std::uint64_t plain = MemoryEstimate(entry, job, false);
    EXPECT_LT(plain, std::uint64_t{1} << 20);
    entry.operations.crop = workspace::PixelRect{0, 0, 16, 16};
    EXPECT_GE(MemoryEstimate(entry, job, false), std::uint64_t{8192} * 8192 * 4);
    entry.operations = {};
    entry.operations.threshold = 100;  // changes no pixels: decoded once
    EXPECT_EQ(MemoryEstimate(entry, job, false), plain);
}

}  // namespace
}  // namespace pictor::conversion
