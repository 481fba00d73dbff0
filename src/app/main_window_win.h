#pragma once
// The hidden main window: the hub that every message of the program reaches.

#include <windows.h>

#include <cstdint>
#include <optional>
#include <string>

#include "core/app_messages.h"
#include "core/settings.h"
#include "dialogs/options.h"
#include "framework/handles_win.h"
#include "framework/scoped_value.h"
#include "history/capture.h"
#include "history/clip_history.h"
#include "history/clipboard_restore_win.h"
#include "history/clipboard_write.h"
#include "history/history_file_win.h"
#include "history/history_save.h"
#include "history/history_store.h"
#include "history/shown_history.h"
#include "menus/paste_win.h"
#include "search/history_search_win.h"
#include "shorttext/short_text_menu_win.h"
#include "shorttext/short_text_menus.h"
#include "tray/tray_icon_win.h"
#include "tray/tray_model.h"

namespace varnoke {

class MainWindow : public TrayIcon,
                   private TrayPort,
                   private CaptureHost,
                   private ClipboardWriteHost {
  public:
    explicit MainWindow(Settings& settings);
    ~MainWindow() override;

    static const MessageMap kMessageMap;

  protected:
    static const MessageEntry kMessages[];
    static const CommandEntry kCommands[];
    const MessageMap* GetMessageMap() const override { return &kMessageMap; }

    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    bool DispatchMenuCommand(UINT id) override;

    void OnTrayRightClick() override;
    void OnTrayLeftClick() override;
    void OnTaskbarCreated() override;

  private:
    // Creation and destruction sequences.
    LRESULT OnCreate(WPARAM wParam, LPARAM lParam);
    LRESULT OnDestroy(WPARAM wParam, LPARAM lParam);
    LRESULT OnQueryEndSession(WPARAM wParam, LPARAM lParam);
    LRESULT OnEndSession(WPARAM wParam, LPARAM lParam);
    LRESULT OnTimer(WPARAM wParam, LPARAM lParam);

    // Clipboard capture.
    LRESULT OnDrawClipboard(WPARAM wParam, LPARAM lParam);
    LRESULT OnChangeCbChain(WPARAM wParam, LPARAM lParam);
    LRESULT OnDeferredCapture(WPARAM wParam, LPARAM lParam);
    LRESULT OnSaveHistory(WPARAM wParam, LPARAM lParam);
    // The user's clipboard put back after a paste.
    LRESULT OnRenderFormat(WPARAM wParam, LPARAM lParam);
    LRESULT OnRenderAllFormats(WPARAM wParam, LPARAM lParam);
    LRESULT OnDestroyClipboard(WPARAM wParam, LPARAM lParam);
    LRESULT OnRestoreClipboard(WPARAM wParam, LPARAM lParam);

    // Commands of the tray menu.
    void OnExit();
    void OnAbout();
    void OnHelp();
    void OnOptions();
    void OnHotKeySettings();
    void OnEditHistory();
    void OnSearchHistory();
    void OnPause();
    void OnClearClipboard();

    // ---- The dialogs' call-side flows (main_window_dialogs_win.cpp)
    // Options (command 32772).
    void ApplyHistoryFileAction(HistoryFileAction action);
    // Hot-key settings (command 32773).
    // History editor (command 32777 and its hot key).
    void EditHistory();
    // Entry editor, from Space in the history menu.
    LRESULT OnEditHistoryItem(WPARAM wParam, LPARAM lParam);
    void OpenEntryFromMenu(int shownPosition);
    // A flag or the pause state held for the length of a modal window. A window may open
    // from inside another one's loop (a hot-key menu over the version dialog), so each
    // goes back to what it was rather than to 0.
    using ModalGuard = ScopedValue<bool>;
    ModalGuard PauseCapture();

    // Global hot keys.
    void RegisterHotKeys();
    void ReportHotKeyFailure(int slot);
    LRESULT OnHotKey(WPARAM wParam, LPARAM lParam);
    // Around the hot-key dialog: free the keys so they can be pressed in it, then
    // register the new keys after OK (reporting failures), or the old ones again,
    // silently, after Cancel.
    void UnregisterHotKeysForDialog();
    void RegisterHotKeysAfterDialogOk();
    void ReregisterHotKeysAfterDialogCancel();

    // The history menu.
    void CreateHistoryMenu();
    void ShowHistoryMenu();
    bool BuildHistoryMenu();
    // Puts the entry on the clipboard, then pastes it when `paste`.
    void ChooseHistoryItem(int index, bool paste);
    void ChooseHistoryCommand(UINT id);
    void PasteIntoTarget();
    // The search window (its hot key, and command 32778): the chosen entry goes the way of
    // a history-menu choice, pasted into the window that was in front when it came from
    // the hot key.
    void SearchHistory(bool byHotKey);
    LRESULT OnSearchEnded(WPARAM wParam, LPARAM lParam);
    LRESULT OnMenuSelect(WPARAM wParam, LPARAM lParam);
    LRESULT OnMenuChar(WPARAM wParam, LPARAM lParam);
    // Space and Shift+Backspace on the highlighted entry of `menu`; true when the key
    // acted and the menu is to close.
    bool OnHistoryMenuKey(char key, HMENU menu);

    // The short-text menus.
    void ShowShortTextMenu(int slot);
    // Gives the popup menus the model's state; false when there is nothing to track.
    bool SyncShortTextPopupMenus(bool rebuilt);
    void PerformShortTextItem(int lineIndex);
    void PasteShortText(const ShortTextAction& action, bool paste = true);
    // The phrase lines of the five files, for the search window.
    std::vector<SearchPhrase> SearchablePhrases() const;
    void PerformSearchedPhrase(const SearchPhrase& phrase, bool paste);
    void FreeShortTextMenus();
    // Space in an open short-text menu; true when the menu is to close.
    bool OnShortTextMenuKey(char key);
    // The current slot's path setting made absolute; empty when no slot is current.
    std::string CurrentShortTextPath() const;

    // The history data file.
    std::string DataFilePath() const;
    // Reads the file on top of `base`; the result becomes the history only when the file
    // could be read, so a bad file never costs the history it was to join or replace.
    // A file that cannot be read is reported, as the load question's answer asked for it.
    bool LoadHistoryFile(ClipHistory base);
    // A file protected for another user is reported always, any other unreadable file when
    // `reportUnreadable`.
    bool TakeHistoryFile(HistoryFileReading reading, bool reportUnreadable);
    void ReportSaveFailure(const std::string& message);

    void JoinViewerChainAtStart();
    void ShowTrayMenu(bool byHotKey);

    void ReadSettingsAndHistoryWhileTheIconIsAdded();
    void SaveSettingsToRegistry();
    void StartAutosaveTimerIfConfigured();
    void OnAutosaveTick();
    void UpdateTray();
    void StopAutosaveTimer();

    // TrayPort
    bool ShellNotify(TrayMessage message, int iconId, const TooltipText* text) override;
    void StartAnimationTimer() override;
    void StopAnimationTimer() override;

    // CaptureHost
    ClipboardText ReadRawClipboardText(size_t limit, bool* busy) override;
    std::string ClipboardOwnerProgram() override;
    void ScheduleCaptureRetry() override;
    void ForwardDrawClipboard() override;
    void PostDeferredCapture() override;
    void JoinViewerChain() override;
    void LeaveViewerChain() override;
    void UpdateTray(bool paused, const TooltipText& tooltipText) override;
    void StartCaptureAnimation() override;
    void PlayWave(const std::string& path) override;
    bool SaveHistoryFile();
    bool DataFileHoldsHistory() const;
    bool IsModalOpen() override { return modalOpen_; }

    // ClipboardWriteHost
    ClipboardWriteResult WriteClipboard(const HistoryEntry& text, bool paste) override;
    void ScheduleWriteRetry() override;
    void WriteDone(const HistoryEntry& text, bool paste) override;
    void WriteGivenUp() override;

    HICON IconFor(int iconId) const;

    Settings& settings_;
    ClipHistory history_;
    HistoryStore store_{settings_, history_};
    ClipboardCapture capture_;
    ClipboardWriter clipboardWriter_{*this};
    ClipboardRestorer restorer_{{WM_RESTORE_CLIPBOARD, TIMER_RESTORE_CEILING, TIMER_RESTORE_RETRY},
                                [this] { capture_.Disarm(); }};
    TrayModel tray_;
    mutable IconHandle iconNormal_;
    mutable IconHandle iconPaused_;
    mutable IconHandle iconCapture_;
    HWND nextViewer_ = nullptr;

    bool modalOpen_ = false;
    bool calledByHotKey_ = false;
    bool menuTracking_ = false;
    bool shortTextBusy_ = false;
    bool entryEditBusy_ = false;
    // The phrase being written is to join the history although its write is marked as not
    // for clipboard histories (PasteOnly 0 with PasteRestoreClipboard).
    bool captureWrittenPhrase_ = false;
    DWORD menuClosedTick_ = 0;
    TargetInFrontSince targetInFront_;
    UINT highlightedItemId_ = 0;

    MenuHandle historyMenu_;
    // What the menu showed, so a choice made after a capture moved the entries still
    // pastes the text the user saw.
    ShownHistory shownHistory_;
    // The history menu's own loop is running: a second showing would destroy the menu
    // under it.
    bool historyMenuOpen_ = false;
    // The shown position Space asked to edit, posted once the menu loop has ended: Wine's
    // EndMenu only posts the menu its end, and a message posted before it would run the
    // entry editor inside the menu loop, with the mouse still captured by the menu.
    std::optional<int> editAfterMenu_;
    // The data file Space asked to open, opened once the short-text menu has closed: the
    // shell may wait for a slow editor to come up, and the menu would stay on the screen.
    std::string openAfterMenu_;

    // The search window, and the window that was in front when it was asked for, where its
    // choice is pasted when the hot key asked.
    HistorySearchWindow search_;
    HWND searchTarget_ = nullptr;
    bool searchByHotKey_ = false;
    std::vector<SearchPhrase> searchPhrases_;  // what the open search window was given

    ShortTextMenus shortText_;
    ShortTextPopupMenus shortTextMenus_;
};

}  // namespace varnoke
