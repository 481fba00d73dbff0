#pragma once
// Private window messages and timer ids of the main window. Plain numbers, so that
// portable code and tests can name them too.

namespace varnoke {

constexpr unsigned WM_TRAY_NOTIFY = 0x5F4;
constexpr unsigned WM_DEFERRED_CAPTURE = 0x5F5;
constexpr unsigned WM_EDIT_HISTORY_ITEM = 0x5F6;
constexpr unsigned WM_SAVE_HISTORY = 0x5F7;
// The search window closed; wParam is IDOK when an entry was chosen.
constexpr unsigned WM_SEARCH_ENDED = 0x5F8;
// The target has read the pasted entry: the user's clipboard goes back.
constexpr unsigned WM_RESTORE_CLIPBOARD = 0x5F9;

constexpr unsigned TIMER_ANIMATION = 5;
constexpr unsigned TIMER_ANIMATION_INTERVAL_MS = 200;
constexpr unsigned TIMER_AUTOSAVE = 7;
constexpr unsigned TIMER_AUTOSAVE_INTERVAL_MS = 60000;
// One-shot: a capture that found the clipboard held by another program tries again.
constexpr unsigned TIMER_CAPTURE_RETRY = 8;
// One-shot: the program's own clipboard write that found it held tries again.
constexpr unsigned TIMER_WRITE_RETRY = 9;
// One-shot: the user's clipboard goes back although the target never read the paste.
constexpr unsigned TIMER_RESTORE_CEILING = 10;
// One-shot: putting the user's clipboard back found it held, and tries again.
constexpr unsigned TIMER_RESTORE_RETRY = 11;

constexpr unsigned TRAY_ICON_ID = 100;

}  // namespace varnoke
