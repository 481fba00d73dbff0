#pragma once
// The history menu as a Win32 popup menu: its items, its tracking, and the two keys
// that act on the highlighted item while the menu loop runs.

#include <windows.h>

#include <functional>
#include <utility>
#include <vector>

#include "menus/history_menu_model.h"

namespace varnoke {

// Appends the items to an empty popup menu, in order; false when an item was refused.
bool AppendHistoryMenuItems(HMENU menu, const std::vector<HistoryMenuItem>& items);

// Tracks `menu` with its top-left corner at `point`, owned by `owner`, either mouse
// button choosing. Returns when the menu closes; a chosen command arrives afterwards
// as a queued WM_COMMAND.
void TrackPopupAt(HMENU menu, HWND owner, POINT point);

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

}  // namespace varnoke
