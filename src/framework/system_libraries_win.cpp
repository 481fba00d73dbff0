#include "framework/system_libraries_win.h"

#include <commctrl.h>

#include <algorithm>
#include <cstring>
#include <iterator>
#include <string>
#include <type_traits>

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

namespace {

// The NOTIFYICONDATAA layout of shell 5 (128-byte tip), which every shell since accepts: the
// structure up to its guidItem, 488 bytes in a 32-bit program.
constexpr DWORD kNotifyIconDataSize = offsetof(NOTIFYICONDATAA, guidItem);
static_assert(sizeof(void*) != 4 || kNotifyIconDataSize == 488,
              "NOTIFYICONDATAA layout differs from the 488-byte form");
constexpr DWORD kNotifyIconDataWSize = offsetof(NOTIFYICONDATAW, guidItem);

// The fields both forms of the structure share.
template <typename Data>
void FillNotifyData(Data& data, DWORD size, const ShellIcon& icon, HICON iconOrNull) {
    std::memset(&data, 0, sizeof(data));
    data.cbSize = size;
    data.hWnd = icon.window;
    data.uID = icon.id;
    data.uCallbackMessage = icon.callbackMessage;
    data.uFlags = NIF_MESSAGE;
    if (iconOrNull != nullptr) {
        data.uFlags |= NIF_ICON;
        data.hIcon = iconOrNull;
    }
}

}  // namespace

bool NotifyShellIcon(DWORD message, const ShellIcon& icon, HICON iconOrNull,
                     const DualText* tipOrNull) {
    if (tipOrNull != nullptr && tipOrNull->hasExact()) {
        using Function = BOOL WINAPI(DWORD, NOTIFYICONDATAW*);
        static Function* notify = FunctionOf<Function>(Shell(), "Shell_NotifyIconW");
        NOTIFYICONDATAW data;
        FillNotifyData(data, kNotifyIconDataWSize, icon, iconOrNull);
        data.uFlags |= NIF_TIP;
        const size_t units = std::min(tipOrNull->exact.size(), std::size(data.szTip) - 1);
        std::memcpy(data.szTip, tipOrNull->exact.data(), units * sizeof(wchar_t));
        return notify != nullptr && notify(message, &data) != FALSE;
    }
    using Function = BOOL WINAPI(DWORD, NOTIFYICONDATAA*);
    static Function* notify = FunctionOf<Function>(Shell(), "Shell_NotifyIconA");
    NOTIFYICONDATAA data;
    FillNotifyData(data, kNotifyIconDataSize, icon, iconOrNull);
    if (tipOrNull != nullptr) {
        data.uFlags |= NIF_TIP;
        // Tooltips are at most 63 bytes; the copy is bounded all the same.
        std::strncpy(data.szTip, tipOrNull->ansi.c_str(), sizeof(data.szTip) - 1);
    }
    return notify != nullptr && notify(message, &data) != FALSE;
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

BOOL ProtectData(DATA_BLOB* in, const wchar_t* description, DWORD flags, DATA_BLOB* out) {
    using Function = BOOL WINAPI(DATA_BLOB*, LPCWSTR, DATA_BLOB*, void*, void*, DWORD, DATA_BLOB*);
    static Function* protect = SystemFunction<Function>("crypt32.dll", "CryptProtectData");
    return protect != nullptr ? protect(in, description, nullptr, nullptr, nullptr, flags, out)
                              : FALSE;
}

BOOL UnprotectData(DATA_BLOB* in, DWORD flags, DATA_BLOB* out) {
    using Function = BOOL WINAPI(DATA_BLOB*, LPWSTR*, DATA_BLOB*, void*, void*, DWORD, DATA_BLOB*);
    static Function* unprotect = SystemFunction<Function>("crypt32.dll", "CryptUnprotectData");
    return unprotect != nullptr ? unprotect(in, nullptr, nullptr, nullptr, nullptr, flags, out)
                                : FALSE;
}

bool CngFunctions::complete() const {
    return openAlgorithm != nullptr && closeAlgorithm != nullptr && setProperty != nullptr &&
           generateSymmetricKey != nullptr && destroyKey != nullptr && encrypt != nullptr &&
           decrypt != nullptr && genRandom != nullptr;
}

const CngFunctions& Cng() {
    static const CngFunctions functions = [] {
        CngFunctions found;
        HMODULE library = LoadSystemLibrary("bcrypt.dll");
        auto load = [library](auto& member, const char* name) {
            member =
                FunctionOf<std::remove_pointer_t<std::decay_t<decltype(member)>>>(library, name);
        };
        load(found.openAlgorithm, "BCryptOpenAlgorithmProvider");
        load(found.closeAlgorithm, "BCryptCloseAlgorithmProvider");
        load(found.setProperty, "BCryptSetProperty");
        load(found.generateSymmetricKey, "BCryptGenerateSymmetricKey");
        load(found.destroyKey, "BCryptDestroyKey");
        load(found.encrypt, "BCryptEncrypt");
        load(found.decrypt, "BCryptDecrypt");
        load(found.genRandom, "BCryptGenRandom");
        return found;
    }();
    return functions;
}

DWORD ProcessImageFileName(HANDLE process, char* name, DWORD size) {
    using Function = DWORD WINAPI(HANDLE, LPSTR, DWORD);
    static Function* query = [] {
        Function* found = SystemFunction<Function>("kernel32.dll", "K32GetProcessImageFileNameA");
        return found != nullptr ? found
                                : SystemFunction<Function>("psapi.dll", "GetProcessImageFileNameA");
    }();
    return query != nullptr ? query(process, name, size) : 0;
}

}  // namespace varnoke
