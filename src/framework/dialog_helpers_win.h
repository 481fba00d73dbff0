#pragma once
// Helpers every dialog shares: enabling rules, the common file and font dialogs, the
// restored-window rectangle, resizing rows, the caption icon and the history lists' font.

#include <windows.h>

#include <optional>
#include <string>
#include <vector>

#include "framework/dialog_rules.h"
#include "framework/handles_win.h"

namespace varnoke {

// Enables or disables each controlled control of `dialog` from its check boxes.
void ApplyEnabling(HWND dialog, const std::vector<EnableRule>& rules);

struct OpenFileOptions {
    const char* filter;            // "Text (*.x)|*.x||"
    const char* defaultExtension;  // added to a name typed without one
    bool fileMustExist;
};
// The system's open-file dialog, starting from `currentText` (no initial name when it
// ends with a backslash); the chosen full path, or nothing when cancelled.
std::optional<std::string> BrowseForFile(HWND owner, const std::string& currentText,
                                         const OpenFileOptions& options);

// The system's font dialog over screen fonts without effects; true when the user chose
// a font, which then replaces `font`.
bool ChooseScreenFont(HWND owner, LOGFONTA& font);

// The window's restored rectangle, kept apart from a maximized or minimized state.
Rect GetNormalRect(HWND window);
// Moves and sizes the restored window to `rect` without showing it differently.
void SetNormalRect(HWND window, const Rect& rect);

// Applies resizing rows for a client area of cx by cy.
void ApplyLayout(HWND dialog, const LayoutRow* rows, size_t count, int cx, int cy);
// A control's rectangle in its parent's client coordinates.
Rect ChildRect(HWND control);

// The caption's small icon from an icon resource.
void SetSmallIcon(HWND window, int iconId);
// Makes a control of a dialog template a Unicode window, so texts the code page cannot hold
// reach it unconverted; it keeps its procedure. For a list box; an edit is made Unicode by
// creating it so (below).
void MakeUnicode(HWND control);
// A child edit control `id` of `parent` at `at`, created as a Unicode window: an edit keeps
// its text in the form of the call that created it, which a procedure set later
// (MakeUnicode) does not change, so one that must hold every character is made this way.
HWND CreateUnicodeEdit(HWND parent, int id, DWORD style, const Rect& at);
// The edit of a dialog template replaced by such an edit in its place: the same id, styles,
// rectangle, font and tab order. Null when it could not be made.
HWND ReplaceWithUnicodeEdit(HWND edit);

// The font of the lists that show history entries a row each (the history editor's and the
// search window's), for `list`: both read alike.
FontHandle CreateHistoryListFont(HWND list);

}  // namespace varnoke
