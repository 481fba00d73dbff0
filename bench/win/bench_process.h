#pragma once
// What the Win32 benches need to find programs and their windows, and to run Varnoke from
// a scratch folder with a history file of their own.

#include <windows.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <string>
#include <utility>
#include <vector>

namespace bench {

// The folder that holds this bench program, without a trailing backslash.
inline std::string Folder() {
    char path[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, path, MAX_PATH);
    std::string s(path);
    return s.substr(0, s.find_last_of('\\'));
}

// The top-level window with this title that belongs to the process, or null.
inline HWND FindWindowOf(DWORD pid, const char* title) {
    HWND found = nullptr;
    while ((found = FindWindowExA(nullptr, found, nullptr, title)) != nullptr) {
        DWORD owner = 0;
        GetWindowThreadProcessId(found, &owner);
        if (owner == pid)
            return found;
    }
    return nullptr;
}

// Milliseconds from the performance counter.
inline double NowMs() {
    LARGE_INTEGER frequency, counter;
    QueryPerformanceFrequency(&frequency);
    QueryPerformanceCounter(&counter);
    return static_cast<double>(counter.QuadPart) * 1000.0 / static_cast<double>(frequency.QuadPart);
}

// Pumps this program's messages until `done` or the timeout; false on timeout.
template <typename Done>
bool PumpUntil(Done done, double timeoutMs) {
    const double start = NowMs();
    while (!done()) {
        if (NowMs() - start > timeoutMs)
            return false;
        MSG msg;
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&msg);
            DispatchMessageA(&msg);
        }
        SwitchToThread();
    }
    return true;
}

inline void PumpFor(double ms) {
    PumpUntil([] { return false; }, ms);
}

// The window pastes go to: a frame that hands the focus to its edit control whenever it is
// activated, as an editor does, so the foreground given back after a menu or the search
// window lands the keys in the edit. One per bench program.
class PasteTarget {
  public:
    static void Create(const char* caption, DWORD editStyle, int x, int y, int width, int height) {
        HINSTANCE instance = GetModuleHandleA(nullptr);
        frame_ = CreateWindowExA(0, "STATIC", caption, WS_OVERLAPPEDWINDOW | WS_VISIBLE, x, y,
                                 width, height, nullptr, nullptr, instance, nullptr);
        edit_ = CreateWindowExA(0, "EDIT", "", WS_CHILD | WS_VISIBLE | editStyle, 0, 0, width - 20,
                                height - 40, frame_, nullptr, instance, nullptr);
        frameProc_ = reinterpret_cast<WNDPROC>(
            SetWindowLongPtrA(frame_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&FocusEdit)));
    }
    static void Destroy() {
        DestroyWindow(frame_);
        frame_ = edit_ = nullptr;
    }
    static HWND edit() { return edit_; }
    static bool Pasted() { return GetWindowTextLengthA(edit_) > 0; }
    // Empty, in front and focused.
    static void Focus() {
        SetWindowTextA(edit_, "");
        SetForegroundWindow(frame_);
        SetFocus(edit_);
        PumpUntil([] { return GetForegroundWindow() == frame_; }, 2000);
    }

  private:
    static LRESULT CALLBACK FocusEdit(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
        if (message == WM_SETFOCUS && edit_ != nullptr) {
            SetFocus(edit_);
            return 0;
        }
        return CallWindowProcA(frameProc_, window, message, wParam, lParam);
    }

    inline static HWND frame_ = nullptr;
    inline static HWND edit_ = nullptr;
    inline static WNDPROC frameProc_ = nullptr;
};

// A history data file of `entries` texts of `size` bytes, each starting with its own letter.
inline bool WriteHistory(const std::string& path, int entries, size_t size) {
    FILE* f = std::fopen(path.c_str(), "wb");
    if (f == nullptr)
        return false;
    std::fputs("Varnoke Clipboard History Data File\r\n", f);
    std::string text(size, 'm');
    for (int i = 0; i < entries; ++i) {
        uint32_t n = static_cast<uint32_t>(size);
        std::fwrite("\x13\x14", 1, 2, f);
        std::fwrite(&n, 4, 1, f);
        if (size > 0)
            text[0] = static_cast<char>('A' + i % 26);
        std::fwrite(text.data(), 1, size, f);
        std::fwrite("\x05\x04\x0D\x0A", 1, 4, f);
    }
    return std::fclose(f) == 0;
}

// A folder beside this bench holding a copy of Varnoke.exe; its history file is
// `folder + "\\Varnoke.vnk"`. Empty on failure.
inline std::string ScratchFolder(const char* name) {
    std::string folder = Folder() + "\\" + name;
    CreateDirectoryA(folder.c_str(), nullptr);
    if (!CopyFileA((Folder() + "\\Varnoke.exe").c_str(), (folder + "\\Varnoke.exe").c_str(),
                   FALSE)) {
        std::fprintf(stderr, "cannot copy Varnoke.exe\n");
        return std::string();
    }
    return folder;
}

// The registry is shared with a real installation: a bench sets only the values it needs
// and deletes them again when it ends.
class RegistryValues {
  public:
    RegistryValues() {
        RegCreateKeyExA(HKEY_CURRENT_USER, "Software\\Tolm\\Varnoke", 0, nullptr, 0, KEY_ALL_ACCESS,
                        nullptr, &key_, nullptr);
    }
    ~RegistryValues() {
        for (const std::string& name : names_) RegDeleteValueA(key_, name.c_str());
        RegCloseKey(key_);
    }
    RegistryValues(const RegistryValues&) = delete;
    RegistryValues& operator=(const RegistryValues&) = delete;

    void Set(const char* name, DWORD value) {
        RegSetValueExA(key_, name, 0, REG_DWORD, reinterpret_cast<BYTE*>(&value), 4);
        names_.emplace_back(name);
    }

  private:
    HKEY key_ = nullptr;
    std::vector<std::string> names_;
};

// A Varnoke started from a folder, with its main window found.
struct Running {
    PROCESS_INFORMATION process{};
    HWND window = nullptr;
};

inline Running StartVarnoke(const std::string& folder) {
    Running run;
    std::string exe = folder + "\\Varnoke.exe";
    std::string cmd = "\"" + exe + "\"";
    STARTUPINFOA si{};
    si.cb = sizeof(si);
    if (!CreateProcessA(exe.c_str(), &cmd[0], nullptr, nullptr, FALSE, 0, nullptr, folder.c_str(),
                        &si, &run.process)) {
        return run;
    }
    for (int i = 0;
         i < 3000 && (run.window = FindWindowOf(run.process.dwProcessId, "Varnoke")) == nullptr;
         ++i) {
        if (WaitForSingleObject(run.process.hProcess, 10) == WAIT_OBJECT_0)
            break;
    }
    WaitForInputIdle(run.process.hProcess, 30000);
    return run;
}

// Closes the main window as a user would and waits for the process to end.
inline void StopVarnoke(Running& run) {
    if (run.window != nullptr)
        PostMessageA(run.window, WM_CLOSE, 0, 0);
    if (run.process.hProcess != nullptr) {
        WaitForSingleObject(run.process.hProcess, 30000);
        CloseHandle(run.process.hProcess);
        CloseHandle(run.process.hThread);
    }
    run = Running();
}

inline double Median(std::vector<double> v) {
    if (v.empty())
        return 0;
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

// A key press or release with its scan code, as the hot-key machinery wants it.
inline void Key(BYTE vk, bool up) {
    keybd_event(vk, static_cast<BYTE>(MapVirtualKeyA(vk, 0)), up ? KEYEVENTF_KEYUP : 0, 0);
}

// The visible popup menu window (#32768) of the thread, or null.
inline HWND VisibleMenuOf(DWORD thread) {
    HWND found = nullptr;
    while ((found = FindWindowExA(nullptr, found, MAKEINTATOM(32768), nullptr)) != nullptr) {
        if (GetWindowThreadProcessId(found, nullptr) == thread && IsWindowVisible(found))
            return found;
    }
    return nullptr;
}

// "met" or "NOT met", for the summary line each bench prints.
inline const char* Verdict(bool met) {
    return met ? "met" : "NOT met";
}

}  // namespace bench
