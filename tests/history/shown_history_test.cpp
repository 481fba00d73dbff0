#include "history/shown_history.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "support/dual_texts.h"

namespace varnoke {
namespace {

TEST(ResolveChosenEntryTest, UnchangedHistoryKeepsThePosition) {
    const std::vector<HistoryEntry> shown = AnsiTexts({"alpha", "beta", "gamma"});
    const ShownHistory snapshot(shown);
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(ResolveChosenEntry(snapshot, shown, i), i);
    }
}

TEST(ResolveChosenEntryTest, FollowsAnEntryThatMoved) {
    const ShownHistory snapshot(AnsiTexts({"alpha", "beta", "gamma"}));
    // A capture at the front while the menu was open shifted everything by one.
    const std::vector<HistoryEntry> now = AnsiTexts({"delta", "alpha", "beta", "gamma"});
    EXPECT_EQ(ResolveChosenEntry(snapshot, now, 0), 1);
    EXPECT_EQ(ResolveChosenEntry(snapshot, now, 2), 3);
    // Same length, different text at the chosen position: not taken for it.
    const std::vector<HistoryEntry> dropped = AnsiTexts({"gamme", "gamma"});
    EXPECT_EQ(ResolveChosenEntry(snapshot, dropped, 2), 1);
}

TEST(ResolveChosenEntryTest, GoneOrUnknownEntriesResolveToNothing) {
    const ShownHistory snapshot(AnsiTexts({"alpha", "beta"}));
    EXPECT_EQ(ResolveChosenEntry(snapshot, AnsiTexts({"beta"}), 0), std::nullopt);
    EXPECT_EQ(ResolveChosenEntry(snapshot, std::vector<HistoryEntry>{}, 1), std::nullopt);
    EXPECT_EQ(ResolveChosenEntry(snapshot, AnsiTexts({"alpha", "beta", "x"}), 2), std::nullopt);
    EXPECT_EQ(ResolveChosenEntry(snapshot, AnsiTexts({"alpha"}), -1), std::nullopt);
    EXPECT_EQ(ResolveChosenEntry(ShownHistory(), AnsiTexts({"alpha"}), 0), std::nullopt);
}

TEST(ResolveChosenEntryTest, OfTwoEqualTextsTheOneThatMovedWithItsNeighboursIsChosen) {
    // {A, B, A} shown; a capture at the head gives {C, A, B, A}. "3. A" is the older A,
    // now at position 3, although the newer one at position 1 is just as near.
    const ShownHistory abA(AnsiTexts({"A", "B", "A"}));
    EXPECT_EQ(ResolveChosenEntry(abA, AnsiTexts({"C", "A", "B", "A"}), 2), 3);
    EXPECT_EQ(ResolveChosenEntry(abA, AnsiTexts({"C", "A", "B", "A"}), 0), 1);
    // Two captures: the chosen position itself holds the other copy now.
    const ShownHistory abAx(AnsiTexts({"A", "B", "A", "X"}));
    EXPECT_EQ(ResolveChosenEntry(abAx, AnsiTexts({"N", "M", "A", "B", "A", "X"}), 2), 4);
    // New entries at the tail of a full list: the oldest dropped, everything one down.
    EXPECT_EQ(ResolveChosenEntry(abAx, AnsiTexts({"B", "A", "X", "N"}), 2), 1);
    // Nothing moved: every copy stays itself.
    const ShownHistory same(AnsiTexts({"a", "same", "b", "same"}));
    EXPECT_EQ(ResolveChosenEntry(same, AnsiTexts({"a", "same", "b", "same"}), 1), 1);
    EXPECT_EQ(ResolveChosenEntry(same, AnsiTexts({"a", "same", "b", "same"}), 3), 3);
    // No neighbour to go by: the nearest copy.
    const ShownHistory lone(AnsiTexts({"p", "q", "r", "same"}));
    EXPECT_EQ(ResolveChosenEntry(lone, AnsiTexts({"same", "x", "y", "z", "w", "same"}), 3), 5);
}

TEST(MoveToNewestEndTest, TheChosenEntryGoesWhereCapturesEnter) {
    // "a" and "c" are emoji that code page 932 holds as "??" only: a moved entry keeps its
    // exact text at either end, or every later choice of it would paste "??".
    const HistoryEntry a("??", u"\U0001F600");
    const HistoryEntry c("??", u"\U0001F60E");
    const HistoryEntry b("b");
    const std::vector<HistoryEntry> start = {a, b, c};
    struct Case {
        int insertPos, index;
        bool changed;
        std::vector<HistoryEntry> after;
    };
    // Insert position 2 is out of range: like 0, as the capture has it.
    const Case cases[] = {
        {0, 2, true, {c, a, b}}, {0, 0, false, {a, b, c}}, {1, 0, true, {b, c, a}},
        {1, 2, true, {a, b, c}}, {2, 2, true, {c, a, b}},  {0, 3, false, {a, b, c}},
    };
    for (const Case& test : cases) {
        ClipHistory history;
        for (const HistoryEntry& text : start) {
            history.Append(text);
        }
        Settings settings;
        settings.historyInsertPos = test.insertPos;
        EXPECT_EQ(MoveToNewestEnd(history, test.index, settings), test.changed)
            << test.insertPos << test.index;
        EXPECT_EQ(history.entries(), test.after) << test.insertPos << test.index;
    }
}

TEST(MoveToNewestEndTest, AChoiceInAMovedMenuMovesTheCopyTheUserSaw) {
    // The menu shows {A, B, A}; a capture gives {C, A, B, A}; "3. A" is chosen with
    // move-to-newest on.
    const ShownHistory shown(AnsiTexts({"A", "B", "A"}));
    ClipHistory history;
    for (const char* text : {"C", "A", "B", "A"}) {
        history.Append(HistoryEntry(text));
    }
    const std::optional<int> chosen = ResolveChosenEntry(shown, history.entries(), 2);
    ASSERT_TRUE(chosen);
    EXPECT_TRUE(MoveToNewestEnd(history, *chosen, Settings{}));
    EXPECT_EQ(history.entries(), AnsiTexts({"A", "C", "A", "B"}));
}

// The menu resolves against the history itself, with the hashes the history keeps: the
// guard must stay exact through every kind of change, including a text replaced by one of
// the same length.
TEST(ResolveChosenEntryTest, AgainstTheHistoryEveryChangeIsSeen) {
    ClipHistory history;
    for (const char* text : {"A", "B", "A"}) {
        history.Append(HistoryEntry(text));
    }
    const ShownHistory shown(history);
    EXPECT_EQ(ResolveChosenEntry(shown, history, 2), 2);
    EXPECT_EQ(ResolveChosenEntry(shown, history, 3), std::nullopt);
    EXPECT_EQ(ResolveChosenEntry(shown, history, -1), std::nullopt);

    history.InsertFront(HistoryEntry("C"));  // a capture while the menu is tracked
    EXPECT_EQ(ResolveChosenEntry(shown, history, 2), 3);
    EXPECT_EQ(ResolveChosenEntry(shown, history, 0), 1);

    history.Replace(3, HistoryEntry("Z"));  // same length, other text
    EXPECT_EQ(ResolveChosenEntry(shown, history, 2), 1);
    history.Replace(1, HistoryEntry("Y"));
    EXPECT_EQ(ResolveChosenEntry(shown, history, 2), std::nullopt);
    EXPECT_EQ(ResolveChosenEntry(shown, history, 1), 2);

    // A snapshot of another history never passes for one of this history.
    ClipHistory other;
    for (const char* text : {"Q", "R", "S"}) {
        other.Append(HistoryEntry(text));
    }
    EXPECT_EQ(ResolveChosenEntry(ShownHistory(other), history, 0), std::nullopt);
}

}  // namespace
}  // namespace varnoke
