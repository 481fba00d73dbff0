#include "framework/application_win.h"

#include <algorithm>
#include <vector>

#include "core/data_path.h"
#include "framework/strings_win.h"

namespace varnoke {

Application* Application::current_ = nullptr;

Application::Application() {
    current_ = this;
}

Application::~Application() {
    if (current_ == this) {
        current_ = nullptr;
    }
}

int Application::Run() {
    if (!InitInstance()) {
        ExitInstance();
        return 0;
    }
    MSG msg{};
    bool wide = false;
    while (NextMessage(&msg, &wide)) {
        if (IsModelessDialogMessage(&msg, wide)) {
            continue;
        }
        TranslateMessage(&msg);
        if (wide) {
            DispatchMessageW(&msg);
        } else {
            DispatchMessageA(&msg);
        }
    }
    int code = ExitInstance();
    return msg.message == WM_QUIT ? static_cast<int>(msg.wParam) : code;
}

void Application::OnWindowDestroyed(HWND window) {
    if (window != nullptr && window == mainWindow_) {
        mainWindow_ = nullptr;
        PostQuitMessage(0);
    }
}

// The next message, taken in the form of the window it is for: a character typed into a
// Unicode window (the search box) that the code page lacks would come out of GetMessageA
// as "?". A message is dispatched in the form it was taken in (`wide`).
bool Application::NextMessage(MSG* msg, bool* wide) {
    MSG next{};
    while (!PeekMessageW(&next, nullptr, 0, 0, PM_NOREMOVE)) {
        WaitMessage();
    }
    *wide = next.hwnd != nullptr && IsWindowUnicode(next.hwnd);
    return (*wide ? GetMessageW(msg, nullptr, 0, 0) : GetMessageA(msg, nullptr, 0, 0)) > 0;
}

void Application::AddModelessDialog(HWND dialog) {
    modeless_.push_back(dialog);
}

void Application::RemoveModelessDialog(HWND dialog) {
    modeless_.erase(std::remove(modeless_.begin(), modeless_.end(), dialog), modeless_.end());
}

// A message for a modeless dialog, or one of its controls, that the dialog manager took as
// a dialog key; it is handled in the form the message was taken in.
bool Application::IsModelessDialogMessage(MSG* msg, bool wide) const {
    for (HWND dialog : modeless_) {
        if (msg->hwnd == dialog || IsChild(dialog, msg->hwnd)) {
            return wide ? IsDialogMessageW(dialog, msg) != FALSE
                        : IsDialogMessageA(dialog, msg) != FALSE;
        }
    }
    return false;
}

void Application::SetRegistryKey(const std::string& company) {
    profile_ = ProfileStore(company, title_);
}

std::string ProgramFolder() {
    std::vector<char> buffer(MAX_PATH);
    for (;;) {
        DWORD length =
            GetModuleFileNameA(nullptr, buffer.data(), static_cast<DWORD>(buffer.size()));
        if (length == 0) {
            return std::string();
        }
        if (length < buffer.size()) {
            std::string path(buffer.data(), length);
            size_t cut = LastBackslash(path, &IsAnsiLeadByte);
            return cut == std::string::npos ? std::string() : path.substr(0, cut);
        }
        buffer.resize(buffer.size() * 2);
    }
}

}  // namespace varnoke
