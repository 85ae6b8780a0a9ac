// Placeholders and the translation of core messages and status texts.
#include "core/common/translatable.h"

#include <gtest/gtest.h>

#include <map>

#include "core/common/message.h"
#include "core/common/text_format.h"

namespace pictor {
namespace {

TEST(FillPlaceholders, ReplacesEachPlaceholderOnceInOnePass) {
    EXPECT_EQ(FillPlaceholders("写入%1 失败!", {"/a/Icon.bin"}), "写入/a/Icon.bin 失败!");
    // Order in the pattern does not matter; a value's own "%1" stays as it is.
    EXPECT_EQ(FillPlaceholders("%2 then %1", {"50%1", "x"}), "x then 50%1");
    // A placeholder without a value and a lone "%" are kept.
    EXPECT_EQ(FillPlaceholders("%1 of %3, 100%", {"a"}), "a of %3, 100%");
    EXPECT_EQ(FillPlaceholders("%", {}), "%");
}

TEST(MatchPercentText, RecoversTheValueOnlyForItsOwnPattern) {
    EXPECT_EQ(MatchPercentText("写数据...%d %%", "写数据...37 %"), 37);
    EXPECT_EQ(MatchPercentText("写数据%d %%", "写数据0 %"), 0);
    EXPECT_EQ(MatchPercentText("写数据%d %%", "写数据...37 %"), -1);
    EXPECT_EQ(MatchPercentText("写数据 %d %%", "写数据 %"), -1);  // no digits
    EXPECT_EQ(MatchPercentText("写数据 %d %%", "写数据 3x %"), -1);
    EXPECT_EQ(MatchPercentText("连接设备", "连接设备"), -1);  // no number in it
}

TEST(MatchNumberPlaceholders, RecoversTheNumbersOfItsOwnPattern) {
    using Values = std::vector<std::string>;
    EXPECT_EQ(MatchNumberPlaceholders("%1 of %2 blocks changed", "3 of 96 blocks changed"),
              (Values{"3", "96"}));
    EXPECT_EQ(MatchNumberPlaceholders("%2 块中 %1 块", "96 块中 3 块"), (Values{"3", "96"}));
    EXPECT_FALSE(MatchNumberPlaceholders("%1 of %2 blocks changed", "x of 96 blocks changed"));
    EXPECT_FALSE(MatchNumberPlaceholders("%1 of %2 blocks changed", "3 of 96 blocks changed!"));
    EXPECT_FALSE(MatchNumberPlaceholders("%1 of %2 blocks changed", "3 of  blocks changed"));
}

class Localize : public ::testing::Test {
  protected:
    std::map<std::string, std::string> table_ = {
        {"加载图片 %1 错误 !", "Cannot load %1!"},
        {"错误信息", "Error"},
        {"写数据 %d %%", "Writing %d %%"},
        {"写数据...%d %%", "Writing... %d %%"},
        {"连接设备", "Connecting"},
        {"%1 of %2 blocks changed", "%2 块中 %1 块有改动"},
    };
    CoreTextLookup lookup_ = [this](std::string_view source) {
        const auto found = table_.find(std::string(source));
        return found == table_.end() ? std::string(source) : found->second;
    };
};

TEST_F(Localize, MessagesFromPatternsAreFilledAgain) {
    const Message message =
        PatternMessage("加载图片 %1 错误 !", {"a 错误 !.bmp"}, "错误信息", MessageIcon::Stop);
    EXPECT_EQ(message.text, "加载图片 a 错误 !.bmp 错误 !");
    const Message english = LocalizeMessage(message, lookup_);
    EXPECT_EQ(english, (Message{"Cannot load a 错误 !.bmp!", "Error", MessageIcon::Stop}));
    // An empty caption (the application's title) stays empty; unknown texts stay.
    EXPECT_EQ(LocalizeMessage(Message{"其他", "", MessageIcon::None}, lookup_).caption, "");
    EXPECT_EQ(LocalizeMessage(Message{"其他", "", MessageIcon::None}, lookup_).text, "其他");
}

TEST_F(Localize, StatusTextsKeepTheirPercentage) {
    EXPECT_EQ(LocalizeStatus("写数据 5 %", lookup_), "Writing 5 %");
    EXPECT_EQ(LocalizeStatus("写数据...100 %", lookup_), "Writing... 100 %");
    EXPECT_EQ(LocalizeStatus("连接设备", lookup_), "Connecting");
    EXPECT_EQ(LocalizeStatus("读数据7 %", lookup_), "读数据7 %");  // not in this table
    EXPECT_EQ(LocalizeStatus("3 of 96 blocks changed", lookup_), "96 块中 3 块有改动");
}

}  // namespace
}  // namespace pictor
