#pragma once
// The history editor's rules: which slot each row shows and in what order, which rows a
// delete or a move touches and what is selected afterwards, and the order in which the
// rows become the history again. The window only replays the list changes worked out here.

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

#include "core/dual_text.h"
#include "core/mbcs.h"
#include "core/text_codec.h"
#include "history/clip_history.h"
#include "history/exact_text.h"

namespace varnoke {

// One step that brings the list control in line with the model, in the order given.
struct ListChange {
    enum Kind {
        kRemove,  // the row goes; the rows below move up
        kInsert,  // a row for `slot` at `row`, selected or not
        kSelect,  // the row's selection becomes `selected`
        kTop,     // scroll so that `row` is the top row
        kCaret,   // the caret goes to `row`
    };
    Kind kind;
    int row;
    int slot = -1;
    bool selected = false;

    bool operator==(const ListChange& o) const {
        return kind == o.kind && row == o.row && slot == o.slot && selected == o.selected;
    }
};
using ListChanges = std::vector<ListChange>;

class HistoryEditModel {
  public:
    // `texts` is the history, list position 0 first; each becomes the slot of the same
    // number. `displayOrder` is HistoryMenuOrder: non-zero shows position 0 at the top, 0
    // shows the last position at the top. An empty text gets no row.
    HistoryEditModel(std::vector<HistoryEntry> texts, int displayOrder, LeadByteTest isLeadByte);

    int count() const { return static_cast<int>(rows_.size()); }
    int SlotOfRow(int row) const { return rows_.at(static_cast<size_t>(row)).slot; }
    bool IsSelected(int row) const { return rows_.at(static_cast<size_t>(row)).selected; }
    const HistoryEntry& SlotEntry(int slot) const { return texts_.at(static_cast<size_t>(slot)); }
    // "%d\t%s": the slot's number (slot + 1), which stays with its text wherever the row
    // moves, and at most kHistoryRowPreviewBytes of the text, never half a character.
    std::string RowText(int slot) const;
    // The row in both forms: for an entry with an exact text, also the same row from that
    // text.
    DualText ListRow(int slot, const TextCodec& codec) const;

    // The selection as the list control has it now (the user changes it there).
    void SetSelectedRows(const std::vector<int>& rows);
    // The one selected row; nothing when none or several are selected.
    std::optional<int> SingleSelectedRow() const;

    // Removes every selected row and empties its slot. The list then scrolls to the
    // smaller of `topRow` and the first deleted row, and the row that took the first
    // deleted row's place gets the caret and the selection (no row when the deleted rows
    // were the last ones).
    ListChanges DeleteSelected(int topRow);
    // Every selected row moves up (down) by one, except a selected block that already
    // touches the top (bottom); the rows keep their selection. The caret, on `caretRow`
    // before, stays on the same entry wherever it moved, and so stays in view.
    ListChanges MoveUp(int caretRow);
    ListChanges MoveDown(int caretRow);
    // The entry editor's result for `row` (EntryFromEditedText): the new entry, or nothing,
    // which deletes the row as DeleteSelected does.
    ListChanges ApplyEditedEntry(int row, std::optional<HistoryEntry> edited, int topRow);

    // For each new list position j, the slot whose text goes there: the rows read back in
    // the orientation they were filled in, so with displayOrder 0 the bottom row becomes
    // position 0.
    std::vector<int> EditHistoryOrder() const;
    // The edited history, position 0 first. Leaves the model's texts empty.
    std::vector<HistoryEntry> TakeEditedHistory();

  private:
    struct Row {
        int slot;
        bool selected;
    };
    // Swaps rows a and a + 1; `caret` follows its entry.
    ListChanges Swap(int a, int* caret);
    static ListChanges WithCaret(ListChanges changes, int caret);

    std::vector<HistoryEntry> texts_;
    std::vector<Row> rows_;
    int displayOrder_;
    LeadByteTest isLeadByte_;
};

// What the list's key notification does with a key: the action, and whether the list is
// then told to do nothing more (-2) instead of its own handling of the key (-1).
enum class HistoryListAction { kNone, kMoveUp, kMoveDown, kDelete, kSelectAll, kEdit };
struct HistoryListKey {
    HistoryListAction action;
    bool handled;
};
// Virtual-key codes as the platform numbers them.
constexpr int kKeyUp = 0x26;
constexpr int kKeyDown = 0x28;
constexpr int kKeyDelete = 0x2E;
constexpr int kKeyA = 0x41;
constexpr int kKeyE = 0x45;
HistoryListKey HistoryListKeyAction(int virtualKey, bool ctrlDown);

// The context menu's gray items for `selectedRows` selected rows.
struct HistoryEditMenuEnabling {
    bool edit;
    bool deleteAndMove;
};
HistoryEditMenuEnabling HistoryContextMenuEnabling(int selectedRows);

}  // namespace varnoke
