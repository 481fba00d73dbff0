#include "shorttext/short_text_menu_model.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "shorttext/short_text_fixtures.h"

namespace varnoke {
namespace {

using testing_short_text::Build;
using testing_short_text::Codec;
using testing_short_text::Describe;
using testing_short_text::June5;
using testing_short_text::Lines;
using Menus = std::vector<std::string>;

Menus Shape(const std::string& file) {
    return Describe(Build(Lines(file)));
}

std::string Where(const TokenLabelRef& ref) {
    return std::to_string(ref.menu) + "/" + std::to_string(ref.position) + "/" +
           std::to_string(ref.line);
}

TEST(BuildShortTextMenusTest, LineKindsAndMarkersWithTrailingSpaces) {
    EXPECT_EQ(Shape("[#c\n[=Separator=]\nplain\n[<t>]lab\n[\"cmd\"]run\n[[sub \\Y\n\tin\n]]x\nz\n"),
              (Menus{"-,plain#2,lab#3,!run#4,>1:sub \\Y,z#8", "in#6"}));
    EXPECT_EQ(Shape("[=Break=] \n[=Separator=] \n\t[=BarBreak=]\t\na\n"),
              (Menus{"[=Break=] #0,[=Separator=] #1,||a#3"}));
    EXPECT_EQ(Shape("\n\t\t\n"), (Menus{""}));
}

TEST(BuildShortTextMenusTest, PendingBreakBelongsToItsLevel) {
    // Before "[[" it marks the submenu's entry, not the submenu's first item.
    EXPECT_EQ(Shape("a\n[=Break=]\n[[s\nb\n]]\n"), (Menus{"a#0,|>1:s", "b#3"}));
    // Before "]]" it dies with its level; the enclosing level's own break survives.
    EXPECT_EQ(Shape("[=BarBreak=]\n[[s\nb\n[=Break=]\n]]\nc\n"), (Menus{"||>1:s,c#5", "b#2"}));
    // The last marker wins, comments do not consume it, a separator does; one at the end
    // of the file has no effect.
    EXPECT_EQ(Shape("[=Break=]\n[=BarBreak=]\n[#x\na\n[=Break=]\n[=Separator=]\nb\n[=Break=]\n"),
              (Menus{"||a#3,|-,b#6"}));
}

TEST(BuildShortTextMenusTest, SubmenuEndsAndLineIndexes) {
    EXPECT_EQ(Shape("a\n]]\nb\n[[s\nc\n]]\n"), (Menus{"a#0"}));  // top-level "]]" ends all
    EXPECT_EQ(Shape("a\n[[s\nb\n[[t\nc\n"), (Menus{"a#0,>1:s", "b#2,>2:t", "c#4"}));
    EXPECT_EQ(Shape("[[A\n[[B\n]]\n]]\n[[C\n]]\n"), (Menus{">1:A,>3:C", ">2:B", "", ""}));
    // Comment and marker lines take indexes too.
    const ShortTextMenuModel model = Build(Lines("[#c\n[=Break=]\n[[s\n[=Separator=]\nx\n]]\ny"));
    EXPECT_EQ(model.menus[1].entries[1].commandId, 38004u);
    EXPECT_EQ(model.menus[0].entries[1].commandId, 38006u);
}

TEST(BuildShortTextMenusTest, FiveHundredMenusAndTenThousandLinesAtMost) {
    // With the list full, "[[" ends the deepest level: "x" goes to the enclosing menu.
    std::string file;
    for (int i = 0; i < 500; ++i) {
        file += "[[m" + std::to_string(i) + "\n";
    }
    Menus menus = Shape(file + "x\n");
    ASSERT_EQ(menus.size(), kMaxShortTextMenus);
    EXPECT_EQ(menus[498], ">499:m498,x#500");
    // At the top level it ends the menu.
    file.clear();
    for (int i = 0; i < 501; ++i) {
        file += "[[s\n]]\n";
    }
    menus = Shape(file + "after\n");
    EXPECT_EQ(menus.size(), kMaxShortTextMenus);
    EXPECT_EQ(menus[0].find("after"), std::string::npos);

    file.clear();
    for (int i = 0; i < 10050; ++i) {
        file += "p\n";
    }
    const ShortTextMenuModel big = Build(Lines(file));
    ASSERT_EQ(big.menus[0].entries.size(), kMaxShortTextLines);
    EXPECT_EQ(big.menus[0].entries.back().commandId, 47999u);
}

TEST(TokenLabelRefTest, RefsNameMenuPositionAndLineAndRefreshKeepsIdsAndBreaks) {
    const std::vector<ShortTextString> lines =
        Lines("a\n[[s\n[=Separator=]\n[=BarBreak=]\n[<x>]\\H:\\0m\n]]\n[<\\H>]fixed\n\\Y\n");
    ShortTextMenuModel model = Build(lines, June5(13, 7));
    ASSERT_EQ(model.tokenLabels.size(), 2u);
    EXPECT_EQ(Where(model.tokenLabels[0]), "1/1/4");
    // The position counts the submenu entry; a token in the text part only does not count.
    EXPECT_EQ(Where(model.tokenLabels[1]), "0/3/7");

    ASSERT_TRUE(
        RefreshShortTextLabels(model, lines, June5(0, 30), MacroNames(), IsCp932LeadByte, Codec()));
    EXPECT_EQ(Describe(model), (Menus{"a#0,>1:s,fixed#6,2004#7", "-,||0:30#4"}));
    EXPECT_EQ(model.menus[1].entries[1].commandId, 38004u);
}

TEST(TokenLabelRefTest, RefsThatDoNotFitLeaveTheModelForARebuild) {
    const std::vector<ShortTextString> lines = Lines("\\H\n[[s\n\\m\n");
    const ShortTextMenuModel built = Build(lines);
    auto refused = [&](ShortTextMenuModel model, const std::vector<ShortTextString>& with) {
        const Menus before = Describe(model);
        if (RefreshShortTextLabels(model, with, June5(0, 30), MacroNames(), IsCp932LeadByte,
                                   Codec())) {
            return false;
        }
        EXPECT_EQ(Describe(model), before);  // not even the first label changed
        return true;
    };
    EXPECT_FALSE(refused(built, lines));
    EXPECT_TRUE(refused(built, Lines("\\H\n[[s\n")));  // the line is gone
    ShortTextMenuModel model = built;
    model.tokenLabels[0].position = 1;  // the submenu entry, which has no id
    EXPECT_TRUE(refused(model, lines));
}

}  // namespace
}  // namespace varnoke
