#include "framework/window_win.h"

#include "framework/application_win.h"

namespace varnoke {

namespace {
const MessageEntry kNoMessages[] = {{0, nullptr}};
const CommandEntry kNoCommands[] = {{0, nullptr}};
}  // namespace

const MessageMap Window::kMessageMap = {nullptr, kNoMessages, 0, kNoCommands, 0};

Window::~Window() {
    if (hwnd_ != nullptr) {
        SetWindowLongPtrA(hwnd_, GWLP_USERDATA, 0);
        DestroyWindow(hwnd_);
    }
}

bool Window::CreateEx(DWORD exStyle, const char* className, HICON classIcon, const char* title,
                      DWORD style, HWND parent) {
    HINSTANCE instance = GetModuleHandleA(nullptr);
    WNDCLASSA existing{};
    if (!GetClassInfoA(instance, className, &existing)) {
        WNDCLASSA wc{};
        wc.lpfnWndProc = &Window::StaticWindowProc;
        wc.hInstance = instance;
        wc.hIcon = classIcon;
        wc.lpszClassName = className;
        if (RegisterClassA(&wc) == 0) {
            return false;
        }
    }
    HWND created = CreateWindowExA(exStyle, className, title, style, 0, 0, 0, 0, parent, nullptr,
                                   instance, this);
    return created != nullptr;
}

LRESULT CALLBACK Window::StaticWindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCCREATE) {
        auto* create = reinterpret_cast<CREATESTRUCTA*>(lParam);
        auto* self = static_cast<Window*>(create->lpCreateParams);
        self->hwnd_ = hwnd;
        SetWindowLongPtrA(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
    }
    auto* self = reinterpret_cast<Window*>(GetWindowLongPtrA(hwnd, GWLP_USERDATA));
    if (self == nullptr) {
        return DefWindowProcA(hwnd, message, wParam, lParam);
    }
    // An exception must not unwind through the system's frames; the message gets
    // the default answer instead.
    LRESULT result = 0;
    CurrentMessage saved = self->SwapCurrentMessage({message, wParam, lParam});
    try {
        result = self->WindowProc(message, wParam, lParam);
    } catch (...) {
        result = DefWindowProcA(hwnd, message, wParam, lParam);
    }
    self->SwapCurrentMessage(saved);
    if (message == WM_NCDESTROY) {
        SetWindowLongPtrA(hwnd, GWLP_USERDATA, 0);
        self->hwnd_ = nullptr;
        if (Application* app = Application::Current()) {
            app->OnWindowDestroyed(hwnd);
        }
        self->PostNcDestroy();
    }
    return result;
}

LRESULT Window::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    return DispatchMessageMap(message, wParam, lParam);
}

LRESULT Window::DispatchMessageMap(UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_COMMAND && DispatchCommand(LOWORD(wParam), HIWORD(wParam))) {
        return 0;
    }
    if (message == WM_NOTIFY) {
        auto* header = reinterpret_cast<NMHDR*>(lParam);
        if (NotifyHandler handler = FindNotifyHandler(*header)) {
            return (this->*handler)(header);
        }
    }
    if (MessageHandler handler = FindMessageHandler(message)) {
        return (this->*handler)(wParam, lParam);
    }
    return Default();
}

MessageHandler Window::FindMessageHandler(UINT message) const {
    for (const MessageMap* map = GetMessageMap(); map != nullptr; map = map->base) {
        for (size_t i = 0; i < map->messageCount; ++i) {
            if (map->messages[i].message == message) {
                return map->messages[i].handler;
            }
        }
    }
    return nullptr;
}

Window::CurrentMessage Window::SwapCurrentMessage(const CurrentMessage& next) {
    CurrentMessage previous = current_;
    current_ = next;
    return previous;
}

bool Window::DispatchCommand(UINT id, UINT notifyCode) {
    for (const MessageMap* map = GetMessageMap(); map != nullptr; map = map->base) {
        for (size_t i = 0; i < map->commandRangeCount; ++i) {
            const CommandRangeEntry& row = map->commandRanges[i];
            if (row.notifyCode == notifyCode && row.firstId <= id && id <= row.lastId) {
                (this->*(row.handler))(id);
                return true;
            }
        }
        // Plain rows are clicks: an edit's EN_CHANGE must not run a button's handler.
        if (notifyCode > 1) {
            continue;
        }
        for (size_t i = 0; i < map->commandCount; ++i) {
            if (map->commands[i].id == id) {
                (this->*(map->commands[i].handler))();
                return true;
            }
        }
    }
    // Dynamic ids only ever come from menus, whose commands carry a high word of 0.
    return notifyCode == 0 && DispatchMenuCommand(id);
}

NotifyHandler Window::FindNotifyHandler(const NMHDR& header) const {
    for (const MessageMap* map = GetMessageMap(); map != nullptr; map = map->base) {
        for (size_t i = 0; i < map->notifyCount; ++i) {
            const NotifyEntry& row = map->notifies[i];
            bool anyId = row.firstId == kAnyControl;
            if (row.code == header.code &&
                (anyId || (row.firstId <= header.idFrom && header.idFrom <= row.lastId))) {
                return row.handler;
            }
        }
    }
    return nullptr;
}

LRESULT Window::Default() {
    return DefaultProc(current_.message, current_.wParam, current_.lParam);
}

LRESULT Window::DefaultProc(UINT message, WPARAM wParam, LPARAM lParam) {
    return DefWindowProcA(hwnd_, message, wParam, lParam);
}

}  // namespace varnoke
