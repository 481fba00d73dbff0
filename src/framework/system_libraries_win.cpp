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
Function* SystemFunction(const char* library, const char* name, bool byName = false) {
    HMODULE module = LoadSystemLibrary(library, byName);
    FARPROC found = module != nullptr ? GetProcAddress(module, name) : nullptr;
    return reinterpret_cast<Function*>(reinterpret_cast<void*>(found));
}

}  // namespace

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
