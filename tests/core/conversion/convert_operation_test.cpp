#include "core/conversion/convert_operation.h"

#include <gtest/gtest.h>
#include <stdlib.h>
#include <sys/stat.h>
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
#include "support/recording_save_calls.h"
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
    // `data` is the image's name: "Icon.bin", or "Icon.c" for C source.
    void WriteOldOutputs(const char* data = "Icon.bin") {
        std::ofstream(Out(data)) << "old data";
        std::ofstream(Out("Icon.h")) << "old header";
    }
    void ExpectOldOutputsOnly(const char* data = "Icon.bin") {
        EXPECT_EQ(OutputNames(), (std::vector<std::string>{data, "Icon.h"}));
        EXPECT_EQ(ReadFile(Out(data)), "old data");
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
    EXPECT_EQ(sink_.messages, (std::vector<Message>{
                                  Exclamation("打开bin档错误! /nonexistent/gone.bmp"), kSuccess}));

    ASSERT_TRUE(Run(list, profile).success);
    EXPECT_EQ(ReadFile(Out("Icon.bin")), first);
    EXPECT_EQ(ReadFile(picture), withTrailer);

    options_.writeTrailers = false;
    list.At(1).left = 7;
    ASSERT_TRUE(Run(list, profile).success);
    EXPECT_EQ(ReadFile(picture), withTrailer);
}

TEST_F(ConvertTest, HeaderThatCannotBeReplacedKeepsTheOldImage) {
    std::ofstream(Out("Icon.bin")) << "old data";
    fs::create_directory(Out("Icon.h"));
    auto list = ListOf({Entry("a", MakeImage(3, 3))});
    EXPECT_FALSE(Run(list, ColourProfile(0)).success);
    EXPECT_EQ(sink_.messages,
              std::vector<Message>{Exclamation("写入" + Out("Icon.h").string() + " 失败!")});
    EXPECT_EQ(ReadFile(Out("Icon.bin")), "old data");
    EXPECT_EQ(OutputNames(), (std::vector<std::string>{"Icon.bin", "Icon.h"}));
}

// The binary pair and the C source pair are published and recovered alike.
struct OutputKind {
    const char* data;  // the image's file name
    int outDataType;
};
constexpr OutputKind kOutputKinds[] = {{"Icon.bin", 0}, {"Icon.c", 1}};

settings::ModelProfile ProfileFor(const OutputKind& kind) {
    auto profile = ColourProfile(0);
    profile.outDataType = kind.outDataType;
    return profile;
}

TEST_F(ConvertTest, FailureBetweenTheRenamesPutsTheOldImageBack) {
    // With and without previous outputs: afterwards the old pair, or nothing.
    for (const OutputKind& kind : kOutputKinds) {
        for (const bool old : {true, false}) {
            SCOPED_TRACE(std::string(kind.data) + (old ? " over old outputs" : " alone"));
            if (old) {
                WriteOldOutputs(kind.data);
            } else {
                fs::remove(Out(kind.data));
                fs::remove(Out("Icon.h"));
            }
            sink_.messages.clear();
            bool called = false;
            options_.afterFirstRename = [&] {
                called = true;
                // The new image is in place at this point.
                EXPECT_NE(ReadFile(Out(kind.data)), "old data");
                return PublishStep::Fail;
            };
            auto list = ListOf({Entry("a", MakeImage(3, 3))});
            EXPECT_FALSE(Run(list, ProfileFor(kind)).success);
            EXPECT_TRUE(called);
            EXPECT_EQ(sink_.messages, std::vector<Message>{
                                          Exclamation("写入" + Out("Icon.h").string() + " 失败!")});
            if (old) {
                ExpectOldOutputsOnly(kind.data);
            } else {
                EXPECT_TRUE(OutputNames().empty());
            }
        }
    }
}

TEST_F(ConvertTest, CrashBetweenTheRenamesIsRolledBackByTheNextRun) {
    for (const OutputKind& kind : kOutputKinds) {
        SCOPED_TRACE(kind.data);
        WriteOldOutputs(kind.data);
        options_.afterFirstRename = [] { return PublishStep::Abandon; };
        options_.writerFilter = {};
        auto list = ListOf({Entry("a", MakeImage(3, 3))});
        EXPECT_FALSE(Run(list, ProfileFor(kind)).success);
        // As a crash leaves it: new image, old header, the journal and the old copies.
        EXPECT_NE(ReadFile(Out(kind.data)), "old data");
        EXPECT_EQ(ReadFile(Out("Icon.h")), "old header");

        // The next conversion, of either kind, puts the old pair back before it
        // starts; this one fails while writing, so the old pair is what stays.
        for (const OutputKind& next : kOutputKinds) {
            options_.afterFirstRename = {};
            options_.writerFilter = [](std::unique_ptr<OutputWriter> writer, const fs::path&) {
                return std::unique_ptr<OutputWriter>(
                    std::make_unique<FailingWriter>(std::move(writer), 10, false));
            };
            EXPECT_FALSE(Run(list, ProfileFor(next)).success);
            ExpectOldOutputsOnly(kind.data);
        }
        fs::remove(Out(kind.data));
    }
}

TEST_F(ConvertTest, ARefusedRunStillRecoversTheCSourcePairWholly) {
    // A C-source publication died between its renames. Every later run, even one
    // that is refused, first puts back both files that journal names; checking for
    // the binary pair's journal must not cost the header its copy.
    for (const OutputKind& kind : kOutputKinds) {
        SCOPED_TRACE(kind.data);
        test::WriteFile(Out(".Icon.c.previous"), "OLD C");
        test::WriteFile(Out(".Icon.h.previous"), "OLD H");
        test::WriteFile(Out("Icon.c"), "NEW C");
        test::WriteFile(Out("Icon.h"), "NEW H");
        test::WriteFile(Out(".Icon.c.publishing"), "1 Icon.c\n1 Icon.h\nend\n");
        auto profile = ProfileFor(kind);
        profile.avoidAcrossSector = 1;
        auto list = ListOf({Entry("big", MakeImage(64, 64))});
        sink_.messages.clear();
        EXPECT_FALSE(Run(list, profile).success);
        EXPECT_EQ(sink_.messages, std::vector<Message>{Exclamation("单个图片尺寸大于1 sector!")});
        EXPECT_EQ(ReadFile(Out("Icon.c")), "OLD C");
        EXPECT_EQ(ReadFile(Out("Icon.h")), "OLD H");
        EXPECT_EQ(OutputNames(), (std::vector<std::string>{"Icon.c", "Icon.h"}));
    }
}

TEST_F(ConvertTest, APreviousOutputThatCannotBePutBackStopsTheConversion) {
    test::WriteFile(Out(".Icon.bin.previous"), "OLD BIN");
    test::WriteFile(Out("Icon.bin"), "NEW BIN");
    test::WriteFile(Out("Icon.h"), "OLD H");
    test::WriteFile(Out(".Icon.bin.publishing"), "1 Icon.bin\n0 Icon.h\nend\n");
    test::RecordingSaveCalls calls;
    calls.failKind = "replace .Icon.bin.previous";
    options_.saveCalls = &calls;
    auto list = ListOf({Entry("a", MakeImage(3, 3))});
    EXPECT_FALSE(Run(list, ColourProfile(0)).success);
    const std::string kept = Out(".Icon.bin.previous").string();
    EXPECT_EQ(sink_.messages,
              std::vector<Message>{Exclamation(
                  kept + " keeps an output as it was before an interrupted conversion, and it "
                         "could not be put back; nothing was converted")});
    // Nothing was written over the copy or its journal.
    EXPECT_EQ(ReadFile(Out(".Icon.bin.previous")), "OLD BIN");
    EXPECT_EQ(ReadFile(Out(".Icon.bin.publishing")), "1 Icon.bin\n0 Icon.h\nend\n");
    EXPECT_TRUE(calls.Only({"create"}).empty());
}

TEST_F(ConvertTest, AFailedPutBackSaysWhereThePreviousImageIsKept) {
    WriteOldOutputs();
    test::RecordingSaveCalls calls;
    options_.saveCalls = &calls;
    options_.afterFirstRename = [&] {
        calls.failKind = "replace";  // the second rename and the put-back fail
        return PublishStep::Continue;
    };
    auto list = ListOf({Entry("a", MakeImage(3, 3))});
    EXPECT_FALSE(Run(list, ColourProfile(0)).success);
    EXPECT_EQ(sink_.messages,
              std::vector<Message>{
                  Exclamation("Writing " + Out("Icon.h").string() + " failed, and the previous " +
                              Out("Icon.bin").string() + " could not be put back: it is kept as " +
                              Out(".Icon.bin.previous").string() +
                              ", and the next conversion into this folder puts it back")});
    EXPECT_EQ(ReadFile(Out(".Icon.bin.previous")), "old data");

    // The next run, on a sound disk, restores the old pair before it does anything.
    calls.failKind.clear();
    options_.afterFirstRename = {};
    options_.writerFilter = [](std::unique_ptr<OutputWriter> writer, const fs::path&) {
        return std::unique_ptr<OutputWriter>(
            std::make_unique<FailingWriter>(std::move(writer), 10, false));
    };
    EXPECT_FALSE(Run(list, ColourProfile(0)).success);
    ExpectOldOutputsOnly();
}

TEST_F(ConvertTest, OutputsAreSyncedBeforeTheyAreRenamedAndTheFolderAfterwards) {
    test::RecordingSaveCalls calls;
    options_.saveCalls = &calls;
    auto list = ListOf({Entry("a", MakeImage(3, 3))});
    ASSERT_TRUE(Run(list, ColourProfile(0)).success);
    const std::vector<std::string> order = calls.Only({"sync", "replace", "syncdir", "remove"});
    const auto at = [&](const std::string& call) {
        const auto found = std::find(order.begin(), order.end(), call);
        EXPECT_NE(found, order.end())
            << call << " missing from " << ::testing::PrintToString(order);
        return found - order.begin();
    };
    // Both files' data is on the disk before the first rename.
    EXPECT_LT(at("sync .Icon.bin.tmp"), at("replace .Icon.bin.tmp Icon.bin"));
    EXPECT_LT(at("sync .Icon.h.tmp"), at("replace .Icon.bin.tmp Icon.bin"));
    EXPECT_LT(at("replace .Icon.bin.tmp Icon.bin"), at("replace .Icon.h.tmp Icon.h"));
    // The folder is synced after the renames, before the journal that could undo
    // them goes.
    const auto journalGone =
        order.rend() - std::find(order.rbegin(), order.rend(), "remove .Icon.bin.publishing") - 1;
    ASSERT_GT(journalGone, at("replace .Icon.h.tmp Icon.h"));
    EXPECT_NE(std::find(order.begin() + at("replace .Icon.h.tmp Icon.h"),
                        order.begin() + journalGone, "syncdir out"),
              order.begin() + journalGone)
        << ::testing::PrintToString(order);
}

#ifndef _WIN32  // no mode bits, and symbolic links need privileges
TEST_F(ConvertTest, OutputsKeepTheirModeAndTheirLinks) {
    fs::create_directory(dir_ / "include");
    test::WriteFile(Out("Icon.bin"), "old data");
    test::WriteFile(dir_ / "include" / "Icon.h", "old header");
    ASSERT_EQ(::chmod(Out("Icon.bin").c_str(), 0600), 0);
    ASSERT_EQ(::chmod((dir_ / "include" / "Icon.h").c_str(), 0640), 0);
    fs::create_symlink("../include/Icon.h", Out("Icon.h"));
    const auto modeOf = [](const fs::path& path) {
        struct stat status {};
        return ::stat(path.c_str(), &status) == 0 ? status.st_mode & 07777 : 0U;
    };
    auto list = ListOf({Entry("a", MakeImage(3, 3))});
    ASSERT_TRUE(Run(list, ColourProfile(0)).success);
    EXPECT_NE(ReadFile(Out("Icon.bin")), "old data");
    EXPECT_EQ(modeOf(Out("Icon.bin")), 0600U);
    EXPECT_TRUE(fs::is_symlink(Out("Icon.h")));
    EXPECT_NE(ReadFile(dir_ / "include" / "Icon.h").find("#define A  0x0"), std::string::npos);
    EXPECT_EQ(modeOf(dir_ / "include" / "Icon.h"), 0640U);
    EXPECT_EQ(OutputNames(), (std::vector<std::string>{"Icon.bin", "Icon.h"}));
    EXPECT_EQ(std::distance(fs::directory_iterator(dir_ / "include"), fs::directory_iterator()), 1);
}
#endif

}  // namespace
}  // namespace pictor::conversion
