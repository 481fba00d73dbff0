#pragma once
// The entry text editor: one history entry's text in a resizable window.

#include <windows.h>

#include <optional>
#include <string>

#include "core/settings.h"

namespace varnoke {

struct EntryEditResult {
    std::string text;  // as edited; the caller cuts it to HistoryLen
};

// Runs the editor modally on `text`. It reads and writes the editor's display settings
// and EditTextPos in `settings`, and may raise HistoryLen. Nothing on Cancel. The text is
// never longer than the largest HistoryLen.
std::optional<EntryEditResult> RunEntryEditor(HWND owner, const std::string& text,
                                              Settings& settings);

}  // namespace varnoke
