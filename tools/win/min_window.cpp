// The smallest honest Win32 program: registers a class, creates one window, pumps
// the messages it has, and exits. Used to bring Wine's desktop up and as the
// start-up benchmark's baseline. With any argument it stays, like a resident program,
// until its window is closed; with "tray" it first adds an icon to the notification area,
// as every tray program must before it waits for input: the floor of a tray program's
// start-up. The shell is loaded only then, so the plain window's figures stay without it.
#include <windows.h>

#include <cstring>

#include <shellapi.h>

namespace {

using NotifyFunction = BOOL WINAPI(DWORD, NOTIFYICONDATAA*);
NotifyFunction* notify = nullptr;

bool NotifyTray(DWORD message, HWND window) {
    NOTIFYICONDATAA data{};
    data.cbSize = NOTIFYICONDATAA_V2_SIZE;
    data.hWnd = window;
    data.uID = 1;
    data.uFlags = NIF_ICON | NIF_TIP;
    data.hIcon = LoadIconA(nullptr, MAKEINTRESOURCEA(32512));  // IDI_APPLICATION
    std::strcpy(data.szTip, "MinWindow");
    return notify != nullptr && notify(message, &data) != FALSE;
}

LRESULT CALLBACK Proc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_DESTROY) {
        if (notify != nullptr)
            NotifyTray(NIM_DELETE, hwnd);
        PostQuitMessage(0);
    }
    return DefWindowProcA(hwnd, message, wParam, lParam);
}

}  // namespace

int main(int argc, char** argv) {
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
        if (std::strcmp(argv[1], "tray") == 0) {
            FARPROC found = GetProcAddress(LoadLibraryA("shell32.dll"), "Shell_NotifyIconA");
            notify = reinterpret_cast<NotifyFunction*>(reinterpret_cast<void*>(found));
            if (!NotifyTray(NIM_ADD, window))
                return 1;
        }
        while (GetMessageA(&msg, nullptr, 0, 0) > 0) DispatchMessageA(&msg);
        return window != nullptr ? 0 : 1;
    }
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
        DispatchMessageA(&msg);
    }
    DestroyWindow(window);
    return window != nullptr ? 0 : 1;
}
