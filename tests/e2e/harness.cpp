#include "harness.h"

#include <cstdio>
#include <cstdint>
#include <cstring>

namespace e2e {

namespace {

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

}  // namespace

bool WaitUntil(const std::function<bool()>& predicate, DWORD timeoutMs) {
    DWORD start = GetTickCount();
    for (;;) {
        if (predicate()) {
            return true;
        }
        if (GetTickCount() - start >= timeoutMs) {
            return predicate();
        }
        MSG msg;
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&msg);
            DispatchMessageA(&msg);
        }
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 20, QS_ALLINPUT);
    }
}

void PumpFor(DWORD ms) {
    WaitUntil([] { return false; }, ms);
}

// ---- VarnokeProcess -------------------------------------------------------------

VarnokeProcess::VarnokeProcess() : folder_(MakeFreshFolder()) {
    std::string source = ThisProgramFolder() + "\\Varnoke.exe";
    CopyFileA(source.c_str(), PathInFolder("Varnoke.exe").c_str(), FALSE);
}

bool VarnokeProcess::CopyBesideProgram(const std::string& name) const {
    std::string source = ThisProgramFolder() + "\\" + name;
    return CopyFileA(source.c_str(), PathInFolder(name).c_str(), FALSE) != FALSE;
}

VarnokeProcess::~VarnokeProcess() {
    if (IsRunning()) {
        Stop(5000);
        if (IsRunning()) {
            Kill();
        }
    }
    if (processInfo_.hProcess != nullptr) {
        CloseHandle(processInfo_.hProcess);
        CloseHandle(processInfo_.hThread);
    }
    DeleteFolderTree(folder_);
}

bool VarnokeProcess::Launch(PROCESS_INFORMATION* info) const {
    std::string exe = PathInFolder("Varnoke.exe");
    std::string commandLine = "\"" + exe + "\"";
    STARTUPINFOA startup{};
    startup.cb = sizeof(startup);
    return CreateProcessA(exe.c_str(), &commandLine[0], nullptr, nullptr, FALSE, 0, nullptr,
                          folder_.c_str(), &startup, info) != FALSE;
}

bool VarnokeProcess::Start() {
    if (!Launch(&processInfo_)) {
        return false;
    }
    bool found = WaitUntil([this] {
                     mainWindow_ = FindMainWindow();
                     return mainWindow_ != nullptr || !IsRunning();
                 }) &&
                 mainWindow_ != nullptr;
    // The window exists while its creation sequence still runs (settings, history file,
    // the clipboard-viewer link); the program is ready once its message loop idles, or
    // once that sequence stops at a message box.
    return found && WaitUntil([this] {
               return WaitForInputIdle(processInfo_.hProcess, 20) == 0 ||
                      FindMessageBox(processInfo_.dwProcessId, nullptr, 0) != nullptr;
           });
}

bool VarnokeProcess::SendCommand(UINT id) {
    DWORD_PTR result = 0;
    return SendMessageTimeoutA(mainWindow_, WM_COMMAND, id, 0, SMTO_NORMAL, kDefaultTimeoutMs,
                               &result) != 0;
}

DWORD VarnokeProcess::StartSecondInstance(DWORD timeoutMs) {
    PROCESS_INFORMATION info{};
    if (!Launch(&info)) {
        return static_cast<DWORD>(-1);
    }
    WaitUntil([&info] { return WaitForSingleObject(info.hProcess, 0) == WAIT_OBJECT_0; },
              timeoutMs);
    DWORD code = STILL_ACTIVE;
    GetExitCodeProcess(info.hProcess, &code);
    if (code == STILL_ACTIVE) {
        TerminateProcess(info.hProcess, 1);
    }
    CloseHandle(info.hProcess);
    CloseHandle(info.hThread);
    return code;
}

HWND VarnokeProcess::FindMainWindow() const {
    HWND found = nullptr;
    while ((found = FindWindowExA(nullptr, found, nullptr, kMainTitle)) != nullptr) {
        DWORD pid = 0;
        GetWindowThreadProcessId(found, &pid);
        char className[32] = {};
        GetClassNameA(found, className, sizeof(className));
        // Message boxes carry the program's title too.
        if (pid == processInfo_.dwProcessId && std::strcmp(className, "#32770") != 0) {
            return found;
        }
    }
    return nullptr;
}

bool VarnokeProcess::Stop(DWORD timeoutMs) {
    if (!IsRunning()) {
        return true;
    }
    HWND window = FindMainWindow();
    if (window != nullptr) {
        PostMessageA(window, WM_CLOSE, 0, 0);
    }
    return WaitUntil([this] { return !IsRunning(); }, timeoutMs);
}

void VarnokeProcess::Kill() {
    if (IsRunning()) {
        TerminateProcess(processInfo_.hProcess, 9);
        WaitForSingleObject(processInfo_.hProcess, 5000);
    }
}

bool VarnokeProcess::IsRunning() const {
    return processInfo_.hProcess != nullptr &&
           WaitForSingleObject(processInfo_.hProcess, 0) == WAIT_TIMEOUT;
}

// ---- Registry -------------------------------------------------------------------

void ResetRegistry() {
    HKEY key = OpenRegKey(true);
    if (key == nullptr) {
        return;
    }
    for (const std::string& name : RegValueNames()) {
        RegDeleteValueA(key, name.c_str());
    }
    RegCloseKey(key);
}

void ResetRegistryWithHistoryWrittenOnEveryChange() {
    ResetRegistry();
    WriteRegInt("HistoryAutoSave", 1);
    WriteRegInt("HistorySaveInterval", 0);
    WriteRegInt("HistoryAnimation", 0);
}

void WriteRegInt(const char* name, DWORD value) {
    HKEY key = OpenRegKey(true);
    RegSetValueExA(key, name, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&value), sizeof(value));
    RegCloseKey(key);
}

void WriteRegString(const char* name, const std::string& value) {
    HKEY key = OpenRegKey(true);
    RegSetValueExA(key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                   static_cast<DWORD>(value.size() + 1));
    RegCloseKey(key);
}

void WriteRegBinary(const char* name, const std::vector<BYTE>& value) {
    HKEY key = OpenRegKey(true);
    RegSetValueExA(key, name, 0, REG_BINARY, value.data(), static_cast<DWORD>(value.size()));
    RegCloseKey(key);
}

bool ReadRegInt(const char* name, DWORD* value) {
    HKEY key = OpenRegKey(false);
    if (key == nullptr) {
        return false;
    }
    DWORD type = 0;
    DWORD size = sizeof(*value);
    LONG rc = RegQueryValueExA(key, name, nullptr, &type, reinterpret_cast<BYTE*>(value), &size);
    RegCloseKey(key);
    return rc == ERROR_SUCCESS && type == REG_DWORD;
}

bool ReadRegString(const char* name, std::string* value) {
    HKEY key = OpenRegKey(false);
    if (key == nullptr) {
        return false;
    }
    char buffer[4096] = {};
    DWORD type = 0;
    DWORD size = sizeof(buffer) - 1;
    LONG rc = RegQueryValueExA(key, name, nullptr, &type, reinterpret_cast<BYTE*>(buffer), &size);
    RegCloseKey(key);
    if (rc != ERROR_SUCCESS || type != REG_SZ) {
        return false;
    }
    *value = buffer;
    return true;
}

std::vector<std::string> RegValueNames() {
    std::vector<std::string> names;
    HKEY key = OpenRegKey(false);
    if (key == nullptr) {
        return names;
    }
    for (DWORD index = 0;; ++index) {
        char name[256];
        DWORD length = sizeof(name);
        if (RegEnumValueA(key, index, name, &length, nullptr, nullptr, nullptr, nullptr) !=
            ERROR_SUCCESS) {
            break;
        }
        names.emplace_back(name, length);
    }
    RegCloseKey(key);
    return names;
}

// ---- Clipboard -------------------------------------------------------------------

bool SetClipboardText(const std::string& text) {
    return SetClipboardTextWithMarker(text, nullptr, {});
}

bool SetClipboardTextWithMarker(const std::string& text, const char* formatName,
                                const std::vector<BYTE>& markerData) {
    if (!OpenClipboardRetrying()) {
        return false;
    }
    EmptyClipboard();
    bool ok = true;
    if (formatName != nullptr) {
        UINT format = RegisterClipboardFormatA(formatName);
        HGLOBAL marker =
            MakeGlobal(markerData.empty() ? "" : reinterpret_cast<const char*>(markerData.data()),
                       markerData.empty() ? 1 : markerData.size());
        ok = SetClipboardData(format, marker) != nullptr;
    }
    HGLOBAL memory = MakeGlobal(text.c_str(), text.size() + 1);
    ok = ok && SetClipboardData(CF_TEXT, memory) != nullptr;
    CloseClipboard();
    return ok;
}

bool SetClipboardNonText() {
    if (!OpenClipboardRetrying()) {
        return false;
    }
    EmptyClipboard();
    UINT format = RegisterClipboardFormatA("Varnoke E2E Picture");
    const char bytes[] = "\x89PNG....";
    bool ok = SetClipboardData(format, MakeGlobal(bytes, sizeof(bytes))) != nullptr;
    CloseClipboard();
    return ok;
}

bool GetClipboardText(std::string* text) {
    text->clear();
    if (!OpenClipboardRetrying()) {
        return false;
    }
    HANDLE data = GetClipboardData(CF_TEXT);
    if (data != nullptr) {
        const char* p = static_cast<const char*>(GlobalLock(data));
        if (p != nullptr) {
            *text = p;
            GlobalUnlock(data);
        }
    }
    CloseClipboard();
    return data != nullptr;
}

bool ClipboardHasText() {
    return IsClipboardFormatAvailable(CF_TEXT) != FALSE;
}

// ---- Keys --------------------------------------------------------------------------

void PressKey(WORD vk, bool ctrl, bool shift, bool alt) {
    auto down = [](BYTE key) { keybd_event(key, 0, 0, 0); };
    auto up = [](BYTE key) { keybd_event(key, 0, KEYEVENTF_KEYUP, 0); };
    if (ctrl)
        down(VK_CONTROL);
    if (shift)
        down(VK_SHIFT);
    if (alt)
        down(VK_MENU);
    down(static_cast<BYTE>(vk));
    up(static_cast<BYTE>(vk));
    if (alt)
        up(VK_MENU);
    if (shift)
        up(VK_SHIFT);
    if (ctrl)
        up(VK_CONTROL);
    PumpFor(50);
}

// ---- TargetWindow ---------------------------------------------------------------------

namespace {

WNDPROC targetFrameProc = nullptr;

LRESULT CALLBACK FocusEditOnActivation(HWND frame, UINT message, WPARAM wParam, LPARAM lParam) {
    HWND edit = GetWindow(frame, GW_CHILD);
    if (message == WM_SETFOCUS && edit != nullptr) {
        SetFocus(edit);
        return 0;
    }
    return CallWindowProcA(targetFrameProc, frame, message, wParam, lParam);
}

}  // namespace

TargetWindow::TargetWindow() {
    HINSTANCE instance = GetModuleHandleA(nullptr);
    frame_ = CreateWindowExA(0, "STATIC", "Varnoke E2E Target", WS_OVERLAPPEDWINDOW | WS_VISIBLE,
                             100, 100, 400, 200, nullptr, nullptr, instance, nullptr);
    edit_ = CreateWindowExA(0, "EDIT", "", WS_CHILD | WS_VISIBLE | ES_MULTILINE | ES_AUTOVSCROLL, 0,
                            0, 380, 160, frame_, nullptr, instance, nullptr);
    targetFrameProc = reinterpret_cast<WNDPROC>(SetWindowLongPtrA(
        frame_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&FocusEditOnActivation)));
}

TargetWindow::~TargetWindow() {
    if (frame_ != nullptr) {
        DestroyWindow(frame_);
    }
}

bool TargetWindow::Focus() {
    return WaitUntil(
        [this] {
            SetForegroundWindow(frame_);
            SetFocus(edit_);
            return GetForegroundWindow() == frame_ && GetFocus() == edit_;
        },
        5000);
}

bool ProgramInMenuLoop(const VarnokeProcess& program) {
    GUITHREADINFO info{};
    info.cbSize = sizeof(info);
    DWORD thread = GetWindowThreadProcessId(program.mainWindow(), nullptr);
    return GetGUIThreadInfo(thread, &info) &&
           ((info.flags & (GUI_INMENUMODE | GUI_POPUPMENUMODE)) != 0 ||
            info.hwndMenuOwner != nullptr);
}

bool WaitForMenu(const VarnokeProcess& program, DWORD timeoutMs) {
    return WaitUntil([&] { return ProgramInMenuLoop(program); }, timeoutMs);
}

bool WaitForMenuClosed(const VarnokeProcess& program, DWORD timeoutMs) {
    return WaitUntil([&] { return !ProgramInMenuLoop(program); }, timeoutMs);
}

std::string TargetWindow::Text() const {
    int length = GetWindowTextLengthA(edit_);
    std::string text(static_cast<size_t>(length) + 1, '\0');
    GetWindowTextA(edit_, &text[0], length + 1);
    text.resize(static_cast<size_t>(length));
    return text;
}

// ---- Message boxes -------------------------------------------------------------------

HWND FindMessageBox(DWORD processId, const char* caption, DWORD timeoutMs) {
    HWND found = nullptr;
    WaitUntil(
        [&] {
            HWND window = nullptr;
            while ((window = FindWindowExA(nullptr, window, "#32770", caption)) != nullptr) {
                DWORD pid = 0;
                GetWindowThreadProcessId(window, &pid);
                if (pid == processId && IsWindowVisible(window)) {
                    found = window;
                    return true;
                }
            }
            return false;
        },
        timeoutMs);
    return found;
}

std::string MessageBoxText(HWND box) {
    char text[4096] = {};
    GetDlgItemTextA(box, 0xFFFF, text, sizeof(text));
    return text;
}

void AnswerMessageBox(HWND box, int id) {
    PostMessageA(box, WM_COMMAND, id, 0);
}

namespace {
struct WindowSearch {
    DWORD pid;
    std::vector<HWND> found;
};
BOOL CALLBACK CollectVisibleWindow(HWND window, LPARAM param) {
    auto* search = reinterpret_cast<WindowSearch*>(param);
    DWORD pid = 0;
    GetWindowThreadProcessId(window, &pid);
    if (pid == search->pid && IsWindowVisible(window)) {
        search->found.push_back(window);
    }
    return TRUE;
}
BOOL CALLBACK CollectChildText(HWND child, LPARAM param) {
    char text[1024] = {};
    GetWindowTextA(child, text, sizeof(text));
    reinterpret_cast<std::vector<std::string>*>(param)->push_back(text);
    return TRUE;
}
}  // namespace

std::vector<HWND> VisibleWindowsOf(DWORD processId) {
    WindowSearch search{processId, {}};
    EnumWindows(&CollectVisibleWindow, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

std::vector<std::string> ChildTexts(HWND window) {
    std::vector<std::string> texts;
    EnumChildWindows(window, &CollectChildText, reinterpret_cast<LPARAM>(&texts));
    return texts;
}

// ---- Files ---------------------------------------------------------------------------

// Shares every right, so a look at the history file while the program saves it never makes
// the program's save fail (the program refuses to replace a file held without delete
// sharing, as Windows does).
bool ReadFileBytes(const std::string& path, std::string* bytes) {
    HANDLE file = CreateFileA(path.c_str(), GENERIC_READ,
                              FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                              OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        return false;
    }
    bytes->clear();
    char buffer[65536];
    DWORD n = 0;
    bool ok = true;
    while ((ok = ReadFile(file, buffer, sizeof(buffer), &n, nullptr) != FALSE) && n > 0) {
        bytes->append(buffer, n);
    }
    CloseHandle(file);
    return ok;
}

bool WriteFileBytes(const std::string& path, const std::string& bytes) {
    FILE* f = std::fopen(path.c_str(), "wb");
    if (f == nullptr) {
        return false;
    }
    bool ok = std::fwrite(bytes.data(), 1, bytes.size(), f) == bytes.size();
    return std::fclose(f) == 0 && ok;
}

bool FileExists(const std::string& path) {
    return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

std::string Utf8ToAnsi(const char* utf8) {
    int wide = MultiByteToWideChar(CP_UTF8, 0, utf8, -1, nullptr, 0);
    std::wstring w(static_cast<size_t>(wide), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, utf8, -1, &w[0], wide);
    int narrow = WideCharToMultiByte(CP_ACP, 0, w.c_str(), -1, nullptr, 0, nullptr, nullptr);
    std::string s(static_cast<size_t>(narrow), '\0');
    WideCharToMultiByte(CP_ACP, 0, w.c_str(), -1, &s[0], narrow, nullptr, nullptr);
    s.resize(static_cast<size_t>(narrow > 0 ? narrow - 1 : 0));
    return s;
}

}  // namespace e2e

namespace e2e {

namespace {
const char kHeader[] = "Varnoke Clipboard History Data File\r\n";
}

std::string EncodeHistory(const std::vector<std::string>& entries) {
    std::string out = kHeader;
    for (const std::string& e : entries) {
        out += "\x13\x14";
        uint32_t n = static_cast<uint32_t>(e.size());
        out.append(reinterpret_cast<const char*>(&n), 4);
        out += e;
        out += "\x05\x04\x0D\x0A";
    }
    return out;
}

bool DecodeHistory(const std::string& bytes, std::vector<std::string>* entries) {
    entries->clear();
    const std::string header = kHeader;
    if (bytes.compare(0, header.size(), header) != 0) {
        return false;
    }
    size_t pos = header.size();
    while (pos < bytes.size()) {
        if (bytes.size() - pos < 10 || bytes.compare(pos, 2, "\x13\x14") != 0) {
            return false;
        }
        uint32_t n = 0;
        std::memcpy(&n, bytes.data() + pos + 2, 4);
        if (bytes.size() - pos - 6 < static_cast<size_t>(n) + 4 ||
            bytes.compare(pos + 6 + n, 4, "\x05\x04\x0D\x0A") != 0) {
            return false;
        }
        entries->push_back(bytes.substr(pos + 6, n));
        pos += 10 + n;
    }
    return true;
}

std::vector<std::string> HistoryOnDisk(const VarnokeProcess& program) {
    std::string bytes;
    std::vector<std::string> entries;
    if (!ReadFileBytes(program.PathInFolder("Varnoke.vnk"), &bytes) ||
        !DecodeHistory(bytes, &entries)) {
        entries = {"<no valid history file>"};
    }
    return entries;
}

bool WaitForHistory(const VarnokeProcess& program, const std::vector<std::string>& expected,
                    DWORD timeoutMs) {
    return WaitUntil([&] { return HistoryOnDisk(program) == expected; }, timeoutMs);
}

}  // namespace e2e
