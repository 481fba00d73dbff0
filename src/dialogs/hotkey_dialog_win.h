#pragma once
// The hot-key settings dialog: the nine hot keys, the five short-text files and the two
// paste options.

#include <windows.h>

#include <optional>

#include "dialogs/hotkey_dialog.h"

namespace varnoke {

// Runs the dialog modally on `values`; the confirmed values after OK, nothing after
// Cancel. The caller frees the program's hot keys first, so they can be typed in.
std::optional<HotKeyDialogValues> RunHotKeyDialog(HWND owner, const HotKeyDialogValues& values);

}  // namespace varnoke
