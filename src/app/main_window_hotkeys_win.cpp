// MainWindow: the global hot keys, their registration and their dispatch
// (WM_HOTKEY reaches OnHotKey from WindowProc, in main_window_win.cpp).
#include "app/hotkeys.h"
#include "app/hotkeys_win.h"
#include "app/main_window_win.h"
#include "framework/strings_win.h"
#include "res/resource.h"

namespace varnoke {

void MainWindow::RegisterHotKeys() {
    HWND window = hwnd();
    varnoke::RegisterHotKeys(
        settings_.hotKeys,
        [window](int, int id, uint16_t modifiers, uint16_t keyCode) {
            return RegisterGlobalHotKey(window, id, modifiers, keyCode);
        },
        [this](int slot) { ReportHotKeyFailure(slot); });
}

// Each refused slot is reported at once, before the next slot is tried. The box runs a
// message loop while the creation sequence or the hot-key dialog's flow waits for it: the
// tray menu must not open there, for its exit would end the program half-created and its
// hot-key command would register inside this registration.
void MainWindow::ReportHotKeyFailure(int slot) {
    ModalGuard modal(modalOpen_, 1);
    const HotKeySlot& key = settings_.hotKeys[slot];
    std::string slotName =
        HotKeySlotNameText(slot, [](unsigned stringId) { return LoadResourceString(stringId); });
    std::string keyName = HotKeyDisplayName(key.keyCode, key.modifiers, &KeyDisplayName);
    ShowMessage(hwnd(), FormatString(LoadResourceString(IDS_MSG_HOTKEY_FAILED).c_str(),
                                     slotName.c_str(), keyName.c_str()));
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
        case kSearchSlot:
            SearchHistory(true);
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
