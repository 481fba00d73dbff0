#pragma once
// The hidden main window: the hub that every message of the program reaches.

#include <windows.h>

#include <string>

#include "app/settings.h"
#include "framework/handles_win.h"
#include "history/capture.h"
#include "history/clip_history.h"
#include "tray/tray_icon_win.h"
#include "tray/tray_model.h"

namespace varnoke {

class MainWindow : public TrayIcon, private TrayPort, private CaptureHost {
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

    // Clipboard capture.
    LRESULT OnDrawClipboard(WPARAM wParam, LPARAM lParam);
    LRESULT OnChangeCbChain(WPARAM wParam, LPARAM lParam);
    LRESULT OnDeferredCapture(WPARAM wParam, LPARAM lParam);

    // Commands of the tray menu.
    void OnExit();
    void OnAbout();
    void OnHelp();
    void OnOptions();
    void OnHotKeySettings();
    void OnEditHistory();
    void OnPause();
    void OnClearClipboard();

    // Later subsystems hook in here; each does nothing until its subsystem exists.
    void CreateHistoryMenu();
    void RegisterHotKeys();
    void FreeShortTextMenus();
    void ShowHistoryMenu();

    // The history data file.
    std::string DataFilePath() const;
    bool LoadHistoryFile();
    void ReportSaveFailure(const std::string& message);

    void JoinViewerChainAtStart();
    void ShowTrayMenu(bool byHotKey);

    void LoadSettingsFromRegistry();
    void SaveSettingsToRegistry();
    void StartAutosaveTimerIfConfigured();
    void OnAutosaveTick();
    void UpdateTray();
    void StopAutosaveTimer();
    void RunModal(void (MainWindow::*body)());
    void ShowAboutDialog();

    // TrayPort
    bool ShellNotify(TrayMessage message, int iconId, const std::string* text) override;
    std::string LoadText(int stringId) override;
    void StartAnimationTimer() override;
    void StopAnimationTimer() override;

    // CaptureHost
    std::string ReadRawClipboardText(size_t limit) override;
    void ForwardDrawClipboard() override;
    void PostDeferredCapture() override;
    void JoinViewerChain() override;
    void LeaveViewerChain() override;
    void UpdateTray(bool paused, const std::string& tooltipText) override;
    void StartCaptureAnimation() override;
    void PlayWave(const std::string& path) override;
    bool SaveHistoryFile() override;
    bool IsModalOpen() override { return modalOpen_ != 0; }
    std::string VersionText() override;

    HICON IconFor(int iconId) const;

    Settings& settings_;
    ClipHistory history_;
    ClipboardCapture capture_;
    TrayModel tray_;
    IconHandle iconNormal_;
    IconHandle iconPaused_;
    IconHandle iconCapture_;
    HWND nextViewer_ = nullptr;

    int modalOpen_ = 0;
    int autosaveMinutes_ = 0;
    int calledByHotKey_ = 0;
    int menuTracking_ = 0;
};

}  // namespace varnoke
