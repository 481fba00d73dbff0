#include "framework/dialog_tips_win.h"

#include <commctrl.h>

#include <iterator>

#include "framework/controls_win.h"

namespace varnoke {

const MessageEntry DialogTips::kMessages[] = {
    {TTM_WINDOWFROMPOINT, OnMessage(&DialogTips::OnWindowFromPoint)},
};
const MessageMap DialogTips::kMessageMap = {&Window::kMessageMap, kMessages, std::size(kMessages),
                                            nullptr, 0};

bool DialogTips::Create(HWND dialog, const std::vector<HWND>& controls) {
    ToolTip tips = ToolTip::Create(dialog);
    if (!tips) {
        return false;
    }
    tips.Activate(true);
    for (HWND control : controls) {
        if (tips.AddTool(dialog, control)) {
            tools_.push_back(control);
        }
    }
    return Subclass(tips.hwnd());
}

void DialogTips::RelayDialogMouseMove(HWND dialog, WPARAM wParam, LPARAM lParam) const {
    if (hwnd() == nullptr) {
        return;
    }
    POINT point{static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
    ClientToScreen(dialog, &point);
    // The tip control matches a window tool by the window the move names.
    MSG move{dialog, WM_MOUSEMOVE, wParam, lParam, static_cast<DWORD>(GetMessageTime()), point};
    if (HWND tool = ToolAt(point)) {
        POINT inTool = point;
        ScreenToClient(tool, &inTool);
        move.hwnd = tool;
        move.lParam = MAKELPARAM(inTool.x, inTool.y);
    }
    ToolTip(hwnd()).RelayEvent(move);
}

LRESULT DialogTips::OnWindowFromPoint(WPARAM, LPARAM lParam) {
    const auto* point = reinterpret_cast<const POINT*>(lParam);
    HWND tool = point != nullptr ? ToolAt(*point) : nullptr;
    if (tool != nullptr && !IsWindowEnabled(tool)) {
        return reinterpret_cast<LRESULT>(tool);
    }
    return Default();
}

HWND DialogTips::ToolAt(POINT screen) const {
    HWND found = nullptr;
    LONG foundArea = 0;
    for (HWND tool : tools_) {
        RECT r{};
        if (!IsWindowVisible(tool) || !GetWindowRect(tool, &r) || !PtInRect(&r, screen)) {
            continue;
        }
        LONG area = (r.right - r.left) * (r.bottom - r.top);
        if (found == nullptr || area < foundArea) {
            found = tool;
            foundArea = area;
        }
    }
    return found;
}

}  // namespace varnoke
