#pragma once
// What every popup menu of the program needs of Win32, whichever menu it is: tracking at a
// point, the two menu keys the menu loop would not report, and the test whether the window
// that was in front before the menu still exists.

#include <windows.h>

#include <functional>

namespace varnoke {

// Tracks `menu` with its top-left corner at `point`, owned by `owner`, either mouse
// button choosing. Returns when the menu closes; a chosen command arrives afterwards
// as a queued WM_COMMAND.
void TrackPopupAt(HMENU menu, HWND owner, POINT point);

// The one way the program shows a popup menu: `owner` is made the foreground window, the
// menu is tracked, `afterClose` runs, and WM_USER is posted to `owner`.
// - A menu whose owner is not in front does not close when the user clicks elsewhere.
// - The menu loop has to see one more message after the menu closes, or the next showing
//   can close at once; WM_USER is handled by nobody and is only that message.
void ShowPopupMenu(HMENU menu, HWND owner, POINT point,
                   const std::function<void()>& afterClose = nullptr);

// While alive, Space and Backspace pressed in a popup menu of this thread go to
// `handler` (with 0x20 or 0x08) before the menu loop sees them. When the handler acts
// (returns true) the menu is ended without a command. Space is swallowed either way.
//
// On Windows these keys reach WM_MENUCHAR as unmatched characters, but Wine's menu
// loop chooses the highlighted item on Space and drops Backspace. The message filter
// sees the key on both, so the keys behave alike.
class MenuKeyFilter {
  public:
    using Handler = std::function<bool(char key)>;

    explicit MenuKeyFilter(Handler handler);
    ~MenuKeyFilter();
    MenuKeyFilter(const MenuKeyFilter&) = delete;
    MenuKeyFilter& operator=(const MenuKeyFilter&) = delete;

  private:
    static LRESULT CALLBACK FilterProc(int code, WPARAM wParam, LPARAM lParam);
    bool OnMenuKey(const MSG& msg);

    Handler handler_;
    HHOOK hook_ = nullptr;
    MenuKeyFilter* previous_ = nullptr;
    static MenuKeyFilter* active_;
};

// Whether `window` is still among the top-level windows (EnumWindows, compared by
// handle). IsWindow alone would also accept a recycled handle of a child window.
bool TopLevelWindowExists(HWND window);

}  // namespace varnoke
