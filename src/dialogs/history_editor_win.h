#pragma once
// The history editor window: every history entry in a list, to delete, reorder and edit
// on a copy that only OK hands back.

#include <windows.h>

#include <optional>
#include <string>
#include <vector>

#include "core/settings.h"
#include "history/clip_history.h"

namespace varnoke {

// Runs the window modally on `entries` (the history, position 0 first). After OK, the
// edited history in the same orientation; nothing after Cancel. Reads HistoryMenuOrder
// and writes EditHistoryPos in `settings`; the entry editor it opens reads and writes its
// own settings there and may raise HistoryLen.
std::optional<std::vector<HistoryEntry>> RunHistoryEditor(HWND owner,
                                                          std::vector<HistoryEntry> entries,
                                                          Settings& settings);

}  // namespace varnoke
