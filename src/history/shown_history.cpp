#include "history/shown_history.h"

#include <cstdlib>
#include <utility>

namespace varnoke {

ShownHistory::ShownHistory(const std::vector<HistoryEntry>& shown) {
    shown_.reserve(shown.size());
    for (const HistoryEntry& entry : shown) {
        shown_.push_back(Fingerprint{entry.ansiSize(), HashHistoryEntry(entry)});
    }
}

ShownHistory::ShownHistory(const ClipHistory& shown) : version_(shown.version()) {
    shown_.reserve(static_cast<size_t>(shown.size()));
    for (int i = 0; i < shown.size(); ++i) {
        shown_.push_back(Fingerprint{shown.at(i).ansiSize(), shown.TextHash(i)});
    }
}

bool MoveToNewestEnd(ClipHistory& history, int index, const Settings& settings) {
    if (index < 0 || index >= history.size()) {
        return false;
    }
    const bool atTail = NewEntriesAtTail(settings);
    if (!atTail && index == 0) {
        return false;
    }
    HistoryEntry entry = history.Take(index);
    if (atTail) {
        history.Append(std::move(entry));
    } else {
        history.InsertFront(std::move(entry));
    }
    return true;
}

namespace {

// Whether shown position i still holds its text at current position j. Each current entry
// is hashed at most once, and only when its length matches a shown one; the history's
// own hashes are taken when there is one.
class ShownAgainstCurrent {
  public:
    ShownAgainstCurrent(const ShownHistory& shown, const std::vector<HistoryEntry>& current,
                        const ClipHistory* history)
        : shown_(shown), current_(current), history_(history), hashes_(current.size()) {}

    bool Same(int i, int j) {
        if (i < 0 || i >= shown_.size() || j < 0 || j >= static_cast<int>(current_.size())) {
            return false;
        }
        const ShownHistory::Fingerprint& seen = shown_.at(i);
        const HistoryEntry& text = current_[static_cast<size_t>(j)];
        if (seen.length != text.ansiSize()) {
            return false;
        }
        if (history_ != nullptr) {
            return seen.hash == history_->TextHash(j);
        }
        std::optional<uint64_t>& hash = hashes_[static_cast<size_t>(j)];
        if (!hash) {
            hash = HashHistoryEntry(text);
        }
        return seen.hash == *hash;
    }

    // How many shown entries sit `shift` positions away from where they were shown.
    int Agreement(int shift) {
        int agreeing = 0;
        for (int i = 0; i < shown_.size(); ++i) {
            agreeing += Same(i, i + shift) ? 1 : 0;
        }
        return agreeing;
    }

  private:
    const ShownHistory& shown_;
    const std::vector<HistoryEntry>& current_;
    const ClipHistory* history_;
    std::vector<std::optional<uint64_t>> hashes_;
};

std::optional<int> Resolve(const ShownHistory& shown, const std::vector<HistoryEntry>& current,
                           const ClipHistory* history, int chosen) {
    if (chosen < 0 || chosen >= shown.size()) {
        return std::nullopt;
    }
    // A capture during the menu loop moves every shown entry by the same step, so among
    // the entries that hold the chosen text the one whose neighbours moved with it is the
    // one the user saw; a second copy of the text elsewhere is not. Between equally good
    // candidates the nearest one wins.
    ShownAgainstCurrent compare(shown, current, history);
    std::optional<int> best;
    int bestAgreement = 0;
    for (int position = 0; position < static_cast<int>(current.size()); ++position) {
        if (!compare.Same(chosen, position)) {
            continue;
        }
        const int agreement = compare.Agreement(position - chosen);
        if (!best || agreement > bestAgreement ||
            (agreement == bestAgreement &&
             std::abs(position - chosen) < std::abs(*best - chosen))) {
            best = position;
            bestAgreement = agreement;
        }
    }
    return best;
}

}  // namespace

std::optional<int> ResolveChosenEntry(const ShownHistory& shown,
                                      const std::vector<HistoryEntry>& current, int shownPosition) {
    return Resolve(shown, current, nullptr, shownPosition);
}

std::optional<int> ResolveChosenEntry(const ShownHistory& shown, const ClipHistory& current,
                                      int shownPosition) {
    // The same version means the same texts at the same positions as shown.
    if (shown.version() != 0 && shown.version() == current.version()) {
        if (shownPosition < 0 || shownPosition >= shown.size()) {
            return std::nullopt;
        }
        return shownPosition;
    }
    return Resolve(shown, current.entries(), &current, shownPosition);
}

}  // namespace varnoke
