// ui_step <action> [arguments]: one step of driving a running Varnoke from a shell script,
// as scripts/pictures.sh does to bring each window on screen. Exits 0 when the step worked.
//
//   main [ms]                    wait for the program's main window and for it to idle
//   command <id>                 post the menu command <id> to the main window
//   tray left|right              a press of the left / release of the right button on the icon
//   wait <caption> [ms]          wait for a visible window with that caption; print its rect
//   rect <caption>               print the rect of a visible window with that caption
//   trayicon                     print the rect of the notification area's icons
//   keys <key>...                type keys: a, 1, space, esc, enter, up, down, left, right,
//                                tab, backspace, with modifiers as in ctrl+shift+v
//   focus <caption>              make that window the foreground window
//   cursor <x> <y>               move the mouse pointer
//   hover <caption> <control>    move the mouse pointer onto a control of that window
//   settext <caption> <control> <text>
//   click <caption> <control>    post a button click
//   close <caption>              close a window and wait until it is gone
//   clip <text>                  put the text on the clipboard, as a copy in a program would
//   quit [ms]                    close the program's windows, then the program; wait for it
//
// A caption that starts with "~" stands for any caption that contains the rest.
// Rects print as ImageMagick geometry, WxH+X+Y, in screen pixels. Captions and texts
// arrive in the ANSI code page, as Wine hands the command line to the program.
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

namespace {

constexpr UINT kTrayNotify = 0x5F4;
constexpr UINT kTrayIconId = 100;
constexpr DWORD kTimeoutMs = 15000;

using Args = std::vector<const char*>;

// The program's main window: a hidden top-level window titled "Varnoke" (message boxes
// carry that caption too, but they are visible).
HWND MainWindow() {
    HWND found = nullptr;
    while ((found = FindWindowExA(nullptr, found, nullptr, "Varnoke")) != nullptr) {
        if (!IsWindowVisible(found)) {
            return found;
        }
    }
    return nullptr;
}

// A caption that starts with "~" matches every caption that contains the rest.
HWND VisibleWindow(const char* caption) {
    bool contains = caption[0] == '~';
    HWND found = nullptr;
    while ((found = FindWindowExA(nullptr, found, nullptr, contains ? nullptr : caption)) !=
           nullptr) {
        char text[256] = {};
        GetWindowTextA(found, text, sizeof(text));
        if (IsWindowVisible(found) && (!contains || std::strstr(text, caption + 1) != nullptr)) {
            return found;
        }
    }
    return nullptr;
}

bool PutOnClipboard(const char* text) {
    size_t size = std::strlen(text) + 1;
    HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, size);
    if (memory == nullptr) {
        return false;
    }
    std::memcpy(GlobalLock(memory), text, size);
    GlobalUnlock(memory);
    if (!OpenClipboard(nullptr)) {
        GlobalFree(memory);
        return false;
    }
    EmptyClipboard();
    bool ok = SetClipboardData(CF_TEXT, memory) != nullptr;
    CloseClipboard();
    if (!ok) {
        GlobalFree(memory);
    }
    return ok;
}

void PrintRect(const RECT& r) {
    std::printf("%ldx%ld+%ld+%ld\n", r.right - r.left, r.bottom - r.top, r.left, r.top);
    std::fflush(stdout);
}

bool WaitFor(const char* caption, DWORD timeoutMs, HWND* window) {
    DWORD start = GetTickCount();
    while ((*window = VisibleWindow(caption)) == nullptr) {
        if (GetTickCount() - start >= timeoutMs) {
            return false;
        }
        Sleep(50);
    }
    return true;
}

HWND ControlOf(const char* caption, const char* id) {
    HWND window = nullptr;
    if (!WaitFor(caption, kTimeoutMs, &window)) {
        return nullptr;
    }
    return GetDlgItem(window, std::atoi(id));
}

struct NamedKey {
    const char* name;
    WORD vk;
};
const NamedKey kKeys[] = {
    {"space", VK_SPACE}, {"esc", VK_ESCAPE}, {"enter", VK_RETURN},
    {"up", VK_UP},       {"down", VK_DOWN},  {"left", VK_LEFT},
    {"right", VK_RIGHT}, {"tab", VK_TAB},    {"backspace", VK_BACK},
};

// Wine's hot-key control and menu loop want real scan codes with synthesized keys.
void KeyEvent(WORD vk, bool up) {
    keybd_event(static_cast<BYTE>(vk), static_cast<BYTE>(MapVirtualKeyA(vk, 0)),
                up ? KEYEVENTF_KEYUP : 0, 0);
    Sleep(30);
}

bool TypeKey(std::string chord) {
    std::vector<WORD> modifiers;
    for (;;) {
        size_t plus = chord.find('+');
        if (plus == std::string::npos) {
            break;
        }
        std::string modifier = chord.substr(0, plus);
        chord = chord.substr(plus + 1);
        if (modifier == "ctrl") {
            modifiers.push_back(VK_CONTROL);
        } else if (modifier == "shift") {
            modifiers.push_back(VK_SHIFT);
        } else if (modifier == "alt") {
            modifiers.push_back(VK_MENU);
        } else {
            return false;
        }
    }
    WORD vk = 0;
    for (const NamedKey& key : kKeys) {
        if (chord == key.name) {
            vk = key.vk;
        }
    }
    if (vk == 0 && chord.size() == 1) {
        char c = chord[0];
        vk = static_cast<WORD>(c >= 'a' && c <= 'z' ? c - 'a' + 'A' : c);
    }
    if (vk == 0) {
        return false;
    }
    for (WORD m : modifiers) {
        KeyEvent(m, false);
    }
    KeyEvent(vk, false);
    KeyEvent(vk, true);
    for (auto m = modifiers.rbegin(); m != modifiers.rend(); ++m) {
        KeyEvent(*m, true);
    }
    Sleep(100);
    return true;
}

// Wine's taskbar draws the icons of the notification area itself, right-aligned in its
// tray window, each SM_CXSMICON plus a 2-pixel border on both sides wide; the first icon
// added is the rightmost one.
bool PrintTrayIconRect() {
    HWND tray = FindWindowA("Shell_TrayWnd", nullptr);
    RECT r{};
    if (tray == nullptr || !GetWindowRect(tray, &r)) {
        return false;
    }
    int cx = GetSystemMetrics(SM_CXSMICON) + 4;
    int cy = GetSystemMetrics(SM_CYSMICON) + 4;
    RECT icon{r.right - cx, (r.top + r.bottom - cy) / 2, r.right, 0};
    icon.bottom = icon.top + cy;
    PrintRect(icon);
    return true;
}

// Brings the pointer onto the point with two moves, as input (not a warp), so the window
// under it sees the motion and its tips start.
void MovePointer(int x, int y) {
    int cx = GetSystemMetrics(SM_CXSCREEN);
    int cy = GetSystemMetrics(SM_CYSCREEN);
    for (int offset : {2, 0}) {
        LONG ax = static_cast<LONG>((x - offset) * 65536LL / cx + 1);
        LONG ay = static_cast<LONG>((y - offset) * 65536LL / cy + 1);
        mouse_event(MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE, ax, ay, 0, 0);
        Sleep(100);
    }
}

// Another process may not always move the foreground; a click on the caption, as a user
// would make, activates the window then. Under Wine a dialog owned by the program's hidden
// main window can stay drawn inactive although it is the foreground window, so its frame
// is repainted as active.
bool Activate(HWND window) {
    SetForegroundWindow(window);
    Sleep(200);
    if (GetForegroundWindow() == window) {
        SendMessageA(window, WM_NCACTIVATE, TRUE, 0);
        RedrawWindow(window, nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE | RDW_UPDATENOW);
        return true;
    }
    RECT r{};
    GetWindowRect(window, &r);
    MovePointer(r.left + 60,
                r.top + GetSystemMetrics(SM_CYFRAME) + GetSystemMetrics(SM_CYCAPTION) / 2);
    mouse_event(MOUSEEVENTF_LEFTDOWN, 0, 0, 0, 0);
    mouse_event(MOUSEEVENTF_LEFTUP, 0, 0, 0, 0);
    DWORD start = GetTickCount();
    while (GetForegroundWindow() != window && GetTickCount() - start < 2000) {
        Sleep(50);
    }
    SendMessageA(window, WM_NCACTIVATE, TRUE, 0);
    return GetForegroundWindow() == window;
}

bool Quit(DWORD timeoutMs) {
    HWND main = MainWindow();
    if (main == nullptr) {
        return true;
    }
    DWORD pid = 0;
    GetWindowThreadProcessId(main, &pid);
    HANDLE process = OpenProcess(SYNCHRONIZE | PROCESS_TERMINATE, FALSE, pid);
    // Popup menus first (their windows cannot be reached from here), then dialogs.
    TypeKey("esc");
    TypeKey("esc");
    TypeKey("esc");
    for (int round = 0; round < 5; ++round) {
        HWND window = nullptr;
        while ((window = FindWindowExA(nullptr, window, nullptr, nullptr)) != nullptr) {
            DWORD owner = 0;
            GetWindowThreadProcessId(window, &owner);
            if (owner == pid && IsWindowVisible(window)) {
                PostMessageA(window, WM_CLOSE, 0, 0);
            }
        }
        Sleep(300);
    }
    PostMessageA(main, WM_CLOSE, 0, 0);
    bool ended = process != nullptr && WaitForSingleObject(process, timeoutMs) == WAIT_OBJECT_0;
    if (!ended && process != nullptr) {
        TerminateProcess(process, 1);
    }
    if (process != nullptr) {
        CloseHandle(process);
    }
    return ended;
}

// ---- The actions: each gets the arguments after its name and says whether it worked. ----

DWORD TimeoutArg(const Args& args, size_t index) {
    return args.size() > index ? std::strtoul(args[index], nullptr, 10) : kTimeoutMs;
}

bool WaitForMain(const Args& args) {
    DWORD timeout = TimeoutArg(args, 0);
    DWORD start = GetTickCount();
    HWND main = nullptr;
    while ((main = MainWindow()) == nullptr) {
        if (GetTickCount() - start >= timeout) {
            return false;
        }
        Sleep(50);
    }
    DWORD pid = 0;
    GetWindowThreadProcessId(main, &pid);
    HANDLE process = OpenProcess(SYNCHRONIZE | PROCESS_QUERY_INFORMATION, FALSE, pid);
    if (process != nullptr) {
        WaitForInputIdle(process, timeout);
        CloseHandle(process);
    }
    return true;
}

bool PostCommand(const Args& args) {
    HWND main = MainWindow();
    return main != nullptr && PostMessageA(main, WM_COMMAND, std::atoi(args[0]), 0);
}

bool ClickTrayIcon(const Args& args) {
    HWND main = MainWindow();
    LPARAM mouse = std::strcmp(args[0], "left") == 0 ? WM_LBUTTONDOWN : WM_RBUTTONUP;
    return main != nullptr && PostMessageA(main, kTrayNotify, kTrayIconId, mouse);
}

bool PrintWindowRect(const char* caption, DWORD timeoutMs) {
    HWND window = nullptr;
    RECT r{};
    if (!WaitFor(caption, timeoutMs, &window) || !GetWindowRect(window, &r)) {
        return false;
    }
    PrintRect(r);
    return true;
}
bool WaitForWindow(const Args& args) {
    return PrintWindowRect(args[0], TimeoutArg(args, 1));
}
bool WindowRect(const Args& args) {
    return PrintWindowRect(args[0], 0);
}

bool TrayIconRect(const Args&) {
    return PrintTrayIconRect();
}

bool TypeKeys(const Args& args) {
    for (const char* key : args) {
        if (!TypeKey(key)) {
            return false;
        }
    }
    return true;
}

bool Focus(const Args& args) {
    HWND window = nullptr;
    return WaitFor(args[0], kTimeoutMs, &window) && Activate(window);
}

bool MoveCursor(const Args& args) {
    MovePointer(std::atoi(args[0]), std::atoi(args[1]));
    return true;
}

bool Hover(const Args& args) {
    HWND control = ControlOf(args[0], args[1]);
    RECT r{};
    if (control == nullptr || !GetWindowRect(control, &r)) {
        return false;
    }
    MovePointer((r.left + r.right) / 2, (r.top + r.bottom) / 2);
    return true;
}

bool SetText(const Args& args) {
    HWND control = ControlOf(args[0], args[1]);
    return control != nullptr &&
           SendMessageA(control, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(args[2])) != FALSE;
}

bool Click(const Args& args) {
    HWND control = ControlOf(args[0], args[1]);
    return control != nullptr && PostMessageA(control, BM_CLICK, 0, 0);
}

bool Close(const Args& args) {
    HWND window = VisibleWindow(args[0]);
    if (window == nullptr) {
        return true;
    }
    PostMessageA(window, WM_CLOSE, 0, 0);
    DWORD start = GetTickCount();
    while (IsWindow(window) && GetTickCount() - start < kTimeoutMs) {
        Sleep(50);
    }
    return !IsWindow(window);
}

bool Clip(const Args& args) {
    return PutOnClipboard(args[0]);
}

bool QuitProgram(const Args& args) {
    return Quit(TimeoutArg(args, 0));
}

struct Action {
    const char* name;
    size_t minArgs;
    size_t maxArgs;
    bool (*run)(const Args&);
};
const Action kActions[] = {
    {"main", 0, 1, WaitForMain},   {"command", 1, 1, PostCommand}, {"tray", 1, 1, ClickTrayIcon},
    {"wait", 1, 2, WaitForWindow}, {"rect", 1, 1, WindowRect},     {"trayicon", 0, 0, TrayIconRect},
    {"keys", 1, 99, TypeKeys},     {"focus", 1, 1, Focus},         {"cursor", 2, 2, MoveCursor},
    {"hover", 2, 2, Hover},        {"settext", 3, 3, SetText},     {"click", 2, 2, Click},
    {"close", 1, 1, Close},        {"clip", 1, 1, Clip},           {"quit", 0, 1, QuitProgram},
};

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        return 2;
    }
    Args args(argv + 2, argv + argc);
    for (const Action& action : kActions) {
        if (std::strcmp(argv[1], action.name) == 0 && args.size() >= action.minArgs &&
            args.size() <= action.maxArgs) {
            return action.run(args) ? 0 : 1;
        }
    }
    return 2;
}
