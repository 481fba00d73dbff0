#include "app/main_window_win.h"

#include <shellapi.h>

#include <iterator>

#include "app/app_messages.h"
#include "app/registry_settings_win.h"
#include "app/varnoke_app_win.h"
#include "dialogs/about_dialog_win.h"
#include "framework/strings_win.h"
#include "res/resource.h"

namespace varnoke {

const MessageEntry MainWindow::kMessages[] = {
    {WM_CREATE, OnMessage(&MainWindow::OnCreate)},
    {WM_DESTROY, OnMessage(&MainWindow::OnDestroy)},
    {WM_QUERYENDSESSION, OnMessage(&MainWindow::OnQueryEndSession)},
    {WM_TIMER, OnMessage(&MainWindow::OnTimer)},
};

const CommandEntry MainWindow::kCommands[] = {
    {ID_APP_EXIT, OnCommand(&MainWindow::OnExit)},
    {ID_APP_ABOUT, OnCommand(&MainWindow::OnAbout)},
    {ID_HELP_FINDER, OnCommand(&MainWindow::OnHelp)},
    {ID_OPTIONS, OnCommand(&MainWindow::OnOptions)},
    {ID_HOTKEY_SETTINGS, OnCommand(&MainWindow::OnHotKeySettings)},
    {ID_EDIT_HISTORY, OnCommand(&MainWindow::OnEditHistory)},
};

const MessageMap MainWindow::kMessageMap = {&TrayIcon::kMessageMap, kMessages,
                                            std::size(kMessages), kCommands,
                                            std::size(kCommands)};

MainWindow::MainWindow(Settings& settings) : settings_(settings), tray_(*this) {}

MainWindow::~MainWindow() = default;

// ---------------------------------------------------------------------------
// Creation and destruction

LRESULT MainWindow::OnCreate(WPARAM, LPARAM) {
    if (Default() == -1) {
        return -1;
    }
    LoadSettingsFromRegistry();
    HINSTANCE instance = GetModuleHandleA(nullptr);
    auto loadIcon = [instance](int id) {
        return IconHandle(static_cast<HICON>(LoadImageA(instance, MAKEINTRESOURCEA(id), IMAGE_ICON,
                                                        GetSystemMetrics(SM_CXSMICON),
                                                        GetSystemMetrics(SM_CYSMICON), 0)));
    };
    iconNormal_ = loadIcon(IDI_NORMAL);
    iconPaused_ = loadIcon(IDI_PAUSED);
    iconCapture_ = loadIcon(IDI_CAPTURE);
    tray_.NotifyTrayIcon(TrayMessage::kAdd, kIconNormal, kTextVersion);
    tooltipText_ = LoadResourceString(IDS_APP_VERSION);
    if (settings_.historyDataSave) {
        LoadHistoryAtStart();
        StartAutosaveTimerIfConfigured();
    }
    CreateHistoryMenu();
    RegisterHotKeys();
    if (!settings_.paused) {
        JoinViewerChainAtStart();
    }
    UpdateTray();
    return 0;
}

LRESULT MainWindow::OnDestroy(WPARAM, LPARAM) {
    Default();
    SaveSettingsToRegistry();
    if (settings_.historyDataSave) {
        SaveHistoryAtExit();
    }
    FreeShortTextMenus();
    NotifyShell(NIM_DELETE, nullptr, nullptr);
    if (!settings_.paused) {
        LeaveViewerChainAtExit();
    }
    if (tray_.animationCountdown() > 0) {
        KillTimer(hwnd(), TIMER_ANIMATION);
    }
    autosaveMinutes_ = 0;
    KillTimer(hwnd(), TIMER_AUTOSAVE);
    return 0;
}

LRESULT MainWindow::OnQueryEndSession(WPARAM, LPARAM) {
    if (Default() == FALSE) {
        return FALSE;
    }
    PostMessageA(hwnd(), WM_CLOSE, 0, 0);
    return TRUE;
}

void MainWindow::LoadSettingsFromRegistry() {
    ScreenMetrics screen;
    {
        WindowDC dc(hwnd());
        screen.dpiY = dc.get() != nullptr ? GetDeviceCaps(dc.get(), LOGPIXELSY) : 96;
    }
    screen.width = GetSystemMetrics(SM_CXSCREEN);
    screen.height = GetSystemMetrics(SM_CYSCREEN);
    RegistrySettingsStore store(TheApp().Profile());
    settings_ = LoadSettings(store, screen);
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
        }
        return 0;
    }
    if (wParam == TIMER_AUTOSAVE) {
        OnAutosaveTick();
    }
    return Default();
}

void MainWindow::StartAutosaveTimerIfConfigured() {
    if (settings_.historyAutoSave && settings_.historySaveInterval >= 1) {
        autosaveMinutes_ = 0;
        SetTimer(hwnd(), TIMER_AUTOSAVE, TIMER_AUTOSAVE_INTERVAL_MS, nullptr);
    }
}

void MainWindow::OnAutosaveTick() {
    ++autosaveMinutes_;
    // While a modal window is open the count keeps growing, so the save happens at
    // the first tick after it closes.
    if (autosaveMinutes_ >= settings_.historySaveInterval && settings_.historyAutoSave &&
        !modalOpen_) {
        if (historyDirty_) {
            SaveHistoryAtExit();
        }
        autosaveMinutes_ = 0;
    }
}

// ---------------------------------------------------------------------------
// Commands

void MainWindow::OnExit() { PostMessageA(hwnd(), WM_CLOSE, 0, 0); }

void MainWindow::OnAbout() { RunModal(&MainWindow::ShowAboutDialog); }

void MainWindow::ShowAboutDialog() {
    AboutDialog dialog;
    dialog.DoModal(hwnd());
}

void MainWindow::RunModal(void (MainWindow::*body)()) {
    modalOpen_ = 1;
    (this->*body)();
    modalOpen_ = 0;
}

void MainWindow::OnHelp() {
    const std::string& path = TheApp().helpFilePath();
    ShellExecuteA(hwnd(), "open", path.c_str(), nullptr, nullptr, SW_SHOWNORMAL);
}

void MainWindow::OnOptions() {}
void MainWindow::OnHotKeySettings() {}
void MainWindow::OnEditHistory() {}

void MainWindow::OnTrayRightClick() {}
void MainWindow::OnTrayLeftClick() {}

void MainWindow::OnTaskbarCreated() { tray_.Readd(settings_.paused != 0, tooltipText_); }

// ---------------------------------------------------------------------------
// Hooks of subsystems still to come

void MainWindow::LoadHistoryAtStart() {}
void MainWindow::CreateHistoryMenu() {}
void MainWindow::RegisterHotKeys() {}
void MainWindow::JoinViewerChainAtStart() {}
void MainWindow::SaveHistoryAtExit() {}
void MainWindow::FreeShortTextMenus() {}
void MainWindow::LeaveViewerChainAtExit() {}

// ---------------------------------------------------------------------------
// Tray

void MainWindow::UpdateTray() { tray_.UpdateTray(settings_.paused != 0, tooltipText_); }

HICON MainWindow::IconFor(int iconId) const {
    switch (iconId) {
        case kIconNormal:
            return iconNormal_.get();
        case kIconPaused:
            return iconPaused_.get();
        case kIconCapture:
            return iconCapture_.get();
        default:
            return nullptr;
    }
}

bool MainWindow::ShellNotify(TrayMessage message, int iconId, const std::string* text) {
    DWORD shellMessage = message == TrayMessage::kAdd      ? NIM_ADD
                         : message == TrayMessage::kDelete ? NIM_DELETE
                                                           : NIM_MODIFY;
    return NotifyShell(shellMessage, IconFor(iconId), text != nullptr ? text->c_str() : nullptr);
}

std::string MainWindow::LoadText(int stringId) {
    return LoadResourceString(static_cast<UINT>(stringId));
}

void MainWindow::StartAnimationTimer() {
    SetTimer(hwnd(), TIMER_ANIMATION, TIMER_ANIMATION_INTERVAL_MS, nullptr);
}

void MainWindow::StopAnimationTimer() { KillTimer(hwnd(), TIMER_ANIMATION); }

}  // namespace varnoke
