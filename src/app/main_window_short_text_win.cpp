// MainWindow: the short-text menus, from the hot key to the paste or the started command.
#include "app/main_window_win.h"

#include <optional>
#include <utility>

#include "core/data_path.h"
#include "framework/application_win.h"
#include "framework/strings_win.h"
#include "framework/text_codec_win.h"
#include "framework/popup_menu_win.h"
#include "menus/popup_position_win.h"
#include "res/resource.h"
#include "shorttext/short_text_action_win.h"
#include "shorttext/short_text_files_win.h"
#include "shorttext/short_text_line.h"

namespace varnoke {

namespace {

// Set for the whole of a showing, so that a hot key arriving in the menu's nested loop
// (or while message 502 is up) does nothing; cleared on every way out.
class BusyFlag {
  public:
    explicit BusyFlag(bool& flag) : flag_(flag) { flag_ = true; }
    ~BusyFlag() { flag_ = false; }
    BusyFlag(const BusyFlag&) = delete;
    BusyFlag& operator=(const BusyFlag&) = delete;

  private:
    bool& flag_;
};

bool IsShortTextSlot(int slot) {
    return slot >= 0 && slot < kShortTextSlotCount;
}

}  // namespace

void MainWindow::ShowShortTextMenu(int slot) {
    if (!IsShortTextSlot(slot)) {
        return;
    }
    BusyFlag busy(shortTextBusy_);
    Win32ShortTextFileSystem files;
    const ShortTextShowResult shown =
        shortText_.Prepare(slot, settings_.hotKeys[kFirstShortTextSlot + slot].dataPath,
                           ProgramFolder(), files, LocalMacroTime());
    if (shown.openFailed) {
        ShowMessage(hwnd(), FormatString(LoadResourceString(IDS_MSG_SHORTTEXT_OPEN_FAILED).c_str(),
                                         shown.path.c_str()));
    }
    if (!shown.showMenu || !SyncShortTextPopupMenus(shown.rebuilt)) {
        return;
    }
    HWND target = GetForegroundWindow();
    POINT point = GetPopupPoint(settings_.popupPos);
    // The keys are caught only while the menu is tracked.
    std::optional<MenuKeyFilter> keys;
    keys.emplace([this](char key) { return OnShortTextMenuKey(key); });
    targetInFront_.Clear();
    openAfterMenu_.clear();
    // Unlike the history menu, this one gives the foreground back at once, without
    // waiting for the target to take it. Not when the data file is to be opened: the
    // editor that the shell starts may take the foreground only while this program has it.
    ShowPopupMenu(shortTextMenus_.root(), hwnd(), point, [this, target, &keys] {
        keys.reset();
        if (openAfterMenu_.empty() && target != nullptr && TopLevelWindowExists(target)) {
            SetForegroundWindow(target);
            targetInFront_.Mark();
        }
    });
    if (!openAfterMenu_.empty()) {
        OpenWithAssociatedProgram(std::exchange(openAfterMenu_, std::string()));
    }
}

// A refresh that does not fit the popup menus (or fails half way) falls back to building
// them again from a freshly built model.
bool MainWindow::SyncShortTextPopupMenus(bool rebuilt) {
    if (!rebuilt && shortTextMenus_.RefreshLabels(shortText_.model())) {
        return true;
    }
    if (!rebuilt) {
        shortText_.Rebuild();
    }
    shortTextMenus_.Build(shortText_.model());
    return shortTextMenus_.root() != nullptr;
}

void MainWindow::PerformShortTextItem(int lineIndex) {
    const ShortTextAction action =
        shortText_.Perform(lineIndex, LocalMacroTime(), settings_.pasteOnly != 0);
    switch (action.kind) {
        case ShortTextActionKind::kPaste:
            PasteShortText(action);
            break;
        case ShortTextActionKind::kRunCommand:
            RunShortTextCommand(action);
            break;
        case ShortTextActionKind::kNothing:
            break;
    }
    if (action.armCapture) {
        capture_.SetCaptureArmed(true);
    }
}

// The foreground was given back when the menu closed, so the keystroke goes to the
// window the user was typing in, whatever HistoryPasteDirect says.
void MainWindow::PasteShortText(const ShortTextAction& action, bool paste) {
    // Restoring, the write is marked as not for clipboard histories, this one's included: a
    // phrase that the history is to keep is added to it once written.
    const bool restoring = paste && settings_.pasteRestoreClipboard != 0;
    if (action.disarmCapture || restoring) {
        capture_.Disarm();
    }
    captureWrittenPhrase_ = restoring && !action.disarmCapture;
    clipboardWriter_.Write(action.text, paste);
}

std::vector<SearchPhrase> MainWindow::SearchablePhrases() const {
    std::vector<SearchPhrase> phrases;
    Win32ShortTextFileSystem files;
    const std::string menuName = LoadResourceString(IDS_HOTKEY_NAME_SHORTTEXT);
    for (int slot = 0; slot < kShortTextSlotCount; ++slot) {
        const std::string& setting = settings_.hotKeys[kFirstShortTextSlot + slot].dataPath;
        if (setting.empty()) {
            continue;
        }
        const std::string path = ResolveDataPath(setting, ProgramFolder(), &IsAnsiLeadByte);
        ShortTextLineReader reader(&IsAnsiLeadByte, AnsiCodec());
        if (!files.Read(path, reader)) {
            continue;
        }
        reader.Finish();
        const std::string source = FormatString(menuName.c_str(), slot + 1) + " " +
                                   path.substr(path.find_last_of("\\/:") + 1);
        for (ShortTextString& line : reader.TakeLines()) {
            const ShortTextLineKind kind = ClassifyStoredLine(line);
            if (kind == ShortTextLineKind::kPhrase || kind == ShortTextLineKind::kLabelledPhrase) {
                phrases.push_back({std::move(line), source});
            }
        }
    }
    return phrases;
}

// As the phrase's own menu would: expanded at the moment of the choice, and captured or not
// by PasteOnly.
void MainWindow::PerformSearchedPhrase(const SearchPhrase& phrase, bool paste) {
    const ShortTextAction action =
        shortText_.PerformLine(phrase.line, LocalMacroTime(), settings_.pasteOnly != 0);
    if (action.kind == ShortTextActionKind::kPaste) {
        PasteShortText(action, paste);
    }
    if (action.armCapture) {
        capture_.SetCaptureArmed(true);
    }
}

void MainWindow::FreeShortTextMenus() {
    shortText_.Free();
    // Destroying a menu its loop still tracks would pull it away under the loop; the
    // loop ends with the window, and the holder destroys the menus after it.
    if (shortTextBusy_) {
        EndMenu();
        return;
    }
    shortTextMenus_.Destroy();
}

bool MainWindow::OnShortTextMenuKey(char key) {
    if (key != ' ') {
        return false;
    }
    const std::string path = CurrentShortTextPath();
    if (!path.empty() && !EndsWithBackslash(path, &IsAnsiLeadByte)) {
        openAfterMenu_ = path;
    }
    return true;
}

std::string MainWindow::CurrentShortTextPath() const {
    const int slot = shortText_.currentSlot();
    if (!IsShortTextSlot(slot)) {
        return std::string();
    }
    return ResolveDataPath(settings_.hotKeys[kFirstShortTextSlot + slot].dataPath, ProgramFolder(),
                           &IsAnsiLeadByte);
}

}  // namespace varnoke
