#pragma once
// What the Win32 benches need to find programs and their windows.

#include <windows.h>

#include <string>

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

}  // namespace bench
