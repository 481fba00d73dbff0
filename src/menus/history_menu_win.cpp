#include "menus/history_menu_win.h"

namespace varnoke {

bool AppendHistoryMenuItems(HMENU menu, const std::vector<HistoryMenuItem>& items) {
    bool ok = true;
    for (const HistoryMenuItem& item : items) {
        UINT flags = MF_STRING | (item.columnBreak ? MF_MENUBARBREAK : 0);
        ok = AppendMenuA(menu, flags, item.commandId, item.label.c_str()) != FALSE && ok;
    }
    return ok;
}

void TrackPopupAt(HMENU menu, HWND owner, POINT point) {
    TrackPopupMenu(menu, TPM_LEFTALIGN | TPM_TOPALIGN | TPM_RIGHTBUTTON, point.x, point.y, 0, owner,
                   nullptr);
}

MenuKeyFilter* MenuKeyFilter::active_ = nullptr;

MenuKeyFilter::MenuKeyFilter(Handler handler) : handler_(std::move(handler)) {
    hook_ =
        SetWindowsHookExA(WH_MSGFILTER, &MenuKeyFilter::FilterProc, nullptr, GetCurrentThreadId());
    previous_ = active_;
    active_ = this;
}

MenuKeyFilter::~MenuKeyFilter() {
    active_ = previous_;
    if (hook_ != nullptr) {
        UnhookWindowsHookEx(hook_);
    }
}

LRESULT CALLBACK MenuKeyFilter::FilterProc(int code, WPARAM wParam, LPARAM lParam) {
    // A hook procedure is a system callback like a window procedure: nothing may unwind
    // through it.
    try {
        if (code == MSGF_MENU && active_ != nullptr && lParam != 0 &&
            active_->OnMenuKey(*reinterpret_cast<const MSG*>(lParam))) {
            return 1;
        }
    } catch (...) {
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

bool MenuKeyFilter::OnMenuKey(const MSG& msg) {
    if (msg.message != WM_KEYDOWN || (msg.wParam != VK_SPACE && msg.wParam != VK_BACK)) {
        return false;
    }
    const char key = msg.wParam == VK_SPACE ? ' ' : '\b';
    if (handler_(key)) {
        EndMenu();
        return true;
    }
    return key == ' ';
}

}  // namespace varnoke
