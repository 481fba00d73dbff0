#include "app/main_window_win.h"

#include <mmsystem.h>

#include <iterator>

#include "app/registry_settings_win.h"
#include "app/varnoke_app_win.h"
#include "core/app_messages.h"
#include "core/data_path.h"
#include "dialogs/about_dialog_win.h"
#include "framework/application_win.h"
#include "framework/strings_win.h"
#include "framework/system_libraries_win.h"
#include "history/clipboard_win.h"
#include "history/data_protection_win.h"
#include "history/exact_text_file.h"
#include "history/history_file_win.h"
#include "framework/text_codec_win.h"
#include "framework/popup_menu_win.h"
#include "menus/popup_position_win.h"
#include "res/resource.h"

namespace varnoke {

const MessageEntry MainWindow::kMessages[] = {
    {WM_CREATE, OnMessage(&MainWindow::OnCreate)},
    {WM_DESTROY, OnMessage(&MainWindow::OnDestroy)},
    {WM_QUERYENDSESSION, OnMessage(&MainWindow::OnQueryEndSession)},
    {WM_ENDSESSION, OnMessage(&MainWindow::OnEndSession)},
    {WM_TIMER, OnMessage(&MainWindow::OnTimer)},
    {WM_DRAWCLIPBOARD, OnMessage(&MainWindow::OnDrawClipboard)},
    {WM_CHANGECBCHAIN, OnMessage(&MainWindow::OnChangeCbChain)},
    {WM_DEFERRED_CAPTURE, OnMessage(&MainWindow::OnDeferredCapture)},
    {WM_SAVE_HISTORY, OnMessage(&MainWindow::OnSaveHistory)},
    {WM_SEARCH_ENDED, OnMessage(&MainWindow::OnSearchEnded)},
    {WM_RENDERFORMAT, OnMessage(&MainWindow::OnRenderFormat)},
    {WM_RENDERALLFORMATS, OnMessage(&MainWindow::OnRenderAllFormats)},
    {WM_DESTROYCLIPBOARD, OnMessage(&MainWindow::OnDestroyClipboard)},
    {WM_RESTORE_CLIPBOARD, OnMessage(&MainWindow::OnRestoreClipboard)},
    {WM_MENUSELECT, OnMessage(&MainWindow::OnMenuSelect)},
    {WM_MENUCHAR, OnMessage(&MainWindow::OnMenuChar)},
    {WM_EDIT_HISTORY_ITEM, OnMessage(&MainWindow::OnEditHistoryItem)},
};

const CommandEntry MainWindow::kCommands[] = {
    {ID_APP_EXIT, OnCommand(&MainWindow::OnExit)},
    {ID_APP_ABOUT, OnCommand(&MainWindow::OnAbout)},
    {ID_HELP_FINDER, OnCommand(&MainWindow::OnHelp)},
    {ID_OPTIONS, OnCommand(&MainWindow::OnOptions)},
    {ID_HOTKEY_SETTINGS, OnCommand(&MainWindow::OnHotKeySettings)},
    {ID_EDIT_HISTORY, OnCommand(&MainWindow::OnEditHistory)},
    {ID_SEARCH_HISTORY, OnCommand(&MainWindow::OnSearchHistory)},
    {ID_PAUSE, OnCommand(&MainWindow::OnPause)},
    {ID_CLEAR_CLIPBOARD, OnCommand(&MainWindow::OnClearClipboard)},
};

const MessageMap MainWindow::kMessageMap = {&TrayIcon::kMessageMap, kMessages, std::size(kMessages),
                                            kCommands, std::size(kCommands)};

// Every message comes here before the tables above.
LRESULT MainWindow::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    // Hot keys are dispatched before the tables, and every menu command ends the
    // "menu closed without a command" state before it is routed.
    if (message == WM_HOTKEY) {
        return OnHotKey(wParam, lParam);
    }
    if (message == WM_COMMAND && HIWORD(wParam) == 0) {
        menuTracking_ = false;
    }
    const LRESULT result = TrayIcon::WindowProc(message, wParam, lParam);
    // Every change of the history happens in one of these handlers (a capture, a choice,
    // a delete from the menu, an editor's OK, a load), so looking after each one misses
    // none: the save after every change is asked for, and the search window told.
    bool postSave = false;
    if (store_.TakeChange(&postSave)) {
        search_.HistoryChanged();
    }
    if (postSave) {
        PostMessageA(hwnd(), WM_SAVE_HISTORY, 0, 0);
    }
    return result;
}

MainWindow::MainWindow(Settings& settings)
    : settings_(settings),
      capture_(settings, history_, *this, &IsAnsiLeadByte, &LoadResourceString, &AnsiCodec()),
      tray_(*this, &LoadResourceString),
      shortText_(LoadMacroNames(&LoadResourceString), &IsAnsiLeadByte, AnsiCodec()) {}

MainWindow::~MainWindow() = default;

// ---------------------------------------------------------------------------
// Creation and destruction

LRESULT MainWindow::OnCreate(WPARAM, LPARAM) {
    if (Default() == -1) {
        return -1;
    }
    restorer_.SetOwner(hwnd());
    ReadSettingsAndHistoryWhileTheIconIsAdded();
    CreateHistoryMenu();
    RegisterHotKeys();
    if (!settings_.paused) {
        JoinViewerChainAtStart();
    }
    UpdateTray();
    return 0;
}

LRESULT MainWindow::OnDestroy(WPARAM, LPARAM) {
    restorer_.OnDestroy();
    Default();
    SaveSettingsToRegistry();
    if (settings_.historyDataSave && !DataFileHoldsHistory()) {
        // A failure box may open here; the tray icon still answers until it is deleted.
        ModalGuard modal(modalOpen_, 1);
        SaveHistoryFile();
    }
    FreeShortTextMenus();
    NotifyShell(NIM_DELETE, nullptr, nullptr);
    if (!settings_.paused) {
        LeaveViewerChain();
    }
    if (tray_.animationCountdown() > 0) {
        KillTimer(hwnd(), TIMER_ANIMATION);
    }
    StopAutosaveTimer();
    KillTimer(hwnd(), TIMER_CAPTURE_RETRY);
    KillTimer(hwnd(), TIMER_WRITE_RETRY);
    return 0;
}

LRESULT MainWindow::OnQueryEndSession(WPARAM, LPARAM) {
    if (Default() == FALSE) {
        return FALSE;
    }
    PostMessageA(hwnd(), WM_CLOSE, 0, 0);
    return TRUE;
}

// Windows may end the process as soon as this message returns, before the WM_CLOSE posted
// by WM_QUERYENDSESSION is reached: the settings and the history are saved here instead.
LRESULT MainWindow::OnEndSession(WPARAM wParam, LPARAM) {
    if (wParam) {
        DestroyWindow(hwnd());
    }
    return 0;
}

namespace {

// What the start-up reads from the registry and the disk.
struct StartupReading {
    const ProfileStore& profile;
    ScreenMetrics screen;
    std::string programFolder;
    Settings settings;
    HistoryFileReading history;  // read when the settings ask for it
};

// Registry and files only, no window or message: it runs beside the UI thread.
DWORD WINAPI ReadAtStartup(void* parameter) {
    auto& reading = *static_cast<StartupReading*>(parameter);
    RegistrySettingsStore store(reading.profile);
    reading.settings = LoadSettings(store, reading.screen);
    if (reading.settings.historyDataSave) {
        std::string path = ResolveDataPath(reading.settings.historyDataPath, reading.programFolder,
                                           &IsAnsiLeadByte);
        reading.history =
            ReadHistoryFile(path, ClipHistory(), reading.settings.historyLen, &IsAnsiLeadByte);
    }
    return 0;
}

}  // namespace

// The shell adds the tray icon in its own process, 7-8 ms under Wine, longer than the
// settings and the history take to read: they are read on a thread of their own meanwhile.
void MainWindow::ReadSettingsAndHistoryWhileTheIconIsAdded() {
    ScreenMetrics screen;
    {
        WindowDC dc(hwnd());
        screen.dpiY = dc.get() != nullptr ? GetDeviceCaps(dc.get(), LOGPIXELSY) : 96;
    }
    screen.width = GetSystemMetrics(SM_CXSCREEN);
    screen.height = GetSystemMetrics(SM_CYSCREEN);
    StartupReading reading{TheApp().Profile(), screen, ProgramFolder(), settings_, {}};
    HANDLE reader = CreateThread(nullptr, 0, &ReadAtStartup, &reading, 0, nullptr);
    if (reader == nullptr) {
        ReadAtStartup(&reading);
    }
    tray_.NotifyTrayIcon(TrayMessage::kAdd, IDI_NORMAL, IDS_APP_VERSION);
    if (reader != nullptr) {
        WaitForSingleObject(reader, INFINITE);
        CloseHandle(reader);
    }
    settings_ = reading.settings;
    if (settings_.historyDataSave) {
        TakeHistoryFile(std::move(reading.history), false);
        StartAutosaveTimerIfConfigured();
    }
}

void MainWindow::SaveSettingsToRegistry() {
    RegistrySettingsStore store(TheApp().Profile());
    HWND window = hwnd();
    const Settings& settings = settings_;
    SaveSettings(settings_, store, [window, &settings](int slot) {
        UnregisterHotKey(window, settings.hotKeys[slot].hotKeyId);
    });
}

// ---------------------------------------------------------------------------
// Timers

LRESULT MainWindow::OnTimer(WPARAM wParam, LPARAM) {
    if (wParam == TIMER_ANIMATION) {
        if (tray_.AnimationTick()) {
            UpdateTray();
            capture_.PauseIfFullAfterAnimation();
        }
        return 0;
    }
    if (wParam == TIMER_AUTOSAVE) {
        OnAutosaveTick();
    }
    if (wParam == TIMER_CAPTURE_RETRY) {
        KillTimer(hwnd(), TIMER_CAPTURE_RETRY);
        capture_.RetryCapture();
        return 0;
    }
    if (wParam == TIMER_WRITE_RETRY) {
        KillTimer(hwnd(), TIMER_WRITE_RETRY);
        clipboardWriter_.Retry();
        return 0;
    }
    if (restorer_.OnTimer(wParam)) {
        return 0;
    }
    return Default();
}

void MainWindow::StartAutosaveTimerIfConfigured() {
    if (AutosaveTimerWanted(settings_)) {
        store_.ResetClock();
        SetTimer(hwnd(), TIMER_AUTOSAVE, TIMER_AUTOSAVE_INTERVAL_MS, nullptr);
    }
}

void MainWindow::StopAutosaveTimer() {
    store_.ResetClock();
    KillTimer(hwnd(), TIMER_AUTOSAVE);
}

void MainWindow::OnAutosaveTick() {
    if (store_.AutosaveDue(modalOpen_)) {
        SaveHistoryFile();
    }
}

// ---------------------------------------------------------------------------
// Commands

void MainWindow::OnExit() {
    PostMessageA(hwnd(), WM_CLOSE, 0, 0);
}

void MainWindow::OnAbout() {
    ModalGuard modal(modalOpen_, 1);
    AboutDialog dialog;
    dialog.DoModal(hwnd());
}

void MainWindow::OnHelp() {
    const std::string& path = TheApp().helpFilePath();
    HINSTANCE result = ShellExecuteFile(hwnd(), "open", path.c_str());
    // ShellExecute reports failure as a value of 32 or below.
    if (reinterpret_cast<INT_PTR>(result) <= 32) {
        ShowMessage(hwnd(), FormatString(LoadResourceString(IDS_MSG_HELP_OPEN_FAILED).c_str(),
                                         path.c_str()));
    }
}

void MainWindow::OnEditHistory() {
    EditHistory();
}

void MainWindow::OnPause() {
    capture_.TogglePause();
}

void MainWindow::OnClearClipboard() {
    if (EmptyClipboardOf(hwnd())) {
        UpdateTray();
    }
}

void MainWindow::OnTrayRightClick() {
    ShowTrayMenu(false);
}

void MainWindow::OnTaskbarCreated() {
    tray_.Readd(settings_.paused != 0, capture_.tooltipText());
}

// ---------------------------------------------------------------------------
// Clipboard capture

void MainWindow::JoinViewerChainAtStart() {
    capture_.SetCaptureArmed(settings_.historyStarting != 0);
    // SetClipboardViewer delivers WM_DRAWCLIPBOARD before it returns: with
    // HistoryStarting the current text is captured right here, otherwise the disarmed
    // notification only re-arms.
    JoinViewerChain();
    if (!settings_.historyStarting) {
        capture_.RefreshTooltipFromClipboard();
    }
}

LRESULT MainWindow::OnDrawClipboard(WPARAM, LPARAM) {
    capture_.OnDrawClipboard();
    return Default();
}

LRESULT MainWindow::OnChangeCbChain(WPARAM wParam, LPARAM lParam) {
    Default();
    if (reinterpret_cast<HWND>(wParam) == nextViewer_) {
        nextViewer_ = reinterpret_cast<HWND>(lParam);
    }
    if (nextViewer_ != nullptr) {
        SendMessageA(nextViewer_, WM_CHANGECBCHAIN, wParam, lParam);
    }
    return 0;
}

LRESULT MainWindow::OnDeferredCapture(WPARAM, LPARAM) {
    capture_.CaptureClipboard();
    return 1;
}

LRESULT MainWindow::OnSaveHistory(WPARAM, LPARAM) {
    if (store_.PostedSaveDue()) {
        SaveHistoryFile();
    }
    return 0;
}

LRESULT MainWindow::OnRenderFormat(WPARAM wParam, LPARAM) {
    restorer_.OnRenderFormat(static_cast<UINT>(wParam));
    return 0;
}

LRESULT MainWindow::OnRenderAllFormats(WPARAM, LPARAM) {
    restorer_.OnRenderAllFormats();
    return 0;
}

LRESULT MainWindow::OnDestroyClipboard(WPARAM, LPARAM) {
    restorer_.OnDestroyClipboard();
    return 0;
}

LRESULT MainWindow::OnRestoreClipboard(WPARAM, LPARAM) {
    restorer_.OnRestoreMessage();
    return 0;
}

ClipboardText MainWindow::ReadRawClipboardText(size_t limit, bool* busy) {
    return ReadClipboardTexts(hwnd(), limit, busy);
}

std::string MainWindow::ClipboardOwnerProgram() {
    return varnoke::ClipboardOwnerProgram();
}

void MainWindow::ScheduleCaptureRetry() {
    SetTimer(hwnd(), TIMER_CAPTURE_RETRY, kCaptureRetryDelayMs, nullptr);
}

void MainWindow::ForwardDrawClipboard() {
    if (nextViewer_ != nullptr) {
        SendMessageA(nextViewer_, WM_DRAWCLIPBOARD, 0, 0);
    }
}

void MainWindow::PostDeferredCapture() {
    PostMessageA(hwnd(), WM_DEFERRED_CAPTURE, 0, 0);
}

void MainWindow::JoinViewerChain() {
    nextViewer_ = SetClipboardViewer(hwnd());
}

void MainWindow::LeaveViewerChain() {
    ChangeClipboardChain(hwnd(), nextViewer_);
    // Rejoining delivers a notification before SetClipboardViewer returns the new next
    // viewer; it must not be forwarded to the window that followed us before the pause.
    nextViewer_ = nullptr;
}

void MainWindow::PlayWave(const std::string& path) {
    PlaySoundFile(path.c_str(), SND_ASYNC | SND_NODEFAULT);
}

// ---------------------------------------------------------------------------
// History data file

std::string MainWindow::DataFilePath() const {
    return ResolveDataPath(settings_.historyDataPath, ProgramFolder(), &IsAnsiLeadByte);
}

// True when the data file is, byte for byte, what a save would write now. A temporary file
// that a save cut short by a kill left beside it counts as not: saving again writes over
// that file and renames it into place, so no leftover outlives a clean exit.
bool MainWindow::DataFileHoldsHistory() const {
    std::string path = DataFilePath();
    Win32HistoryFileSystem files;
    return store_.FileHoldsHistory(path, files.Facts(path)) &&
           !files.Exists(MakeTempFileName(path, &IsAnsiLeadByte)) &&
           !files.Exists(MakeTempFileName(MakeExactTextFileName(path), &IsAnsiLeadByte));
}

bool MainWindow::SaveHistoryFile() {
    std::string path = DataFilePath();
    Win32HistoryFileSystem fileSystem;
    std::string failed = path;
    Win32DataProtection protection;
    HistorySaveResult result = SaveHistoryData(
        path, history_, fileSystem, &IsAnsiLeadByte, &store_.damagedDataFile,
        &store_.damagedExactFile, &failed, settings_.historyDataProtect ? &protection : nullptr);
    if (result == HistorySaveResult::kSaved) {
        store_.NoteSaved(path, fileSystem.Facts(path));
    } else {
        store_.NoteSaveFailed();
    }
    switch (result) {
        case HistorySaveResult::kSaved:
            return true;
        case HistorySaveResult::kCannotCreate:
        case HistorySaveResult::kWriteFailed:
            ReportSaveFailure(LoadResourceString(IDS_MSG_SAVE_OPEN_FAILED));
            return false;
        case HistorySaveResult::kCannotDeleteOld:
            ReportSaveFailure(
                FormatString(LoadResourceString(IDS_MSG_SAVE_READ_ONLY).c_str(), failed.c_str()));
            return false;
        case HistorySaveResult::kProtectFailed:
            ReportSaveFailure(LoadResourceString(IDS_MSG_SAVE_PROTECT_FAILED));
            return false;
        case HistorySaveResult::kRenameFailed:
            // The old file was never the problem here: the user is told where the new
            // history waits and what it has to be renamed to.
            ReportSaveFailure(FormatString(LoadResourceString(IDS_MSG_SAVE_RENAME_FAILED).c_str(),
                                           MakeTempFileName(failed, &IsAnsiLeadByte).c_str(),
                                           failed.c_str()));
            return false;
    }
    return false;
}

// No further save, and so no second message, may start from the timer while the
// message is shown.
void MainWindow::ReportSaveFailure(const std::string& message) {
    StopAutosaveTimer();
    ShowMessage(hwnd(), message);
    StartAutosaveTimerIfConfigured();
}

bool MainWindow::LoadHistoryFile(ClipHistory base) {
    return TakeHistoryFile(
        ReadHistoryFile(DataFilePath(), std::move(base), settings_.historyLen, &IsAnsiLeadByte),
        true);
}

bool MainWindow::TakeHistoryFile(HistoryFileReading reading, bool reportUnreadable) {
    int oldLimit = settings_.historyNum;
    const std::string& path = reading.path;
    const HistoryLoadResult& result = reading.result;
    if (!result.ok) {
        store_.NoteLoaded(path, reading.facts, result);
        // A file protected for someone else is no file the user can fix by hand: the message
        // says why at start-up as well, and that the file is kept.
        if (result.unprotectFailed) {
            ModalGuard modal(modalOpen_, 1);
            ShowMessage(hwnd(),
                        FormatString(LoadResourceString(IDS_MSG_HISTORY_UNPROTECTABLE).c_str(),
                                     path.c_str()));
        } else if (reportUnreadable) {
            ModalGuard modal(modalOpen_, 1);
            ShowMessage(hwnd(),
                        FormatString(LoadResourceString(IDS_MSG_HISTORY_LOAD_FAILED).c_str(),
                                     path.c_str()));
        }
        return false;
    }
    history_ = std::move(reading.history);
    store_.NoteLoaded(path, reading.facts, result);
    if (history_.size() > settings_.historyNum) {
        std::string message = FormatRaisedLimitMessage(
            LoadResourceString(IDS_MSG_HISTORY_NUM_EXCEEDED), oldLimit,
            LoadResourceString(IDS_MSG_HISTORY_NUM_RAISED), history_.size(), result.cutShort,
            LoadResourceString(IDS_MSG_HISTORY_CUT));
        settings_.historyNum = history_.size();
        // At start-up the tray icon already answers clicks; its menu must not end the
        // program while the creation sequence waits for this box.
        ModalGuard modal(modalOpen_, 1);
        ShowMessage(hwnd(), message);
    }
    // Both callers show the tray display once they are done; a shell round trip here
    // would only be overwritten.
    return true;
}

// ---------------------------------------------------------------------------
// Tray

void MainWindow::ShowTrayMenu(bool byHotKey) {
    if (modalOpen_) {
        SetForegroundWindow(hwnd());
        return;
    }
    MenuHandle menu(LoadMenuA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDR_MENU)));
    HMENU popup = menu ? GetSubMenu(menu.get(), IDR_MENU_POPUP_TRAY) : nullptr;
    if (popup == nullptr) {
        return;
    }
    CheckMenuItem(popup, ID_PAUSE, MF_BYCOMMAND | (settings_.paused ? MF_CHECKED : MF_UNCHECKED));
    if (!IsClipboardFormatAvailable(CF_TEXT)) {
        EnableMenuItem(popup, ID_CLEAR_CLIPBOARD, MF_BYCOMMAND | MF_GRAYED);
    }
    if (history_.empty()) {
        EnableMenuItem(popup, ID_EDIT_HISTORY, MF_BYCOMMAND | MF_GRAYED);
    }
    // The tray icon's own click always opens the menu at the cursor.
    POINT point = GetPopupPoint(byHotKey ? settings_.popupPos : kPopupAtCursor);
    menuTracking_ = true;
    ShowPopupMenu(popup, hwnd(), point, [this] { calledByHotKey_ = false; });
}

void MainWindow::UpdateTray() {
    capture_.RefreshTray();
}

void MainWindow::UpdateTray(bool paused, const TooltipText& tooltipText) {
    tray_.UpdateTray(paused, tooltipText);
}

void MainWindow::StartCaptureAnimation() {
    tray_.StartCaptureAnimation();
}

// Each picture is loaded the first time the tray shows it: most starts show only one.
HICON MainWindow::IconFor(int iconId) const {
    IconHandle* icon = iconId == IDI_NORMAL    ? &iconNormal_
                       : iconId == IDI_PAUSED  ? &iconPaused_
                       : iconId == IDI_CAPTURE ? &iconCapture_
                                               : nullptr;
    if (icon == nullptr) {
        return nullptr;
    }
    if (!*icon) {
        *icon = IconHandle(static_cast<HICON>(
            LoadImageA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(iconId), IMAGE_ICON,
                       GetSystemMetrics(SM_CXSMICON), GetSystemMetrics(SM_CYSMICON), 0)));
    }
    return icon->get();
}

bool MainWindow::ShellNotify(TrayMessage message, int iconId, const TooltipText* text) {
    DWORD shellMessage = message == TrayMessage::kAdd      ? NIM_ADD
                         : message == TrayMessage::kDelete ? NIM_DELETE
                                                           : NIM_MODIFY;
    return NotifyShell(shellMessage, IconFor(iconId), text);
}

void MainWindow::StartAnimationTimer() {
    SetTimer(hwnd(), TIMER_ANIMATION, TIMER_ANIMATION_INTERVAL_MS, nullptr);
}

void MainWindow::StopAnimationTimer() {
    KillTimer(hwnd(), TIMER_ANIMATION);
}

}  // namespace varnoke
