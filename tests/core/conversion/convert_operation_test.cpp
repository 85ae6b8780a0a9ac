#include "core/conversion/convert_operation.h"

#include <gtest/gtest.h>
#include <stdlib.h>
#include <unistd.h>

#include <fstream>
#include <iterator>
#include <memory>
#include <string>
#include <vector>

#include "conversion_test_support.h"
#include "failing_writer.h"
#include "support/bitmap_files.h"
#include "support/platform.h"
#include "support/recording_sink.h"
#include "support/temp_dir.h"
#include "support/unprivileged.h"

namespace pictor::conversion {
namespace {

using namespace testing;  // NOLINT: test helpers
namespace fs = std::filesystem;

using test::RecordingSink;

Message Exclamation(std::string text) {
    return {std::move(text), "", MessageIcon::Exclamation};
}
const Message kSuccess{"转档成功", "", MessageIcon::Information};

using test::ReadFile;

workspace::ImageEntry Entry(std::string name, workspace::PixelImage image, int left = 0,
                            int top = 0, std::string path = {}) {
    workspace::ImageEntry entry;
    entry.width = image.width;
    entry.height = image.height;
    entry.bitmap = std::make_shared<const workspace::PixelImage>(std::move(image));
    entry.name = std::move(name);
    entry.path = path.empty() ? "/nonexistent/" + entry.name + ".bmp" : std::move(path);
    entry.left = left;
    entry.top = top;
    return entry;
}

workspace::PictureList ListOf(std::vector<workspace::ImageEntry> entries) {
    workspace::PictureList list;
    for (auto& entry : entries) {
        list.Append(std::move(entry));
    }
    return list;
}

TEST(GroupSeries, NumbersRunsOfTwoDigitNames) {
    const struct {
        std::vector<std::string> names;  // in list order
        std::vector<std::pair<std::string, int>> expected;
    } cases[] = {
        {{"logo", "run01", "run02", "run03"}, {{"", 0}, {"run", 3}, {"run", 3}, {"run", 3}}},
        {{"a01", "a02", "b01"}, {{"a", 2}, {"a", 2}, {"b", 1}}},
        {{"12", "x"}, {{"", 0}, {"", 0}}},
        // A name without digits does not interrupt a run.
        {{"x01", "xy", "x02"}, {{"x", 2}, {"", 0}, {"x", 2}}},
        // A prefix in two runs: all its pictures get the last run's length.
        {{"a01", "a02", "b01", "a03"}, {{"a", 1}, {"a", 1}, {"b", 1}, {"a", 1}}},
        {{"Run01", "run01", "Run02"}, {{"Run", 1}, {"run", 1}, {"Run", 1}}},
    };
    for (const auto& c : cases) {
        std::vector<workspace::ImageEntry> entries;
        for (const auto& name : c.names) {
            entries.push_back(Entry(name, MakeImage(1, 1)));
        }
        auto list = ListOf(std::move(entries));
        GroupSeries(list);
        for (std::size_t i = 0; i < c.names.size(); ++i) {
            EXPECT_EQ(list.At(i).seriesName, c.expected[i].first) << c.names[i];
            EXPECT_EQ(list.At(i).seriesCount, c.expected[i].second) << c.names[i];
        }
    }
}

class ConvertTest : public ::testing::Test {
  protected:
    void SetUp() override {
        fs::create_directories(dir_ / "out");
        pictor::test::SetEnvironment("SOURCE_DATE_EPOCH", "1474124645");  // 2016/09/17 15:04:05 UTC
        options_.outputDir = dir_ / "out";
        options_.writeTrailers = false;
    }
    void TearDown() override { pictor::test::UnsetEnvironment("SOURCE_DATE_EPOCH"); }
    fs::path Out(const char* name) const { return dir_ / "out" / name; }
    std::vector<std::string> OutputNames() const {
        std::vector<std::string> names;
        for (const auto& item : fs::directory_iterator(dir_ / "out")) {
            names.push_back(item.path().filename().string());
        }
        std::sort(names.begin(), names.end());
        return names;
    }
    void WriteOldOutputs() {
        std::ofstream(Out("Icon.bin")) << "old bin";
        std::ofstream(Out("Icon.h")) << "old header";
    }
    void ExpectOldOutputsOnly() {
        EXPECT_EQ(OutputNames(), (std::vector<std::string>{"Icon.bin", "Icon.h"}));
        EXPECT_EQ(ReadFile(Out("Icon.bin")), "old bin");
        EXPECT_EQ(ReadFile(Out("Icon.h")), "old header");
    }
    ConvertResult Run(workspace::PictureList& list, const settings::ModelProfile& profile) {
        return Convert(list, profile, options_, sink_);
    }

    test::TempDir temp_;
    fs::path dir_ = temp_.Path();
    ConvertOptions options_;
    RecordingSink sink_;
};

const std::string kTimeComment = "\r\n// Generation Time: 2016/09/17  PM 03:04:05   \r\n\r\n";

TEST_F(ConvertTest, BinaryImageAndHeaderByteExact) {
    auto image = MakeImage(2, 1);
    Set(image, 0, 0, Rgb(255, 0, 0));
    Set(image, 1, 0, kWhite);
    auto list =
        ListOf({Entry("Run01", MakeImage(1, 1, Rgb(0, 0, 255))), Entry("logo", image, -8, 5)});
    auto profile = ColourProfile(1);
    profile.saveWidthHeightToDefine = 1;
    profile.saveLeftTopToDefine = 1;

    const ConvertResult result = Run(list, profile);
    ASSERT_TRUE(result.success);
    EXPECT_EQ(result.pictureCount, 2);
    EXPECT_EQ(result.dataPath, Out("Icon.bin"));
    EXPECT_EQ(result.headerPath, Out("Icon.h"));
    EXPECT_EQ(sink_.messages, std::vector<Message>{kSuccess});

    std::string expectedBin(2048, '\0');
    expectedBin.replace(0, 8, std::string("\x00\x08\x00\x00\x04\x08\x00\x00", 8));
    expectedBin += std::string("\xF8\x00\xFF\xFF\x00\x1F", 6);  // logo, then Run01
    EXPECT_EQ(ReadFile(Out("Icon.bin")), expectedBin);
    EXPECT_EQ(ReadFile(Out("Icon.h")),
              kTimeComment +
                  "\r\n#define LOGO  0x0\r\n#define LOGO_H  1\r\n#define LOGO_W  2"
                  "\r\n#define LOGO_T  5\r\n#define LOGO_L  -8"
                  "\r\n#define RUN01  0x1\r\n#define RUN01_H  1\r\n#define RUN01_W  1"
                  "\r\n#define RUN01_T  0\r\n#define RUN01_L  0\r\n\r\n");
    EXPECT_EQ(OutputNames(), (std::vector<std::string>{"Icon.bin", "Icon.h"}));
    EXPECT_EQ(list.At(0).name, "logo");  // the list is left sorted
}

TEST_F(ConvertTest, SizePrefixCarriesSeriesCount) {
    auto list = ListOf({Entry("run02", MakeImage(8, 1)), Entry("run01", MakeImage(8, 1, kWhite))});
    auto profile = GreyProfile(1);
    profile.saveWidthHeightToBin = 1;
    profile.minAllocateSize = 8;
    ASSERT_TRUE(Run(list, profile).success);
    const std::string data = ReadFile(Out("Icon.bin"));
    ASSERT_EQ(data.size(), 2048u + 9 + 7 + 9);
    EXPECT_EQ(data.substr(0, 8), std::string("\x00\x01\x00\x00\x02\x01\x00\x00", 8));
    EXPECT_EQ(data.substr(2048, 9), std::string("\x01\x01\x00\x00\x00\x02\x00\x00\xFF", 9));
    EXPECT_EQ(data.substr(2048 + 16, 9), std::string("\x01\x01\x00\x00\x00\x02\x00\x00\x00", 9));
}

TEST_F(ConvertTest, CSourceGoesToIconCAsPlainText) {
    auto image = MakeImage(8, 2);
    Set(image, 0, 0, kWhite);
    Set(image, 7, 1, kWhite);
    auto list = ListOf({Entry("p", image)});
    auto profile = GreyProfile(1);
    profile.outDataType = 1;
    profile.saveWidthHeightToBin = 1;
    profile.minAllocateSize = 4096;  // no fill in C source

    const ConvertResult result = Run(list, profile);
    ASSERT_TRUE(result.success);
    EXPECT_EQ(result.dataPath, Out("Icon.c"));
    EXPECT_EQ(OutputNames(), (std::vector<std::string>{"Icon.c", "Icon.h"}));
    EXPECT_EQ(ReadFile(Out("Icon.c")), kTimeComment +
                                           "\r\n\r\n CBYTE P[] ={  \r\n2,1,\r\n0,\r\n0,\r\n"
                                           "\r\n1,128,\r\n } \r\n\r\n\r\n");
    EXPECT_EQ(ReadFile(Out("Icon.h")), kTimeComment + "\r\n\r\n");
}

TEST_F(ConvertTest, RefusalsTouchNothing) {
    auto tooMany = [] {
        workspace::PictureList list;
        for (int i = 0; i < 513; ++i) {
            list.Append(Entry("p" + std::to_string(i), MakeImage(1, 1)));
        }
        return list;
    };
    auto threeBits = GreyProfile(1);
    threeBits.colorDepth = 3;
    auto sectorC = ColourProfile(0);
    sectorC.outDataType = 1;
    sectorC.avoidAcrossSector = 1;
    sectorC.saveWidthHeightToBin = 1;
    auto sectorBin = sectorC;
    sectorBin.outDataType = 0;
    const struct {
        const char* label;
        std::function<workspace::PictureList()> list;
        settings::ModelProfile profile;
        std::string message;
    } cases[] = {
        {"count", tooMany, GreyProfile(1), "图片数量超过512!"},
        {"name",
         [] {
             return ListOf({Entry("ok", MakeImage(1, 1)), Entry("bad\nname", MakeImage(1, 1))});
         },
         GreyProfile(1), "图片名称 bad\nname 无效!"},
        {"delete", [] { return ListOf({Entry("x\x7f", MakeImage(1, 1))}); }, GreyProfile(1),
         "图片名称 x\x7f 无效!"},
        {"depth", [] { return ListOf({Entry("a", MakeImage(1, 1))}); }, threeBits,
         "颜色深度 3 无效!"},
        {"sector C", [] { return ListOf({Entry("a", MakeImage(16, 16))}); }, sectorC,
         "单个图片尺寸大于1 sector!"},
        {"sector bin",
         [] {
             return ListOf({Entry("a", MakeImage(2, 2)), Entry("b", MakeImage(16, 16))});
         },
         sectorBin, "单个图片尺寸大于1 sector!"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.label);
        WriteOldOutputs();
        sink_.messages.clear();
        auto list = c.list();
        EXPECT_FALSE(Run(list, c.profile).success);
        EXPECT_EQ(sink_.messages, std::vector<Message>{Exclamation(c.message)});
        ExpectOldOutputsOnly();
    }
}

TEST_F(ConvertTest, EmptyListDoesNothing) {
    workspace::PictureList list;
    EXPECT_FALSE(Run(list, GreyProfile(1)).success);
    EXPECT_TRUE(sink_.messages.empty());
    EXPECT_TRUE(OutputNames().empty());
}

TEST_F(ConvertTest, PicturesPastTheTwoHundredFiftySixthKeepTheirTrueNumber) {
    workspace::PictureList list;
    for (int i = 0; i < 257; ++i) {
        char name[8];
        std::snprintf(name, sizeof name, "p%03d", i);
        list.Append(Entry(name, MakeImage(1, 1)));
    }
    ASSERT_TRUE(Run(list, ColourProfile(0)).success);
    const std::string header = ReadFile(Out("Icon.h"));
    EXPECT_NE(header.find("\r\n#define P255  0xff\r\n#define P256  0x100\r\n"), std::string::npos);
    const std::string data = ReadFile(Out("Icon.bin"));
    // Entry 256: 2048 + 256 * 2 = 2560 = 0x0A00.
    EXPECT_EQ(data.substr(256 * 4, 8), std::string("\x00\x0A\x00\x00\x00\x00\x00\x00", 8));
    EXPECT_EQ(data.size(), 2048u + 257 * 2);
}

TEST_F(ConvertTest, OpenFailureMessagesDependOnExistingOutputs) {
    const std::string bin = Out("Icon.bin").string();
    const std::string header = Out("Icon.h").string();
    const struct {
        bool existing;
        const char* refuse;  // the output whose writer cannot be made
        std::string message;
    } cases[] = {
        {false, "Icon.bin", "生成 " + bin + " 错误!.."},
        {true, "Icon.bin", "打开" + bin + " 文件错误!"},
        {false, "Icon.h", "生成新文件" + header + " 错误!.."},
        {true, "Icon.h", "打开存在文件" + header + " 错误!!"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.message);
        fs::remove(Out("Icon.bin"));
        fs::remove(Out("Icon.h"));
        if (c.existing) {
            WriteOldOutputs();
        }
        sink_.messages.clear();
        options_.writerFilter = [&c](std::unique_ptr<OutputWriter> writer, const fs::path& path) {
            return path.filename() == c.refuse ? nullptr : std::move(writer);
        };
        auto list = ListOf({Entry("a", MakeImage(1, 1))});
        EXPECT_FALSE(Run(list, ColourProfile(0)).success);
        EXPECT_EQ(sink_.messages, std::vector<Message>{Exclamation(c.message)});
        if (c.existing) {
            ExpectOldOutputsOnly();
        } else {
            EXPECT_TRUE(OutputNames().empty());
        }
    }
}

TEST_F(ConvertTest, MissingOutputDirectoryIsACreateFailure) {
    options_.outputDir = dir_ / "missing";
    auto list = ListOf({Entry("a", MakeImage(1, 1))});
    EXPECT_FALSE(Run(list, ColourProfile(0)).success);
    EXPECT_EQ(sink_.messages,
              std::vector<Message>{
                  Exclamation("生成 " + (dir_ / "missing" / "Icon.bin").string() + " 错误!..")});
}

TEST_F(ConvertTest, ReadOnlyOutputDirectoryKeepsExistingOutputs) {
    PICTOR_SKIP_ON_WINDOWS("a read-only folder attribute does not stop writes");
    WriteOldOutputs();
    pictor::test::MakeReadOnlyFolder(dir_);
    pictor::test::MakeReadOnlyFolder(dir_ / "out");
    auto list = ListOf({Entry("a", MakeImage(1, 1))});
    // The conversion runs without root, which could write into the folder; the
    // child reports a failed expectation as a bit of its exit code.
    const int failures = pictor::test::RunUnprivileged([&] {
        const bool succeeded = Run(list, ColourProfile(0)).success;
        const bool reported =
            sink_.messages ==
            std::vector<Message>{Exclamation("打开" + Out("Icon.bin").string() + " 文件错误!")};
        return (succeeded ? 1 : 0) | (reported ? 0 : 2);
    });
    fs::permissions(dir_ / "out", fs::perms::owner_all);
    EXPECT_EQ(failures, 0);
    ExpectOldOutputsOnly();
}

TEST_F(ConvertTest, WriteFailuresAreReportedAndLeaveOldOutputs) {
    const struct {
        const char* file;
        std::uint64_t budget;
        bool failFinish;
    } cases[] = {
        {"Icon.bin", 100, false},         // inside the table
        {"Icon.bin", 2048 + 600, false},  // inside the pixel data
        {"Icon.bin", 1 << 20, true},      // at the final flush
        {"Icon.h", 10, false},           {"Icon.h", 1 << 20, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.file) + " " + std::to_string(c.budget));
        WriteOldOutputs();
        sink_.messages.clear();
        options_.writerFilter = [&c](std::unique_ptr<OutputWriter> writer, const fs::path& path) {
            if (path.filename() != c.file) {
                return writer;
            }
            return std::unique_ptr<OutputWriter>(
                std::make_unique<FailingWriter>(std::move(writer), c.budget, c.failFinish));
        };
        auto list = ListOf({Entry("a", MakeImage(20, 20)), Entry("b", MakeImage(20, 20))});
        EXPECT_FALSE(Run(list, ColourProfile(0)).success);
        EXPECT_EQ(sink_.messages,
                  std::vector<Message>{Exclamation("写入" + Out(c.file).string() + " 失败!")});
        ExpectOldOutputsOnly();
    }
}

TEST_F(ConvertTest, SectorRuleWithAUnitAboveOneCountsTheRoomAfterAlignment) {
    // Unit 16, 8-bit grey: picture "a" takes 490 bytes and ends at 2538, aligned
    // to 2544; 16 bytes are then left in the sector that ends at 2560.
    auto profile = GreyProfile(8);
    profile.minAllocateSize = 16;
    profile.avoidAcrossSector = 1;
    struct Case {
        int secondWidth;
        std::uint8_t tableEntry;  // second picture's start / 16
    };
    for (const Case c : {Case{20, 160}, Case{16, 159}}) {
        SCOPED_TRACE(c.secondWidth);
        auto list = ListOf({Entry("a", MakeImage(490, 1, Grey(3))),
                            Entry("b", MakeImage(c.secondWidth, 1, Grey(9)))});
        ASSERT_TRUE(Run(list, profile).success);
        const std::string bin = ReadFile(Out("Icon.bin"));
        EXPECT_EQ(std::string(bin, 0, 8), std::string("\x80\x00\x00\x00", 4) +
                                              std::string(1, static_cast<char>(c.tableEntry)) +
                                              std::string(3, '\0'));
        const std::size_t start = std::size_t{c.tableEntry} * 16;
        ASSERT_EQ(bin.size(), start + static_cast<std::size_t>(c.secondWidth));
        // Zeros from the end of "a" up to the start of "b", then b's pixels.
        EXPECT_EQ(std::string(bin, 2538, start - 2538), std::string(start - 2538, '\0'));
        EXPECT_EQ(std::string(bin, start, static_cast<std::size_t>(c.secondWidth)),
                  std::string(static_cast<std::size_t>(c.secondWidth), '\x09'));
    }
}

TEST_F(ConvertTest, TrailersAreWrittenOnceAndOutputIsStable) {
    const fs::path picture = dir_ / "logo.bmp";
    // A real picture: a trailer is written only where the picture still loads.
    const pictor::test::Bytes bitmap = pictor::test::SolidBitmap(2, 2, 0xFFFFFF);
    const std::string original(bitmap.begin(), bitmap.end());
    std::ofstream(picture, std::ios::binary) << original;
    const std::string withTrailer = original + std::string("aVaV\x2C\xFF", 6);
    auto list = ListOf({Entry("logo", MakeImage(2, 2, kWhite), 300, -1, picture.string()),
                        Entry("gone", MakeImage(1, 1))});
    options_.writeTrailers = true;
    auto profile = ColourProfile(0);

    ASSERT_TRUE(Run(list, profile).success);
    const std::string first = ReadFile(Out("Icon.bin"));
    EXPECT_EQ(ReadFile(picture), withTrailer);
    // The file that cannot be opened is reported, and the conversion still succeeds.
    EXPECT_EQ(sink_.messages, (std::vector<Message>{Exclamation("打开bin档错误!"), kSuccess}));

    ASSERT_TRUE(Run(list, profile).success);
    EXPECT_EQ(ReadFile(Out("Icon.bin")), first);
    EXPECT_EQ(ReadFile(picture), withTrailer);

    options_.writeTrailers = false;
    list.At(1).left = 7;
    ASSERT_TRUE(Run(list, profile).success);
    EXPECT_EQ(ReadFile(picture), withTrailer);
}

TEST_F(ConvertTest, HeaderThatCannotBeReplacedKeepsTheOldImage) {
    std::ofstream(Out("Icon.bin")) << "old bin";
    fs::create_directory(Out("Icon.h"));
    auto list = ListOf({Entry("a", MakeImage(3, 3))});
    EXPECT_FALSE(Run(list, ColourProfile(0)).success);
    EXPECT_EQ(sink_.messages,
              std::vector<Message>{Exclamation("写入" + Out("Icon.h").string() + " 失败!")});
    EXPECT_EQ(ReadFile(Out("Icon.bin")), "old bin");
    EXPECT_EQ(OutputNames(), (std::vector<std::string>{"Icon.bin", "Icon.h"}));
}

TEST_F(ConvertTest, FailureBetweenTheRenamesPutsTheOldImageBack) {
    // With and without previous outputs: afterwards the old pair, or nothing.
    for (const bool old : {true, false}) {
        SCOPED_TRACE(old ? "old outputs" : "no outputs");
        if (old) {
            WriteOldOutputs();
        } else {
            fs::remove(Out("Icon.bin"));
            fs::remove(Out("Icon.h"));
        }
        sink_.messages.clear();
        bool called = false;
        options_.afterFirstRename = [&] {
            called = true;
            // The new image is in place at this point.
            EXPECT_NE(ReadFile(Out("Icon.bin")), "old bin");
            return PublishStep::Fail;
        };
        auto list = ListOf({Entry("a", MakeImage(3, 3))});
        EXPECT_FALSE(Run(list, ColourProfile(0)).success);
        EXPECT_TRUE(called);
        EXPECT_EQ(sink_.messages,
                  std::vector<Message>{Exclamation("写入" + Out("Icon.h").string() + " 失败!")});
        if (old) {
            ExpectOldOutputsOnly();
        } else {
            EXPECT_TRUE(OutputNames().empty());
        }
    }
}

TEST_F(ConvertTest, CrashBetweenTheRenamesIsRolledBackByTheNextRun) {
    WriteOldOutputs();
    options_.afterFirstRename = [] { return PublishStep::Abandon; };
    auto list = ListOf({Entry("a", MakeImage(3, 3))});
    EXPECT_FALSE(Run(list, ColourProfile(0)).success);
    // As a crash leaves it: new image, old header, the journal and the old copies.
    EXPECT_NE(ReadFile(Out("Icon.bin")), "old bin");
    EXPECT_EQ(ReadFile(Out("Icon.h")), "old header");

    // The next conversion puts the old pair back before it starts; this one fails
    // while writing, so the old pair is what stays.
    options_.afterFirstRename = {};
    options_.writerFilter = [](std::unique_ptr<OutputWriter> writer, const fs::path&) {
        return std::unique_ptr<OutputWriter>(
            std::make_unique<FailingWriter>(std::move(writer), 10, false));
    };
    EXPECT_FALSE(Run(list, ColourProfile(0)).success);
    ExpectOldOutputsOnly();
}

TEST(PublishPair, RecoveryAfterEveryCrashPointLeavesAPairThatBelongsTogether) {
    // A crash before the first rename, between the renames, and after both (journal
    // still there): recovery gives the old pair each time; without a journal the
    // pair in place stands and stale copies go.
    const test::TempDir dir;
    const fs::path first = dir / "Icon.bin";
    const fs::path second = dir / "Icon.h";
    const auto stage = [](const fs::path& path, const std::string& text) {
        auto staged = StagedFile::Create(path);
        EXPECT_TRUE(staged && staged->Writer().Write(text) && staged->Finish());
        return staged;
    };
    for (const int renamesBeforeCrash : {0, 1, 2}) {
        SCOPED_TRACE(renamesBeforeCrash);
        test::WriteFile(first, "old bin");
        test::WriteFile(second, "old header");
        auto newFirst = stage(first, "new bin");
        auto newSecond = stage(second, "new header");
        EXPECT_EQ(PublishPair(*newFirst, *newSecond,
                              [&] {
                                  if (renamesBeforeCrash == 0) {
                                      // Undo the first rename as if it had not happened.
                                      fs::rename(first, dir / "unused");
                                      fs::copy_file(dir / ".Icon.bin.previous", first);
                                  } else if (renamesBeforeCrash == 2) {
                                      EXPECT_TRUE(newSecond->RenameIntoPlace());
                                  }
                                  return PublishStep::Abandon;
                              }),
                  PairPublish::SecondFailed);
        fs::remove(dir / "unused");
        newFirst.reset();  // a crash leaves no temporary files behind that matter
        newSecond.reset();
        EXPECT_TRUE(RecoverInterruptedPublish(first, second));
        EXPECT_EQ(test::ReadFile(first), "old bin");
        EXPECT_EQ(test::ReadFile(second), "old header");
        EXPECT_EQ(std::distance(fs::directory_iterator(dir.Path()), fs::directory_iterator()), 2);
    }
    test::WriteFile(dir / ".Icon.h.previous", "stale");
    EXPECT_FALSE(RecoverInterruptedPublish(first, second));
    EXPECT_EQ(test::ReadFile(second), "old header");
    EXPECT_FALSE(fs::exists(dir / ".Icon.h.previous"));
}

}  // namespace
}  // namespace pictor::conversion
