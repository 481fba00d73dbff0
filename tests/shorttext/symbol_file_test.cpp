// The default short-text file shipped beside the program, read from the source tree.

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "shorttext/short_text_action.h"
#include "shorttext/short_text_fixtures.h"
#include "shorttext/short_text_line.h"

namespace varnoke {
namespace {

using testing_short_text::Build;
using testing_short_text::Describe;
using testing_short_text::June5;
using testing_short_text::Lines;

// This file is tests/shorttext/symbol_file_test.cpp; the data file is src/res/Symbol.txt.
std::string ReadShippedFile() {
    std::string path = __FILE__;
    for (int up = 0; up < 3; ++up) {
        path = path.substr(0, path.find_last_of("/\\"));
    }
    std::ifstream in(path + "/src/res/Symbol.txt", std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

TEST(SymbolFileTest, CrLfLinesExactMarkersAndBalancedSubmenus) {
    const std::string bytes = ReadShippedFile();
    ASSERT_FALSE(bytes.empty());
    EXPECT_EQ(bytes.substr(bytes.size() - 2), "\r\n");
    for (size_t pos = bytes.find('\n'); pos != std::string::npos; pos = bytes.find('\n', pos + 1)) {
        EXPECT_EQ(bytes[pos - 1], '\r') << "byte " << pos;
    }
    const std::vector<ShortTextString> lines = Lines(bytes);
    size_t starts = 0;
    size_t ends = 0;
    for (const ShortTextString& stored : lines) {
        ASSERT_TRUE(stored.exact.empty());
        const std::string& line = stored.ansi;
        const ShortTextLineKind kind = ClassifyShortTextLine(line);
        // A "[=" line that is no marker, or a "[<" line without ">]", would be a typo.
        EXPECT_FALSE(kind == ShortTextLineKind::kPhrase && line.rfind("[=", 0) == 0) << line;
        EXPECT_FALSE(kind == ShortTextLineKind::kLabelledPhrase &&
                     SplitBracketItem(line, true, IsCp932LeadByte) == line)
            << line;
        starts += kind == ShortTextLineKind::kSubmenuStart;
        ends += kind == ShortTextLineKind::kSubmenuEnd;
    }
    EXPECT_EQ(starts, ends);
    EXPECT_EQ(Build(lines).menus.size(), starts + 1);
}

TEST(SymbolFileTest, MenusHoldBracketsSymbolsDatesASeparatorAndColumnBreaks) {
    const std::vector<ShortTextString> lines = Lines(ReadShippedFile());
    const ShortTextMenuModel model = Build(lines);
    const std::vector<std::string> menus = Describe(model);
    ASSERT_EQ(menus.size(), 5u);
    // 括弧(&K), 記号(&S), 日付と時刻(&D), two phrases and a closing one, then メモ帳(&M).
    EXPECT_EQ(menus[0].substr(0, menus[0].find(",\x82\xA8")),
              ">1:\x8A\x87\x8C\xCA(&K),>2:\x8B\x4C\x8D\x86(&S),"
              ">4:\x93\xFA\x95\x74\x82\xC6\x8E\x9E\x8D\x8F(&D),-");
    EXPECT_NE(menus[0].find(",||!\x83\x81\x83\x82\x92\xA0(&M)#"), std::string::npos);
    EXPECT_EQ(menus[1].rfind("\x81\x75\x81\x76#8,", 0), 0u);  // 「」 first
    // 記号: a separator, a column break and the nested 単位・数学(&U).
    EXPECT_NE(menus[2].find(",-,"), std::string::npos);
    EXPECT_NE(menus[2].find(",|"), std::string::npos);
    EXPECT_NE(menus[2].find(">3:\x92\x50\x88\xCA\x81\x45\x90\x94\x8A\x77(&U)"), std::string::npos);

    // 今日 2004/06/05(&T) pastes the date of the moment it is chosen.
    const ShortTextEntry& today = model.menus[4].entries[0];
    EXPECT_EQ(today.label.ansi, "\x8D\xA1\x93\xFA 2004/06/05(&T)");
    EXPECT_EQ(model.tokenLabels[0].line, today.lineIndex);
    const MacroTime chosen{2010, 1, 2, 6, 0, 0, 0};
    EXPECT_EQ(DecideShortTextAction(lines[static_cast<size_t>(today.lineIndex)], chosen, true,
                                    MacroNames(), IsCp932LeadByte, testing_short_text::Codec())
                  .text.ansi,
              "2010/01/02");
}

}  // namespace
}  // namespace varnoke
