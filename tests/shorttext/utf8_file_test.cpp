// Short-text files saved as UTF-8 with the byte order mark: lines keep their exact text
// where code page 932 cannot hold it, and the markers, escapes and tokens work on it.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/utf8.h"
#include "shorttext/short_text_action.h"
#include "shorttext/short_text_fixtures.h"
#include "shorttext/short_text_line.h"
#include "support/dual_texts.h"
#include "support/macro_samples.h"

namespace varnoke {
namespace {

using testing_short_text::Codec;
using testing_short_text::June5;
using testing_short_text::Lines;

const std::string kFile = std::string(kUtf8ByteOrderMark) +
                          u8"[[\u8A18\U0001F600\r\n"                    // 0: [[記😀
                          u8"\t\U0001F600 \\Y\u5E74\r\n"                // 1: 😀 \Y年
                          u8"[<\\0M/\U0001F600\\t>]\u00E9\\w\r\n"       // 2: é\w
                          u8"\u3042\\G\r\n"                             // 3: あ\G
                          u8"[#\U0001F600\r\n[=Break=]\r\n"             // 4, 5
                          u8"[\"cmd \U0001F600\"]run\u00E9\r\n]]\r\n";  // 6, 7

std::string Ansi(const std::u16string& wide) {
    return Codec().ToClipboardAnsi(wide);
}

ShortTextAction Act(const ShortTextString& line) {
    return DecideShortTextAction(line, June5(), false, samples::Names(), IsCp932LeadByte, Codec());
}

TEST(Utf8ShortTextFileTest, LinesKeepTheirExactTextOnlyWhereTheCodePageLosesIt) {
    const std::vector<ShortTextString> lines = Lines(kFile);
    ASSERT_EQ(lines.size(), 8u);
    EXPECT_EQ(lines[0].exact, u"[[\u8A18\U0001F600");  // no mark, no tab, no line end
    EXPECT_EQ(lines[0].ansi, Ansi(lines[0].exact));
    EXPECT_EQ(lines[1].exact, u"\U0001F600 \\Y\u5E74");
    EXPECT_EQ(lines[3], ShortTextString(Ansi(u"\u3042\\G")));
    // The ANSI form is what CF_TEXT of a copy of the phrase holds, look-alikes included.
    EXPECT_EQ(MakeShortTextString(u"caf\u00E9 \u301C", Codec()).ansi, "cafe \x81\x60");
    // However the bytes come, the mark is seen.
    ShortTextLineReader reader(IsCp932LeadByte, Codec());
    for (char c : kFile) {
        reader.Feed(std::string(1, c));
    }
    reader.Finish();
    EXPECT_EQ(reader.lines(), lines);
}

TEST(Utf8ShortTextFileTest, WithoutTheMarkEveryByteIsReadAsToday) {
    EXPECT_EQ(Lines("\xE5\xB9\xB4\t\r\na\n\xEF\xBB\xBF\x81\t"),
              AnsiTexts({"\xE5\xB9\xB4", "a", "\xEF\xBB\xBF\x81\t"}));
}

TEST(Utf8ShortTextFileTest, MenusShowExactLabelsWithTokensMarkersAndBreaks) {
    const std::vector<ShortTextString> lines = Lines(kFile);
    ShortTextMenuModel model =
        BuildShortTextMenus(lines, June5(), samples::Names(), IsCp932LeadByte, Codec());
    ASSERT_EQ(model.menus.size(), 2u);
    EXPECT_EQ(model.menus[0].entries[0].label.exact, u"\u8A18\U0001F600");
    EXPECT_EQ(model.menus[0].entries[0].label.ansi, Ansi(u"\u8A18\U0001F600"));
    const std::vector<ShortTextEntry>& items = model.menus[1].entries;
    ASSERT_EQ(items.size(), 4u);
    EXPECT_EQ(items[0].label.exact, u"\U0001F600 2004\u5E74");
    EXPECT_EQ(items[0].label.ansi, Ansi(u"\U0001F600 2004\u5E74"));
    EXPECT_EQ(items[1].label.exact, u"\u00E9\u571F");  // é土
    EXPECT_EQ(items[2].label.ansi, Ansi(u"\u3042\u5348\u5F8C"));
    EXPECT_TRUE(items[2].label.exact.empty());
    EXPECT_EQ(items[3].label.exact, u"run\u00E9");
    EXPECT_TRUE(items[3].kind == ShortTextEntryKind::kCommand &&
                items[3].columnBreak == ShortTextBreak::kColumn);
    ASSERT_EQ(model.tokenLabels.size(), 3u);

    const MacroTime later{2010, 1, 2, 6, 0, 0, 0};
    ASSERT_TRUE(
        RefreshShortTextLabels(model, lines, later, samples::Names(), IsCp932LeadByte, Codec()));
    EXPECT_EQ(model.menus[1].entries[0].label.exact, u"\U0001F600 2010\u5E74");
    EXPECT_EQ(model.menus[1].entries[2].label.ansi, Ansi(u"\u3042\u5348\u524D"));
}

TEST(Utf8ShortTextFileTest, ChosenPhrasesPasteExactlyAndCommandsRunInAnsi) {
    const std::vector<ShortTextString> lines = Lines(kFile);
    ShortTextAction action = Act(lines[1]);
    EXPECT_EQ(action.text.exact, u"\U0001F600 2004\u5E74");
    EXPECT_EQ(action.text.ansi, Ansi(action.text.exact));
    EXPECT_EQ(Act(lines[2]).text.exact, u"06/\U0001F600\t");
    action = Act(lines[3]);
    EXPECT_EQ(action.text.ansi, Ansi(u"\u3042\u5348\u5F8C"));
    EXPECT_TRUE(action.text.exact.empty());
    action = Act(lines[6]);
    EXPECT_EQ(action.kind, ShortTextActionKind::kRunCommand);
    EXPECT_EQ(action.commandLine, Ansi(u"cmd \U0001F600"));
}

TEST(Utf8ShortTextFileTest, EscapesAndTokensOfAnExactText) {
    const WideMacroExpansion out = ExpandMacros(u"\\\U0001F600\\0\U0001F600\\0\\\\n\\w\\G\\",
                                                June5(), samples::Names(), Codec());
    EXPECT_EQ(out.text, u"\U0001F600\U0001F600\\\r\n\u571F\u5348\u5F8C");
    EXPECT_TRUE(out.tokenExpanded);
    EXPECT_FALSE(ExpandMacros(u"\\t\u00E9", June5(), samples::Names(), Codec()).tokenExpanded);
}

}  // namespace
}  // namespace varnoke
