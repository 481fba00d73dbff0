#pragma once
// A window whose messages are dispatched through message tables: the class's own
// table first, then its base class's, then the default window procedure.

#include <windows.h>

#include <cstddef>

namespace varnoke {

class Window;

using MessageHandler = LRESULT (Window::*)(WPARAM wParam, LPARAM lParam);
using CommandHandler = void (Window::*)();

struct MessageEntry {
    UINT message;
    MessageHandler handler;
};

struct CommandEntry {
    UINT id;
    CommandHandler handler;
};

struct MessageMap {
    const MessageMap* base;
    const MessageEntry* messages;
    size_t messageCount;
    const CommandEntry* commands;
    size_t commandCount;
};

// Derived classes write their tables with these, so handlers stay members of their own class.
template <typename T>
MessageHandler OnMessage(LRESULT (T::*handler)(WPARAM, LPARAM)) {
    return static_cast<MessageHandler>(handler);
}
template <typename T>
CommandHandler OnCommand(void (T::*handler)()) {
    return static_cast<CommandHandler>(handler);
}

class Window {
  public:
    Window() = default;
    virtual ~Window();
    Window(const Window&) = delete;
    Window& operator=(const Window&) = delete;

    HWND hwnd() const { return hwnd_; }

    // Registers a class of the given name once per process and creates the window.
    bool CreateEx(DWORD exStyle, const char* className, HICON classIcon, const char* title,
                  DWORD style, HWND parent);

    static const MessageMap kMessageMap;

  protected:
    virtual const MessageMap* GetMessageMap() const { return &kMessageMap; }

    // Hooks in dispatch order: the window procedure sees every message first.
    virtual LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam);
    // Command ids that no table names (dynamic menu items); true when handled.
    virtual bool DispatchMenuCommand(UINT id) { return false; }
    virtual void PostNcDestroy() {}

    // Dispatches through the tables; unhandled messages go to Default().
    LRESULT DispatchMessageMap(UINT message, WPARAM wParam, LPARAM lParam);
    // The default window procedure for the message now being handled.
    LRESULT Default();

    // The first handler for a message in this class's tables or its bases'; null if none.
    MessageHandler FindMessageHandler(UINT message) const;
    // Runs the table handler of a command id, else (for menu commands, whose notification
    // code is 0) DispatchMenuCommand; true if handled.
    bool DispatchCommand(UINT id, UINT notifyCode);
    void Attach(HWND hwnd) { hwnd_ = hwnd; }
    void Detach() { hwnd_ = nullptr; }
    // Records the message being handled, so that Default() can pass it on.
    struct CurrentMessage {
        UINT message;
        WPARAM wParam;
        LPARAM lParam;
    };
    CurrentMessage SwapCurrentMessage(const CurrentMessage& next);

  private:
    static LRESULT CALLBACK StaticWindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);

    HWND hwnd_ = nullptr;
    CurrentMessage current_{0, 0, 0};
};

}  // namespace varnoke
