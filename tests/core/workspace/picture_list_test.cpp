#include "core/workspace/picture_list.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/workspace/name_compare.h"

namespace pictor::workspace {
namespace {

// Entries carry their import order in `path` so a test can follow them through sorts.
PictureList MakeList(const std::vector<std::string>& names) {
    PictureList list;
    for (std::size_t i = 0; i < names.size(); ++i) {
        ImageEntry entry;
        entry.name = names[i];
        entry.path = std::to_string(i);
        entry.index = 99;  // overwritten by Append
        list.Append(entry);
    }
    return list;
}

// One string field of every entry, in list order.
std::vector<std::string> Column(const PictureList& list,
                                std::string ImageEntry::*field = &ImageEntry::name) {
    std::vector<std::string> values;
    for (const ImageEntry& entry : list.Entries()) {
        values.push_back(entry.*field);
    }
    return values;
}

using Strings = std::vector<std::string>;

void ExpectNumbered(const PictureList& list) {
    for (std::size_t i = 0; i < list.Size(); ++i) {
        EXPECT_EQ(list.At(i).index, static_cast<int>(i)) << "position " << i;
    }
}

int Sign(int value) {
    return (value > 0) - (value < 0);
}

TEST(NameCompare, OrdersUnitByUnit) {
    struct Case {
        const char* a;
        const char* b;
        int sign;
    };
    const Case cases[] = {
        {"", "", 0},
        {"", "a", -1},
        {"ab", "abc", -1},      // a prefix sorts first
        {"pic10", "pic2", -1},  // digits are characters, not numbers
        {"pic02", "pic10", -1},
        {"Logo", "logo", 0},  // A to Z fold to a to z
        {"LOGO", "logo", 0},
        {"_x", "Ax", -1},  // 0x5F before 'a' (0x61), although 'A' is 0x41
        {"_x", "ax", -1},
        {"z", "[", 1},  // '[' (0x5B) is not folded; 'z' is 0x7A
        // Code page 936: 啊 B0A1, 丁 B6A1, 一 D2BB, the reverse of their Unicode order
        // (U+554A, U+4E01, U+4E00).
        {"啊", "丁", -1},
        {"丁", "一", -1},
        {"啊", "一", -1},
        {"z", "啊", -1},  // every double-byte unit lies above every single byte
        {"a啊", "A丁", -1},
        // 丄 is 81 41 and 乤 81 61: the trail byte is not case-folded.
        {"丄", "乤", -1},
        // A name outside code page 936 compares by its UTF-8 bytes: F0 9F 98 80 starts
        // with unit F0, below B0A1 and above 'z'.
        {"\xF0\x9F\x98\x80", "啊", -1},
        {"\xF0\x9F\x98\x80", "z", 1},
        {"\xFF", "\xFE", 1},  // invalid UTF-8: raw bytes
    };
    for (const Case& c : cases) {
        EXPECT_EQ(Sign(CompareNames(c.a, c.b)), c.sign) << c.a << " vs " << c.b;
        EXPECT_EQ(Sign(CompareNames(c.b, c.a)), -c.sign) << c.b << " vs " << c.a;
    }
}

TEST(NameCompare, DerivesNameFromPath) {
    const std::pair<const char*, const char*> cases[] = {
        {"/home/u/pics/logo.bmp", "logo"}, {"/home/u/pics/logo.small.bmp", "logo.small"},
        {"C:\\pics\\Run01.BMP", "Run01"},  {"C:\\pics/mixed\\图标.bmp", "图标"},
        {"/a.dir/noext", "noext"},         {"/pics/.bmp", ""},
    };
    for (const auto& [path, name] : cases) {
        EXPECT_EQ(DeriveName(path), name) << path;
    }
}

TEST(PictureList, SortIsStableAndSelectsFirst) {
    PictureList empty;
    empty.Select(0);
    empty.SortByName();
    EXPECT_EQ(empty.CurrentIndex(), -1);
    EXPECT_EQ(empty.Current(), nullptr);

    PictureList list = MakeList({"pic2", "logo", "Logo", "pic10", "ab", "abc", "_x", "LOGO", "啊"});
    list.Select(5);
    list.SortByName();
    EXPECT_EQ(Column(list),
              (Strings{"_x", "ab", "abc", "logo", "Logo", "LOGO", "pic10", "pic2", "啊"}));
    // Equal names keep their import order: logo (1), Logo (2), LOGO (7).
    EXPECT_EQ(Column(list, &ImageEntry::path),
              (Strings{"6", "4", "5", "1", "2", "7", "3", "0", "8"}));
    ExpectNumbered(list);
    EXPECT_EQ(list.CurrentIndex(), 0);
    ASSERT_NE(list.Current(), nullptr);
    EXPECT_EQ(list.Current()->name, "_x");
}

TEST(PictureList, SortKeepsTheImportOrderOfManyEqualNames) {
    // More than 16 equal names: below that an unstable sort still happens to keep
    // their order. Names differing only in case are equal; "a" sorts first.
    const Strings variants = {"pic", "Pic", "PIC", "piC"};
    Strings names;
    for (int i = 0; i < 40; ++i) {
        names.push_back(i % 2 == 0 ? variants[static_cast<std::size_t>(i / 2) % 4] : "a");
    }
    PictureList list = MakeList(names);
    list.SortByName();
    EXPECT_EQ(
        Column(list, &ImageEntry::path),
        (Strings{"1",  "3",  "5",  "7",  "9",  "11", "13", "15", "17", "19", "21", "23", "25", "27",
                 "29", "31", "33", "35", "37", "39", "0",  "2",  "4",  "6",  "8",  "10", "12", "14",
                 "16", "18", "20", "22", "24", "26", "28", "30", "32", "34", "36", "38"}));
    ExpectNumbered(list);
}

TEST(PictureList, DeleteRowsRemovesExactlyThosePositions) {
    PictureList list = MakeList({"a", "b", "c", "d", "e", "f"});
    list.Select(2);
    list.DeleteRows({4, 0, 4, 2, 17, -1});
    EXPECT_EQ(Column(list), (Strings{"b", "d", "f"}));
    ExpectNumbered(list);
    EXPECT_EQ(list.CurrentIndex(), -1);

    list.DeleteRows({});
    EXPECT_EQ(list.Size(), 3U);
    list.Select(1);
    list.RemoveAll();
    EXPECT_TRUE(list.Empty());
    EXPECT_EQ(list.CurrentIndex(), -1);
}

TEST(PictureList, MoveUpAndDownStopAtTheEdges) {
    PictureList list = MakeList({"a", "b", "c"});
    EXPECT_FALSE(list.MoveUp());  // no current picture
    EXPECT_FALSE(list.MoveDown());

    list.Select(0);
    EXPECT_FALSE(list.MoveUp());
    EXPECT_TRUE(list.MoveDown());
    EXPECT_EQ(Column(list), (Strings{"b", "a", "c"}));
    EXPECT_EQ(list.CurrentIndex(), 1);
    EXPECT_TRUE(list.MoveDown());
    EXPECT_FALSE(list.MoveDown());
    EXPECT_EQ(Column(list), (Strings{"b", "c", "a"}));
    EXPECT_EQ(list.Current()->name, "a");
    ExpectNumbered(list);

    EXPECT_TRUE(list.MoveUp());
    EXPECT_TRUE(list.MoveUp());
    EXPECT_EQ(Column(list), (Strings{"a", "b", "c"}));
    EXPECT_EQ(list.CurrentIndex(), 0);
    ExpectNumbered(list);

    list.Select(3);  // outside the list: none
    EXPECT_EQ(list.CurrentIndex(), -1);
    EXPECT_FALSE(list.MoveDown());
}

}  // namespace
}  // namespace pictor::workspace
