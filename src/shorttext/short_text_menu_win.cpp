#include "shorttext/short_text_menu_win.h"

#include <algorithm>

#include "framework/menu_win.h"

namespace varnoke {

namespace {

UINT BreakFlags(ShortTextBreak columnBreak) {
    switch (columnBreak) {
        case ShortTextBreak::kColumn:
            return MF_MENUBREAK;
        case ShortTextBreak::kColumnWithBar:
            return MF_MENUBARBREAK;
        case ShortTextBreak::kNone:
            break;
    }
    return 0;
}

}  // namespace

bool ShortTextPopupMenus::Build(const ShortTextMenuModel& model) {
    Destroy();
    // Every menu exists before any entry is appended, so a submenu entry can name its
    // menu whatever the order of the list.
    for (size_t i = 0; i < model.menus.size(); ++i) {
        HMENU menu = CreatePopupMenu();
        if (menu == nullptr) {
            Destroy();
            return false;
        }
        menus_.push_back(menu);
        attached_.push_back(i == 0);
    }
    if (menus_.empty()) {
        return false;
    }
    root_.reset(menus_[0]);
    bool ok = true;
    for (size_t i = 0; i < model.menus.size(); ++i) {
        for (const ShortTextEntry& entry : model.menus[i].entries) {
            ok = AppendEntry(menus_[i], entry) && ok;
        }
    }
    return ok;
}

bool ShortTextPopupMenus::AppendEntry(HMENU menu, const ShortTextEntry& entry) {
    const UINT breakFlags = BreakFlags(entry.columnBreak);
    switch (entry.kind) {
        case ShortTextEntryKind::kSeparator:
            return AppendMenuA(menu, MF_SEPARATOR | breakFlags, 0, nullptr) != FALSE;
        case ShortTextEntryKind::kSubmenu: {
            if (entry.submenu <= 0 || static_cast<size_t>(entry.submenu) >= menus_.size() ||
                attached_[static_cast<size_t>(entry.submenu)]) {
                return false;
            }
            HMENU submenu = menus_[static_cast<size_t>(entry.submenu)];
            if (!Menu(menu).AppendItem(MF_POPUP | MF_STRING | breakFlags,
                                       reinterpret_cast<UINT_PTR>(submenu), entry.label)) {
                return false;
            }
            attached_[static_cast<size_t>(entry.submenu)] = true;
            return true;
        }
        case ShortTextEntryKind::kPhrase:
        case ShortTextEntryKind::kCommand:
            break;
    }
    return Menu(menu).AppendItem(MF_STRING | breakFlags, entry.commandId, entry.label);
}

bool ShortTextPopupMenus::RefreshLabels(const ShortTextMenuModel& model) {
    if (!root_ || menus_.size() != model.menus.size()) {
        return false;
    }
    for (const TokenLabelRef& ref : model.tokenLabels) {
        if (ref.menu >= menus_.size() || ref.position >= model.menus[ref.menu].entries.size()) {
            return false;
        }
        HMENU menu = menus_[ref.menu];
        const int count = GetMenuItemCount(menu);
        if (count < 0 || ref.position >= static_cast<unsigned>(count)) {
            return false;
        }
        const UINT id = GetMenuItemID(menu, ref.position);
        const UINT state = GetMenuState(menu, ref.position, MF_BYPOSITION);
        if (id == static_cast<UINT>(-1) || state == static_cast<UINT>(-1)) {
            return false;
        }
        const UINT flags = MF_BYPOSITION | MF_STRING | (state & (MF_MENUBREAK | MF_MENUBARBREAK));
        if (!Menu(menu).ModifyItem(ref.position, flags, id,
                                   model.menus[ref.menu].entries[ref.position].label)) {
            return false;
        }
    }
    return true;
}

void ShortTextPopupMenus::Destroy() {
    // The root takes the attached submenus with it.
    const bool hadRoot = static_cast<bool>(root_);
    root_.reset();
    for (size_t i = 0; i < menus_.size(); ++i) {
        if (!attached_[i] || (i == 0 && !hadRoot)) {
            DestroyMenu(menus_[i]);
        }
    }
    menus_.clear();
    attached_.clear();
}

bool ShortTextPopupMenus::Contains(HMENU menu) const {
    return menu != nullptr && std::find(menus_.begin(), menus_.end(), menu) != menus_.end();
}

}  // namespace varnoke
