#include <gtest/gtest.h>

#include "core/settings/model_profile.h"
#include "core/settings/profile_file.h"
#include "support/temp_dir.h"

namespace pictor::settings {
namespace {

TEST(ModelProfileDither, ReadFromTheModelSectionAndNoneWhenAbsent) {
    const test::TempDir dir;
    const auto path = dir / "Pictor.ini";
    test::WriteFile(path, "[Old]\nCOLOR_DEPTH=1\n[New]\nCOLOR_DEPTH=1\nDITHER=2\n");
    const ProfileFile file{path};
    EXPECT_EQ(LoadModelProfile(file, "Old", "320x240").dither, 0);
    EXPECT_EQ(LoadModelProfile(file, "New", "320x240").dither, 2);
}

}  // namespace
}  // namespace pictor::settings
