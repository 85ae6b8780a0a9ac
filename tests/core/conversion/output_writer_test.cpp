#include "core/conversion/output_writer.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "support/temp_dir.h"
#include "support/unprivileged.h"

namespace pictor::conversion {
namespace {

namespace fs = std::filesystem;

using test::ReadFile;

class OutputWriterTest : public ::testing::Test {
  protected:
    std::size_t FileCount() const {
        return static_cast<std::size_t>(
            std::distance(fs::directory_iterator(dir_), fs::directory_iterator()));
    }
    test::TempDir temp_;
    fs::path dir_ = temp_.Path();
};

TEST_F(OutputWriterTest, LargeWritesAndOverwriteLandInTheFile) {
    auto writer = FileWriter::CreateNew(dir_ / "out.bin");
    ASSERT_NE(writer, nullptr);
    const std::string big(700 * 1024, 'x');  // larger than the write buffer
    ASSERT_TRUE(writer->Write("head"));
    ASSERT_TRUE(writer->Write(big));
    ASSERT_TRUE(writer->Write("tail"));
    const std::uint8_t patch[] = {'H', 'E'};
    ASSERT_TRUE(writer->Overwrite(0, patch, 2));
    ASSERT_TRUE(writer->Finish());
    EXPECT_EQ(ReadFile(dir_ / "out.bin"), "HEad" + big + "tail");
    EXPECT_EQ(FileWriter::CreateNew(dir_ / "out.bin"), nullptr);  // exists already
}

TEST_F(OutputWriterTest, FullDeviceIsReportedAtTheLatestByFinish) {
    if (!fs::exists("/dev/full")) {
        GTEST_SKIP() << "no /dev/full on this system";
    }
    auto writer = FileWriter::OpenTruncated("/dev/full");
    ASSERT_NE(writer, nullptr);
    writer->Write("a few bytes that stay in the buffer");
    EXPECT_FALSE(writer->Finish());
}

TEST_F(OutputWriterTest, StagedFileReplacesOnlyOnPublish) {
    const fs::path target = dir_ / "Icon.bin";
    std::ofstream(target) << "old";
    {
        auto staged = StagedFile::Create(target);
        ASSERT_NE(staged, nullptr);
        EXPECT_EQ(staged->TemporaryPath().parent_path(), dir_);
        staged->Writer().Write("new");
        EXPECT_EQ(ReadFile(target), "old");
        ASSERT_TRUE(staged->Finish());
        ASSERT_TRUE(staged->Publish());
    }
    EXPECT_EQ(ReadFile(target), "new");
    EXPECT_EQ(FileCount(), 1u);
}

TEST_F(OutputWriterTest, AbandonedStagedFileLeavesTargetAndNoTemporary) {
    const fs::path target = dir_ / "Icon.h";
    std::ofstream(target) << "old";
    {
        auto staged = StagedFile::Create(target);
        ASSERT_NE(staged, nullptr);
        staged->Writer().Write("partial");
        ASSERT_TRUE(staged->Finish());  // finished but never published
    }
    EXPECT_EQ(ReadFile(target), "old");
    EXPECT_EQ(FileCount(), 1u);
}

TEST_F(OutputWriterTest, StagedFileFailsInMissingOrReadOnlyDirectory) {
    PICTOR_SKIP_ON_WINDOWS("a read-only folder attribute does not stop writes");
    EXPECT_EQ(StagedFile::Create(dir_ / "missing" / "Icon.bin"), nullptr);
    test::MakeReadOnlyFolder(dir_);
    // Without root, which could create files in the read-only folder.
    EXPECT_EQ(test::RunUnprivileged(
                  [this] { return StagedFile::Create(dir_ / "Icon.bin") == nullptr ? 0 : 1; }),
              0);
    EXPECT_EQ(FileCount(), 0u);
}

}  // namespace
}  // namespace pictor::conversion
