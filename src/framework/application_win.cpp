#include "framework/application_win.h"

#include <vector>

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
    MSG msg;
    while (GetMessageA(&msg, nullptr, 0, 0) > 0) {
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
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
            // The last backslash that stands as a character of its own, never a trail byte.
            size_t cut = std::string::npos;
            for (size_t i = 0; i < path.size(); ++i) {
                if (IsDBCSLeadByte(static_cast<BYTE>(path[i])) && i + 1 < path.size()) {
                    ++i;
                } else if (path[i] == '\\') {
                    cut = i;
                }
            }
            return cut == std::string::npos ? std::string() : path.substr(0, cut);
        }
        buffer.resize(buffer.size() * 2);
    }
}

}  // namespace varnoke
