#include "framework/dialog_helpers_win.h"

#include <commdlg.h>

#include <vector>

#include "framework/strings_win.h"
#include "framework/system_libraries_win.h"
#include "res/resource.h"

namespace varnoke {

void ApplyEnabling(HWND dialog, const std::vector<EnableRule>& rules) {
    auto isChecked = [dialog](int id) { return IsDlgButtonChecked(dialog, id) == BST_CHECKED; };
    for (const EnableState& state : ComputeEnabling(rules, isChecked)) {
        if (HWND control = GetDlgItem(dialog, state.id)) {
            EnableWindow(control, state.enabled ? TRUE : FALSE);
        }
    }
}

std::optional<std::string> BrowseForFile(HWND owner, const std::string& currentText,
                                         const OpenFileOptions& options) {
    std::string filter = MakeFileFilter(options.filter);
    std::vector<char> file(MAX_PATH * 2, '\0');
    std::string initial = InitialFileName(currentText, &IsAnsiLeadByte);
    if (initial.size() < file.size()) {
        initial.copy(file.data(), initial.size());
    }
    OPENFILENAMEA dialog{};
    dialog.lStructSize = sizeof(dialog);
    dialog.hwndOwner = owner;
    dialog.lpstrFilter = filter.c_str();
    dialog.lpstrFile = file.data();
    dialog.nMaxFile = static_cast<DWORD>(file.size());
    dialog.lpstrDefExt = options.defaultExtension;
    dialog.Flags = OFN_EXPLORER | OFN_HIDEREADONLY | OFN_PATHMUSTEXIST | OFN_LONGNAMES |
                   OFN_NOCHANGEDIR | (options.fileMustExist ? OFN_FILEMUSTEXIST : 0);
    if (!OpenFileDialog(&dialog)) {
        return std::nullopt;
    }
    return std::string(file.data());
}

bool ChooseScreenFont(HWND owner, LOGFONTA& font) {
    LOGFONTA chosen = font;
    CHOOSEFONTA dialog{};
    dialog.lStructSize = sizeof(dialog);
    dialog.hwndOwner = owner;
    dialog.lpLogFont = &chosen;
    dialog.Flags = CF_SCREENFONTS | CF_INITTOLOGFONTSTRUCT;
    if (!FontDialog(&dialog)) {
        return false;
    }
    font = chosen;
    return true;
}

Rect GetNormalRect(HWND window) {
    WINDOWPLACEMENT placement{};
    placement.length = sizeof(placement);
    GetWindowPlacement(window, &placement);
    const RECT& r = placement.rcNormalPosition;
    return {r.left, r.top, r.right, r.bottom};
}

void SetNormalRect(HWND window, const Rect& rect) {
    WINDOWPLACEMENT placement{};
    placement.length = sizeof(placement);
    GetWindowPlacement(window, &placement);
    placement.rcNormalPosition = {rect.left, rect.top, rect.right, rect.bottom};
    // The placement reports a window never shown as "normal", and setting it shows the
    // window: a dialog still in its initialization would appear half filled.
    if (!IsWindowVisible(window)) {
        placement.showCmd = SW_HIDE;
    }
    SetWindowPlacement(window, &placement);
}

Rect ChildRect(HWND control) {
    RECT r{};
    GetWindowRect(control, &r);
    MapWindowPoints(nullptr, GetParent(control), reinterpret_cast<POINT*>(&r), 2);
    return {r.left, r.top, r.right, r.bottom};
}

void ApplyLayout(HWND dialog, const LayoutRow* rows, size_t count, int cx, int cy) {
    for (size_t i = 0; i < count; ++i) {
        HWND control = GetDlgItem(dialog, rows[i].id);
        if (control == nullptr) {
            continue;
        }
        Rect r = StretchToClient(ChildRect(control), cx, cy, rows[i].anchors);
        MoveWindow(control, r.left, r.top, r.width(), r.height(), TRUE);
    }
}

void MakeUnicode(HWND control) {
    // A window procedure set through the wide function makes the window a Unicode one.
    SetWindowLongPtrW(control, GWLP_WNDPROC, GetWindowLongPtrW(control, GWLP_WNDPROC));
}

HWND CreateUnicodeEdit(HWND parent, int id, DWORD style, const Rect& at) {
    return CreateWindowExW(0, L"EDIT", L"", style, at.left, at.top, at.width(), at.height(), parent,
                           reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                           GetModuleHandleA(nullptr), nullptr);
}

HWND ReplaceWithUnicodeEdit(HWND edit) {
    HWND parent = GetParent(edit);
    const int id = GetDlgCtrlID(edit);
    const DWORD style = static_cast<DWORD>(GetWindowLongA(edit, GWL_STYLE));
    const LONG extendedStyle = GetWindowLongA(edit, GWL_EXSTYLE);
    const Rect at = ChildRect(edit);
    const WPARAM font = static_cast<WPARAM>(SendMessageA(edit, WM_GETFONT, 0, 0));
    // The new control takes the old one's place in the tab order.
    HWND before = GetWindow(edit, GW_HWNDPREV);
    DestroyWindow(edit);
    HWND created = CreateUnicodeEdit(parent, id, style, at);
    if (created == nullptr) {
        return nullptr;
    }
    SetWindowLongW(created, GWL_EXSTYLE, extendedStyle);
    SetWindowPos(created, before != nullptr ? before : HWND_TOP, 0, 0, 0, 0,
                 SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE | SWP_FRAMECHANGED);
    SendMessageW(created, WM_SETFONT, font, FALSE);
    return created;
}

void SetSmallIcon(HWND window, int iconId) {
    // A shared icon lives as long as the module, so nothing needs destroying.
    HANDLE icon =
        LoadImageA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(iconId), IMAGE_ICON,
                   GetSystemMetrics(SM_CXSMICON), GetSystemMetrics(SM_CYSMICON), LR_SHARED);
    SendMessageA(window, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(icon));
}

FontHandle CreateHistoryListFont(HWND list) {
    LOGFONTA description{};
    {
        WindowDC dc(list);
        description.lfHeight = MulDiv(10, -GetDeviceCaps(dc.get(), LOGPIXELSY), 72);
    }
    description.lfWeight = FW_NORMAL;
    description.lfCharSet = SHIFTJIS_CHARSET;
    LoadResourceString(IDS_HISTORY_LIST_FONT)
        .copy(description.lfFaceName, sizeof(description.lfFaceName) - 1);
    return FontHandle(CreateFontIndirectA(&description));
}

}  // namespace varnoke
