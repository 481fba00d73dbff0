#pragma once
// Where a popup menu opens (PopupPos). The Win32 side gathers the screen facts, the
// cursor and the caret; this file only does the arithmetic.

namespace varnoke {

enum PopupPlacement {
    kPopupAtCursor = 0,
    kPopupTopLeft = 1,
    kPopupTopRight = 2,
    kPopupBottomLeft = 3,
    kPopupBottomRight = 4,
    kPopupAtCaret = 5,
};

struct PopupPoint {
    int x = 0;
    int y = 0;
    bool operator==(const PopupPoint& o) const { return x == o.x && y == o.y; }
};

struct PopupInputs {
    PopupPoint cursor;      // GetCursorPos
    int screenWidth = 0;    // SM_CXSCREEN of the primary screen
    int screenHeight = 0;   // SM_CYSCREEN
    int menuBarHeight = 0;  // SM_CYMENU
    // Set when the foreground thread could be attached and its focus window converted the
    // caret position; the two points below count only then.
    bool caretFound = false;
    PopupPoint caretClient;   // GetCaretPos, client coordinates of the focus window
    PopupPoint clientOrigin;  // screen position of that window's client (0, 0)
};

// Whether the placement needs the cursor or the caret, so the caller can skip the
// platform queries (attaching to another thread's input in particular) it does not need.
bool PopupNeedsCursor(int popupPos);
bool PopupNeedsCaret(int popupPos);

// Top-left point of the menu in screen coordinates. The caret placement without a caret
// gives (0, menu-bar height - 4); values outside 0..5 give (0, 0).
PopupPoint GetPopupPosition(int popupPos, const PopupInputs& inputs);

}  // namespace varnoke
