#pragma once
// The clipboard history: an ordered list of texts. Which end is the newest is decided by
// HistoryInsertPos in the capture, not here.

#include <cstdint>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "core/dual_text.h"

namespace varnoke {

// An entry: its text in the ANSI code page, without terminating zero, and its exact text
// where that code page cannot hold the text as it was copied.
using HistoryEntry = DualText;

// 64-bit hash of a text's bytes and length; never 0.
uint64_t HashHistoryText(std::string_view text);
// The hash of both forms of an entry; HashHistoryText(text) for an entry without an exact
// text.
uint64_t HashHistoryEntry(const HistoryEntry& entry);

// Entries change only through the methods below, so that the history can tell whether it
// changed (version) and keep each entry's hash from the first time it is asked for until
// the text changes: a menu showing compares 300 entries of 64 KB for free.
class ClipHistory {
  public:
    ClipHistory();

    int size() const { return static_cast<int>(entries_.size()); }
    bool empty() const { return entries_.empty(); }
    // pos must be in [0, size()).
    const HistoryEntry& at(int pos) const { return entries_.at(static_cast<size_t>(pos)); }
    const std::vector<HistoryEntry>& entries() const { return entries_; }
    // HashHistoryEntry(at(pos)), computed once per entry.
    uint64_t TextHash(int pos) const;
    // Differs after every change of the list, and between any two ClipHistory objects.
    uint64_t version() const { return version_; }

    void InsertFront(HistoryEntry entry);
    void Append(HistoryEntry entry);
    // pos must be in [0, size()).
    void Replace(int pos, HistoryEntry entry);
    // Gives the entry at pos its exact text; pos must be in [0, size()).
    void SetExact(int pos, std::u16string exact);
    // Removes the entry at pos and returns it; pos must be in [0, size()).
    HistoryEntry Take(int pos);
    // Out-of-range positions are ignored.
    void RemoveAt(int pos);
    // Removes the entries from pos to the end; pos <= 0 empties the list.
    void RemoveFrom(int pos);
    void Clear();

  private:
    // A text's hash; 0 until it is first asked for.
    using Hash = uint64_t;
    void Changed();

    std::vector<HistoryEntry> entries_;
    mutable std::vector<Hash> hashes_;  // parallel to entries_
    uint64_t version_;
};

}  // namespace varnoke
