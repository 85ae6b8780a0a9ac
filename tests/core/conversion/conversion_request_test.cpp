// A conversion request as the front ends hand it over: which model and output
// folder win, and that a refused request publishes nothing.

#include "core/conversion/conversion_request.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>

#include "support/bitmap_files.h"
#include "support/recording_sink.h"
#include "support/temp_dir.h"

namespace pictor::conversion {
namespace {

namespace fs = std::filesystem;

class ConversionRequestTest : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(test::WriteBytes(Dir() / "a.bmp", test::SolidBitmap(2, 2, 0x0000FF)));
        ASSERT_TRUE(test::WriteBytes(Dir() / "b.bmp", test::SolidBitmap(3, 1, 0x00FF00)));
        WriteText(Dir() / "Pictor.ini",
                  "[COMMON]\nMODEL_COUNT=2\nMODEL_NAME0=Colour\nMODEL_NAME1=Mono\n"
                  "CURRENT_MODE=0\n[Colour]\nCOLOR_DEPTH=16\n[Mono]\nCOLOR_DEPTH=1\n"
                  "[Scom]\nFLASH_TYPE=16Mbit\n");
        request.settingsPath = Dir() / "Pictor.ini";
    }

    static void WriteText(const fs::path& path, const std::string& text) {
        ASSERT_TRUE(test::WriteBytes(path, test::Bytes(text.begin(), text.end())));
    }
    fs::path Dir() const { return dir.Path(); }
    void WriteProject(const std::string& top) {
        WriteText(Dir() / "p.pictor", "version = 1\n" + top +
                                          "[picture]\nfile = a.bmp\nshown = yes\n"
                                          "[picture]\nfile = b.bmp\n");
        request.projectPath = Dir() / "p.pictor";
    }

    test::TempDir dir;
    ConversionRequest request;
    test::RecordingSink messages;
};

// --model beats the project's model, which beats "CURRENT_MODE"; the output folder
// of the request beats the project's; the flash comes from the settings.
TEST_F(ConversionRequestTest, RequestValuesBeatTheProjectsWhichBeatTheSettings) {
    WriteProject("model = Mono\noutput-dir = out\n");
    Resolution resolution = ResolveRequest(request, messages);
    ASSERT_EQ(resolution.status, RequestStatus::Done);
    EXPECT_EQ(resolution.resolved.profile.colorDepth, 1);
    EXPECT_EQ(resolution.resolved.outputDir, Dir() / "out");
    EXPECT_EQ(resolution.resolved.flashCapacity, std::uint64_t{2} << 20);

    request.model = "Colour";
    request.outputDir = Dir() / "elsewhere";
    request.overrides.colorDepth = 4;
    resolution = ResolveRequest(request, messages);
    ASSERT_EQ(resolution.status, RequestStatus::Done);
    EXPECT_EQ(resolution.resolved.profile.colorDepth, 4);
    EXPECT_EQ(resolution.resolved.profile.pixelsPerByte, 2);
    EXPECT_EQ(resolution.resolved.outputDir, Dir() / "elsewhere");
    EXPECT_TRUE(messages.messages.empty());
}

// Refusals: nothing is converted and nothing is published.
TEST_F(ConversionRequestTest, RefusedRequestsWriteNothing) {
    struct Case {
        const char* what;
        void (*prepare)(ConversionRequest&, RequestConvertOptions&, const fs::path&);
        RequestStatus status;
    };
    const Case cases[] = {
        {"unknown model",
         [](ConversionRequest& r, RequestConvertOptions&, const fs::path&) { r.model = "None"; },
         RequestStatus::BadRequest},
        {"colour type the depth lacks",
         [](ConversionRequest& r, RequestConvertOptions&, const fs::path&) {
             r.overrides.colorDepth = 16;
             r.overrides.colorType = 2;
         },
         RequestStatus::BadRequest},
        {"map with C source",
         [](ConversionRequest& r, RequestConvertOptions& o, const fs::path& d) {
             r.overrides.outDataType = 1;
             o.mapPath = d / "map.csv";
         },
         RequestStatus::BadRequest},
        {"map over the settings file",
         [](ConversionRequest&, RequestConvertOptions& o, const fs::path& d) {
             o.mapPath = d / "." / "Pictor.ini";
         },
         RequestStatus::BadRequest},
        {"project picture missing",
         [](ConversionRequest&, RequestConvertOptions&, const fs::path& d) {
             fs::remove(d / "b.bmp");
         },
         RequestStatus::Failed},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        ASSERT_TRUE(test::WriteBytes(Dir() / "b.bmp", test::SolidBitmap(3, 1, 0x00FF00)));
        WriteProject("output-dir = out\n");
        ConversionRequest r = request;
        RequestConvertOptions options;
        c.prepare(r, options, Dir());
        messages.messages.clear();
        const RequestConvertResult result = ConvertRequest(r, options, messages);
        EXPECT_EQ(result.status, c.status);
        EXPECT_FALSE(fs::exists(Dir() / "out"));
        ASSERT_FALSE(messages.messages.empty());
        EXPECT_EQ(messages.messages.back().icon, MessageIcon::Exclamation);
    }
}

// Picture files that do not load are left out of a conversion, but not of a
// preview, and never of a project.
TEST_F(ConversionRequestTest, BrokenPictureFilesAreLeftOutOfAConversionOnly) {
    WriteText(Dir() / "broken.bmp", "BM not a picture");
    request.pictures = {(Dir() / "a.bmp").string(), (Dir() / "broken.bmp").string()};
    request.outputDir = Dir();
    const RequestConvertResult converted = ConvertRequest(request, {}, messages);
    ASSERT_EQ(converted.status, RequestStatus::Done);
    EXPECT_EQ(converted.conversion.pictureCount, 1);
    EXPECT_TRUE(fs::exists(Dir() / "Icon.bin"));

    EXPECT_EQ(RenderRequest(request, messages).status, RequestStatus::Failed);

    request.pictures = {(Dir() / "broken.bmp").string()};
    fs::remove(Dir() / "Icon.bin");
    EXPECT_EQ(ConvertRequest(request, {}, messages).status, RequestStatus::Failed);
    EXPECT_FALSE(fs::exists(Dir() / "Icon.bin"));
}

}  // namespace
}  // namespace pictor::conversion
