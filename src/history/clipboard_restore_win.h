#pragma once
// The user's clipboard put back after a paste, on Win32: the copy, the entry offered with
// delayed rendering (WM_RENDERFORMAT tells when the target reads it), and the ends that
// must not lose the copy (exit, the end of the session, a crash).

#include <windows.h>

#include <functional>

#include "history/clip_history.h"
#include "history/clipboard_restore.h"
#include "history/clipboard_snapshot_win.h"

namespace varnoke {

struct ClipboardRestoreIds {
    UINT restoreMessage;  // posted to the owner; its handler calls OnRestoreMessage
    UINT_PTR ceilingTimer;
    UINT_PTR retryTimer;
};

class ClipboardRestorer : private PasteRestorePort {
  public:
    // `disarmCapture` runs before each write of the program's own, so that it is not
    // captured.
    ClipboardRestorer(ClipboardRestoreIds ids, std::function<void()> disarmCapture);
    ~ClipboardRestorer() override;
    ClipboardRestorer(const ClipboardRestorer&) = delete;
    ClipboardRestorer& operator=(const ClipboardRestorer&) = delete;

    // The window that owns the program's clipboard writes and receives the messages below.
    void SetOwner(HWND owner) { owner_ = owner; }

    enum class PasteWrite { kOffered, kBusy, kNotRestoring };
    // Copies the clipboard, then makes the entry its content for a paste, marked as not
    // for clipboard histories. kNotRestoring (nothing changed) when the copy would pass the
    // cap: the entry is then written as always. kBusy when another program holds it.
    PasteWrite WriteForPaste(const HistoryEntry& entry);
    void KeysComing() { restore_.KeysComing(); }
    void KeysSent() { restore_.KeysSent(); }

    void OnRenderFormat(UINT format);
    void OnRenderAllFormats();
    void OnDestroyClipboard();
    void OnRestoreMessage() { restore_.OnRestoreDue(); }
    // True when the timer was one of the restore's.
    bool OnTimer(UINT_PTR id);
    // WM_DESTROY: the copy goes back now if it still can.
    void OnDestroy();
    // From the unhandled-exception filter.
    void OnCrash() { restore_.Exiting(); }

  private:
    // PasteRestorePort
    uint32_t ClipboardSequence() override;
    bool ClipboardOwnedByUs() override;
    void PostRestore() override;
    void StartTimer(RestoreTimer timer, unsigned ms) override;
    void StopTimer(RestoreTimer timer) override;
    PutBackResult PutBack(const std::function<bool()>& stillOurs) override;
    void DropSnapshot() override;

    UINT_PTR TimerId(RestoreTimer timer) const;
    void RenderEntry(UINT format);

    ClipboardRestoreIds ids_;
    std::function<void()> disarmCapture_;
    HWND owner_ = nullptr;
    PasteRestore restore_{*this};
    ClipboardSnapshot snapshot_;
    HistoryEntry entry_;
    // The entry's delayed formats are on the clipboard.
    bool entryOffered_ = false;
    // The program empties the clipboard itself: its WM_DESTROYCLIPBOARD is no other's copy.
    bool writing_ = false;
};

}  // namespace varnoke
