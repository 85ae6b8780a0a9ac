#include "core/common/utf8.h"

#include <gtest/gtest.h>

#include <string>

namespace pictor {
namespace {

TEST(Utf8, DecodesValidTextAndRefusesTheRest) {
    EXPECT_EQ(DecodeUtf8("a\xC3\xA9\xE4\xB8\xAD\xF0\x9F\x98\x80"),
              (std::u32string{U'a', U'\u00E9', U'\u4E2D', U'\U0001F600'}));
    for (const char* bad :
         {"\xC0\x80", "\xE0\x80\x80", "\xED\xA0\x80", "\xF4\x90\x80\x80", "\x80", "\xE4\xB8"}) {
        EXPECT_FALSE(DecodeUtf8(bad)) << bad;
    }
    std::string encoded;
    AppendUtf8(encoded, U'\u4E2D');
    EXPECT_EQ(encoded, "\xE4\xB8\xAD");
}

}  // namespace
}  // namespace pictor
