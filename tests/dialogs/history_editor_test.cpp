#include "dialogs/history_editor.h"

#include <gtest/gtest.h>

#include "support/cp932_codec.h"
#include "support/dual_texts.h"

namespace varnoke {
namespace {

using Texts = std::vector<std::string>;

// A list control as the window keeps it: each row's slot and selection, changed only by
// replaying the model's ListChanges, the way the dialog does.
struct FakeList {
    struct Row {
        int slot;
        bool selected;
        bool operator==(const Row& o) const { return slot == o.slot && selected == o.selected; }
    };
    std::vector<Row> rows;
    int top = 0;
    int caret = 0;

    explicit FakeList(const HistoryEditModel& model) {
        for (int r = 0; r < model.count(); ++r) {
            rows.push_back({model.SlotOfRow(r), model.IsSelected(r)});
        }
    }
    // Like the platform's list: a change naming a row that does not exist does nothing.
    void Replay(const ListChanges& changes) {
        for (const ListChange& c : changes) {
            const bool exists = c.row >= 0 && c.row < static_cast<int>(rows.size());
            switch (c.kind) {
                case ListChange::kRemove:
                    ASSERT_TRUE(exists);
                    rows.erase(rows.begin() + c.row);
                    break;
                case ListChange::kInsert:
                    ASSERT_LE(c.row, static_cast<int>(rows.size()));
                    rows.insert(rows.begin() + c.row, Row{c.slot, c.selected});
                    break;
                case ListChange::kSelect:
                    ASSERT_TRUE(exists);
                    rows[static_cast<size_t>(c.row)].selected = c.selected;
                    break;
                case ListChange::kTop:
                    top = c.row;
                    break;
                case ListChange::kCaret:
                    ASSERT_TRUE(exists);
                    caret = c.row;
                    break;
            }
        }
    }
    std::vector<int> Slots() const {
        std::vector<int> slots;
        for (const Row& r : rows) {
            slots.push_back(r.slot);
        }
        return slots;
    }
    std::vector<int> Selected() const {
        std::vector<int> selected;
        for (size_t i = 0; i < rows.size(); ++i) {
            if (rows[i].selected) {
                selected.push_back(static_cast<int>(i));
            }
        }
        return selected;
    }
};

// The model and a list that only ever saw the replayed changes agree row for row.
void ExpectListMatchesModel(const FakeList& list, const HistoryEditModel& model) {
    ASSERT_EQ(static_cast<int>(list.rows.size()), model.count());
    for (int r = 0; r < model.count(); ++r) {
        EXPECT_EQ(list.rows[static_cast<size_t>(r)],
                  (FakeList::Row{model.SlotOfRow(r), model.IsSelected(r)}))
            << "row " << r;
    }
}

Texts RowTexts(const HistoryEditModel& model) {
    Texts texts;
    for (int r = 0; r < model.count(); ++r) {
        texts.push_back(model.RowText(model.SlotOfRow(r)));
    }
    return texts;
}

HistoryEditModel Model(const Texts& texts, int displayOrder = 0) {
    return HistoryEditModel(AnsiTexts(texts), displayOrder, &IsCp932LeadByte);
}

const Texts kFive{"A", "B", "C", "D", "E"};

TEST(HistoryEditModel, RowsShowTheLastPositionFirstUnlessTheOrderIsNonZero) {
    HistoryEditModel newestLast = Model({"A", "B", "C"}, 0);
    EXPECT_EQ(RowTexts(newestLast), (Texts{"3\tC", "2\tB", "1\tA"}));
    HistoryEditModel newestFirst = Model({"A", "B", "C"}, 1);
    EXPECT_EQ(RowTexts(newestFirst), (Texts{"1\tA", "2\tB", "3\tC"}));
    // Unchanged, both read back as they came in.
    EXPECT_EQ(newestLast.EditHistoryOrder(), (std::vector<int>{0, 1, 2}));
    EXPECT_EQ(newestFirst.EditHistoryOrder(), (std::vector<int>{0, 1, 2}));
    EXPECT_EQ(newestLast.TakeEditedHistory(), AnsiTexts({"A", "B", "C"}));
    EXPECT_EQ(newestFirst.TakeEditedHistory(), AnsiTexts({"A", "B", "C"}));
}

TEST(HistoryEditModel, AnEmptyEntryGetsNoRowAndIsDroppedOnReadback) {
    HistoryEditModel model = Model({"A", "", "C"}, 1);
    EXPECT_EQ(RowTexts(model), (Texts{"1\tA", "3\tC"}));
    EXPECT_EQ(model.TakeEditedHistory(), AnsiTexts({"A", "C"}));
}

TEST(HistoryEditModel, RowPreviewIsAtMost500BytesAndNeverHalfACharacter) {
    const std::string longAscii(600, 'x');
    // 499 bytes, then "あ" (0x82 0xA0) across the 500-byte limit.
    const std::string straddling = std::string(499, 'y') + "\x82\xA0" + "z";
    const std::string fits = std::string(498, 'w') + "\x82\xA0" + "z";
    HistoryEditModel model = Model({longAscii, straddling, fits}, 1);
    EXPECT_EQ(model.RowText(0), "1\t" + std::string(500, 'x'));
    EXPECT_EQ(model.RowText(1), "2\t" + std::string(499, 'y'));
    EXPECT_EQ(model.RowText(2), "3\t" + std::string(498, 'w') + "\x82\xA0");
    // The history itself keeps the whole texts.
    EXPECT_EQ(model.TakeEditedHistory()[0].ansiSize(), 600u);
}

TEST(HistoryEditModel, MovingTheTopRowDownSwapsItWithTheNextAndKeepsItsNumber) {
    HistoryEditModel model = Model({"A", "B", "C"}, 0);
    FakeList list(model);
    model.SetSelectedRows({0});
    list.rows[0].selected = true;
    ListChanges changes = model.MoveDown(0);
    EXPECT_EQ(changes, (ListChanges{{ListChange::kRemove, 1},
                                    {ListChange::kRemove, 0},
                                    {ListChange::kInsert, 0, 1, false},
                                    {ListChange::kInsert, 1, 2, true},
                                    {ListChange::kCaret, 1}}));
    list.Replay(changes);
    ExpectListMatchesModel(list, model);
    EXPECT_EQ(RowTexts(model), (Texts{"2\tB", "3\tC", "1\tA"}));
    EXPECT_EQ(model.TakeEditedHistory(), AnsiTexts({"A", "C", "B"}));
}

TEST(HistoryEditModel, MoveUpMovesSelectedRowsButNotABlockAtTheTop) {
    HistoryEditModel model = Model(kFive, 1);
    FakeList list(model);
    model.SetSelectedRows({1, 2});
    list.rows[1].selected = list.rows[2].selected = true;
    list.Replay(model.MoveUp(-1));
    ExpectListMatchesModel(list, model);
    EXPECT_EQ(list.Slots(), (std::vector<int>{1, 2, 0, 3, 4}));
    EXPECT_EQ(list.Selected(), (std::vector<int>{0, 1}));
    // Now a block at the top: nothing moves.
    EXPECT_TRUE(model.MoveUp(-1).empty());

    model.SetSelectedRows({0, 3});
    list.rows[1].selected = false;
    list.rows[3].selected = true;
    list.Replay(model.MoveUp(-1));
    ExpectListMatchesModel(list, model);
    EXPECT_EQ(list.Slots(), (std::vector<int>{1, 2, 3, 0, 4}));
    EXPECT_EQ(list.Selected(), (std::vector<int>{0, 2}));
}

TEST(HistoryEditModel, MoveDownMovesABlockTogetherButNotOneAtTheBottom) {
    HistoryEditModel model = Model(kFive, 1);
    FakeList list(model);
    model.SetSelectedRows({1, 2});
    list.rows[1].selected = list.rows[2].selected = true;
    list.Replay(model.MoveDown(-1));
    ExpectListMatchesModel(list, model);
    EXPECT_EQ(list.Slots(), (std::vector<int>{0, 3, 1, 2, 4}));
    EXPECT_EQ(list.Selected(), (std::vector<int>{2, 3}));

    model.SetSelectedRows({4});
    EXPECT_TRUE(model.MoveDown(-1).empty());
    // A single row, or no row at all, has nothing to swap with.
    HistoryEditModel one = Model({"A"});
    one.SetSelectedRows({0});
    EXPECT_TRUE(one.MoveDown(0).empty());
    EXPECT_TRUE(one.MoveUp(0).empty());
}

TEST(HistoryEditModel, TheCaretStaysOnItsEntryWhenRowsMove) {
    HistoryEditModel model = Model(kFive, 1);
    FakeList list(model);
    model.SetSelectedRows({1, 2});
    list.Replay(model.MoveDown(2));  // on the lower row of the moving block
    EXPECT_EQ(list.caret, 3);
    EXPECT_EQ(list.Slots(), (std::vector<int>{0, 3, 1, 2, 4}));
    list.Replay(model.MoveUp(1));  // on the row the block passes
    EXPECT_EQ(list.Slots(), (std::vector<int>{0, 1, 2, 3, 4}));
    EXPECT_EQ(list.caret, 3);
    // Nothing moved: the caret is left alone.
    model.SetSelectedRows({0});
    EXPECT_TRUE(model.MoveUp(3).empty());
}

TEST(HistoryEditModel, DeletingTheLastRowLeavesNothingSelected) {
    HistoryEditModel model = Model(kFive, 1);
    FakeList list(model);
    model.SetSelectedRows({4});
    list.Replay(model.DeleteSelected(2));
    ExpectListMatchesModel(list, model);
    EXPECT_EQ(list.Slots(), (std::vector<int>{0, 1, 2, 3}));
    EXPECT_TRUE(list.Selected().empty());
    EXPECT_EQ(list.top, 2);
    EXPECT_EQ(model.TakeEditedHistory(), AnsiTexts({"A", "B", "C", "D"}));
}

TEST(HistoryEditModel, DeletingRowsOneAndTwoSelectsTheOldRowThree) {
    HistoryEditModel model = Model(kFive, 0);  // rows E, D, C, B, A
    FakeList list(model);
    model.SetSelectedRows({1, 2});
    list.rows[1].selected = list.rows[2].selected = true;
    ListChanges changes = model.DeleteSelected(3);
    EXPECT_EQ(changes, (ListChanges{{ListChange::kRemove, 1},
                                    {ListChange::kRemove, 1},
                                    {ListChange::kTop, 1},
                                    {ListChange::kCaret, 1},
                                    {ListChange::kSelect, 1, -1, true}}));
    list.Replay(changes);
    ExpectListMatchesModel(list, model);
    EXPECT_EQ(RowTexts(model), (Texts{"5\tE", "2\tB", "1\tA"}));
    EXPECT_EQ(list.Selected(), (std::vector<int>{1}));
    EXPECT_EQ(list.caret, 1);
    EXPECT_EQ(model.TakeEditedHistory(), AnsiTexts({"A", "B", "E"}));
}

TEST(HistoryEditModel, DeletingWithNothingSelectedChangesNothing) {
    HistoryEditModel model = Model(kFive);
    EXPECT_TRUE(model.DeleteSelected(0).empty());
    EXPECT_EQ(model.count(), 5);
}

TEST(HistoryEditModel, DeletingEverythingLeavesAnEmptyHistory) {
    HistoryEditModel model = Model(kFive, 0);
    FakeList list(model);
    model.SetSelectedRows({0, 1, 2, 3, 4});
    list.Replay(model.DeleteSelected(0));
    ExpectListMatchesModel(list, model);
    EXPECT_EQ(model.count(), 0);
    EXPECT_TRUE(model.EditHistoryOrder().empty());
    EXPECT_TRUE(model.TakeEditedHistory().empty());
    // Further commands on the empty list do nothing.
    EXPECT_TRUE(model.MoveUp(-1).empty());
    EXPECT_TRUE(model.DeleteSelected(0).empty());
    EXPECT_EQ(model.SingleSelectedRow(), std::nullopt);
}

TEST(HistoryEditModel, EditActsOnExactlyOneSelectedRow) {
    HistoryEditModel model = Model(kFive);
    EXPECT_EQ(model.SingleSelectedRow(), std::nullopt);
    model.SetSelectedRows({2});
    EXPECT_EQ(model.SingleSelectedRow(), 2);
    model.SetSelectedRows({2, 3});
    EXPECT_EQ(model.SingleSelectedRow(), std::nullopt);
    // Rows the list no longer has are ignored.
    model.SetSelectedRows({7, -1});
    EXPECT_EQ(model.SingleSelectedRow(), std::nullopt);
}

TEST(HistoryEditModel, AnEditReplacesTheRowInPlaceAndAnEmptyEditRemovesIt) {
    HistoryEditModel model = Model({"A", "B", "C"}, 0);  // rows C, B, A
    FakeList list(model);
    model.SetSelectedRows({1});
    list.rows[1].selected = true;
    list.Replay(model.ApplyEditedEntry(1, HistoryEntry("B2"), 0));
    ExpectListMatchesModel(list, model);
    EXPECT_EQ(RowTexts(model), (Texts{"3\tC", "2\tB2", "1\tA"}));
    EXPECT_EQ(list.Selected(), (std::vector<int>{1}));

    list.Replay(model.ApplyEditedEntry(1, std::nullopt, 0));
    ExpectListMatchesModel(list, model);
    EXPECT_EQ(RowTexts(model), (Texts{"3\tC", "1\tA"}));
    EXPECT_EQ(list.Selected(), (std::vector<int>{1}));
    EXPECT_EQ(model.TakeEditedHistory(), AnsiTexts({"A", "C"}));
}

TEST(HistoryEditModel, AnEntryWithAnExactTextShowsItInItsRow) {
    const samples::Cp932Codec codec;
    HistoryEditModel model(
        {HistoryEntry("plain"), HistoryEntry("caf? ??", u"caf\u00E9 \U0001F600")}, 0,
        IsCp932LeadByte);
    EXPECT_EQ(model.ListRow(1, codec), DualText("2\tcaf? ??", u"2\tcaf\u00E9 \U0001F600"));
    EXPECT_EQ(model.RowText(1), "2\tcaf? ??");
    EXPECT_EQ(model.ListRow(0, codec), DualText("1\tplain"));
}

TEST(HistoryEditModel, KeysFollowTheTable) {
    auto is = [](HistoryListKey key, HistoryListAction action, bool handled) {
        return key.action == action && key.handled == handled;
    };
    EXPECT_TRUE(is(HistoryListKeyAction(kKeyUp, false), HistoryListAction::kNone, false));
    EXPECT_TRUE(is(HistoryListKeyAction(kKeyUp, true), HistoryListAction::kMoveUp, true));
    EXPECT_TRUE(is(HistoryListKeyAction(kKeyDown, false), HistoryListAction::kNone, false));
    EXPECT_TRUE(is(HistoryListKeyAction(kKeyDown, true), HistoryListAction::kMoveDown, true));
    EXPECT_TRUE(is(HistoryListKeyAction(kKeyDelete, false), HistoryListAction::kDelete, false));
    EXPECT_TRUE(is(HistoryListKeyAction(kKeyDelete, true), HistoryListAction::kDelete, false));
    EXPECT_TRUE(is(HistoryListKeyAction(kKeyA, true), HistoryListAction::kSelectAll, false));
    EXPECT_TRUE(is(HistoryListKeyAction(kKeyA, false), HistoryListAction::kNone, false));
    EXPECT_TRUE(is(HistoryListKeyAction(kKeyE, true), HistoryListAction::kEdit, false));
    EXPECT_TRUE(is(HistoryListKeyAction(kKeyE, false), HistoryListAction::kNone, false));
    EXPECT_TRUE(is(HistoryListKeyAction('X', true), HistoryListAction::kNone, false));
}

TEST(HistoryEditModel, ContextMenuGraysByTheNumberOfSelectedRows) {
    EXPECT_FALSE(HistoryContextMenuEnabling(0).edit);
    EXPECT_FALSE(HistoryContextMenuEnabling(0).deleteAndMove);
    EXPECT_TRUE(HistoryContextMenuEnabling(1).edit);
    EXPECT_TRUE(HistoryContextMenuEnabling(1).deleteAndMove);
    EXPECT_FALSE(HistoryContextMenuEnabling(2).edit);
    EXPECT_TRUE(HistoryContextMenuEnabling(2).deleteAndMove);
}

}  // namespace
}  // namespace varnoke
