// Keys, the paste target window, menus and message boxes.
#include "harness.h"
#include "harness_internal.h"

#include <cstdio>
#include <cstdint>
#include <cstring>

namespace e2e {

using namespace internal;

void PressKey(WORD vk, bool ctrl, bool shift, bool alt) {
    auto send = [](BYTE key, DWORD flags) {
        keybd_event(key, static_cast<BYTE>(MapVirtualKeyA(key, 0)), flags, 0);  // MAPVK_VK_TO_VSC
    };
    auto down = [&](BYTE key) { send(key, 0); };
    auto up = [&](BYTE key) { send(key, KEYEVENTF_KEYUP); };
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

void MouseAt(POINT p, std::initializer_list<DWORD> buttons) {
    const DWORD x = static_cast<DWORD>(p.x * 65536 / GetSystemMetrics(SM_CXSCREEN) + 1);
    const DWORD y = static_cast<DWORD>(p.y * 65536 / GetSystemMetrics(SM_CYSCREEN) + 1);
    const DWORD at = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE;
    mouse_event(at, x, y, 0, 0);
    WaitUntil(
        [&] {
            POINT now{};
            GetCursorPos(&now);
            return now.x == p.x && now.y == p.y;
        },
        2000);
    for (DWORD button : buttons) {
        mouse_event(at | button, x, y, 0, 0);
    }
    PumpFor(100);
}

std::string PlatformKeyName(UINT vk) {
    char name[64] = {};
    GetKeyNameTextA(static_cast<LONG>(MapVirtualKeyA(vk, 0) << 16), name, sizeof(name));
    return name;
}

HeldHotKey::HeldHotKey(UINT modifiers, UINT vk) {
    window_ = CreateWindowExA(0, "STATIC", "e2e hot key owner", 0, 0, 0, 0, 0, nullptr, nullptr,
                              GetModuleHandleA(nullptr), nullptr);
    registered_ = RegisterHotKey(window_, 1, modifiers, vk) != FALSE;
}

HeldHotKey::~HeldHotKey() {
    if (registered_) {
        UnregisterHotKey(window_, 1);
    }
    DestroyWindow(window_);
}

// ---- TargetWindow ---------------------------------------------------------------------

namespace {

WNDPROC targetFrameProc = nullptr;
WNDPROC targetEditProc = nullptr;

LRESULT CALLBACK FocusEditOnActivation(HWND frame, UINT message, WPARAM wParam, LPARAM lParam) {
    HWND edit = GetWindow(frame, GW_CHILD);
    if (message == WM_SETFOCUS && edit != nullptr) {
        SetFocus(edit);
        return 0;
    }
    return CallWindowProcA(targetFrameProc, frame, message, wParam, lParam);
}

// The modifier state is the one the key came with, as the edit control itself sees it.
LRESULT CALLBACK RecordPasteKeys(HWND edit, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_KEYDOWN && (wParam == VK_INSERT || wParam == 'V')) {
        auto* keys = reinterpret_cast<std::string*>(GetWindowLongPtrA(edit, GWLP_USERDATA));
        *keys += GetKeyState(VK_CONTROL) < 0 ? "Ctrl+" : "";
        *keys += GetKeyState(VK_SHIFT) < 0 ? "Shift+" : "";
        *keys += wParam == VK_INSERT ? "Insert " : "V ";
    }
    return IsWindowUnicode(edit) ? CallWindowProcW(targetEditProc, edit, message, wParam, lParam)
                                 : CallWindowProcA(targetEditProc, edit, message, wParam, lParam);
}

}  // namespace

TargetWindow::TargetWindow(bool unicode) {
    HINSTANCE instance = GetModuleHandleA(nullptr);
    frame_ = CreateWindowExA(0, "STATIC", "Varnoke E2E Target", WS_OVERLAPPEDWINDOW | WS_VISIBLE,
                             100, 100, 400, 200, nullptr, nullptr, instance, nullptr);
    const DWORD style = WS_CHILD | WS_VISIBLE | ES_MULTILINE | ES_AUTOVSCROLL;
    edit_ = unicode ? CreateWindowExW(0, L"EDIT", L"", style, 0, 0, 380, 160, frame_, nullptr,
                                      instance, nullptr)
                    : CreateWindowExA(0, "EDIT", "", style, 0, 0, 380, 160, frame_, nullptr,
                                      instance, nullptr);
    targetFrameProc = reinterpret_cast<WNDPROC>(SetWindowLongPtrA(
        frame_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&FocusEditOnActivation)));
    SetWindowLongPtrA(edit_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(&pasteKeys_));
    const LONG_PTR record = reinterpret_cast<LONG_PTR>(&RecordPasteKeys);
    targetEditProc =
        reinterpret_cast<WNDPROC>(unicode ? SetWindowLongPtrW(edit_, GWLP_WNDPROC, record)
                                          : SetWindowLongPtrA(edit_, GWLP_WNDPROC, record));
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

bool ProgramCaughtUp(const VarnokeProcess& program) {
    DWORD_PTR result = 0;
    for (int i = 0; i < 2; ++i) {
        if (!SendMessageTimeoutA(program.mainWindow(), WM_NULL, 0, 0, SMTO_NORMAL,
                                 kDefaultTimeoutMs, &result)) {
            return false;
        }
    }
    return true;
}

bool ProgramInForeground(const VarnokeProcess& program) {
    DWORD pid = 0;
    GetWindowThreadProcessId(GetForegroundWindow(), &pid);
    return pid == program.processId();
}

bool WaitForMenu(const VarnokeProcess& program, DWORD timeoutMs) {
    return WaitUntil([&] { return ProgramInMenuLoop(program) && ProgramInForeground(program); },
                     timeoutMs);
}

bool WaitForMenuClosed(const VarnokeProcess& program, DWORD timeoutMs) {
    return WaitUntil([&] { return !ProgramInMenuLoop(program); }, timeoutMs);
}

bool OpenMenu(const VarnokeProcess& program, const std::function<void()>& open, DWORD timeoutMs) {
    return WaitUntil(
        [&] {
            if (!ProgramInMenuLoop(program)) {
                open();
            }
            return WaitForMenu(program, 1000);
        },
        timeoutMs);
}

bool ChooseFromTrayMenu(const VarnokeProcess& program, WORD accessKey) {
    if (!OpenMenu(program, [&] { program.PressTrayIcon(WM_RBUTTONUP); })) {
        return false;
    }
    PressKey(accessKey);
    return WaitForMenuClosed(program);
}

std::wstring TargetWindow::TextW() const {
    int length = GetWindowTextLengthW(edit_);
    std::wstring text(static_cast<size_t>(length) + 1, L'\0');
    GetWindowTextW(edit_, &text[0], length + 1);
    text.resize(static_cast<size_t>(length));
    return text;
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

}  // namespace e2e
