#pragma once
// The entry text editor: one history entry's text in a resizable window.

#include <windows.h>

#include <optional>
#include <string>

#include "core/settings.h"

namespace varnoke {

struct EntryEditResult {
    std::u16string text;  // as edited; the caller cuts it to HistoryLen (EntryFromEditedText)
};

// Runs the editor modally on `text`. It reads and writes the editor's display settings
// and EditTextPos in `settings`, and may raise HistoryLen, never past its largest value.
// Nothing on Cancel.
std::optional<EntryEditResult> RunEntryEditor(HWND owner, const std::u16string& text,
                                              Settings& settings);

}  // namespace varnoke
