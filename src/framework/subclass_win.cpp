#include "framework/subclass_win.h"

namespace varnoke {

namespace {
// A property rather than GWLP_USERDATA: a control class may use its own user data.
const char kSelfProperty[] = "VarnokeSubclass";
}  // namespace

SubclassedWindow::~SubclassedWindow() {
    // The control belongs to its dialog; the base destructor must not destroy it.
    Unsubclass();
}

bool SubclassedWindow::Subclass(HWND control) {
    if (control == nullptr || hwnd() != nullptr) {
        return false;
    }
    if (!SetPropA(control, kSelfProperty, this)) {
        return false;
    }
    Attach(control);
    original_ = reinterpret_cast<WNDPROC>(SetWindowLongPtrA(
        control, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&SubclassedWindow::StaticSubclassProc)));
    return true;
}

void SubclassedWindow::Unsubclass() {
    HWND control = hwnd();
    if (control == nullptr) {
        return;
    }
    SetWindowLongPtrA(control, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(original_));
    RemovePropA(control, kSelfProperty);
    Detach();
}

LRESULT SubclassedWindow::DefaultProc(UINT message, WPARAM wParam, LPARAM lParam) {
    return CallWindowProcA(original_, hwnd(), message, wParam, lParam);
}

LRESULT CALLBACK SubclassedWindow::StaticSubclassProc(HWND hwnd, UINT message, WPARAM wParam,
                                                      LPARAM lParam) {
    auto* self = static_cast<SubclassedWindow*>(GetPropA(hwnd, kSelfProperty));
    if (self == nullptr) {
        return DefWindowProcA(hwnd, message, wParam, lParam);
    }
    WNDPROC original = self->original_;
    LRESULT result = 0;
    CurrentMessage saved = self->SwapCurrentMessage({message, wParam, lParam, false});
    try {
        result = self->WindowProc(message, wParam, lParam);
    } catch (...) {
        result = CallWindowProcA(original, hwnd, message, wParam, lParam);
    }
    self->SwapCurrentMessage(saved);
    if (message == WM_NCDESTROY) {
        self->Unsubclass();
    }
    return result;
}

}  // namespace varnoke
