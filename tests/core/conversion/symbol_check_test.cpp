#include "core/conversion/symbol_check.h"

#include <gtest/gtest.h>

namespace pictor::conversion {
namespace {

TEST(SymbolCheckTest, UsableSymbolsGiveNoWarning) {
    // Lower case is upper-cased into a valid symbol; '_' and inner digits are fine.
    EXPECT_TRUE(SymbolWarnings({"logo", "_ICON_2", "btn_ok01", "A"}).empty());
    EXPECT_TRUE(SymbolWarnings({}).empty());
}

TEST(SymbolCheckTest, EachKindOfInvalidSymbolIsNamedWithItsReason) {
    const struct {
        std::string name;
        std::string warning;
    } cases[] = {
        {"my icon",
         "warning: picture \"my icon\" gives the symbol \"MY ICON\" in Icon.h, which is "
         "not a valid C identifier (it contains a space)"},
        {"arrow-left",
         "warning: picture \"arrow-left\" gives the symbol \"ARROW-LEFT\" in Icon.h, "
         "which is not a valid C identifier (it contains a hyphen)"},
        {"9lives",
         "warning: picture \"9lives\" gives the symbol \"9LIVES\" in Icon.h, which is "
         "not a valid C identifier (it starts with a digit)"},
        // "é" in UTF-8: kept as it is, not upper-cased.
        {"caf\xC3\xA9",
         "warning: picture \"caf\xC3\xA9\" gives the symbol \"CAF\xC3\xA9\" in "
         "Icon.h, which is not a valid C identifier (it contains a non-ASCII "
         "character)"},
        {"a.b",
         "warning: picture \"a.b\" gives the symbol \"A.B\" in Icon.h, which is not a "
         "valid C identifier (it contains '.')"},
        {"",
         "warning: picture \"\" gives the symbol \"\" in Icon.h, which is not a valid C "
         "identifier (it is empty)"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(SymbolWarnings({"ok", c.name}), std::vector<std::string>{c.warning}) << c.name;
    }
}

TEST(SymbolCheckTest, SharedSymbolsAreReportedOncePerSymbolAfterTheIdentifierFindings) {
    // "Logo" and "LOGO" differ as names but meet in the upper-cased symbol.
    const auto warnings = SymbolWarnings({"logo", "x y", "Logo", "x y", "LOGO", "z"});
    EXPECT_EQ(warnings,
              (std::vector<std::string>{
                  "warning: picture \"x y\" gives the symbol \"X Y\" in Icon.h, which is not a "
                  "valid C identifier (it contains a space)",
                  "warning: picture \"x y\" gives the symbol \"X Y\" in Icon.h, which is not a "
                  "valid C identifier (it contains a space)",
                  "warning: pictures \"logo\", \"Logo\" and \"LOGO\" all give the symbol \"LOGO\" "
                  "in Icon.h",
                  "warning: pictures \"x y\" and \"x y\" both give the symbol \"X Y\" in Icon.h",
              }));
}

}  // namespace
}  // namespace pictor::conversion
