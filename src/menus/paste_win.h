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

class Win32Foreground : public ForegroundPort {
  public:
    explicit Win32Foreground(HWND target) : target_(target) {}
    void SetTargetForeground() override;
    bool TargetIsForeground() override;
    void Sleep(int ms) override;

  private:
    HWND target_;
};

}  // namespace varnoke
