#include "harness.h"
#include "harness_internal.h"

#include <cstdio>
#include <cstring>

namespace e2e {
namespace internal {

const char kRegKey[] = "Software\\Tolm\\Varnoke";
const char kMainTitle[] = "Varnoke";

std::string ThisProgramFolder() {
    char path[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, path, MAX_PATH);
    std::string s(path);
    return s.substr(0, s.find_last_of('\\'));
}

std::string MakeFreshFolder() {
    static int counter = 0;
    char temp[MAX_PATH] = {};
    GetTempPathA(MAX_PATH, temp);
    for (;;) {
        char name[MAX_PATH];
        std::snprintf(name, sizeof(name), "%svnk_e2e_%lu_%d", temp, GetCurrentProcessId(),
                      ++counter);
        if (CreateDirectoryA(name, nullptr)) {
            return name;
        }
        if (GetLastError() != ERROR_ALREADY_EXISTS) {
            return std::string();
        }
    }
}

void DeleteFolderTree(const std::string& folder) {
    WIN32_FIND_DATAA data;
    HANDLE find = FindFirstFileA((folder + "\\*").c_str(), &data);
    if (find != INVALID_HANDLE_VALUE) {
        do {
            std::string name = data.cFileName;
            if (name == "." || name == "..") {
                continue;
            }
            std::string path = folder + "\\" + name;
            SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
            if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
                DeleteFolderTree(path);
            } else {
                DeleteFileA(path.c_str());
            }
        } while (FindNextFileA(find, &data));
        FindClose(find);
    }
    RemoveDirectoryA(folder.c_str());
}

HKEY OpenRegKey(bool create) {
    HKEY key = nullptr;
    if (create) {
        RegCreateKeyExA(HKEY_CURRENT_USER, kRegKey, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key,
                        nullptr);
    } else {
        RegOpenKeyExA(HKEY_CURRENT_USER, kRegKey, 0, KEY_READ, &key);
    }
    return key;
}

// A hidden window of ours to own the clipboard while we write it.
HWND ClipboardOwner() {
    static HWND owner = CreateWindowExA(0, "STATIC", "e2e clipboard owner", 0, 0, 0, 0, 0,
                                        HWND_MESSAGE, nullptr, GetModuleHandleA(nullptr), nullptr);
    return owner;
}

bool OpenClipboardRetrying() {
    // Another process (the program under test) may hold it for a moment.
    return WaitUntil([] { return OpenClipboard(ClipboardOwner()) != FALSE; }, 5000);
}

HGLOBAL MakeGlobal(const void* data, size_t size) {
    HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, size);
    if (memory == nullptr) {
        return nullptr;
    }
    void* p = GlobalLock(memory);
    std::memcpy(p, data, size);
    GlobalUnlock(memory);
    return memory;
}

}  // namespace internal
}  // namespace e2e
