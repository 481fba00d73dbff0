#include "menus/history_search.h"

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "history/exact_text.h"
#include "support/cp932_codec.h"

namespace varnoke {
namespace {

const samples::Cp932Codec kCodec;
const AnsiFolding kCp932;
constexpr size_t kNone = std::string::npos;

std::string Ansi(std::u16string_view wide) {
    return kCodec.ToAnsi(wide);
}

std::string Fold(std::u16string_view wide) {
    return FoldAnsiForSearch(Ansi(wide), kCp932);
}

// Every character of code page 932, and every half-width kana with each voicing mark, folds
// to the same text in both foldings: this checks the tables against iconv.
TEST(SearchFoldTest, AnsiAndWideFoldingsAgreeOnEveryCharacter) {
    std::vector<std::string> texts;
    for (int c = 0; c < 0x100; ++c) {
        if (!IsCp932LeadByte(static_cast<unsigned char>(c))) {
            texts.push_back(std::string(1, static_cast<char>(c)));
        }
        if (c >= 0xA1 && c <= 0xDF) {
            texts.push_back(std::string{static_cast<char>(c), '\xDE'});
            texts.push_back(std::string{static_cast<char>(c), '\xDF'});
        }
    }
    for (int lead = 0x81; lead <= 0xFC; ++lead) {
        for (int trail = 0x40; lead <= 0x9F || lead >= 0xE0 ? trail <= 0xFC : false; ++trail) {
            texts.push_back(std::string{static_cast<char>(lead), static_cast<char>(trail)});
        }
    }
    int checked = 0;
    for (const std::string& text : texts) {
        const std::u16string wide = kCodec.ToWide(text);
        if (wide.find(u'\u30FB') != std::u16string::npos && text != "\x81\x45") {
            continue;  // not a character of the code page
        }
        ++checked;
        EXPECT_EQ(kCodec.ToWide(FoldAnsiForSearch(text, kCp932)), FoldWideForSearch(wide))
            << std::hex << static_cast<int>(static_cast<unsigned char>(text[0]));
    }
    EXPECT_GT(checked, 7000);
}

TEST(SearchFoldTest, FoldsCaseWidthAndKana) {
    // "ABC", full-width, and "abc"; "0123" full-width.
    EXPECT_EQ(Fold(u"AbC\uFF21\uFF42\uFF23\uFF10\uFF19\u3000"), "abcabc09 ");
    // Half-width "ka ga pa vu ho-" with the marks joined, and "ka" "ga" in hiragana: all katakana.
    EXPECT_EQ(Fold(u"\uFF76\uFF76\uFF9E\uFF8A\uFF9F\uFF73\uFF9E\uFF8E\uFF70\u304B\u304C"),
              Ansi(u"\u30AB\u30AC\u30D1\u30F4\u30DB\u30FC\u30AB\u30AC"));
    // A mark that joins nothing stays a full-width mark.
    EXPECT_EQ(Fold(u"\uFF71\uFF9E\uFF9F"), Ansi(u"\u30A2\u309B\u309C"));
    // Greek "Sigma Omega", Cyrillic "Io Ya".
    EXPECT_EQ(Fold(u"\u03A3\u03A9\u0401\u042F"), Ansi(u"\u03C3\u03C9\u0451\u044F"));
    EXPECT_EQ(FoldWideForSearch(u"\u00C0\u00D7\u00DE\u0100\u0139\u0178\u017D\u0130"),
              u"\u00E0\u00D7\u00FE\u0101\u013A\u00FF\u017E"
              u"i");
    // Any other code page folds ASCII only, and never a trail byte.
    EXPECT_EQ(FoldAnsiForSearch("A\x82\x60\x83\x41\xB6", {&IsCp932LeadByte, false}),
              "a\x82\x60\x83\x41\xB6");
}

// The first boundary match, found by walking the characters.
size_t FindByWalking(std::string_view hay, std::string_view needle) {
    for (size_t at = 0; at < hay.size(); at += CharLength(hay, at, IsCp932LeadByte)) {
        if (hay.substr(at, needle.size()) == needle) {
            return at;
        }
    }
    return needle.empty() ? 0 : kNone;
}

TEST(SearchFindTest, NeverStartsOnASecondByte) {
    // "a" is the second byte of U+30C2 (0x83 0x61); the first "a" after it is found.
    EXPECT_EQ(FindFoldedAnsi("\x83\x61", "a", IsCp932LeadByte), kNone);
    EXPECT_EQ(FindFoldedAnsi("\x83\x61"
                             "a",
                             "a", IsCp932LeadByte),
              2u);
    EXPECT_EQ(FindFoldedAnsi("\x83\x83\x83\x81"
                             "abc",
                             "\x83\x81"
                             "a",
                             IsCp932LeadByte),
              2u);
    EXPECT_EQ(FindFoldedAnsi("\x83\x83\x81\x83", "\x83\x81", IsCp932LeadByte), kNone);
    // Bytes 00 61 61 00: "aa" as one unit would start on a second byte.
    EXPECT_EQ(FindFoldedWide(u"\u6100a", u"\u6161"), kNone);
    EXPECT_EQ(FindFoldedWide(u"x\U0001F600", std::u16string(1, char16_t{0xDE00})), kNone);
    EXPECT_EQ(FindFoldedWide(u"xy\u3042xyz", u"xyz"), 3u);

    // Texts dense in lead-range bytes, against a walk over their characters.
    const char alphabet[] = {'a', 'b', '\x81', '\x83', '\x61', '\x40', '\xE0'};
    std::mt19937 random(7);
    for (int round = 0; round < 3000; ++round) {
        std::string hay(random() % 40, ' ');
        for (char& c : hay) {
            c = alphabet[random() % sizeof alphabet];
        }
        const size_t from = hay.empty() ? 0 : random() % hay.size();
        const std::string needle = hay.substr(from, 1 + random() % 6);
        EXPECT_EQ(FindFoldedAnsi(hay, needle, IsCp932LeadByte), FindByWalking(hay, needle))
            << "round " << round;
    }
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
        "abc",
        Ansi(u"\u30AB 1"),
        HistoryEntry("?? \x82\x6C\x82\x64\x82\x64\x82\x73", u"\U0001F600 \uFF2D\uFF25\uFF25\uFF34"),
        "??",
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
    ClipHistory history = History({"a1", "b", "a2", HistoryEntry("a?", u"a\U0001F600")});
    HistorySearchModel model(kCodec, kCp932);
    model.SetHistory(history, true);
    model.SetQuery(u"A");
    EXPECT_EQ(Positions(model), (std::vector<int>{3, 2, 0}));
    EXPECT_EQ(model.RowText(1), "3\ta2");
    EXPECT_EQ(model.RowWideText(1), u"");
    EXPECT_EQ(model.RowWideText(0), HistoryRowWideText(3, history.at(3), kCodec));
    model.SetHistory(history, false);
    EXPECT_EQ(Positions(model), (std::vector<int>{0, 2, 3}));
}

TEST(HistorySearchModelTest, SelectionFollowsItsEntry) {
    ClipHistory history = History({"x0", "x1", "x2", "y3"});
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
    EXPECT_EQ(ResolveChosenEntry(choice->shown, history, choice->commandId), 4);

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
