#include "framework/strings_win.h"

#include <cstdarg>
#include <cstdio>
#include <vector>

#include "framework/application_win.h"

namespace varnoke {

std::string LoadResourceString(UINT id) {
    std::vector<char> buffer(512);
    for (;;) {
        int length = LoadStringA(GetModuleHandleA(nullptr), id, buffer.data(),
                                 static_cast<int>(buffer.size()));
        if (length <= 0) {
            return std::string();
        }
        // A full buffer may mean a cut text: try again with more room.
        if (static_cast<size_t>(length) + 1 < buffer.size() || buffer.size() >= 65536) {
            return std::string(buffer.data(), static_cast<size_t>(length));
        }
        buffer.resize(buffer.size() * 4);
    }
}

std::string FormatString(const char* format, ...) {
    va_list args;
    va_start(args, format);
    va_list copy;
    va_copy(copy, args);
    int needed = std::vsnprintf(nullptr, 0, format, copy);
    va_end(copy);
    std::string result;
    if (needed > 0) {
        std::vector<char> buffer(static_cast<size_t>(needed) + 1);
        std::vsnprintf(buffer.data(), buffer.size(), format, args);
        result.assign(buffer.data(), static_cast<size_t>(needed));
    }
    va_end(args);
    return result;
}

int ShowMessage(HWND owner, const std::string& text, UINT type) {
    const Application* app = Application::Current();
    const char* caption = app != nullptr ? app->Title().c_str() : "";
    return MessageBoxA(owner, text.c_str(), caption, type);
}

}  // namespace varnoke
