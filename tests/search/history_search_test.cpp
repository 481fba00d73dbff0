#include "search/history_search.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "history/exact_text.h"
#include "support/cp1252_codec.h"
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
    EXPECT_EQ(model.Row(1).text, DualText("3\ta2"));
    EXPECT_EQ(model.Row(0).text.exact, u"4\ta\U0001F600");
    EXPECT_EQ(model.Row(0).marks, (std::vector<RowMark>{{2, 1}}));
    model.SetHistory(history, false);
    EXPECT_EQ(Positions(model), (std::vector<int>{0, 2, 3}));
    // The empty query shows the history editor's rows.
    model.SetQuery(u"");
    EXPECT_EQ(model.Row(3).text, HistoryRow(3, history.at(3), &IsCp932LeadByte, kCodec));
    EXPECT_TRUE(model.Row(3).marks.empty());
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

TEST(HistorySearchModelTest, EveryWordInAnyOrderAndPhrasesAfterTheEntries) {
    const ClipHistory history = History({
        Ansi(u"\u30AB\u30A4\u30AE\u5BA4\u306E\u4E88\u7D04 \u4F1A\u8B70"),  // カイギ室の予約 会議
        Ansi(u"\u4F1A\u8B70"),                                             // 会議
        Ansi(u"\u4E88\u7D04\u3000\u4F1A\u8B70"),                           // 予約　会議
    });
    HistorySearchModel model(kCodec, kCp932);
    model.SetHistory(history, false);
    model.SetPhrases({{DualText("plan"), "menu 1"},
                      {Ansi(u"\u4F1A\u8B70\u306E\u4E88\u7D04"), "menu 2"},
                      {DualText("?", u"\U0001F4C5 \u4F1A\u8B70 \u4E88\u7D04"), "menu 3"}});
    model.SetQuery(u"\u4F1A\u8B70 \u4E88\u7D04");  // 会議 予約
    EXPECT_EQ(Positions(model), (std::vector<int>{0, 2, -1, -1}));
    EXPECT_EQ(model.PhraseOfRow(2), 1);
    EXPECT_EQ(model.PhraseOfRow(3), 2);
    EXPECT_EQ(model.Row(3).text.exact, u"menu 3\t\U0001F4C5 \u4F1A\u8B70 \u4E88\u7D04");
    // Both words are marked where they are in the row.
    EXPECT_EQ(model.Row(3).marks, (std::vector<RowMark>{{10, 2}, {13, 2}}));
    model.SetQuery(u"\u4F1A\u8B70\u3000\u4E88\u7D04");  // a full-width space splits too
    EXPECT_EQ(model.rowCount(), 4);

    model.SelectRow(3);
    model.SetQuery(u"\u4E88\u7D04");  // the selected phrase is still listed
    EXPECT_EQ(model.PhraseOfRow(model.selectedRow()), 2);
    EXPECT_EQ(model.SelectedChoice()->phrase, 2);
    EXPECT_EQ(model.SelectedChoice()->shownPosition, -1);
    model.SetQuery(u"");  // phrases are searched, never listed whole
    EXPECT_EQ(model.rowCount(), 3);
}

TEST(HistorySearchModelTest, RomajiAndASingleByteCodePageFindWhatWasMeant) {
    const ClipHistory history = History({Ansi(u"\u30AB\u30A4\u30AE\u5BA4"),  // カイギ室
                                         Ansi(u"\u4F1A\u8B70"), HistoryEntry("kaigi 2")});
    EXPECT_EQ(Search(history, u"KAIGI"), (std::vector<int>{0, 2}));
    // One letter typed is a word being begun, not "ン".
    EXPECT_TRUE(Search(History({Ansi(u"\u30F3")}), u"n").empty());

    const samples::Cp1252Codec latin;
    HistorySearchModel model(latin, MakeAnsiFolding(
                                        latin, [](unsigned char) { return false; }, false));
    const ClipHistory french =
        AnsiHistory({"\xC9"
                     "cole",
                     "a \x97 b", "ecole"});
    model.SetHistory(french, false);
    model.SetQuery(u"\u00C9COLE");
    EXPECT_EQ(Positions(model), (std::vector<int>{0}));
    model.SetQuery(u"\u2014");  // folds to a dash the code page lacks
    EXPECT_EQ(Positions(model), (std::vector<int>{1}));
}

TEST(HistorySearchModelTest, ARowShowsTheLineOfTheFirstWordCutAroundIt) {
    std::string lines;
    for (int i = 1; i <= 40; ++i) {
        lines += "line " + std::to_string(i) + (i == 30 ? " has the \x83\x4A\x83\x43 word" : "") +
                 "\r\n";
    }
    std::string longLine(600, 'x');
    longLine.replace(550, 4, "\xB6\xB2\xB7\xDE");  // ｶｲｷﾞ
    ClipHistory history = AnsiHistory({lines, longLine});
    HistorySearchModel model(kCodec, kCp932);
    model.SetHistory(history, false);
    model.SetQuery(u"\u304B\u3044 HAS");  // かい: found by folding, marked by its own bytes
    ASSERT_EQ(model.rowCount(), 1);
    SearchRow row = model.Row(0);
    EXPECT_EQ(row.text.ansi, "1\tline 30 has the \x83\x4A\x83\x43 word");
    EXPECT_EQ(row.marks, (std::vector<RowMark>{{10, 3}, {18, 2}}));

    model.SetQuery(u"\u30AB\u30A4\u30AE");  // カイギ, 550 bytes into a 600-byte line
    ASSERT_EQ(model.rowCount(), 1);
    row = model.Row(0);
    EXPECT_EQ(row.text.ansi, "2\t..." + longLine.substr(550 - kSearchRowContextBytes));
    // ｶｲｷﾞ is four units shown, three folded.
    EXPECT_EQ(row.marks, (std::vector<RowMark>{{5 + kSearchRowContextBytes, 4}}));
}

TEST(HistorySearchModelTest, AnEntryDeletedUnannouncedIsNoticedAtTheNextQuery) {
    ClipHistory history = AnsiHistory({"a1", "a2", "a3"});
    HistorySearchModel model(kCodec, kCp932);
    model.SetHistory(history, false);  // nothing folded yet
    history.RemoveAt(0);
    history.RemoveAt(0);
    EXPECT_TRUE(model.HistoryMoved());  // the window draws its rows unmarked meanwhile
    EXPECT_TRUE(model.FoldAhead(1000));
    model.SetQuery(u"a");
    EXPECT_FALSE(model.HistoryMoved());
    EXPECT_EQ(Positions(model), (std::vector<int>{0}));
    EXPECT_EQ(model.Row(0).text.ansi, "1\ta3");
    // The choice names the entry as the list now shows it.
    const auto choice = model.SelectedChoice();
    ASSERT_TRUE(choice);
    EXPECT_EQ(ResolveChosenEntry(choice->shown, history, choice->shownPosition), 0);
}

}  // namespace
}  // namespace varnoke
