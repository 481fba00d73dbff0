// copy_owned <text> [holdMs=2000]: copies <text> as CF_TEXT with a window of its own as the
// clipboard's owner, as a password manager does, then keeps that window for holdMs so the
// program watching the clipboard can still ask which process owns it. The end-to-end tests
// copy it under the names of the programs whose copies are never recorded.
#include <windows.h>

#include <cstdlib>
#include <cstring>

int main(int argc, char** argv) {
    if (argc < 2) {
        return 2;
    }
    const DWORD holdMs = argc > 2 ? static_cast<DWORD>(std::atoi(argv[2])) : 2000;
    HWND owner = CreateWindowA("STATIC", "copy_owned", 0, 0, 0, 0, 0, nullptr, nullptr,
                               GetModuleHandleA(nullptr), nullptr);
    if (owner == nullptr) {
        return 1;
    }
    bool opened = false;
    for (int attempt = 0; attempt < 100 && !opened; ++attempt) {
        opened = OpenClipboard(owner) != FALSE;
        if (!opened) {
            Sleep(20);
        }
    }
    if (!opened) {
        return 1;
    }
    EmptyClipboard();
    const size_t size = std::strlen(argv[1]) + 1;
    HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, size);
    bool ok = false;
    if (memory != nullptr) {
        std::memcpy(GlobalLock(memory), argv[1], size);
        GlobalUnlock(memory);
        ok = SetClipboardData(CF_TEXT, memory) != nullptr;
    }
    CloseClipboard();
    const DWORD start = GetTickCount();
    while (GetTickCount() - start < holdMs) {
        MSG message;
        while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
            DispatchMessageA(&message);
        }
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 20, QS_ALLINPUT);
    }
    DestroyWindow(owner);
    return ok ? 0 : 1;
}
