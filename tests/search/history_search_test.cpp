#include "search/history_search.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "history/exact_text.h"
#include "support/cp932_codec.h"
#include "support/dual_texts.h"

namespace varnoke {
namespace {

const samples::Cp932Codec kCodec;
const AnsiFolding kCp932;

// An entry of a text the code page holds, written in UTF-16.
HistoryEntry Ansi(std::u16string_view wide) {
    return HistoryEntry(kCodec.ToAnsi(wide));
}

ClipHistory History(const std::vector<HistoryEntry>& entries) {
    ClipHistory history;
    for (const HistoryEntry& entry : entries) {
        history.Append(entry);
    }
    return history;
}

std::vector<int> Positions(const HistorySearchModel& model) {
    std::vector<int> positions;
    for (int row = 0; row < model.rowCount(); ++row) {
        positions.push_back(model.PositionOfRow(row));
    }
    return positions;
}

std::vector<int> Search(const ClipHistory& history, std::u16string_view typed) {
    HistorySearchModel model(kCodec, kCp932);
    model.SetHistory(history, false);
    model.SetQuery(typed);
    return Positions(model);
}

TEST(HistorySearchModelTest, FindsTheTypedTextAcrossForms) {
    const ClipHistory history = History({
        Ansi(u"\u30AB\u30A4\u30AE\u5BA4\u306E\u4E88\u7D04"),  // "kaigi" room reservation
        Ansi(u"\u4F1A\u8B70"),                                // "kaigi" in kanji
        HistoryEntry("abc"),
        Ansi(u"\u30AB 1"),
        HistoryEntry("?? \x82\x6C\x82\x64\x82\x64\x82\x73", u"\U0001F600 \uFF2D\uFF25\uFF25\uFF34"),
        HistoryEntry("??"),
    });
    EXPECT_EQ(Search(history, u"\u304B\u3044\u304E"), (std::vector<int>{0}));
    EXPECT_EQ(Search(history, u"\uFF21\uFF22\uFF23"), (std::vector<int>{2}));
    EXPECT_EQ(Search(history, u"\uFF76"), (std::vector<int>{0, 3}));
    EXPECT_EQ(Search(history, u"\uFF11"), (std::vector<int>{3}));
    // The exact text is searched in UTF-16; an emoji only there, not in its "??".
    EXPECT_EQ(Search(history, u"meet"), (std::vector<int>{4}));
    EXPECT_EQ(Search(history, u"\U0001F600"), (std::vector<int>{4}));
    EXPECT_EQ(Search(history, u"??"), (std::vector<int>{5}));
    EXPECT_EQ(Search(history, u"").size(), 6u);
}

TEST(HistorySearchModelTest, ListsNewestFirstWithTheEditorsRows) {
    ClipHistory history = History({HistoryEntry("a1"), HistoryEntry("b"), HistoryEntry("a2"),
                                   HistoryEntry("a?", u"a\U0001F600")});
    HistorySearchModel model(kCodec, kCp932);
    model.SetHistory(history, true);
    model.SetQuery(u"A");
    EXPECT_EQ(Positions(model), (std::vector<int>{3, 2, 0}));
    // The choice names the entry's position, not its row.
    EXPECT_EQ(model.SelectedChoice()->shownPosition, 3);
    EXPECT_EQ(model.RowText(1), "3\ta2");
    EXPECT_EQ(model.RowWideText(1), u"");
    EXPECT_EQ(model.RowWideText(0), u"4\ta\U0001F600");
    EXPECT_EQ(model.ListRow(0), DualText("4\ta?", u"4\ta\U0001F600"));
    EXPECT_EQ(model.ListRow(1), DualText("3\ta2"));
    model.SetHistory(history, false);
    EXPECT_EQ(Positions(model), (std::vector<int>{0, 2, 3}));
}

TEST(HistorySearchModelTest, SelectionFollowsItsEntry) {
    ClipHistory history = AnsiHistory({"x0", "x1", "x2", "y3"});
    HistorySearchModel model(kCodec, kCp932);
    model.SetHistory(history, false);
    EXPECT_FALSE(model.FoldAhead(1));  // the empty query lists all without folding
    EXPECT_TRUE(model.FoldAhead(1000));
    EXPECT_EQ(model.selectedRow(), 0);
    model.MoveSelection(-5);
    EXPECT_EQ(model.selectedRow(), 0);
    model.MoveSelection(100);
    EXPECT_EQ(model.PositionOfRow(model.selectedRow()), 3);
    model.SelectRow(2);
    model.SetQuery(u"x");  // "x2" is still listed
    EXPECT_EQ(model.PositionOfRow(model.selectedRow()), 2);
    model.SelectRow(-1);
    EXPECT_EQ(model.selectedRow(), 2);

    // A capture moves "x2" to position 3; it stays selected.
    history.InsertFront(HistoryEntry("x new"));
    model.SetHistory(history, false);
    EXPECT_EQ(model.PositionOfRow(model.selectedRow()), 3);
    const auto choice = model.SelectedChoice();
    ASSERT_TRUE(choice);
    // Another capture before the choice is carried out: it still names "x2".
    history.InsertFront(HistoryEntry("z"));
    EXPECT_EQ(ResolveChosenEntry(choice->shown, history, choice->shownPosition), 4);

    // Of two equal texts, the one that was selected.
    history.Append(HistoryEntry("x new"));
    model.SetHistory(history, false);
    model.SelectRow(4);
    ASSERT_EQ(model.PositionOfRow(4), 6);
    model.SetQuery(u"new");
    EXPECT_EQ(model.PositionOfRow(model.selectedRow()), 6);

    model.SetQuery(u"nothing");
    EXPECT_EQ(model.selectedRow(), -1);
    EXPECT_FALSE(model.SelectedChoice());
}

}  // namespace
}  // namespace varnoke
