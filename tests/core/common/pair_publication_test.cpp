#include "core/common/pair_publication.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <memory>
#include <string>
#include <vector>

#include "support/recording_save_calls.h"
#include "support/temp_dir.h"

namespace pictor {
namespace {

namespace fs = std::filesystem;

using test::ReadFile;
using test::RecordingSaveCalls;
using test::WriteFile;

std::vector<std::string> Names(const fs::path& dir) {
    std::vector<std::string> names;
    for (const auto& item : fs::directory_iterator(dir)) {
        names.push_back(item.path().filename().string());
    }
    std::sort(names.begin(), names.end());
    return names;
}

class PairPublicationTest : public ::testing::Test {
  protected:
    std::unique_ptr<SaveFile> Stage(const fs::path& path, const std::string& text) {
        std::error_code error;
        auto file = SaveFile::Begin(path, error, calls_);
        EXPECT_TRUE(file && file->Write(text) && file->Finish());
        return file;
    }
    void WriteOldPair() {
        WriteFile(first_, "old bin");
        WriteFile(second_, "old header");
    }
    // What a C-source publication leaves when it dies after its renames, before its
    // clean-up: the new Icon.c and Icon.h, both previous copies and the journal.
    void WriteInterruptedCSourcePair() {
        WriteFile(dir_ / "Icon.c", "NEW C");
        WriteFile(second_, "NEW H");
        WriteFile(dir_ / ".Icon.c.previous", "OLD C");
        WriteFile(dir_ / ".Icon.h.previous", "OLD H");
        WriteFile(dir_ / ".Icon.c.publishing", "1 Icon.c\n1 Icon.h\nend\n");
    }
    void ExpectOldPairOnly() {
        EXPECT_EQ(ReadFile(first_), "old bin");
        EXPECT_EQ(ReadFile(second_), "old header");
        EXPECT_EQ(Names(dir_.Path()), (std::vector<std::string>{"Icon.bin", "Icon.h"}));
    }

    test::TempDir dir_;
    fs::path first_ = dir_ / "Icon.bin";
    fs::path second_ = dir_ / "Icon.h";
    std::array<fs::path, 3> finals_ = {dir_ / "Icon.bin", dir_ / "Icon.c", dir_ / "Icon.h"};
    RecordingSaveCalls calls_;
};

TEST_F(PairPublicationTest, EverythingIsOnTheDiskBeforeTheFirstRenameAndTheFolderAfterTheLast) {
    WriteOldPair();
    auto data = Stage(first_, "new bin");
    auto header = Stage(second_, "new header");
    calls_.calls.clear();
    ASSERT_EQ(PublishPair(*data, *header), PairPublish::Published);
    const std::string folder = "syncdir " + dir_.Path().filename().string();
    EXPECT_EQ(calls_.Only({"copy", "create", "sync", "close", "replace", "syncdir", "remove"}),
              (std::vector<std::string>{
                  "remove .Icon.bin.previous",
                  "copy Icon.bin .Icon.bin.previous",
                  "remove .Icon.h.previous",
                  "copy Icon.h .Icon.h.previous",
                  "remove .Icon.bin.publishing",
                  "create .Icon.bin.publishing",
                  "sync .Icon.bin.publishing",
                  "close .Icon.bin.publishing",
                  folder,
                  "replace .Icon.bin.tmp Icon.bin",
                  "replace .Icon.h.tmp Icon.h",
                  folder,
                  "remove .Icon.bin.publishing",
                  "remove .Icon.bin.previous",
                  "remove .Icon.h.previous",
                  folder,
              }));
    EXPECT_EQ(ReadFile(first_), "new bin");
    EXPECT_EQ(ReadFile(second_), "new header");
    EXPECT_EQ(Names(dir_.Path()), (std::vector<std::string>{"Icon.bin", "Icon.h"}));
}

TEST_F(PairPublicationTest, AFailedSecondRenamePutsTheFirstFileBack) {
    for (const bool old : {true, false}) {
        SCOPED_TRACE(old ? "old pair" : "no pair");
        if (old) {
            WriteOldPair();
        }
        auto data = Stage(first_, "new bin");
        auto header = Stage(second_, "new header");
        calls_.failKind = "replace .Icon.h.tmp";
        calls_.failAt = 1;
        EXPECT_EQ(PublishPair(*data, *header), PairPublish::SecondFailed);
        data.reset();
        header.reset();
        if (old) {
            ExpectOldPairOnly();
            fs::remove(first_);
            fs::remove(second_);
        } else {
            EXPECT_TRUE(Names(dir_.Path()).empty());
        }
    }
}

TEST_F(PairPublicationTest, AFailedPutBackKeepsTheJournalAndTheCopyForTheNextRun) {
    WriteOldPair();
    auto data = Stage(first_, "new bin");
    auto header = Stage(second_, "new header");
    // After the first rename every rename fails: the second one and the put-back.
    EXPECT_EQ(PublishPair(*data, *header,
                          [&] {
                              calls_.failKind = "replace";
                              return PublishStep::Continue;
                          }),
              PairPublish::PutBackFailed);
    data.reset();
    header.reset();
    EXPECT_EQ(ReadFile(first_), "new bin");
    EXPECT_EQ(ReadFile(dir_ / ".Icon.bin.previous"), "old bin");
    EXPECT_TRUE(fs::exists(dir_ / ".Icon.bin.publishing"));

    calls_.failKind.clear();
    const PublicationRecovery recovery = RecoverInterruptedPublications(finals_, calls_);
    EXPECT_TRUE(recovery.putBack);
    EXPECT_TRUE(recovery.kept.empty());
    ExpectOldPairOnly();
}

TEST_F(PairPublicationTest, RecoveryAfterEveryCrashPointLeavesAPairThatBelongsTogether) {
    // A crash before the first rename, between the renames, and after both (journal
    // still there): recovery gives the old pair each time.
    for (const int renamesBeforeCrash : {0, 1, 2}) {
        SCOPED_TRACE(renamesBeforeCrash);
        WriteOldPair();
        auto data = Stage(first_, "new bin");
        auto header = Stage(second_, "new header");
        EXPECT_EQ(PublishPair(*data, *header,
                              [&] {
                                  if (renamesBeforeCrash == 0) {
                                      // Undo the first rename as if it had not happened.
                                      fs::rename(first_, dir_ / "unused");
                                      fs::copy_file(dir_ / ".Icon.bin.previous", first_);
                                  } else if (renamesBeforeCrash == 2) {
                                      EXPECT_TRUE(header->RenameIntoPlace());
                                  }
                                  return PublishStep::Abandon;
                              }),
                  PairPublish::SecondFailed);
        fs::remove(dir_ / "unused");
        data.reset();  // a crash leaves no temporary files behind that matter
        header.reset();
        EXPECT_TRUE(RecoverInterruptedPublications(finals_).putBack);
        ExpectOldPairOnly();
    }
}

TEST_F(PairPublicationTest, RecoveryFollowsTheJournalsAndRemovesOnlyCopiesNoJournalNames) {
    // No Icon.bin journal exists, and that must not cost the header's copy.
    WriteInterruptedCSourcePair();
    WriteFile(dir_ / ".Icon.bin.previous", "stale");  // from a publication that completed
    EXPECT_TRUE(RecoverInterruptedPublications(finals_).putBack);
    EXPECT_EQ(ReadFile(dir_ / "Icon.c"), "OLD C");
    EXPECT_EQ(ReadFile(second_), "OLD H");
    EXPECT_EQ(Names(dir_.Path()), (std::vector<std::string>{"Icon.c", "Icon.h"}));

    // A journal cut while it was written: nothing was renamed yet, so nothing is
    // put back, and its leftovers go.
    WriteFile(dir_ / ".Icon.c.previous", "same as Icon.c");
    WriteFile(dir_ / ".Icon.c.publishing", "1 Icon.c\n1 Ic");
    EXPECT_FALSE(RecoverInterruptedPublications(finals_).putBack);
    EXPECT_EQ(ReadFile(dir_ / "Icon.c"), "OLD C");
    EXPECT_EQ(Names(dir_.Path()), (std::vector<std::string>{"Icon.c", "Icon.h"}));
}

TEST_F(PairPublicationTest, ACopyThatCannotBePutBackStaysWithItsJournal) {
    WriteInterruptedCSourcePair();
    calls_.failKind = "replace .Icon.h.previous";
    const PublicationRecovery recovery = RecoverInterruptedPublications(finals_, calls_);
    EXPECT_EQ(recovery.kept, std::vector<fs::path>{dir_ / ".Icon.h.previous"});
    EXPECT_EQ(ReadFile(dir_ / ".Icon.h.previous"), "OLD H");
    EXPECT_TRUE(fs::exists(dir_ / ".Icon.c.publishing"));

    // The next try, with a working disk, finishes the job.
    calls_.failKind.clear();
    EXPECT_TRUE(RecoverInterruptedPublications(finals_, calls_).kept.empty());
    EXPECT_EQ(ReadFile(dir_ / "Icon.c"), "OLD C");
    EXPECT_EQ(ReadFile(second_), "OLD H");
    EXPECT_EQ(Names(dir_.Path()), (std::vector<std::string>{"Icon.c", "Icon.h"}));
}

}  // namespace
}  // namespace pictor
