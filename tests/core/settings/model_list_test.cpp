#include "core/settings/model_list.h"

#include <gtest/gtest.h>

#include "support/temp_dir.h"

namespace pictor::settings {
namespace {

using test::TempDir;
using test::WriteFile;

class ModelListTest : public ::testing::Test {
  protected:
    void Write(int current) {
        WriteFile(path,
                  "[COMMON]\nMODEL_COUNT=3\nMODEL_NAME0=Alpha\nMODEL_NAME1=Beta\n"
                  "MODEL_NAME2=Gamma\nCURRENT_MODE=" +
                      std::to_string(current) + "\n[Beta]\nCOLOR_DEPTH=16\n");
    }

    TempDir dir;
    std::filesystem::path path = dir / "Pictor.ini";
    ProfileFile file{path};
};

TEST_F(ModelListTest, DeletingMovesTheLaterNamesUpAndKeepsTheCurrentModel) {
    const struct {
        int current;
        int deleted;
        std::vector<std::string> names;
        int newCurrent;
    } cases[] = {
        {2, 1, {"Alpha", "Gamma"}, 1},  // Gamma stays current at its new place
        {0, 1, {"Alpha", "Gamma"}, 0},  // a model before the deleted one keeps its place
        {1, 1, {"Alpha", "Gamma"}, 0},  // the deleted model hands over to the one before
        {0, 0, {"Beta", "Gamma"}, 0},   // … or to the new first one
        {3, 2, {"Alpha", "Beta"}, 2},   // "New" stays "New"
    };
    for (const auto& c : cases) {
        Write(c.current);
        ASSERT_TRUE(DeleteModel(file, c.deleted)) << c.deleted;
        EXPECT_EQ(ReadModelNames(file), c.names) << c.current << " " << c.deleted;
        EXPECT_EQ(file.GetInt("COMMON", "CURRENT_MODE", -1), c.newCurrent)
            << c.current << " " << c.deleted;
        EXPECT_EQ(file.GetInt("COMMON", "MODEL_COUNT", -1), 2);
    }
    // The section of a deleted model is kept.
    EXPECT_EQ(file.GetInt("Beta", "COLOR_DEPTH", 0), 16);
}

TEST_F(ModelListTest, RefusesTheLastModelAndPositionsOutsideTheList) {
    Write(0);
    EXPECT_FALSE(DeleteModel(file, -1));
    EXPECT_FALSE(DeleteModel(file, 3));
    EXPECT_EQ(ReadModelNames(file).size(), 3U);

    WriteFile(path, "[COMMON]\nMODEL_COUNT=1\nMODEL_NAME0=Only\nCURRENT_MODE=0\n");
    EXPECT_FALSE(DeleteModel(file, 0));
    EXPECT_EQ(ReadModelNames(file), std::vector<std::string>{"Only"});
}

}  // namespace
}  // namespace pictor::settings
