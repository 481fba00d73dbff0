#include "framework/application_win.h"

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
            size_t cut = LastBackslash(path, &IsAnsiLeadByte);
            return cut == std::string::npos ? std::string() : path.substr(0, cut);
        }
        buffer.resize(buffer.size() * 2);
    }
}

}  // namespace varnoke
