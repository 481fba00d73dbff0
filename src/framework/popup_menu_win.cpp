#include "framework/popup_menu_win.h"

#include <utility>

namespace varnoke {

void TrackPopupAt(HMENU menu, HWND owner, POINT point) {
    TrackPopupMenu(menu, TPM_LEFTALIGN | TPM_TOPALIGN | TPM_RIGHTBUTTON, point.x, point.y, 0, owner,
                   nullptr);
}

void ShowPopupMenu(HMENU menu, HWND owner, POINT point, const std::function<void()>& afterClose) {
    SetForegroundWindow(owner);
    TrackPopupAt(menu, owner, point);
    if (afterClose) {
        afterClose();
    }
    PostMessageA(owner, WM_USER, 0, 0);
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

namespace {

struct WindowSearch {
    HWND wanted;
    bool found;
};

BOOL CALLBACK MatchTopLevelWindow(HWND window, LPARAM param) {
    auto* search = reinterpret_cast<WindowSearch*>(param);
    if (window == search->wanted) {
        search->found = true;
        return FALSE;
    }
    return TRUE;
}

}  // namespace

bool TopLevelWindowExists(HWND window) {
    if (window == nullptr) {
        return false;
    }
    WindowSearch search{window, false};
    EnumWindows(&MatchTopLevelWindow, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

}  // namespace varnoke
