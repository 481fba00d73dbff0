#pragma once
// A thin, non-owning wrapper over a menu handle for items labelled in both forms. It owns
// nothing; MenuHandle (handles_win.h) owns a menu.

#include <windows.h>

#include "core/dual_text.h"

namespace varnoke {

// A label with an exact text goes through the wide call, so every character shows; any
// other keeps the ANSI call and its bytes.
class Menu {
  public:
    explicit Menu(HMENU menu) : menu_(menu) {}

    // AppendMenu: `id` is the command id, or the submenu's handle with MF_POPUP.
    bool AppendItem(UINT flags, UINT_PTR id, const DualText& label) const {
        return (label.hasExact() ? AppendMenuW(menu_, flags, id, Wide(label))
                                 : AppendMenuA(menu_, flags, id, label.ansi.c_str())) != FALSE;
    }
    // ModifyMenu of the item at `item`, a position with MF_BYPOSITION or else a command id.
    bool ModifyItem(UINT item, UINT flags, UINT_PTR id, const DualText& label) const {
        return (label.hasExact()
                    ? ModifyMenuW(menu_, item, flags, id, Wide(label))
                    : ModifyMenuA(menu_, item, flags, id, label.ansi.c_str())) != FALSE;
    }

  private:
    static const wchar_t* Wide(const DualText& label) {
        return reinterpret_cast<const wchar_t*>(label.exact.c_str());
    }

    HMENU menu_;
};

}  // namespace varnoke
