#pragma once
// The history menu's items as a Win32 popup menu. Tracking and the menu keys are in
// popup_menu_win.h, shared with the other menus.

#include <windows.h>

#include <vector>

#include "menus/history_menu_model.h"

namespace varnoke {

// Appends the items to an empty popup menu, in order; false when an item was refused.
bool AppendHistoryMenuItems(HMENU menu, const std::vector<HistoryMenuItem>& items);

}  // namespace varnoke
