#include "framework/system_libraries_win.h"

#include <commctrl.h>

#include <string>

namespace varnoke {

namespace {

// A library from the system folder: never one planted beside the program. The common
// controls are the exception, asked for by name so that the manifest's version 6 is the
// one loaded.
HMODULE LoadSystemLibrary(const char* name, bool byName = false) {
    if (HMODULE loaded = GetModuleHandleA(name)) {
        return loaded;
    }
    if (byName) {
        return LoadLibraryA(name);
    }
    char folder[MAX_PATH] = {};
    UINT length = GetSystemDirectoryA(folder, MAX_PATH);
    if (length == 0 || length >= MAX_PATH) {
        return nullptr;
    }
    return LoadLibraryA((std::string(folder, length) + "\\" + name).c_str());
}

template <class Function>
Function* FunctionOf(HMODULE module, const char* name) {
    FARPROC found = module != nullptr ? GetProcAddress(module, name) : nullptr;
    return reinterpret_cast<Function*>(reinterpret_cast<void*>(found));
}

template <class Function>
Function* SystemFunction(const char* library, const char* name, bool byName = false) {
    return FunctionOf<Function>(LoadSystemLibrary(library, byName), name);
}

DWORD WINAPI LoadShell(void*) {
    LoadSystemLibrary("shell32.dll");
    return 0;
}

// Touched by the user-interface thread only.
HANDLE shellLoader = nullptr;

// Where a module is found while another thread still initializes it is up to the system's
// loader; waiting for the thread makes sure the shell has finished starting.
HMODULE Shell() {
    if (shellLoader != nullptr) {
        WaitForSingleObject(shellLoader, INFINITE);
        CloseHandle(shellLoader);
        shellLoader = nullptr;
    }
    return LoadSystemLibrary("shell32.dll");
}

}  // namespace

void StartLoadingShell() {
    if (shellLoader == nullptr) {
        shellLoader = CreateThread(nullptr, 0, &LoadShell, nullptr, 0, nullptr);
    }
}

BOOL NotifyShellIcon(DWORD message, NOTIFYICONDATAA* data) {
    using Function = BOOL WINAPI(DWORD, NOTIFYICONDATAA*);
    static Function* notify = FunctionOf<Function>(Shell(), "Shell_NotifyIconA");
    return notify != nullptr ? notify(message, data) : FALSE;
}

BOOL NotifyShellIconW(DWORD message, NOTIFYICONDATAW* data) {
    using Function = BOOL WINAPI(DWORD, NOTIFYICONDATAW*);
    static Function* notify = FunctionOf<Function>(Shell(), "Shell_NotifyIconW");
    return notify != nullptr ? notify(message, data) : FALSE;
}

// A failure gives an instance handle of at most 32, as the function itself does.
HINSTANCE ShellExecuteFile(HWND owner, const char* verb, const char* file) {
    using Function =
        HINSTANCE WINAPI(HWND, const char*, const char*, const char*, const char*, int);
    static Function* execute = FunctionOf<Function>(Shell(), "ShellExecuteA");
    if (execute == nullptr) {
        return reinterpret_cast<HINSTANCE>(static_cast<INT_PTR>(SE_ERR_DLLNOTFOUND));
    }
    return execute(owner, verb, file, nullptr, nullptr, SW_SHOWNORMAL);
}

void LoadCommonControls() {
    static bool loaded = false;
    if (loaded) {
        return;
    }
    using InitFunction = BOOL WINAPI(const INITCOMMONCONTROLSEX*);
    if (auto* init = SystemFunction<InitFunction>("comctl32.dll", "InitCommonControlsEx", true)) {
        INITCOMMONCONTROLSEX classes{sizeof(classes), ICC_WIN95_CLASSES};
        loaded = init(&classes) != FALSE;
    }
}

BOOL OpenFileDialog(OPENFILENAMEA* dialog) {
    using Function = BOOL WINAPI(OPENFILENAMEA*);
    static Function* open = SystemFunction<Function>("comdlg32.dll", "GetOpenFileNameA");
    return open != nullptr ? open(dialog) : FALSE;
}

BOOL FontDialog(CHOOSEFONTA* dialog) {
    using Function = BOOL WINAPI(CHOOSEFONTA*);
    static Function* choose = SystemFunction<Function>("comdlg32.dll", "ChooseFontA");
    return choose != nullptr ? choose(dialog) : FALSE;
}

BOOL PlaySoundFile(const char* path, UINT flags) {
    using Function = BOOL WINAPI(const char*, UINT);
    static Function* play = SystemFunction<Function>("winmm.dll", "sndPlaySoundA");
    return play != nullptr ? play(path, flags) : FALSE;
}

}  // namespace varnoke
