#include "menus/paste_win.h"

namespace varnoke {

void Win32Keyboard::KeyEvent(uint8_t vk, bool keyUp) {
    keybd_event(vk, 0, keyUp ? KEYEVENTF_KEYUP : 0, 0);
}

void Win32Keyboard::Sleep(int ms) {
    if (ms > 0) {
        ::Sleep(static_cast<DWORD>(ms));
    }
}

void Win32Foreground::SetTargetForeground() {
    SetForegroundWindow(target_);
}

bool Win32Foreground::TargetIsForeground() {
    return GetForegroundWindow() == target_;
}

void Win32Foreground::Sleep(int ms) {
    if (ms > 0) {
        ::Sleep(static_cast<DWORD>(ms));
    }
}

}  // namespace varnoke
