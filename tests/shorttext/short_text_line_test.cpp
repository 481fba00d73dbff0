#include "shorttext/short_text_line.h"

#include <gtest/gtest.h>

#include <string>

namespace varnoke {
namespace {

std::string Text(const std::string& line) {
    return SplitBracketItem(line, false, IsCp932LeadByte);
}

std::string Label(const std::string& line) {
    return SplitBracketItem(line, true, IsCp932LeadByte);
}

TEST(SplitBracketItemTest, TextAndLabelAroundTheFirstClosingMark) {
    EXPECT_EQ(Text("[<a>]b>]c") + "|" + Label("[<a>]b>]c"), "a|b>]c");
    EXPECT_EQ(Text("[<>]x") + "|" + Label("[<>]x"), "|x");
    EXPECT_EQ(Text("[\"notepad a.txt\"]") + "|" + Label("[\"notepad a.txt\"]"), "notepad a.txt|");
    EXPECT_EQ(Text("[<a\"]b>]c"), "a\"]b");  // the other kind's mark does not count
    // "[\"]": the opening quote with "]" closes, so the command is empty.
    EXPECT_EQ(Text("[\"]label") + "|" + Label("[\"]label"), "|label");
}

TEST(SplitBracketItemTest, MissingMarkGivesTheWholeLine) {
    for (const std::string line : {"[<no end", "[<no end >", "[\"cmd\" ]x"}) {
        EXPECT_EQ(Text(line), line);
        EXPECT_EQ(Label(line), line);
    }
}

TEST(SplitBracketItemTest, MarkIsNeverTakenInsideADoubleByteCharacter) {
    // 0x81 takes the ">" as its second byte, so the first mark is the later one.
    EXPECT_EQ(Text("[<\x81>]x>]y") + "|" + Label("[<\x81>]x>]y"), "\x81>]x|y");
}

}  // namespace
}  // namespace varnoke
