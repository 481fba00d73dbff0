#pragma once
// A dialog's tip control, for every control it names, enabled or not.
//
// Each tool relays its own mouse moves (TTF_SUBCLASS), but a disabled control gets no mouse
// messages: they go to the dialog, which hands them on here, and the system's hit test
// passes a disabled child by, so the tip control is told which tool lies under the pointer
// (TTM_WINDOWFROMPOINT) when it checks before showing.

#include <windows.h>

#include <vector>

#include "framework/subclass_win.h"

namespace varnoke {

class DialogTips : public SubclassedWindow {
  public:
    // One tip control owned by `dialog`, destroyed with it; a tool for each of `controls`.
    bool Create(HWND dialog, const std::vector<HWND>& controls);
    // A mouse move that reached the dialog itself (lParam in its client coordinates).
    void RelayDialogMouseMove(HWND dialog, WPARAM wParam, LPARAM lParam) const;

  protected:
    const MessageMap* GetMessageMap() const override { return &kMessageMap; }

  private:
    LRESULT OnWindowFromPoint(WPARAM, LPARAM lParam);
    // The tool whose window holds the screen point, the smallest one if several do (a
    // group box and a control inside it); nullptr for none.
    HWND ToolAt(POINT screen) const;

    std::vector<HWND> tools_;

    static const MessageEntry kMessages[];
    static const MessageMap kMessageMap;
};

}  // namespace varnoke
