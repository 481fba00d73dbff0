#pragma once
// The short-text menu model as Win32 popup menus: one HMENU per model menu, the root
// owning every submenu it opens.

#include <windows.h>

#include <vector>

#include "framework/handles_win.h"
#include "shorttext/short_text_menu_model.h"

namespace varnoke {

class ShortTextPopupMenus {
  public:
    ShortTextPopupMenus() = default;
    ~ShortTextPopupMenus() { Destroy(); }
    ShortTextPopupMenus(const ShortTextPopupMenus&) = delete;
    ShortTextPopupMenus& operator=(const ShortTextPopupMenus&) = delete;

    // Replaces the menus by those of `model`. False when a menu could not be created or
    // an entry was refused; the menus then hold what could be made.
    bool Build(const ShortTextMenuModel& model);
    // Rewrites, in place, the entries named by model.tokenLabels with their labels in
    // `model`, keeping each entry's id and column break. False when a ref does not fit
    // the menus or a rewrite fails: the caller builds the menus again.
    bool RefreshLabels(const ShortTextMenuModel& model);
    // FreeShortTextMenus: every menu destroyed, the list emptied.
    void Destroy();

    HMENU root() const { return root_.get(); }
    bool Contains(HMENU menu) const;

  private:
    bool AppendEntry(HMENU menu, const ShortTextEntry& entry);

    MenuHandle root_;
    // Index i is the model's menu i; entry 0 is the root. Submenus belong to the menu
    // that opens them; one that could not be attached is destroyed on its own.
    std::vector<HMENU> menus_;
    std::vector<bool> attached_;
};

}  // namespace varnoke
