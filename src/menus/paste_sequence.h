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
//
// The pauses before the first key give the target time in front before the keys come.
// `targetInFrontMs` is the time it has already had since the foreground was given back
// (the write to the clipboard and the queued command take some); it is taken off those
// pauses, never off the pauses between keys.
void SendPasteKeystroke(int pasteCommand, int pasteDelayTime, KeyboardPort& keyboard,
                        int targetInFrontMs = 0);

// The foreground as seen from one remembered target window.
class ForegroundPort {
  public:
    virtual ~ForegroundPort() = default;
    virtual void SetTargetForeground() = 0;  // SetForegroundWindow(target)
    virtual bool TargetIsForeground() = 0;   // GetForegroundWindow() == target
    virtual void Sleep(int ms) = 0;
    virtual double NowMs() = 0;  // a clock in milliseconds, from any origin
};

// The foreground changes hands a few milliseconds after SetForegroundWindow returns (at
// once only rarely), and the paste's own pauses start only when it has; looking every
// millisecond lets the paste follow it at once (looking every 5 ms lost 3.5 ms a paste
// under Wine). The wait is bounded by the clock rather than by a count of looks, since a
// short sleep may last a whole timer tick.
constexpr int kRestoreWaitMs = 1000;
constexpr int kRestoreCheckIntervalMs = 1;

// Gives the foreground back to the target and waits until it has it, looking every
// millisecond for at most one second. Whether it worked is not reported; the paste goes
// on regardless.
void RestoreTargetWindow(ForegroundPort& foreground);

}  // namespace varnoke
