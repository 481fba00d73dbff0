#pragma once
// A copy of every copyable format on the clipboard, taken while it is open and put back
// later (history/clipboard_snapshot.h says which formats and how much).

#include <windows.h>

#include <vector>

#include "history/clipboard_snapshot.h"

namespace varnoke {

class ClipboardSnapshot {
  public:
    ClipboardSnapshot() = default;
    ~ClipboardSnapshot() { Clear(); }
    ClipboardSnapshot(ClipboardSnapshot&& other) noexcept : items_(std::move(other.items_)) {
        other.items_.clear();
    }
    ClipboardSnapshot& operator=(ClipboardSnapshot&& other) noexcept;
    ClipboardSnapshot(const ClipboardSnapshot&) = delete;
    ClipboardSnapshot& operator=(const ClipboardSnapshot&) = delete;

    // Copies the open clipboard's formats; kTooBig (and nothing kept) past the cap. A
    // format whose data cannot be had or copied is left out.
    SnapshotState Take();
    // Sets every copied format on the open clipboard, which must have been emptied; the
    // clipboard owns them from then on, and the snapshot is empty.
    void PutBack();
    void Clear();

  private:
    struct Item {
        UINT format;
        HANDLE data;
    };
    std::vector<Item> items_;
};

// The registered formats by which programs keep a content out of clipboard histories.
bool IsHistoryMarkFormat(UINT format);
// Marks the open clipboard's content as one that clipboard histories are not to keep: the
// program's own writes that only carry a paste, and what it puts back after one.
void MarkAsNotForHistories();

}  // namespace varnoke
