#pragma once
// Putting the user's clipboard back after a paste. The chosen entry goes onto the
// clipboard only for the paste: its text is offered with delayed rendering, so the moment
// the target reads it is known, and the copy of what the clipboard held before goes back
// on the next turn of the message loop, or after a ceiling when the target never reads.
// A copy made by anyone in between is never undone. The Win32 side (clipboard_restore_win.h)
// implements the port.

#include <cstdint>
#include <functional>

#include "history/clipboard_snapshot.h"

namespace varnoke {

// A target that never reads the clipboard (one that ignores the keys) gets this long.
constexpr unsigned kRestoreCeilingMs = 2000;
// A restore that finds the clipboard held (the target still reading) tries again.
constexpr unsigned kRestoreRetryDelayMs = 50;
constexpr int kRestoreRetries = 40;

struct RestoreFacts {
    bool optionOn = false;
    SnapshotState snapshot = SnapshotState::kNone;
    bool targetTookText = false;  // a format of the entry was rendered after the keys
    bool ceilingPassed = false;
    bool exiting = false;  // the program ends, and with it the entry's delayed formats
    // The clipboard's sequence number after the program's last write or rendering, and now.
    uint32_t ourSequence = 0;
    uint32_t sequenceNow = 0;
    bool ownerIsUs = false;
};

enum class RestoreDecision { kWait, kRestore, kSkip };

// Skip when there is nothing to put back or the clipboard has changed hands; wait until
// the target has read the entry, the ceiling has passed or the program ends.
RestoreDecision DecideRestore(const RestoreFacts& facts);

enum class RestoreTimer { kCeiling, kRetry };
enum class PutBackResult { kWritten, kBusy, kFailed, kDeclined };

class PasteRestorePort {
  public:
    virtual ~PasteRestorePort() = default;
    virtual uint32_t ClipboardSequence() = 0;
    virtual bool ClipboardOwnedByUs() = 0;
    // Calls PasteRestore::OnRestoreDue from the message loop, once this turn is over.
    virtual void PostRestore() = 0;
    virtual void StartTimer(RestoreTimer timer, unsigned ms) = 0;
    virtual void StopTimer(RestoreTimer timer) = 0;
    // Opens the clipboard and, if `stillOurs()` (asked while it is open) is true, puts the
    // copy back as the program's own, uncaptured write; the copy is then used up. kBusy
    // when another program holds the clipboard, kDeclined when `stillOurs()` said no.
    virtual PutBackResult PutBack(const std::function<bool()>& stillOurs) = 0;
    // The copy is not wanted any more.
    virtual void DropSnapshot() = 0;
};

class PasteRestore {
  public:
    explicit PasteRestore(PasteRestorePort& port) : port_(port) {}
    PasteRestore(const PasteRestore&) = delete;
    PasteRestore& operator=(const PasteRestore&) = delete;

    // The entry is on the clipboard, offered for rendering, with the copy taken.
    void Began();
    // The paste keys are about to go: from now on a rendering is the target's read (one
    // before is another clipboard viewer's).
    void KeysComing();
    // The keys have gone: the ceiling starts, unless the target has read already.
    void KeysSent();
    // A format of the entry was rendered; the sequence number is read again, since the
    // system may count a rendering as a change.
    void Rendered();
    void OnRestoreDue();
    void OnTimer(RestoreTimer timer);
    // WM_DESTROYCLIPBOARD while the program was not writing: another program emptied it.
    void ClipboardTaken();
    // The program ends (WM_RENDERALLFORMATS, WM_DESTROY): the copy goes back now, if ever.
    void Exiting();
    bool pending() const { return state_ != State::kIdle; }
    // A restore is pending and nobody has written to the clipboard since the program did:
    // a second paste then keeps the copy, which is still the user's clipboard.
    bool ClipboardStillOurs();
    // Forgets a pending restore, dropping the copy.
    void Abandon();

  private:
    enum class State { kIdle, kBeforeKeys, kWaitingForRead, kDue };
    RestoreFacts Facts();
    bool StillOurs();
    void Attempt();
    void End(bool putBack);

    PasteRestorePort& port_;
    State state_ = State::kIdle;
    uint32_t ourSequence_ = 0;
    bool targetTookText_ = false;
    bool ceilingPassed_ = false;
    bool exiting_ = false;
    int retriesLeft_ = 0;
};

}  // namespace varnoke
