// Downloads that erase only the image's blocks or send only the changed blocks,
// against the scripted module.
#include <gtest/gtest.h>

#include "core/device/download_job.h"
#include "fake_module.h"
#include "support/temp_dir.h"

namespace pictor::device {
namespace {

using test::Bytes;
using test::FakeModule;
using test::Recorder;
using test::ScriptedLine;

constexpr std::size_t kBlock = 65536;
using test::kDownloadSuccess;

ImageBuffer Buffer(const Bytes& content, const char* name) {
    Bytes padded = content;
    padded.resize((content.size() + 511) / 512 * 512);
    const auto sectors = static_cast<std::uint32_t>(padded.size() / 512);
    return ImageBuffer{std::make_shared<const std::vector<std::uint8_t>>(std::move(padded)),
                       sectors, content.size(), name};
}

Bytes Changed(Bytes image, std::size_t offset) {
    image[offset] ^= 0x5A;
    return image;
}

struct ChangesFixture : ::testing::Test {
    ScriptedLine line;
    FakeModule module;
    CancelToken cancel;
    DeviceProtocol protocol{line, line, cancel};
    Recorder recorder;
    pictor::test::TempDir dir;
    // Three blocks and a bit: blocks 0..3 of the image.
    const Bytes old = test::Pattern(3 * kBlock + 1000);

    void SetUp() override { module.Attach(line); }

    DownloadResult Run(const Bytes& newImage, std::optional<Bytes> previous,
                       EraseScope erase = EraseScope::ToEnd) {
        DownloadRequest request;
        request.source = ImageSource::Resource;
        request.image = Buffer(newImage, "new.bin");
        if (previous) {
            request.previous = Buffer(*previous, "old.bin");
        }
        request.erase = erase;
        request.backupDirectory = dir.Path();
        return RunDownload(request, protocol, DeviceState{}, recorder, recorder);
    }
    std::uint32_t Start() const { return module.kind == 5 ? 2048 : 4096; }
    Bytes Flash(std::uint32_t sector, std::size_t bytes) const {
        return module.Read(sector, bytes);
    }
    /// The sector numbers of the frames with `code` that went out, in order.
    std::vector<std::uint32_t> Frames(std::uint8_t code) const {
        std::vector<std::uint32_t> sectors;
        for (const Bytes& w : line.Writes()) {
            if (w.size() == 9 && w[0] == 0xAA && w[2] == code) {
                sectors.push_back(std::uint32_t{w[5]} << 8 | w[6]);
            }
        }
        return sectors;
    }
    bool HasStatus(const std::string& text) const {
        return std::find(recorder.statuses.begin(), recorder.statuses.end(), text) !=
               recorder.statuses.end();
    }
};

Bytes Padded(Bytes image) {
    image.resize((image.size() + 511) / 512 * 512);
    return image;
}

TEST_F(ChangesFixture, OnlyTheChangedBlockIsErasedAndWrittenInEveryFlashKind) {
    // kind → the flash block of the image's second block.
    const std::pair<std::uint8_t, std::uint32_t> kinds[] = {{5, 17}, {2, 33}, {3, 33}, {4, 33}};
    for (const auto& [kind, block] : kinds) {
        FakeModule fresh;
        fresh.kind = kind;
        module = fresh;
        module.Attach(line);
        line.events.clear();
        recorder = Recorder{};
        module.Hold(old, Start());
        const Bytes newImage = Changed(old, kBlock + 7);
        const DownloadResult result = Run(newImage, old);
        ASSERT_EQ(result.outcome, Outcome::Ok) << int{kind};
        EXPECT_EQ(module.erasedBlocks, std::vector<std::uint32_t>{block}) << int{kind};
        const std::vector<std::uint32_t> written = Frames(0x94);
        ASSERT_EQ(written.size(), 128U) << int{kind};
        EXPECT_EQ(written.front(), Start() + 128) << int{kind};
        EXPECT_EQ(Flash(Start(), newImage.size()), newImage) << int{kind};
        // The table sector and the first sectors of the unchanged blocks 0, 2 and 3
        // were read before the erase.
        EXPECT_EQ(Frames(0x95), (std::vector<std::uint32_t>{Start(), Start() + 256, Start() + 384}))
            << int{kind};
        ASSERT_TRUE(result.changes) << int{kind};
        EXPECT_EQ(result.changes->changedBlocks, 1U);
        EXPECT_EQ(result.changes->imageBlocks, 4U);
        EXPECT_EQ(result.bytesWritten, 128U * 512U);
        ASSERT_TRUE(result.image) << "what the module holds now, for the next download";
        EXPECT_EQ(*result.image->bytes, Padded(newImage));
        EXPECT_TRUE(HasStatus("1 of 4 blocks changed")) << int{kind};
        EXPECT_EQ(recorder.messages, std::vector<Message>{kDownloadSuccess}) << int{kind};
        EXPECT_FALSE(std::filesystem::exists(dir / "BackUp_All.BIN")) << "no read-back in mode 2";
    }
}

TEST_F(ChangesFixture, ModeOneReadsBackTheWrittenBlocksAndBacksUpTheWholeImage) {
    module.kind = 1;
    module.Hold(old, 4096);
    const Bytes newImage = Changed(old, 3 * kBlock + 999);  // the last, partial block
    ASSERT_EQ(Run(newImage, old).outcome, Outcome::Ok);
    EXPECT_EQ(module.erasedBlocks, std::vector<std::uint32_t>{35});
    // Three check reads, then the two sectors of the last block read back.
    EXPECT_EQ(Frames(0x95),
              (std::vector<std::uint32_t>{4096, 4096 + 128, 4096 + 256, 4096 + 384, 4096 + 385}));
    const std::string backup = pictor::test::ReadFile(dir / "BackUp_All.BIN");
    EXPECT_EQ(Bytes(backup.begin(), backup.end()), Padded(newImage));
    EXPECT_EQ(recorder.statuses.back(), "下载 Bin档100 %");
}

TEST_F(ChangesFixture, SectorsLeftErasedAreNotWrittenButAreReadBack) {
    module.kind = 1;
    module.Hold(old, 4096);
    Bytes newImage = old;
    std::fill(newImage.begin() + kBlock, newImage.begin() + kBlock + 3 * 512, 0xFF);
    ASSERT_EQ(Run(newImage, old).outcome, Outcome::Ok);
    EXPECT_EQ(Frames(0x94).size(), 125U);
    EXPECT_EQ(Frames(0x94).front(), 4096U + 128 + 3);
    EXPECT_EQ(Flash(4096, newImage.size()), newImage);
}

TEST_F(ChangesFixture, NothingChangedSendsNothingButChecks) {
    module.kind = 2;
    module.Hold(old, 4096);
    const DownloadResult result = Run(old, old);
    EXPECT_EQ(result.outcome, Outcome::Ok);
    EXPECT_TRUE(module.erasedBlocks.empty());
    EXPECT_TRUE(Frames(0x94).empty());
    EXPECT_EQ(Frames(0x95).size(), 4U);
    EXPECT_TRUE(HasStatus("0 of 4 blocks changed"));
}

TEST_F(ChangesFixture, BlocksPastTheNewImagesEndAreLeftAsTheyWere) {
    module.kind = 2;
    module.Hold(old, 4096);
    // The new image is the old one's first block and a half, one byte changed in
    // the half block.
    Bytes newImage(old.begin(), old.begin() + kBlock + kBlock / 2);
    newImage[kBlock + 10] ^= 0xFF;
    ASSERT_EQ(Run(newImage, old).outcome, Outcome::Ok);
    EXPECT_EQ(module.erasedBlocks, std::vector<std::uint32_t>{33});
    EXPECT_EQ(Flash(4096, newImage.size()), newImage);
    // Block 33's second half was erased with it; blocks 34 and 35 still hold the
    // old image.
    EXPECT_EQ(Flash(4096 + 128 + 64, 512), Bytes(512, 0xFF));
    const Bytes padded = Padded(old);
    EXPECT_EQ(Flash(4096 + 256, padded.size() - 2 * kBlock),
              Bytes(padded.begin() + 2 * kBlock, padded.end()));
}

TEST_F(ChangesFixture, AModuleThatHoldsSomethingElseGetsTheWholeImageWithANotice) {
    struct Case {
        const char* name;
        std::function<void(FakeModule&)> prepare;
    };
    const Case cases[] = {
        {"a third image", [this](FakeModule& m) { m.Hold(test::Pattern(old.size(), 99), 4096); }},
        {"one unchanged block differs in every sector",
         [this](FakeModule& m) {
             m.Hold(old, 4096);
             for (std::uint32_t s = 4096 + 256; s < 4096 + 384; ++s) {
                 m.flash[s][3] ^= 0x01;
             }
         }},
    };
    const Bytes newImage = Changed(old, kBlock);
    for (const Case& c : cases) {
        for (const EraseScope scope : {EraseScope::ToEnd, EraseScope::Image}) {
            FakeModule fresh;
            fresh.kind = 2;
            module = fresh;
            module.Attach(line);
            c.prepare(module);
            recorder = Recorder{};
            const DownloadResult result = Run(newImage, old, scope);
            ASSERT_EQ(result.outcome, Outcome::Ok) << c.name;
            EXPECT_TRUE(result.previousNotHeld) << c.name;
            EXPECT_FALSE(result.changes) << c.name;
            EXPECT_EQ(recorder.messages,
                      (std::vector<Message>{
                          {"the module does not hold old.bin; downloading the whole image", "警告",
                           MessageIcon::Exclamation},
                          kDownloadSuccess}))
                << c.name;
            EXPECT_EQ(module.erasedBlocks.size(), scope == EraseScope::ToEnd ? 96U : 4U) << c.name;
            EXPECT_EQ(Flash(4096, newImage.size()), newImage) << c.name;
        }
    }
}

TEST_F(ChangesFixture, NoAnswerToACheckReadStopsBeforeAnyErase) {
    module.kind = 2;
    module.Hold(old, 4096);
    module.silentReads = true;
    const DownloadResult result = Run(Changed(old, kBlock), old);
    EXPECT_EQ(result.outcome, Outcome::Failed);
    EXPECT_EQ(result.step, DownloadStep::Check);
    EXPECT_EQ(result.unansweredCheckSector, 0U);
    EXPECT_EQ(recorder.messages,
              (std::vector<Message>{{"检查 Bin档失败!", "错误信息", MessageIcon::Stop}}));
    EXPECT_TRUE(module.erasedBlocks.empty());
    EXPECT_TRUE(Frames(0x94).empty());
    EXPECT_EQ(Flash(4096, old.size()), old) << "the module keeps its image";
}

TEST_F(ChangesFixture, AnEmptyNewImageIsRefusedAsAlways) {
    const DownloadResult result = Run({}, old);
    EXPECT_EQ(result.loadFailure, LoadFailure::Empty);
    EXPECT_TRUE(line.Writes().empty());
}

TEST_F(ChangesFixture, EraseImageLeavesTheFlashBeyondTheImage) {
    module.kind = 2;
    module.Hold(test::Pattern(512, 42), 4096 + 10 * 128);  // something in block 42
    const Bytes image = test::Pattern(kBlock + 512);
    ASSERT_EQ(Run(image, std::nullopt, EraseScope::Image).outcome, Outcome::Ok);
    EXPECT_EQ(module.erasedBlocks, (std::vector<std::uint32_t>{32, 33}));
    EXPECT_EQ(Flash(4096, image.size()), image);
    EXPECT_EQ(Flash(4096 + 10 * 128, 512), test::Pattern(512, 42));
    // The erase percentages count the image's blocks.
    EXPECT_TRUE(HasStatus("擦除Flash...50 %"));
}

}  // namespace
}  // namespace pictor::device
