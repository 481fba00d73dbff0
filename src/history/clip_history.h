#pragma once
// The clipboard history: an ordered list of texts. Which end is the newest is decided by
// HistoryInsertPos in the capture, not here.

#include <string>
#include <vector>

namespace varnoke {

// An entry is only its text: bytes in the ANSI code page, without terminating zero.
using HistoryEntry = std::string;

class ClipHistory {
  public:
    int size() const { return static_cast<int>(entries_.size()); }
    bool empty() const { return entries_.empty(); }
    // pos must be in [0, size()).
    const HistoryEntry& at(int pos) const { return entries_.at(static_cast<size_t>(pos)); }
    HistoryEntry& at(int pos) { return entries_.at(static_cast<size_t>(pos)); }
    const std::vector<HistoryEntry>& entries() const { return entries_; }

    void InsertFront(HistoryEntry entry);
    void Append(HistoryEntry entry);
    // Out-of-range positions are ignored.
    void RemoveAt(int pos);
    // Removes the entries from pos to the end; pos <= 0 empties the list.
    void RemoveFrom(int pos);
    void Clear() { entries_.clear(); }

  private:
    std::vector<HistoryEntry> entries_;
};

}  // namespace varnoke
