#include "tray/tray_icon_win.h"

#include "framework/system_libraries_win.h"

#include <iterator>

#include "core/app_messages.h"
#include "res/resource.h"

namespace varnoke {

namespace {

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
    return NotifyShellIcon(message, {hwnd(), TRAY_ICON_ID, WM_TRAY_NOTIFY}, iconOrNull, tipOrNull);
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
