#include "tray/tray_icon_win.h"

#include "framework/system_libraries_win.h"

#include <algorithm>
#include <cstring>
#include <iterator>

#include "core/app_messages.h"
#include "res/resource.h"

namespace varnoke {

namespace {

// The NOTIFYICONDATAA layout of shell 5 (128-byte tip), which every shell since accepts: the
// structure up to its guidItem, 488 bytes in a 32-bit program.
constexpr DWORD kNotifyIconDataSize = offsetof(NOTIFYICONDATAA, guidItem);
static_assert(sizeof(void*) != 4 || kNotifyIconDataSize == 488,
              "NOTIFYICONDATAA layout differs from the 488-byte form");
constexpr DWORD kNotifyIconDataWSize = offsetof(NOTIFYICONDATAW, guidItem);

// The fields both forms of the structure share.
template <typename Data>
void FillNotifyData(Data& data, DWORD size, HWND window, HICON iconOrNull) {
    std::memset(&data, 0, sizeof(data));
    data.cbSize = size;
    data.hWnd = window;
    data.uID = TRAY_ICON_ID;
    data.uCallbackMessage = WM_TRAY_NOTIFY;
    data.uFlags = NIF_MESSAGE;
    if (iconOrNull != nullptr) {
        data.uFlags |= NIF_ICON;
        data.hIcon = iconOrNull;
    }
}

const char kClassName[] = "VarnokeMainWindow";

}  // namespace

const MessageEntry TrayIcon::kMessages[] = {
    {WM_TRAY_NOTIFY, OnMessage(&TrayIcon::OnTrayNotify)},
    {WM_LBUTTONDOWN, OnMessage(&TrayIcon::OnLButtonDown)},
    {WM_RBUTTONUP, OnMessage(&TrayIcon::OnRButtonUp)},
    {WM_LBUTTONUP, OnMessage(&TrayIcon::OnLButtonUp)},
    {WM_TIMER, OnMessage(&TrayIcon::OnTimer)},
};
const MessageMap TrayIcon::kMessageMap = {&Window::kMessageMap, kMessages, std::size(kMessages),
                                          nullptr, 0};

bool TrayIcon::Create() {
    // Class icons live as long as the process, like the class itself.
    HICON classIcon = LoadIconA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDI_VARNOKE));
    taskbarCreatedMessage_ = RegisterWindowMessageA("TaskbarCreated");
    return CreateEx(WS_EX_TOOLWINDOW, kClassName, classIcon, "Varnoke", 0, nullptr);
}

LRESULT TrayIcon::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    if (taskbarCreatedMessage_ != 0 && message == taskbarCreatedMessage_) {
        OnTaskbarCreated();
        return 0;
    }
    return Window::WindowProc(message, wParam, lParam);
}

bool TrayIcon::NotifyShell(DWORD message, HICON iconOrNull, const TooltipText* tipOrNull) {
    if (tipOrNull != nullptr && !tipOrNull->wide.empty()) {
        NOTIFYICONDATAW data;
        FillNotifyData(data, kNotifyIconDataWSize, hwnd(), iconOrNull);
        data.uFlags |= NIF_TIP;
        const size_t units = std::min(tipOrNull->wide.size(), std::size(data.szTip) - 1);
        std::memcpy(data.szTip, tipOrNull->wide.data(), units * sizeof(wchar_t));
        return NotifyShellIconW(message, &data) != FALSE;
    }
    NOTIFYICONDATAA data;
    FillNotifyData(data, kNotifyIconDataSize, hwnd(), iconOrNull);
    if (tipOrNull != nullptr) {
        data.uFlags |= NIF_TIP;
        // Tooltips are at most 63 bytes; the copy is bounded all the same.
        std::strncpy(data.szTip, tipOrNull->ansi.c_str(), sizeof(data.szTip) - 1);
    }
    return NotifyShellIcon(message, &data) != FALSE;
}

LRESULT TrayIcon::OnTrayNotify(WPARAM wParam, LPARAM lParam) {
    if (wParam == TRAY_ICON_ID && (lParam == WM_LBUTTONDOWN || lParam == WM_RBUTTONUP)) {
        PostMessageA(hwnd(), static_cast<UINT>(lParam), 0, 0);
    }
    return 0;
}

LRESULT TrayIcon::OnLButtonDown(WPARAM, LPARAM) {
    OnTrayLeftClick();
    return Default();
}

LRESULT TrayIcon::OnRButtonUp(WPARAM, LPARAM) {
    OnTrayRightClick();
    return 0;
}

LRESULT TrayIcon::OnLButtonUp(WPARAM, LPARAM) {
    return 0;
}

LRESULT TrayIcon::OnTimer(WPARAM, LPARAM) {
    return Default();
}

}  // namespace varnoke
