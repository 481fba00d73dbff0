#include "dialog_driver.h"

#include <commctrl.h>

#include <cstring>
#include <cwchar>

namespace e2e {

DialogDriver DialogDriver::Find(DWORD processId, const std::string& caption, DWORD timeoutMs) {
    return DialogDriver(FindMessageBox(processId, caption.c_str(), timeoutMs));
}

bool DialogDriver::WaitClosed(DWORD timeoutMs) const {
    return WaitUntil([this] { return !IsOpen(); }, timeoutMs);
}

LRESULT DialogDriver::Send(int id, UINT message, WPARAM wParam, LPARAM lParam) const {
    DWORD_PTR result = 0;
    if (!SendMessageTimeoutA(Item(id), message, wParam, lParam, SMTO_NORMAL, kDefaultTimeoutMs,
                             &result)) {
        return -1;
    }
    return static_cast<LRESULT>(result);
}

// Across processes Wine may count the item's length in UTF-16 units and copy that many
// bytes, so the buffer is generous and the text ends at its terminator.
std::string DialogDriver::TextOfItem(int id, UINT message, int index, LRESULT length) const {
    std::string text(static_cast<size_t>(length) * 2 + 16, '\0');
    if (Send(id, message, index, reinterpret_cast<LPARAM>(text.data())) < 0) {
        return std::string();
    }
    text.resize(std::strlen(text.c_str()));
    return text;
}

std::string DialogDriver::Text(int id) const {
    LRESULT length = Send(id, WM_GETTEXTLENGTH);
    if (length < 0) {
        return std::string();
    }
    std::string text(static_cast<size_t>(length) + 1, '\0');
    LRESULT copied = Send(id, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data()));
    text.resize(copied > 0 ? static_cast<size_t>(copied) : 0);
    return text;
}

bool DialogDriver::SetText(int id, const std::string& text) const {
    return Send(id, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str())) == TRUE;
}

bool DialogDriver::IsChecked(int id) const {
    return Send(id, BM_GETCHECK) == BST_CHECKED;
}

bool DialogDriver::IsEnabled(int id) const {
    return IsWindowEnabled(Item(id)) != FALSE;
}

void DialogDriver::Click(int id) const {
    PostMessageA(Item(id), BM_CLICK, 0, 0);
}

void DialogDriver::SetCheck(int id, bool checked) const {
    for (int i = 0; i < 3 && IsChecked(id) != checked; ++i) {
        Click(id);
        WaitUntil([&] { return IsChecked(id) == checked; }, 3000);
    }
}

void DialogDriver::Command(int id) const {
    PostMessageA(dialog_, WM_COMMAND, MAKEWPARAM(id, 0), 0);
}

void DialogDriver::Close() const {
    PostMessageA(dialog_, WM_SYSCOMMAND, SC_CLOSE, 0);
}

int DialogDriver::ListCount(int id) const {
    return static_cast<int>(Send(id, LB_GETCOUNT));
}

// Across processes Wine 8 hands LB_GETTEXT's ANSI form back as UTF-16 bytes (a row "1\tA"
// read as "1"), so the row is asked for in UTF-16 and converted here.
std::string DialogDriver::ListItem(int id, int row) const {
    return WideToAnsi(ListItemWide(id, row));
}

std::wstring DialogDriver::ListItemWide(int id, int row) const {
    DWORD_PTR length = 0;
    if (!SendMessageTimeoutW(Item(id), LB_GETTEXTLEN, row, 0, SMTO_NORMAL, kDefaultTimeoutMs,
                             &length) ||
        static_cast<LRESULT>(length) < 0) {
        return std::wstring();
    }
    std::wstring wide(static_cast<size_t>(length) + 16, L'\0');
    DWORD_PTR copied = 0;
    if (!SendMessageTimeoutW(Item(id), LB_GETTEXT, row, reinterpret_cast<LPARAM>(wide.data()),
                             SMTO_NORMAL, kDefaultTimeoutMs, &copied) ||
        static_cast<LRESULT>(copied) < 0) {
        return std::wstring();
    }
    wide.resize(std::wcslen(wide.c_str()));
    return wide;
}

std::vector<std::string> DialogDriver::ListItems(int id) const {
    std::vector<std::string> items;
    for (int row = 0, n = ListCount(id); row < n; ++row) {
        items.push_back(ListItem(id, row));
    }
    return items;
}

bool DialogDriver::ListSelected(int id, int row) const {
    return Send(id, LB_GETSEL, row) > 0;
}

void DialogDriver::ListSelect(int id, int row, bool selected) const {
    Send(id, LB_SETSEL, selected ? TRUE : FALSE, row);
}

std::vector<int> DialogDriver::ListSelectedRows(int id) const {
    std::vector<int> rows;
    for (int row = 0, n = ListCount(id); row < n; ++row) {
        if (ListSelected(id, row)) {
            rows.push_back(row);
        }
    }
    return rows;
}

int DialogDriver::ListCaret(int id) const {
    return static_cast<int>(Send(id, LB_GETCARETINDEX));
}

int DialogDriver::ComboSelection(int id) const {
    return static_cast<int>(Send(id, CB_GETCURSEL));
}

std::vector<std::string> DialogDriver::ComboItems(int id) const {
    std::vector<std::string> items;
    for (int i = 0, n = static_cast<int>(Send(id, CB_GETCOUNT)); i < n; ++i) {
        LRESULT length = Send(id, CB_GETLBTEXTLEN, i);
        items.push_back(length < 0 ? std::string() : TextOfItem(id, CB_GETLBTEXT, i, length));
    }
    return items;
}

// A drop-down list's own text is its selected entry. CB_GETLBTEXT is no way to read it
// from another process under Wine 8: it was seen to hand back only the first byte of "16".
std::string DialogDriver::ComboText(int id) const {
    return Text(id);
}

// As a user's choice does, the selection is announced to the dialog.
void DialogDriver::ComboSelect(int id, int index) const {
    Send(id, CB_SETCURSEL, index);
    NotifySelChange(id);
}

bool DialogDriver::ComboSelectString(int id, const std::string& prefix) const {
    if (Send(id, CB_SELECTSTRING, static_cast<WPARAM>(-1),
             reinterpret_cast<LPARAM>(prefix.c_str())) < 0) {
        return false;
    }
    NotifySelChange(id);
    return true;
}

void DialogDriver::NotifySelChange(int id) const {
    SendMessageA(dialog_, WM_COMMAND, MAKEWPARAM(id, CBN_SELCHANGE),
                 reinterpret_cast<LPARAM>(Item(id)));
}

WORD DialogDriver::HotKey(int id) const {
    return LOWORD(Send(id, HKM_GETHOTKEY));
}

bool DialogDriver::FocusItem(int id) const {
    HWND control = Item(id);
    DWORD thread = GetWindowThreadProcessId(dialog_, nullptr);
    // Keys go to the foreground thread's focus, and under Wine the X focus of a window
    // shown earlier can take the foreground back for a while: both are asked for again
    // until they hold together.
    return WaitUntil(
        [&] {
            if (GetForegroundWindow() != dialog_) {
                SetForegroundWindow(dialog_);
            }
            GUITHREADINFO info{};
            info.cbSize = sizeof(info);
            if (GetGUIThreadInfo(thread, &info) && info.hwndFocus != control) {
                // Focus belongs to a thread's input state; joining it lets us set it here.
                AttachThreadInput(GetCurrentThreadId(), thread, TRUE);
                SetFocus(control);
                AttachThreadInput(GetCurrentThreadId(), thread, FALSE);
                return false;
            }
            return GetForegroundWindow() == dialog_ && info.hwndFocus == control;
        },
        5000);
}

std::string HistoryEditorCaption() {
    return Utf8ToAnsi(u8"クリップボード履歴編集 - Varnoke");
}

std::string EntryEditorCaption() {
    return Utf8ToAnsi(u8"履歴データ編集 - Varnoke");
}

std::string SearchCaption() {
    return Utf8ToAnsi(u8"履歴の検索 - Varnoke");
}

std::vector<HWND> DialogsOf(DWORD processId) {
    std::vector<HWND> dialogs;
    for (HWND window : VisibleWindowsOf(processId)) {
        char className[32] = {};
        GetClassNameA(window, className, sizeof(className));
        if (std::string(className) == "#32770") {
            dialogs.push_back(window);
        }
    }
    return dialogs;
}

}  // namespace e2e
