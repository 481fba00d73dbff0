#pragma once
// The paste keystroke and the hand-back of the foreground, over small ports that the
// Win32 side implements with keybd_event, SetForegroundWindow and Sleep.

#include <cstdint>

namespace varnoke {

constexpr uint8_t kVkShift = 0x10;    // VK_SHIFT
constexpr uint8_t kVkControl = 0x11;  // VK_CONTROL
constexpr uint8_t kVkInsert = 0x2D;   // VK_INSERT
constexpr uint8_t kVkV = 0x56;

enum PasteCommand {
    kPasteCtrlV = 0,
    kPasteShiftInsert = 1,
};

class KeyboardPort {
  public:
    virtual ~KeyboardPort() = default;
    // One keybd_event: scan code 0, flags 0 for a press and KEYEVENTF_KEYUP for a release,
    // no extended-key flag, extra information 0.
    virtual void KeyEvent(uint8_t vk, bool keyUp) = 0;
    virtual void Sleep(int ms) = 0;
};

// Waits `pasteDelayTime` ms (a negative value counts as 0), then types Ctrl+V
// (`pasteCommand` 0) or Shift+Insert (1) into whatever window has the focus; any other
// command sends nothing.
void SendPasteKeystroke(int pasteCommand, int pasteDelayTime, KeyboardPort& keyboard);

// The foreground as seen from one remembered target window.
class ForegroundPort {
  public:
    virtual ~ForegroundPort() = default;
    virtual void SetTargetForeground() = 0;  // SetForegroundWindow(target)
    virtual bool TargetIsForeground() = 0;   // GetForegroundWindow() == target
    virtual void Sleep(int ms) = 0;
};

// The foreground changes hands a few milliseconds after SetForegroundWindow returns (at
// once only rarely); looking every 5 ms lets the paste follow it that soon instead of a
// tenth of a second later, and the wait still ends after one second.
constexpr int kRestoreChecks = 200;
constexpr int kRestoreCheckIntervalMs = 5;

// Gives the foreground back to the target and waits until it has it: up to 200 checks,
// each failed one followed by 5 ms of sleep. Whether it worked is not reported; the paste
// goes on regardless.
void RestoreTargetWindow(ForegroundPort& foreground);

}  // namespace varnoke
