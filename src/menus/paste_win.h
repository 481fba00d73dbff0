#pragma once
// The paste engine's ports on Win32: synthesized keys through keybd_event, the
// foreground through SetForegroundWindow, and pauses on the UI thread that still answer
// messages sent by other programs.

#include <windows.h>

#include "menus/paste_sequence.h"

namespace varnoke {

class Win32Keyboard : public KeyboardPort {
  public:
    void KeyEvent(uint8_t vk, bool keyUp) override;
    void Sleep(int ms) override;
};

// The moment the target was given the foreground back, kept from the menu's closing to
// the paste, so that the paste does not wait again for time the target has already had.
class TargetInFrontSince {
  public:
    void Mark();
    void Clear() { since_ = -1; }
    // Milliseconds since the mark, 0 when there is none; the mark is used up.
    int TakeElapsedMs();

  private:
    double since_ = -1;
};

class Win32Foreground : public ForegroundPort {
  public:
    explicit Win32Foreground(HWND target) : target_(target) {}
    void SetTargetForeground() override;
    bool TargetIsForeground() override;
    void Sleep(int ms) override;
    double NowMs() override;

  private:
    HWND target_;
};

}  // namespace varnoke
