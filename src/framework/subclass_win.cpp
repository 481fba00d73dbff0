#include "framework/subclass_win.h"

namespace varnoke {

namespace {
// Properties rather than GWLP_USERDATA: a control class may use its own user data.
const char kSelfProperty[] = "VarnokeSubclass";
// The procedure ours hands messages on to. It outlives the object when a later subclass
// (a tip control, an input method) sits above ours: ours cannot leave the chain without
// cutting that one out, so it stays and only passes messages on.
const char kNextProperty[] = "VarnokeSubclassNext";

WNDPROC NextProcedure(HWND control) {
    return reinterpret_cast<WNDPROC>(GetPropA(control, kNextProperty));
}

LRESULT CallNext(WNDPROC next, HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    return IsWindowUnicode(hwnd) ? CallWindowProcW(next, hwnd, message, wParam, lParam)
                                 : CallWindowProcA(next, hwnd, message, wParam, lParam);
}
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
    unicode_ = IsWindowUnicode(control) != FALSE;
    // Still in the chain from an earlier object: take its place there.
    original_ = NextProcedure(control);
    if (original_ == nullptr) {
        const auto ours = reinterpret_cast<LONG_PTR>(&SubclassedWindow::StaticSubclassProc);
        original_ =
            reinterpret_cast<WNDPROC>(unicode_ ? SetWindowLongPtrW(control, GWLP_WNDPROC, ours)
                                               : SetWindowLongPtrA(control, GWLP_WNDPROC, ours));
        SetPropA(control, kNextProperty, reinterpret_cast<HANDLE>(original_));
    }
    return true;
}

void SubclassedWindow::Unsubclass() {
    HWND control = hwnd();
    if (control == nullptr) {
        return;
    }
    const auto ours = reinterpret_cast<LONG_PTR>(&SubclassedWindow::StaticSubclassProc);
    const LONG_PTR installed = unicode_ ? GetWindowLongPtrW(control, GWLP_WNDPROC)
                                        : GetWindowLongPtrA(control, GWLP_WNDPROC);
    if (installed == ours) {
        const auto original = reinterpret_cast<LONG_PTR>(original_);
        unicode_ ? SetWindowLongPtrW(control, GWLP_WNDPROC, original)
                 : SetWindowLongPtrA(control, GWLP_WNDPROC, original);
        RemovePropA(control, kNextProperty);
    }
    RemovePropA(control, kSelfProperty);
    Detach();
}

LRESULT SubclassedWindow::DefaultProc(UINT message, WPARAM wParam, LPARAM lParam) {
    return CallNext(original_, hwnd(), message, wParam, lParam);
}

LRESULT CALLBACK SubclassedWindow::StaticSubclassProc(HWND hwnd, UINT message, WPARAM wParam,
                                                      LPARAM lParam) {
    auto* self = static_cast<SubclassedWindow*>(GetPropA(hwnd, kSelfProperty));
    if (self == nullptr) {
        WNDPROC next = NextProcedure(hwnd);
        if (message == WM_NCDESTROY) {
            RemovePropA(hwnd, kNextProperty);
        }
        return next != nullptr ? CallNext(next, hwnd, message, wParam, lParam)
                               : DefWindowProcA(hwnd, message, wParam, lParam);
    }
    WNDPROC original = self->original_;
    LRESULT result = 0;
    CurrentMessage saved = self->SwapCurrentMessage({message, wParam, lParam, false});
    try {
        result = self->WindowProc(message, wParam, lParam);
    } catch (...) {
        result = CallNext(original, hwnd, message, wParam, lParam);
    }
    self->SwapCurrentMessage(saved);
    if (message == WM_NCDESTROY) {
        self->Unsubclass();
        RemovePropA(hwnd, kNextProperty);
    }
    return result;
}

}  // namespace varnoke
