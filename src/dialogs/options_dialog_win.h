#pragma once
// The options dialog: history, menu, sound, history-file and paste settings.

#include <windows.h>

#include <optional>

#include "core/settings.h"
#include "dialogs/options.h"

namespace varnoke {

struct OptionsResult {
    // The record handed in, with the confirmed values of the settings the dialog edits.
    Settings settings;
    HistoryFileAction historyFileAction;
};

// Runs the dialog on a copy of `settings`; nothing after Cancel.
std::optional<OptionsResult> RunOptionsDialog(HWND owner, const Settings& settings);

}  // namespace varnoke
