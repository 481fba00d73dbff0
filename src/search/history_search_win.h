#pragma once
// The history search window: an edit box that filters the history as the user types, and
// the list of the entries that contain the typed text.

#include <windows.h>

#include <optional>

#include "history/clip_history.h"
#include "search/history_search.h"

namespace varnoke {

struct HistorySearchArgs {
    const ClipHistory& history;
    bool newestAtTail;  // NewEntriesAtTail(settings)
    // Holds the window while it is open, so that its owner can tell it about changes of the
    // history and bring it to the front.
    HWND* openWindow;
};

// Runs the window modally; the entry chosen with Enter or a double click, or nothing when
// the window was closed.
std::optional<HistorySearchModel::Choice> RunHistorySearch(HWND owner,
                                                           const HistorySearchArgs& args);

// The history changed while the window is open: it filters again.
void NotifyHistorySearch(HWND window);

}  // namespace varnoke
