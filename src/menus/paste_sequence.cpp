#include "menus/paste_sequence.h"

#include <algorithm>

namespace varnoke {

namespace {

// Sleeps what is left of `ms` once the time already spent, `spent`, is used up on it.
void SleepRest(KeyboardPort& keyboard, int ms, int& spent) {
    const int used = std::min(ms, spent);
    spent -= used;
    if (ms > used) {
        keyboard.Sleep(ms - used);
    }
}

// The pauses give slow target applications time to see the modifier before the key.
void TypeCtrlV(KeyboardPort& keyboard, int& spent) {
    SleepRest(keyboard, 30, spent);
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

void SendPasteKeystroke(int pasteCommand, int pasteDelayTime, KeyboardPort& keyboard,
                        int targetInFrontMs) {
    int spent = std::max(targetInFrontMs, 0);
    SleepRest(keyboard, std::max(pasteDelayTime, 0), spent);
    if (pasteCommand == kPasteCtrlV) {
        TypeCtrlV(keyboard, spent);
    } else if (pasteCommand == kPasteShiftInsert) {
        TypeShiftInsert(keyboard);
    }
}

void RestoreTargetWindow(ForegroundPort& foreground) {
    foreground.SetTargetForeground();
    const double start = foreground.NowMs();
    while (!foreground.TargetIsForeground()) {
        if (foreground.NowMs() - start >= kRestoreWaitMs) {
            return;
        }
        foreground.Sleep(kRestoreCheckIntervalMs);
    }
}

}  // namespace varnoke
