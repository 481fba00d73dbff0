#include "menus/history_menu_win.h"

namespace varnoke {

bool AppendHistoryMenuItems(HMENU menu, const std::vector<HistoryMenuItem>& items) {
    bool ok = true;
    for (const HistoryMenuItem& item : items) {
        UINT flags = MF_STRING | (item.columnBreak ? MF_MENUBARBREAK : 0);
        // Only the labels the code page cannot hold go through the wide API.
        const bool added =
            item.wideLabel.empty()
                ? AppendMenuA(menu, flags, item.commandId, item.label.c_str()) != FALSE
                : AppendMenuW(menu, flags, item.commandId,
                              reinterpret_cast<const wchar_t*>(item.wideLabel.c_str())) != FALSE;
        ok = added && ok;
    }
    return ok;
}

}  // namespace varnoke
