// MainWindow: the nine global hot keys, their registration and their dispatch
// (WM_HOTKEY reaches OnHotKey from WindowProc, in main_window_win.cpp).
#include "app/hotkeys.h"
#include "app/hotkeys_win.h"
#include "app/main_window_win.h"
#include "framework/strings_win.h"
#include "res/resource.h"

namespace varnoke {

void MainWindow::RegisterHotKeys() {
    varnoke::RegisterHotKeys(settings_.hotKeys,
                             [this](int slot, int id, uint16_t modifiers, uint16_t keyCode) {
                                 return RegisterHotKeySlot(slot, id, modifiers, keyCode);
                             });
}

// Each refused slot is reported at once, before the next slot is tried.
bool MainWindow::RegisterHotKeySlot(int slot, int id, uint16_t modifiers, uint16_t keyCode) {
    if (RegisterGlobalHotKey(hwnd(), id, modifiers, keyCode)) {
        return true;
    }
    std::string slotName = HotKeySlotNameText(slot, &LoadResourceString);
    std::string keyName = HotKeyDisplayName(keyCode, modifiers, &KeyDisplayName);
    ShowMessage(hwnd(), FormatString(LoadResourceString(IDS_MSG_HOTKEY_FAILED).c_str(),
                                     slotName.c_str(), keyName.c_str()));
    return false;
}

LRESULT MainWindow::OnHotKey(WPARAM wParam, LPARAM) {
    if (shortTextBusy_) {
        return 1;
    }
    const int slot = FindHotKeySlot(settings_.hotKeys, static_cast<unsigned>(wParam));
    if (slot < 0) {
        return Default();
    }
    switch (slot) {
        case 0:
            // A menu opened from the tray may still be open: it must not become one
            // that pastes.
            if (!historyMenuOpen_) {
                calledByHotKey_ = true;
                ShowHistoryMenu();
            }
            break;
        case 1:
            if (!modalOpen_) {
                EditHistory();
            }
            break;
        case 2:
            ShowTrayMenu(true);
            break;
        case 3:
            capture_.TogglePause();
            break;
        default:
            ShowShortTextMenu(slot - kFirstShortTextSlot);
            break;
    }
    return 1;
}

void MainWindow::UnregisterHotKeysForDialog() {
    HWND window = hwnd();
    UnregisterHotKeys(settings_.hotKeys,
                      [window](int, int id) { UnregisterGlobalHotKey(window, id); });
}

void MainWindow::RegisterHotKeysAfterDialogOk() {
    RegisterHotKeys();
}

void MainWindow::ReregisterHotKeysAfterDialogCancel() {
    HWND window = hwnd();
    ReregisterHotKeys(settings_.hotKeys,
                      [window](int, int id, uint16_t modifiers, uint16_t keyCode) {
                          return RegisterGlobalHotKey(window, id, modifiers, keyCode);
                      });
}

}  // namespace varnoke
