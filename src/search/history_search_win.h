#pragma once
// The history search window: an edit box that filters the history as the user types, and
// the list of the entries that contain the typed text. It is modeless: capture, the saves,
// the tray, the hot keys and exit all go on while it is open, for as long as it is.

#include <windows.h>

#include <memory>
#include <optional>
#include <vector>

#include "core/settings.h"
#include "history/clip_history.h"
#include "search/history_search.h"

namespace varnoke {

struct HistorySearchArgs {
    const ClipHistory& history;  // must outlive the window
    bool newestAtTail;           // NewEntriesAtTail(settings)
    std::vector<SearchPhrase> phrases;
    // Where the user left the window last time ({0, 0, 0, 0}: centred); written back as it
    // closes. Must outlive the window.
    WindowRect* place;
    // Posted to the owner when the user closes the window: wParam IDOK when an entry was
    // chosen (Enter, a double click; TakeChoice then gives it), IDCANCEL otherwise.
    UINT endedMessage;
};

class HistorySearchDialog;

class HistorySearchWindow {
  public:
    HistorySearchWindow();
    ~HistorySearchWindow();
    HistorySearchWindow(const HistorySearchWindow&) = delete;
    HistorySearchWindow& operator=(const HistorySearchWindow&) = delete;

    // Opens the window over `owner`; false when it could not be created.
    bool Open(HWND owner, const HistorySearchArgs& args);
    bool IsOpen() const;
    HWND hwnd() const;
    // In front and restored, as the user left it otherwise.
    void BringToFront();
    // The history changed: the list filters again.
    void HistoryChanged();
    // The entry chosen as the window closed, once.
    std::optional<HistorySearchModel::Choice> TakeChoice();

  private:
    std::unique_ptr<HistorySearchDialog> dialog_;
};

}  // namespace varnoke
