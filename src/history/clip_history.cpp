#include "history/clip_history.h"

#include <utility>

namespace varnoke {

void ClipHistory::InsertFront(HistoryEntry entry) {
    entries_.insert(entries_.begin(), std::move(entry));
}

void ClipHistory::Append(HistoryEntry entry) {
    entries_.push_back(std::move(entry));
}

void ClipHistory::RemoveAt(int pos) {
    if (pos >= 0 && pos < size()) {
        entries_.erase(entries_.begin() + pos);
    }
}

void ClipHistory::RemoveFrom(int pos) {
    if (pos < size()) {
        entries_.resize(pos > 0 ? static_cast<size_t>(pos) : 0);
    }
}

}  // namespace varnoke
