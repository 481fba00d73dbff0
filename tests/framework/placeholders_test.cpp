#include "framework/placeholders.h"

#include <gtest/gtest.h>

namespace varnoke {
namespace {

TEST(FormatPlaceholders, FillsNumberedArgumentsAndKeepsEverythingElse) {
    // "%1 から %2 までの整数を入力してください。" in code page 932.
    const std::string range = "%1 \x82\xa9\x82\xe7 %2 \x82\xdc\x82\xc5";
    EXPECT_EQ(FormatPlaceholders(range, {"2", "300"}), "2 \x82\xa9\x82\xe7 300 \x82\xdc\x82\xc5");
    EXPECT_EQ(FormatPlaceholders("%2-%1-%2", {"a", "b"}), "b-a-b");
    EXPECT_EQ(FormatPlaceholders("%3 %d %% %", {"a"}), "%3 %d %% %");
    EXPECT_EQ(FormatPlaceholders("%1", {"%2"}), "%2");  // arguments are not scanned again
}

}  // namespace
}  // namespace varnoke
