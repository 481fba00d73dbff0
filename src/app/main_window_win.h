#pragma once
// The hidden main window: the hub that every message of the program reaches.

#include <windows.h>

#include <string>

#include "app/settings.h"
#include "framework/handles_win.h"
#include "tray/tray_icon_win.h"
#include "tray/tray_model.h"

namespace varnoke {

class MainWindow : public TrayIcon, private TrayPort {
public:
    explicit MainWindow(Settings& settings);
    ~MainWindow() override;

    static const MessageMap kMessageMap;

protected:
    static const MessageEntry kMessages[];
    static const CommandEntry kCommands[];
    const MessageMap* GetMessageMap() const override { return &kMessageMap; }

    void OnTrayRightClick() override;
    void OnTrayLeftClick() override;
    void OnTaskbarCreated() override;

private:
    // Creation and destruction sequences.
    LRESULT OnCreate(WPARAM wParam, LPARAM lParam);
    LRESULT OnDestroy(WPARAM wParam, LPARAM lParam);
    LRESULT OnQueryEndSession(WPARAM wParam, LPARAM lParam);
    LRESULT OnTimer(WPARAM wParam, LPARAM lParam);

    // Commands of the tray menu.
    void OnExit();
    void OnAbout();
    void OnHelp();
    void OnOptions();
    void OnHotKeySettings();
    void OnEditHistory();

    // Later subsystems hook in here; each does nothing until its subsystem exists.
    void LoadHistoryAtStart();
    void CreateHistoryMenu();
    void RegisterHotKeys();
    void JoinViewerChainAtStart();
    void SaveHistoryAtExit();
    void FreeShortTextMenus();
    void LeaveViewerChainAtExit();

    void LoadSettingsFromRegistry();
    void SaveSettingsToRegistry();
    void StartAutosaveTimerIfConfigured();
    void OnAutosaveTick();
    void UpdateTray();
    void RunModal(void (MainWindow::*body)());
    void ShowAboutDialog();

    // TrayPort
    bool ShellNotify(TrayMessage message, int iconId, const std::string* text) override;
    std::string LoadText(int stringId) override;
    void StartAnimationTimer() override;
    void StopAnimationTimer() override;

    HICON IconFor(int iconId) const;

    Settings& settings_;
    TrayModel tray_;
    IconHandle iconNormal_;
    IconHandle iconPaused_;
    IconHandle iconCapture_;
    std::string tooltipText_;

    int modalOpen_ = 0;
    int autosaveMinutes_ = 0;
    int historyDirty_ = 0;
};

}  // namespace varnoke
