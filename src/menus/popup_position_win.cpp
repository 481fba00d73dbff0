#include "menus/popup_position_win.h"

namespace varnoke {

void GetCaretScreenPos(PopupInputs& inputs) {
    HWND foreground = GetForegroundWindow();
    if (foreground == nullptr || !IsWindow(foreground)) {
        return;
    }
    DWORD thread = GetWindowThreadProcessId(foreground, nullptr);
    if (thread == 0) {
        return;
    }
    DWORD self = GetCurrentThreadId();
    // GetCaretPos and GetFocus only see another thread's caret and focus while our input
    // state is attached to it.
    if (!AttachThreadInput(self, thread, TRUE)) {
        return;
    }
    POINT caret{};
    GetCaretPos(&caret);
    HWND focus = GetFocus();
    POINT origin{0, 0};
    if (focus != nullptr && IsWindow(focus) && ClientToScreen(focus, &origin)) {
        inputs.caretFound = true;
        inputs.caretClient = PopupPoint{caret.x, caret.y};
        inputs.clientOrigin = PopupPoint{origin.x, origin.y};
    }
    AttachThreadInput(self, thread, FALSE);
}

POINT GetPopupPoint(int popupPos) {
    PopupInputs inputs;
    inputs.screenWidth = GetSystemMetrics(SM_CXSCREEN);
    inputs.screenHeight = GetSystemMetrics(SM_CYSCREEN);
    inputs.menuBarHeight = GetSystemMetrics(SM_CYMENU);
    if (PopupNeedsCursor(popupPos)) {
        POINT cursor{};
        GetCursorPos(&cursor);
        inputs.cursor = PopupPoint{cursor.x, cursor.y};
    }
    if (PopupNeedsCaret(popupPos)) {
        GetCaretScreenPos(inputs);
    }
    PopupPoint point = GetPopupPosition(popupPos, inputs);
    return POINT{point.x, point.y};
}

}  // namespace varnoke
