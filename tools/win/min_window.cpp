// The smallest honest Win32 program: registers a class, creates one window, pumps
// the messages it has, and exits. Used to bring Wine's desktop up and as the
// start-up benchmark's baseline. With any argument it stays, like a resident program,
// until its window is closed.
#include <windows.h>

static LRESULT CALLBACK Proc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_DESTROY)
        PostQuitMessage(0);
    return DefWindowProcA(hwnd, message, wParam, lParam);
}

int main(int argc, char**) {
    HINSTANCE instance = GetModuleHandleA(nullptr);
    WNDCLASSA wc{};
    wc.lpfnWndProc = &Proc;
    wc.hInstance = instance;
    wc.lpszClassName = "MinWindow";
    RegisterClassA(&wc);
    HWND window = CreateWindowExA(WS_EX_TOOLWINDOW, "MinWindow", "MinWindow", 0, 0, 0, 0, 0,
                                  nullptr, nullptr, instance, nullptr);
    MSG msg;
    if (argc > 1) {
        while (GetMessageA(&msg, nullptr, 0, 0) > 0) DispatchMessageA(&msg);
        return window != nullptr ? 0 : 1;
    }
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
        DispatchMessageA(&msg);
    }
    DestroyWindow(window);
    return window != nullptr ? 0 : 1;
}
