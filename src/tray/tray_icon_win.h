#pragma once
// The hidden main window's base: creates the window and turns the notification-area
// icon's mouse notifications into two hooks.

#include <windows.h>

#include "core/text.h"
#include "framework/window_win.h"

namespace varnoke {

class TrayIcon : public Window {
  public:
    // The hidden top-level window titled "Varnoke" whose class icon is 128.
    bool Create();

    static const MessageMap kMessageMap;

  protected:
    static const MessageEntry kMessages[];

    const MessageMap* GetMessageMap() const override { return &kMessageMap; }
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

    virtual void OnTrayRightClick() {}
    virtual void OnTrayLeftClick() {}
    // The shell's tray was recreated (Explorer restarted).
    virtual void OnTaskbarCreated() {}

    // NotifyShellIcon (system_libraries_win.h) for the icon; iconOrNull and tipOrNull may be
    // null.
    bool NotifyShell(DWORD message, HICON iconOrNull, const TooltipText* tipOrNull);

  private:
    LRESULT OnTrayNotify(WPARAM wParam, LPARAM lParam);
    LRESULT OnLButtonDown(WPARAM wParam, LPARAM lParam);
    LRESULT OnRButtonUp(WPARAM wParam, LPARAM lParam);
    LRESULT OnLButtonUp(WPARAM wParam, LPARAM lParam);
    LRESULT OnTimer(WPARAM wParam, LPARAM lParam);

    UINT taskbarCreatedMessage_ = 0;
};

}  // namespace varnoke
