// The main window's side of its dialogs: what is held while each one is open, and how
// its result reaches the history, the settings and the hot keys.

#include "app/main_window_win.h"

#include "dialogs/entry_editor.h"
#include "dialogs/entry_editor_win.h"
#include "dialogs/history_editor_win.h"
#include "dialogs/hotkey_dialog.h"
#include "dialogs/hotkey_dialog_win.h"
#include "dialogs/options_dialog_win.h"
#include "history/exact_text.h"
#include "history/shown_history.h"
#include "framework/text_codec_win.h"
#include "framework/strings_win.h"
#include "framework/popup_menu_win.h"
#include "res/resource.h"

namespace varnoke {

MainWindow::ModalGuard MainWindow::PauseCapture() {
    return ModalGuard(
        settings_.paused != 0, [this](const bool& paused) { capture_.SetPaused(paused ? 1 : 0); },
        true);
}

// ---------------------------------------------------------------------------
// Options (command 32772)

void MainWindow::OnOptions() {
    ModalGuard modal(modalOpen_, 1);
    std::optional<OptionsResult> result = RunOptionsDialog(hwnd(), settings_);
    if (!result) {
        return;
    }
    // From position HistoryNum on, whichever end is the newest.
    if (result->settings.historyNum < history_.size()) {
        history_.RemoveFrom(result->settings.historyNum);
    }
    const bool protectionChanged =
        (result->settings.historyDataProtect != 0) != (settings_.historyDataProtect != 0);
    CopyOptionsSettings(result->settings, settings_);
    ApplyHistoryFileAction(result->historyFileAction);
    // The file is written again in the kind now asked for, even when the history has not
    // changed.
    if (protectionChanged) {
        store_.NoteFileChanged();
    }
    capture_.RefreshTooltipFromClipboard();
    UpdateTray();
}

void MainWindow::ApplyHistoryFileAction(HistoryFileAction action) {
    if (action == HistoryFileAction::kNothing) {
        return;
    }
    if (action != HistoryFileAction::kKeep) {
        ClipHistory base = action == HistoryFileAction::kAppend ? history_ : ClipHistory();
        LoadHistoryFile(std::move(base));
    }
    StopAutosaveTimer();
    StartAutosaveTimerIfConfigured();
    // The history goes to the file now named, at once when every change is saved.
    store_.NoteFileChanged();
}

// ---------------------------------------------------------------------------
// Hot-key settings (command 32773)

void MainWindow::OnHotKeySettings() {
    ModalGuard modal(modalOpen_, 1);
    const HotKeyDialogValues values = HotKeyDialogValuesFrom(settings_);
    UnregisterHotKeysForDialog();
    SetForegroundWindow(hwnd());
    std::optional<HotKeyDialogValues> confirmed = RunHotKeyDialog(hwnd(), values);
    if (!confirmed) {
        ReregisterHotKeysAfterDialogCancel();
        return;
    }
    ApplyHotKeyDialogValues(*confirmed, settings_);
    RegisterHotKeysAfterDialogOk();
}

// ---------------------------------------------------------------------------
// History editor (command 32777 and its hot key)

void MainWindow::EditHistory() {
    if (modalOpen_ || history_.empty()) {
        return;
    }
    ModalGuard modal(modalOpen_, 1);
    ModalGuard pause = PauseCapture();
    HWND previous = GetForegroundWindow();
    SetForegroundWindow(hwnd());
    std::optional<std::vector<HistoryEntry>> edited =
        RunHistoryEditor(hwnd(), history_.entries(), settings_);
    if (edited) {
        history_.Clear();
        for (HistoryEntry& text : *edited) {
            history_.Append(std::move(text));
        }
    }
    if (previous != nullptr && TopLevelWindowExists(previous)) {
        SetForegroundWindow(previous);
    }
}

// ---------------------------------------------------------------------------
// Entry editor, from Space in the history menu

LRESULT MainWindow::OnEditHistoryItem(WPARAM, LPARAM lParam) {
    OpenEntryFromMenu(static_cast<int>(lParam));
    return 1;
}

void MainWindow::OpenEntryFromMenu(int shownPosition) {
    if (shownPosition < 0) {
        return;
    }
    std::optional<int> index = ResolveChosenEntry(shownHistory_, history_, shownPosition);
    if (!index) {
        return;
    }
    ModalGuard busy(entryEditBusy_, 1);
    ModalGuard modal(modalOpen_, 1);
    ModalGuard pause = PauseCapture();
    const HistoryEntry copy = history_.at(*index);
    SetForegroundWindow(hwnd());
    std::optional<EntryEditResult> edited =
        RunEntryEditor(hwnd(), EditableText(copy, AnsiCodec()), settings_);
    // Capture was paused, so only this window's own actions could have moved the entry.
    if (!edited || *index >= history_.size()) {
        return;
    }
    std::optional<HistoryEntry> entry =
        EntryFromEditedText(copy, edited->text, settings_.historyLen, &IsAnsiLeadByte, AnsiCodec());
    if (entry) {
        history_.Replace(*index, std::move(*entry));
    } else {
        history_.RemoveAt(*index);
    }
}

}  // namespace varnoke
