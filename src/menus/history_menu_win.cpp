#include "menus/history_menu_win.h"

namespace varnoke {

bool AppendHistoryMenuItems(HMENU menu, const std::vector<HistoryMenuItem>& items) {
    bool ok = true;
    for (const HistoryMenuItem& item : items) {
        UINT flags = MF_STRING | (item.columnBreak ? MF_MENUBARBREAK : 0);
        ok = AppendMenuA(menu, flags, item.commandId, item.label.c_str()) != FALSE && ok;
    }
    return ok;
}

}  // namespace varnoke
