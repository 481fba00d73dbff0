#pragma once
// Drives a dialog of the program from outside, as a user would: through its controls'
// own messages, which Windows and Wine carry across processes.

#include <windows.h>

#include <string>
#include <vector>

#include "harness.h"

namespace e2e {

class DialogDriver {
  public:
    DialogDriver() = default;
    explicit DialogDriver(HWND dialog) : dialog_(dialog) {}
    // The visible dialog of the process with this caption (CP932 bytes); null after the
    // timeout.
    static DialogDriver Find(DWORD processId, const std::string& caption,
                             DWORD timeoutMs = kDefaultTimeoutMs);

    HWND hwnd() const { return dialog_; }
    explicit operator bool() const { return dialog_ != nullptr; }
    HWND Item(int id) const { return GetDlgItem(dialog_, id); }
    bool IsOpen() const { return IsWindow(dialog_) != FALSE; }
    // Until the window is destroyed, not just hidden: the program may still be busy
    // with it while it is invisible.
    bool WaitClosed(DWORD timeoutMs = kDefaultTimeoutMs) const;

    std::string Text(int id) const;
    bool SetText(int id, const std::string& text) const;
    bool IsChecked(int id) const;
    bool IsEnabled(int id) const;
    // Posted rather than sent: a sent click that ends the modal loop can make the next
    // message posted to the program get lost.
    void Click(int id) const;
    // A check box clicked until it shows `checked`.
    void SetCheck(int id, bool checked) const;
    // WM_COMMAND as a menu item of the dialog would send it.
    void Command(int id) const;
    // The dialog's own "close box".
    void Close() const;

    // List boxes.
    int ListCount(int id) const;
    std::string ListItem(int id, int row) const;
    // The row as the list holds it in UTF-16, characters outside the code page included.
    std::wstring ListItemWide(int id, int row) const;
    std::vector<std::string> ListItems(int id) const;
    bool ListSelected(int id, int row) const;
    void ListSelect(int id, int row, bool selected) const;
    // Row -1: every row.
    std::vector<int> ListSelectedRows(int id) const;
    int ListCaret(int id) const;

    // Drop-down lists.
    int ComboSelection(int id) const;
    // The selected entry's text.
    std::string ComboText(int id) const;
    // Every entry; under Wine only their first bytes survive the trip between processes.
    std::vector<std::string> ComboItems(int id) const;
    void ComboSelect(int id, int index) const;
    // The first entry that begins with `prefix` (letter case aside); false if none.
    bool ComboSelectString(int id, const std::string& prefix) const;

    // Hot-key controls (HKM_GETHOTKEY): the key code in the low byte, HOTKEYF_* in the high.
    WORD HotKey(int id) const;

    // Focus on a control of the dialog, with the dialog in the foreground, so keys
    // pressed afterwards reach it.
    bool FocusItem(int id) const;

  private:
    LRESULT Send(int id, UINT message, WPARAM wParam = 0, LPARAM lParam = 0) const;
    void NotifySelChange(int id) const;
    std::string TextOfItem(int id, UINT message, int index, LRESULT length) const;

    HWND dialog_ = nullptr;
};

// The captions of the program's dialogs that several tests open (CP932 bytes).
std::string HistoryEditorCaption();  // クリップボード履歴編集 - Varnoke
std::string EntryEditorCaption();    // 履歴データ編集 - Varnoke
std::string SearchCaption();         // 履歴の検索 - Varnoke

// The program's visible windows other than message boxes and its main window.
std::vector<HWND> DialogsOf(DWORD processId);

}  // namespace e2e
