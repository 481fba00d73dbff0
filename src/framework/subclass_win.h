#pragma once
// A control whose window procedure is replaced by a Window's message tables. Messages the
// tables leave alone, and Default(), go on to the procedure it had before.

#include <windows.h>

#include "framework/window_win.h"

namespace varnoke {

class SubclassedWindow : public Window {
  public:
    ~SubclassedWindow() override;

    bool Subclass(HWND control);
    bool SubclassDlgItem(HWND dialog, int id) { return Subclass(GetDlgItem(dialog, id)); }
    // Gives the control its own procedure back; the control lives on. When a later subclass
    // sits above ours, ours stays in the chain and passes every message on.
    void Unsubclass();

  protected:
    LRESULT DefaultProc(UINT message, WPARAM wParam, LPARAM lParam) override;

  private:
    static LRESULT CALLBACK StaticSubclassProc(HWND hwnd, UINT message, WPARAM wParam,
                                               LPARAM lParam);

    WNDPROC original_ = nullptr;
    // A Unicode control stays one: its messages, and the text in them, pass on unconverted.
    bool unicode_ = false;
};

}  // namespace varnoke
