#pragma once
// What a window or menu showed of the history, so that a choice made after the history
// moved (a capture while the history menu is tracked or the search window is open) still
// finds the entry the user saw; and where a chosen entry goes.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <vector>

#include "core/settings.h"
#include "history/clip_history.h"

namespace varnoke {

// A chosen entry goes to the end where new captures enter (NewEntriesAtTail); true when
// the history changed. The entry at the head is already there when new entries go to the
// head.
bool MoveToNewestEnd(ClipHistory& history, int index, const Settings& settings);

// Remembers which text each position held when the history was shown. Holds a length and
// a 64-bit hash per entry, never the texts.
class ShownHistory {
  public:
    ShownHistory() = default;
    explicit ShownHistory(const std::vector<HistoryEntry>& shown);
    // Takes the hashes the history keeps, so a showing hashes only texts new since the
    // last one, and remembers the history's version.
    explicit ShownHistory(const ClipHistory& shown);

    struct Fingerprint {
        size_t length;
        uint64_t hash;
    };

    int size() const { return static_cast<int>(shown_.size()); }
    // Requires 0 <= position < size().
    const Fingerprint& at(int position) const { return shown_[static_cast<size_t>(position)]; }
    // ClipHistory::version() of the history shown; 0 when made from bare texts.
    uint64_t version() const { return version_; }

  private:
    std::vector<Fingerprint> shown_;
    uint64_t version_ = 0;
};

// The current list position of the entry shown at `shownPosition`. Of the positions that
// hold the shown text, the one where most of the shown entries around it sit at the same
// offset wins, then the one nearest to the shown position; nullopt when no entry holds the
// text any more or nothing was shown at `shownPosition`.
std::optional<int> ResolveChosenEntry(const ShownHistory& shown,
                                      const std::vector<HistoryEntry>& current, int shownPosition);
// The same against the history itself: nothing is compared when it has not changed since
// the showing, and its kept hashes are used when it has.
std::optional<int> ResolveChosenEntry(const ShownHistory& shown, const ClipHistory& current,
                                      int shownPosition);

}  // namespace varnoke
