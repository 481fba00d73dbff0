#pragma once
// What the history popup menu shows: item prefixes, column breaks, display order and
// command ids, built from the history without any window. The Win32 side turns the
// items into an HMENU and tracks it.

#include <string>
#include <vector>

#include "core/dual_text.h"
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
    // The label's exact form is made from the entry's exact text, for an entry that has one.
    DualText label;
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

}  // namespace varnoke
