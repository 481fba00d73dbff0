#include "menus/history_menu_win.h"

#include "framework/menu_win.h"

namespace varnoke {

bool AppendHistoryMenuItems(HMENU menu, const std::vector<HistoryMenuItem>& items) {
    bool ok = true;
    for (const HistoryMenuItem& item : items) {
        UINT flags = MF_STRING | (item.columnBreak ? MF_MENUBARBREAK : 0);
        ok = Menu(menu).AppendItem(flags, item.commandId, item.label) && ok;
    }
    return ok;
}

}  // namespace varnoke
