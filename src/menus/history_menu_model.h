#pragma once
// What the history popup menu shows: item prefixes, column breaks, display order and
// command ids, built from the history without any window. The Win32 side turns the
// items into an HMENU and tracks it.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "core/mbcs.h"
#include "core/settings.h"
#include "core/text_codec.h"
#include "history/clip_history.h"

namespace varnoke {

// Command id of the entry at list position i is kHistoryCommandBase + i. The whole range
// up to kHistoryCommandEnd is reserved for history items (the menu keys accept any id in it).
constexpr unsigned kHistoryCommandBase = 37000;
constexpr unsigned kHistoryCommandEnd = 38000;

unsigned HistoryCommandId(int position);
// True for ids inside the reserved history range, whatever the entry count.
bool IsReservedHistoryCommand(unsigned commandId);
// List position of a history command id, or -1 when the id is outside the reserved range.
int HistoryPositionOfCommand(unsigned commandId);

// Number prefix of the entry at `position` ("&3. ", "11(&A). ", "1&23. " ...); empty when
// `historyAddNum` is 0. `historyAccessKey` selects the access-key scheme 0..4; other values
// give the plain number.
std::string MakeItemPrefix(int position, int historyAddNum, int historyAccessKey);

// Items per column, left to right, for `count` items and at most `perColumn` items in a
// column; the last columns take the remainder one item each. perColumn below 1 counts as 1.
std::vector<int> HistoryColumnSizes(int count, int perColumn);

// List positions in display order: 0..count-1 when `historyMenuOrder` is non-zero,
// count-1..0 when it is 0. Which end is the newest is the capture's business.
std::vector<int> HistoryDisplayOrder(int count, int historyMenuOrder);

struct HistoryMenuItem {
    std::string label;
    // The label made from the entry's exact text, for an entry that has one; empty otherwise.
    std::u16string wideLabel;
    unsigned commandId = 0;
    bool columnBreak = false;  // MF_MENUBARBREAK: the item starts a new column
};

// One item per entry, in display order. Label work depends on HistoryMenuLen, not on the
// length of the entries. With a codec, an entry with an exact text also gets a wide label
// by the same rules.
std::vector<HistoryMenuItem> BuildHistoryMenuItems(const std::vector<HistoryEntry>& entries,
                                                   const Settings& settings,
                                                   LeadByteTest isLeadByte,
                                                   const TextCodec* codec = nullptr);

// A chosen entry goes to the end where new captures enter (NewEntriesAtTail); true when
// the history changed. The entry at the head is already there when new entries go to the
// head.
bool MoveToNewestEnd(ClipHistory& history, int index, const Settings& settings);

// Remembers which text each position held when the menu was built, so that a choice made
// after the history moved (a capture while the menu is tracked) still finds the entry the
// user saw. Holds a length and a 64-bit hash per entry, never the texts.
class HistoryMenuSnapshot {
  public:
    HistoryMenuSnapshot() = default;
    explicit HistoryMenuSnapshot(const std::vector<HistoryEntry>& shown);
    // Takes the hashes the history keeps, so a showing hashes only texts new since the
    // last one, and remembers the history's version.
    explicit HistoryMenuSnapshot(const ClipHistory& shown);

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

// The current list position of the entry that command `chosenId` named when the menu was
// shown. Of the positions that hold the shown text, the one where most of the shown entries
// around it sit at the same offset wins, then the one nearest to the shown position;
// nullopt when no entry holds the text any more or the id named no shown item.
std::optional<int> ResolveChosenEntry(const HistoryMenuSnapshot& shown,
                                      const std::vector<HistoryEntry>& current, unsigned chosenId);
// The same against the history itself: nothing is compared when it has not changed since
// the showing, and its kept hashes are used when it has.
std::optional<int> ResolveChosenEntry(const HistoryMenuSnapshot& shown, const ClipHistory& current,
                                      unsigned chosenId);

}  // namespace varnoke
