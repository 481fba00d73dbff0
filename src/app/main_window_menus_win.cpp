// MainWindow: the history popup menu, its keys and the paste of a chosen entry.
#include "app/main_window_win.h"

#include <optional>
#include <utility>
#include "core/app_messages.h"
#include "framework/strings_win.h"
#include "history/clipboard_win.h"
#include "framework/text_codec_win.h"
#include "menus/history_menu_win.h"
#include "menus/paste_win.h"
#include "framework/popup_menu_win.h"
#include "menus/popup_position_win.h"
#include "search/history_search_win.h"

namespace varnoke {

namespace {

// A press on the tray icon this soon after a menu closed without a command is the
// click that dismissed it, not a request for a new menu.
constexpr DWORD kTrayReopenGuardMs = 200;

constexpr WORD kMenuFlagsClosed = 0xFFFF;
constexpr WORD kPopupMenuFlag = 0x10;  // MF_POPUP in WM_MENUCHAR

}  // namespace

void MainWindow::CreateHistoryMenu() {
    historyMenu_ = MenuHandle(CreatePopupMenu());
}

void MainWindow::OnTrayLeftClick() {
    if (modalOpen_) {
        SetForegroundWindow(hwnd());
        return;
    }
    if (menuTracking_) {
        if (GetTickCount() - menuClosedTick_ < kTrayReopenGuardMs) {
            return;
        }
        menuTracking_ = false;
    }
    calledByHotKey_ = false;
    ShowHistoryMenu();
}

void MainWindow::ShowHistoryMenu() {
    if (entryEditBusy_ || historyMenuOpen_) {
        return;
    }
    if (!BuildHistoryMenu()) {
        return;
    }
    HWND target = GetForegroundWindow();
    POINT point = GetPopupPoint(calledByHotKey_ ? settings_.popupPos : kPopupAtCursor);
    menuTracking_ = true;
    historyMenuOpen_ = true;
    editAfterMenu_.reset();
    targetInFront_.Clear();
    // The keys are caught only while the menu is tracked.
    std::optional<MenuKeyFilter> keys;
    keys.emplace([this](char key) { return OnHistoryMenuKey(key, historyMenu_.get()); });
    ShowPopupMenu(historyMenu_.get(), hwnd(), point, [this, target, &keys] {
        keys.reset();
        historyMenuOpen_ = false;
        if (editAfterMenu_) {
            PostMessageA(hwnd(), WM_EDIT_HISTORY_ITEM, 0, static_cast<LPARAM>(*editAfterMenu_));
            editAfterMenu_.reset();
        }
        if (target != nullptr && TopLevelWindowExists(target) && calledByHotKey_) {
            Win32Foreground foreground(target);
            RestoreTargetWindow(foreground);
            targetInFront_.Mark();
        }
    });
}

// False when there is nothing to show.
bool MainWindow::BuildHistoryMenu() {
    historyMenu_ = MenuHandle(CreatePopupMenu());
    if (history_.size() < 1 || !historyMenu_) {
        return false;
    }
    AppendHistoryMenuItems(
        historyMenu_.get(),
        BuildHistoryMenuItems(history_.entries(), settings_, &IsAnsiLeadByte, &AnsiCodec()));
    shownHistory_ = ShownHistory(history_);
    return true;
}

bool MainWindow::DispatchMenuCommand(UINT id) {
    if (IsReservedHistoryCommand(id)) {
        // Only ids of items the menu showed count; an id past the list falls through to
        // the normal routing, where nothing handles it.
        if (HistoryPositionOfCommand(id) >= shownHistory_.size()) {
            return false;
        }
        ChooseHistoryCommand(id);
        return true;
    }
    if (id >= kShortTextCommandBase && id < kShortTextCommandEnd) {
        PerformShortTextItem(static_cast<int>(id - kShortTextCommandBase));
        return true;
    }
    return false;
}

// The menu loop ran nested, so a capture may have moved the entries since the menu was
// built; the choice is resolved to the entry that holds the text shown, and dropped
// when no entry holds it any more.
void MainWindow::ChooseHistoryCommand(UINT id) {
    std::optional<int> position =
        ResolveChosenEntry(shownHistory_, history_, HistoryPositionOfCommand(id));
    if (position) {
        ChooseHistoryItem(*position, settings_.historyPasteDirect == 1 && calledByHotKey_);
    }
    calledByHotKey_ = false;
}

void MainWindow::OnSearchHistory() {
    SearchHistory(false);
}

void MainWindow::SearchHistory(bool byHotKey) {
    HWND front = GetForegroundWindow();
    if (search_.IsOpen()) {
        // Pressed again over another program: the choice goes there now.
        if (byHotKey && front != search_.hwnd()) {
            searchTarget_ = front;
            searchByHotKey_ = true;
        }
        search_.BringToFront();
        return;
    }
    // A dialog of the program is open, and would be left under this window.
    if (modalOpen_ || entryEditBusy_) {
        return;
    }
    searchTarget_ = front;
    searchByHotKey_ = byHotKey;
    searchPhrases_ = SearchablePhrases();
    search_.Open(hwnd(), {history_, NewEntriesAtTail(settings_), searchPhrases_,
                          &settings_.searchWindowPos, WM_SEARCH_ENDED});
}

// The search window is gone: the target gets the foreground back, and a chosen entry goes
// the way of a history-menu choice. A capture may have moved the entries since the list
// showed them.
LRESULT MainWindow::OnSearchEnded(WPARAM, LPARAM) {
    std::optional<HistorySearchModel::Choice> choice = search_.TakeChoice();
    std::optional<int> position =
        choice ? ResolveChosenEntry(choice->shown, history_, choice->shownPosition) : std::nullopt;
    if (searchTarget_ != nullptr && TopLevelWindowExists(searchTarget_)) {
        Win32Foreground foreground(searchTarget_);
        RestoreTargetWindow(foreground);
        targetInFront_.Mark();
    }
    searchTarget_ = nullptr;
    const bool paste = searchByHotKey_ && settings_.historyPasteDirect == 1;
    if (position) {
        ChooseHistoryItem(*position, paste);
    } else if (choice && choice->phrase >= 0 &&
               static_cast<size_t>(choice->phrase) < searchPhrases_.size()) {
        PerformSearchedPhrase(searchPhrases_[static_cast<size_t>(choice->phrase)], paste);
    }
    searchPhrases_.clear();
    return 0;
}

void MainWindow::ChooseHistoryItem(int index, bool paste) {
    if (index < 0 || index >= history_.size()) {
        return;
    }
    const HistoryEntry copy = history_.at(index);
    bool move = settings_.historyMoveUp != 0;
    if (GetKeyState(VK_CONTROL) < 0) {
        move = !move;
    }
    if (move) {
        MoveToNewestEnd(history_, index, settings_);
    }
    // Disarmed until the write is done or given up, retries included: the write is ours.
    capture_.Disarm();
    captureWrittenPhrase_ = false;
    clipboardWriter_.Write(copy, paste);
}

ClipboardWriteResult MainWindow::WriteClipboard(const HistoryEntry& text, bool paste) {
    if (paste && settings_.pasteRestoreClipboard != 0) {
        switch (restorer_.WriteForPaste(text)) {
            case ClipboardRestorer::PasteWrite::kOffered:
                return ClipboardWriteResult::kWritten;
            case ClipboardRestorer::PasteWrite::kBusy:
                return ClipboardWriteResult::kBusy;
            case ClipboardRestorer::PasteWrite::kNotRestoring:
                break;  // too much to copy: written as always
        }
    }
    bool busy = false;
    if (WriteClipboardEntry(hwnd(), text, &busy)) {
        return ClipboardWriteResult::kWritten;
    }
    return busy ? ClipboardWriteResult::kBusy : ClipboardWriteResult::kFailed;
}

void MainWindow::ScheduleWriteRetry() {
    SetTimer(hwnd(), TIMER_WRITE_RETRY, kClipboardWriteRetryDelayMs, nullptr);
}

void MainWindow::WriteDone(const HistoryEntry& text, bool paste) {
    if (std::exchange(captureWrittenPhrase_, false)) {
        capture_.CaptureWrittenText(text);
    }
    capture_.NoteClipboardWritten(text);
    if (paste) {
        PasteIntoTarget();
    }
}

void MainWindow::WriteGivenUp() {
    captureWrittenPhrase_ = false;
    capture_.SetCaptureArmed(true);
}

void MainWindow::PasteIntoTarget() {
    Win32Keyboard keyboard;
    restorer_.KeysComing();
    SendPasteKeystroke(settings_.pasteCommand, settings_.pasteDelayTime, keyboard,
                       targetInFront_.TakeElapsedMs());
    restorer_.KeysSent();
}

LRESULT MainWindow::OnMenuSelect(WPARAM wParam, LPARAM lParam) {
    LRESULT result = Default();
    highlightedItemId_ = 0;
    HMENU menu = reinterpret_cast<HMENU>(lParam);
    if (HIWORD(wParam) == kMenuFlagsClosed && menu == nullptr) {
        menuClosedTick_ = GetTickCount();
    } else if (menu != nullptr && menu == historyMenu_.get()) {
        highlightedItemId_ = LOWORD(wParam);
    }
    return result;
}

LRESULT MainWindow::OnMenuChar(WPARAM wParam, LPARAM lParam) {
    if (HIWORD(wParam) != kPopupMenuFlag) {
        return Default();
    }
    const char key = static_cast<char>(LOWORD(wParam));
    HMENU menu = reinterpret_cast<HMENU>(lParam);
    if (OnHistoryMenuKey(key, menu) ||
        (shortTextMenus_.Contains(menu) && OnShortTextMenuKey(key))) {
        return MAKELRESULT(0, MNC_CLOSE);
    }
    return Default();
}

bool MainWindow::OnHistoryMenuKey(char key, HMENU menu) {
    if (menu == nullptr || menu != historyMenu_.get() ||
        !IsReservedHistoryCommand(highlightedItemId_)) {
        return false;
    }
    // As for a chosen item: a capture during the menu loop may have moved the entries,
    // and deleting or editing by the shown position would hit another text.
    const int shownPosition = HistoryPositionOfCommand(highlightedItemId_);
    std::optional<int> index = ResolveChosenEntry(shownHistory_, history_, shownPosition);
    if (key == ' ') {
        // The shown position travels; the handler resolves it again, since a capture can
        // still arrive before the posted message is handled.
        if (index) {
            editAfterMenu_ = shownPosition;
        }
        return true;
    }
    if (key == '\b' && GetKeyState(VK_SHIFT) < 0 && index) {
        history_.RemoveAt(*index);
        return true;
    }
    return false;
}

}  // namespace varnoke
