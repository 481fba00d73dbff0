#include "dialogs/history_editor.h"

#include <algorithm>
#include <utility>

#include "history/exact_text.h"

namespace varnoke {

HistoryEditModel::HistoryEditModel(std::vector<HistoryEntry> texts, int displayOrder,
                                   LeadByteTest isLeadByte)
    : texts_(std::move(texts)), displayOrder_(displayOrder), isLeadByte_(isLeadByte) {
    const int n = static_cast<int>(texts_.size());
    rows_.reserve(texts_.size());
    for (int r = 0; r < n; ++r) {
        const int slot = displayOrder_ != 0 ? r : n - 1 - r;
        if (!texts_[static_cast<size_t>(slot)].ansiEmpty()) {
            rows_.push_back({slot, false});
        }
    }
}

std::string HistoryEditModel::RowText(int slot) const {
    return HistoryRowText(slot, SlotEntry(slot), isLeadByte_);
}

DualText HistoryEditModel::ListRow(int slot, const TextCodec& codec) const {
    return HistoryRow(slot, SlotEntry(slot), isLeadByte_, codec);
}

void HistoryEditModel::SetSelectedRows(const std::vector<int>& rows) {
    for (Row& row : rows_) {
        row.selected = false;
    }
    for (int row : rows) {
        if (row >= 0 && row < count()) {
            rows_[static_cast<size_t>(row)].selected = true;
        }
    }
}

std::optional<int> HistoryEditModel::SingleSelectedRow() const {
    std::optional<int> found;
    for (int row = 0; row < count(); ++row) {
        if (rows_[static_cast<size_t>(row)].selected) {
            if (found) {
                return std::nullopt;
            }
            found = row;
        }
    }
    return found;
}

ListChanges HistoryEditModel::DeleteSelected(int topRow) {
    ListChanges changes;
    int top = topRow;
    std::optional<int> first;
    for (int row = 0; row < count();) {
        Row& current = rows_[static_cast<size_t>(row)];
        if (!current.selected) {
            ++row;
            continue;
        }
        // Give the memory back: a slot may hold 64 KB that no row shows any more.
        HistoryEntry& slot = texts_[static_cast<size_t>(current.slot)];
        std::string().swap(slot.ansi);
        std::u16string().swap(slot.exact);
        rows_.erase(rows_.begin() + row);
        changes.push_back({ListChange::kRemove, row});
        top = std::min(top, row);
        first = std::min(first.value_or(row), row);
        // The same row number is examined again: the next row has moved up into it.
    }
    if (first) {
        changes.push_back({ListChange::kTop, top});
        if (*first < count()) {
            rows_[static_cast<size_t>(*first)].selected = true;
            changes.push_back({ListChange::kCaret, *first});
            changes.push_back({ListChange::kSelect, *first, -1, true});
        }
    }
    return changes;
}

ListChanges HistoryEditModel::Swap(int a, int* caret) {
    const int b = a + 1;
    Row& upper = rows_[static_cast<size_t>(a)];
    Row& lower = rows_[static_cast<size_t>(b)];
    ListChanges changes{
        {ListChange::kRemove, b},
        {ListChange::kRemove, a},
        {ListChange::kInsert, a, lower.slot, lower.selected},
        {ListChange::kInsert, b, upper.slot, upper.selected},
    };
    std::swap(upper, lower);
    if (*caret == a || *caret == b) {
        *caret = *caret == a ? b : a;
    }
    return changes;
}

// Removing and inserting rows leaves the platform's caret wherever its own bookkeeping
// puts it; naming the row makes it the same everywhere.
ListChanges HistoryEditModel::WithCaret(ListChanges changes, int caret) {
    if (!changes.empty() && caret >= 0) {
        changes.push_back({ListChange::kCaret, caret});
    }
    return changes;
}

ListChanges HistoryEditModel::MoveUp(int caretRow) {
    ListChanges changes;
    int caret = caretRow < count() ? caretRow : -1;
    for (int i = 0; i + 1 < count(); ++i) {
        if (rows_[static_cast<size_t>(i + 1)].selected && !rows_[static_cast<size_t>(i)].selected) {
            ListChanges swap = Swap(i, &caret);
            changes.insert(changes.end(), swap.begin(), swap.end());
        }
    }
    return WithCaret(std::move(changes), caret);
}

ListChanges HistoryEditModel::MoveDown(int caretRow) {
    ListChanges changes;
    int caret = caretRow < count() ? caretRow : -1;
    for (int i = count() - 1; i >= 1; --i) {
        if (rows_[static_cast<size_t>(i - 1)].selected && !rows_[static_cast<size_t>(i)].selected) {
            ListChanges swap = Swap(i - 1, &caret);
            changes.insert(changes.end(), swap.begin(), swap.end());
        }
    }
    return WithCaret(std::move(changes), caret);
}

ListChanges HistoryEditModel::ApplyEditedEntry(int row, std::optional<HistoryEntry> edited,
                                               int topRow) {
    if (row < 0 || row >= count()) {
        return {};
    }
    if (!edited) {
        SetSelectedRows({row});
        return DeleteSelected(topRow);
    }
    Row& current = rows_[static_cast<size_t>(row)];
    texts_[static_cast<size_t>(current.slot)] = std::move(*edited);
    current.selected = true;
    return {{ListChange::kRemove, row}, {ListChange::kInsert, row, current.slot, true}};
}

std::vector<int> HistoryEditModel::EditHistoryOrder() const {
    std::vector<int> order;
    order.reserve(rows_.size());
    for (int j = 0; j < count(); ++j) {
        order.push_back(SlotOfRow(displayOrder_ != 0 ? j : count() - 1 - j));
    }
    return order;
}

std::vector<HistoryEntry> HistoryEditModel::TakeEditedHistory() {
    std::vector<HistoryEntry> history;
    history.reserve(rows_.size());
    for (int slot : EditHistoryOrder()) {
        history.push_back(std::move(texts_[static_cast<size_t>(slot)]));
    }
    return history;
}

HistoryListKey HistoryListKeyAction(int virtualKey, bool ctrlDown) {
    switch (virtualKey) {
        // Ctrl+arrows move rows; the list must not also move its caret as for an arrow.
        case kKeyUp:
            return ctrlDown ? HistoryListKey{HistoryListAction::kMoveUp, true}
                            : HistoryListKey{HistoryListAction::kNone, false};
        case kKeyDown:
            return ctrlDown ? HistoryListKey{HistoryListAction::kMoveDown, true}
                            : HistoryListKey{HistoryListAction::kNone, false};
        case kKeyDelete:
            return {HistoryListAction::kDelete, false};
        case kKeyA:
            return {ctrlDown ? HistoryListAction::kSelectAll : HistoryListAction::kNone, false};
        case kKeyE:
            return {ctrlDown ? HistoryListAction::kEdit : HistoryListAction::kNone, false};
        default:
            return {HistoryListAction::kNone, false};
    }
}

HistoryEditMenuEnabling HistoryContextMenuEnabling(int selectedRows) {
    return {selectedRows == 1, selectedRows > 0};
}

}  // namespace varnoke
