#pragma once
// Where a popup menu opens, with the screen, cursor and caret read from the system.

#include <windows.h>

#include "menus/popup_position.h"

namespace varnoke {

// The caret of the foreground window in screen coordinates, read by attaching to the
// foreground thread's input state. Leaves `inputs` unchanged when there is no foreground
// window, the attach fails (the foreground window is our own, among others) or the
// focus window cannot convert the position.
void GetCaretScreenPos(PopupInputs& inputs);

// GetPopupPosition for `popupPos` (PopupPos, or 0 for the cursor) from the live system.
POINT GetPopupPoint(int popupPos);

}  // namespace varnoke
