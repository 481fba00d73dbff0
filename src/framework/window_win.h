#pragma once
// A window whose messages are dispatched through message tables: the class's own
// table first, then its base class's, then the default window procedure.

#include <windows.h>

#include <cstddef>

namespace varnoke {

class Window;

using MessageHandler = LRESULT (Window::*)(WPARAM wParam, LPARAM lParam);
using CommandHandler = void (Window::*)();
using CommandRangeHandler = void (Window::*)(UINT id);
using NotifyHandler = LRESULT (Window::*)(NMHDR* header);

struct MessageEntry {
    UINT message;
    MessageHandler handler;
};

// A menu item, accelerator or button click (notification code 0 or 1).
struct CommandEntry {
    UINT id;
    CommandHandler handler;
};

// One row for a notification code from a run of controls, such as five browse buttons;
// the handler learns which control sent it.
struct CommandRangeEntry {
    UINT notifyCode;
    UINT firstId;
    UINT lastId;
    CommandRangeHandler handler;
};

// WM_NOTIFY rows. A tip control names its tool by window handle, not by id, so
// kAnyControl matches whatever idFrom holds.
constexpr UINT_PTR kAnyControl = ~static_cast<UINT_PTR>(0);
struct NotifyEntry {
    UINT code;
    UINT_PTR firstId;
    UINT_PTR lastId;
    NotifyHandler handler;
};

struct MessageMap {
    const MessageMap* base;
    const MessageEntry* messages;
    size_t messageCount;
    const CommandEntry* commands;
    size_t commandCount;
    const CommandRangeEntry* commandRanges = nullptr;
    size_t commandRangeCount = 0;
    const NotifyEntry* notifies = nullptr;
    size_t notifyCount = 0;
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
template <typename T>
CommandRangeHandler OnCommandRange(void (T::*handler)(UINT id)) {
    return static_cast<CommandRangeHandler>(handler);
}
template <typename T>
NotifyHandler OnNotify(LRESULT (T::*handler)(NMHDR* header)) {
    return static_cast<NotifyHandler>(handler);
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
    // The default processing of the message now being handled.
    LRESULT Default();
    // What Default() does: the default window procedure here; a dialog lets the dialog
    // manager go on, a subclassed control calls the procedure it replaced.
    virtual LRESULT DefaultProc(UINT message, WPARAM wParam, LPARAM lParam);

    // The first handler for a message in this class's tables or its bases'; null if none.
    MessageHandler FindMessageHandler(UINT message) const;
    // Runs the table handler of a command id, else (for menu commands, whose notification
    // code is 0) DispatchMenuCommand; true if handled.
    bool DispatchCommand(UINT id, UINT notifyCode);
    // The handler of a WM_NOTIFY row; nullptr when no row matches.
    NotifyHandler FindNotifyHandler(const NMHDR& header) const;
    void Attach(HWND hwnd) { hwnd_ = hwnd; }
    void Detach() { hwnd_ = nullptr; }
    // Records the message being handled, so that Default() can pass it on.
    struct CurrentMessage {
        UINT message;
        WPARAM wParam;
        LPARAM lParam;
        // Set by a dialog's Default(): the dialog manager is to go on with the message.
        bool defaultRequested = false;
    };
    CurrentMessage SwapCurrentMessage(const CurrentMessage& next);
    CurrentMessage& current() { return current_; }

  private:
    static LRESULT CALLBACK StaticWindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);

    HWND hwnd_ = nullptr;
    CurrentMessage current_{0, 0, 0, false};
};

}  // namespace varnoke
