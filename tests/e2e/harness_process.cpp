// Waiting, and the program under test as a process.
#include "harness.h"
#include "harness_internal.h"

#include "core/app_messages.h"

#include <cstdio>
#include <cstdint>
#include <cstring>

namespace e2e {

using namespace internal;

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

VarnokeProcess::VarnokeProcess(const std::string& folder) : folder_(folder), ownsFolder_(false) {}

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
    if (ownsFolder_) {
        DeleteFolderTree(folder_);
    }
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

void VarnokeProcess::PressTrayIcon(UINT mouseMessage) const {
    PostMessageA(mainWindow_, varnoke::WM_TRAY_NOTIFY, varnoke::TRAY_ICON_ID, mouseMessage);
}

bool VarnokeProcess::PostCommand(UINT id) {
    return PostMessageA(mainWindow_, WM_COMMAND, id, 0) != FALSE;
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
    // Under Wine a message posted just as a modal loop of the program ends was seen to get
    // lost. A program that sits idle with its window and no message box after a while has
    // not seen the close, so it is asked again.
    DWORD asked = GetTickCount();
    return WaitUntil(
        [&] {
            if (!IsRunning()) {
                return true;
            }
            if (GetTickCount() - asked > 2000 && window != nullptr && IsWindow(window) &&
                WaitForInputIdle(processInfo_.hProcess, 0) == 0 &&
                FindMessageBox(processInfo_.dwProcessId, nullptr, 0) == nullptr) {
                PostMessageA(window, WM_CLOSE, 0, 0);
                asked = GetTickCount();
            }
            return false;
        },
        timeoutMs);
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

}  // namespace e2e
