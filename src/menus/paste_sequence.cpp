#include "menus/paste_sequence.h"

namespace varnoke {

namespace {

// The pauses give slow target applications time to see the modifier before the key.
void TypeCtrlV(KeyboardPort& keyboard) {
    keyboard.Sleep(30);
    keyboard.KeyEvent(kVkControl, false);
    keyboard.KeyEvent(kVkV, false);
    keyboard.Sleep(70);
    keyboard.KeyEvent(kVkV, true);
    keyboard.KeyEvent(kVkControl, true);
}

void TypeShiftInsert(KeyboardPort& keyboard) {
    keyboard.KeyEvent(kVkShift, false);
    keyboard.Sleep(20);
    keyboard.KeyEvent(kVkInsert, false);
    keyboard.Sleep(20);
    keyboard.KeyEvent(kVkInsert, true);
    keyboard.KeyEvent(kVkShift, true);
}

}  // namespace

void SendPasteKeystroke(int pasteCommand, int pasteDelayTime, KeyboardPort& keyboard) {
    if (pasteDelayTime > 0) {
        keyboard.Sleep(pasteDelayTime);
    }
    if (pasteCommand == kPasteCtrlV) {
        TypeCtrlV(keyboard);
    } else if (pasteCommand == kPasteShiftInsert) {
        TypeShiftInsert(keyboard);
    }
}

void RestoreTargetWindow(ForegroundPort& foreground) {
    foreground.SetTargetForeground();
    for (int check = 0; check < kRestoreChecks; ++check) {
        if (foreground.TargetIsForeground()) {
            return;
        }
        foreground.Sleep(kRestoreCheckIntervalMs);
    }
}

}  // namespace varnoke
