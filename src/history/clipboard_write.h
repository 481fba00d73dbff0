#pragma once
// The program's own writes to the clipboard: a chosen history entry, a phrase. A write that
// finds the clipboard held by another program is tried again a few times from a timer, as a
// capture is, and the paste that was to follow it follows the write that succeeds. The
// message loop never blocks on the holder.

#include <string>

#include "history/clip_history.h"

namespace varnoke {

enum class ClipboardWriteResult { kWritten, kBusy, kFailed };

class ClipboardWriteHost {
  public:
    virtual ~ClipboardWriteHost() = default;
    // Makes `text` the clipboard's only content (its exact text too, when it has one);
    // kBusy when another program holds it open. `paste` when the paste keystroke follows.
    virtual ClipboardWriteResult WriteClipboard(const HistoryEntry& text, bool paste) = 0;
    // Calls ClipboardWriter::Retry once, about kClipboardWriteRetryDelayMs later, from the
    // message loop.
    virtual void ScheduleWriteRetry() = 0;
    // `text` is on the clipboard; `paste` when the paste keystroke is to follow.
    virtual void WriteDone(const HistoryEntry& text, bool paste) = 0;
    // The write failed for good: the clipboard holds what it held before.
    virtual void WriteGivenUp() = 0;
};

// As long as a capture waits (kCaptureRetries): a chosen entry is pasted late rather than lost.
constexpr int kClipboardWriteRetries = 25;
constexpr unsigned kClipboardWriteRetryDelayMs = 100;

class ClipboardWriter {
  public:
    explicit ClipboardWriter(ClipboardWriteHost& host) : host_(host) {}
    ClipboardWriter(const ClipboardWriter&) = delete;
    ClipboardWriter& operator=(const ClipboardWriter&) = delete;

    // Writes now, or keeps the text for the retries when the clipboard is held. A write
    // still waiting is replaced: the user's latest choice is the one that counts.
    void Write(HistoryEntry text, bool paste);
    // The retry timer.
    void Retry();
    bool waiting() const { return waiting_; }

  private:
    void Attempt();

    ClipboardWriteHost& host_;
    HistoryEntry text_;
    bool paste_ = false;
    bool waiting_ = false;
    int retriesLeft_ = 0;
};

}  // namespace varnoke
