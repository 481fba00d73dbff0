#pragma once
// Clipboard capture, pause and resume. The main window owns one ClipboardCapture and
// implements CaptureHost; every platform effect goes through the host.

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <utility>

#include "core/mbcs.h"
#include "core/settings.h"
#include "core/string_table.h"
#include "core/text.h"
#include "history/clip_history.h"
#include "history/exact_text.h"

namespace varnoke {

class CaptureHost {
  public:
    virtual ~CaptureHost() = default;
    // CF_TEXT bytes and CF_UNICODETEXT units, each up to the first zero. Only the first
    // `limit` bytes and units are needed; returning more is allowed. Empty when there is no
    // text, the clipboard cannot be opened or locked, or the content is marked secret
    // (IsExcludedFromHistory). `busy` is set when there is text but another program holds
    // the clipboard open.
    virtual ClipboardText ReadRawClipboardText(size_t limit, bool* busy) = 0;
    // The program file (a path, or a name alone) of the process whose window owns the
    // clipboard; empty when no window owns it or its process cannot be asked.
    virtual std::string ClipboardOwnerProgram() = 0;
    // Calls ClipboardCapture::RetryCapture once, about kCaptureRetryDelayMs later, from the
    // message loop.
    virtual void ScheduleCaptureRetry() = 0;
    // Sends WM_DRAWCLIPBOARD on to the next viewer, if there is one.
    virtual void ForwardDrawClipboard() = 0;
    // Posts WM_DEFERRED_CAPTURE to the main window; its handler calls CaptureClipboard.
    virtual void PostDeferredCapture() = 0;
    // SetClipboardViewer. The platform calls OnDrawClipboard before this returns.
    virtual void JoinViewerChain() = 0;
    // ChangeClipboardChain with the next viewer.
    virtual void LeaveViewerChain() = 0;
    // The paused display, or the normal one with `tooltipText`.
    virtual void UpdateTray(bool paused, const TooltipText& tooltipText) = 0;
    virtual void StartCaptureAnimation() = 0;
    // Plays a wave file asynchronously, without the system's default sound.
    virtual void PlayWave(const std::string& path) = 0;
    virtual bool IsModalOpen() = 0;
};

class ClipboardCapture {
  public:
    // Without a codec, copies are kept as ANSI text only.
    ClipboardCapture(Settings& settings, ClipHistory& history, CaptureHost& host,
                     LeadByteTest isLeadByte, LoadStringFn loadString,
                     const TextCodec* codec = nullptr);
    ClipboardCapture(const ClipboardCapture&) = delete;
    ClipboardCapture& operator=(const ClipboardCapture&) = delete;

    // WM_DRAWCLIPBOARD, before the default handling.
    void OnDrawClipboard();
    // Adds the clipboard's text to the history; also the WM_DEFERRED_CAPTURE handler.
    void CaptureClipboard();
    // A capture that found the clipboard held by another program, tried again.
    void RetryCapture();
    // A text the program wrote for a paste that the history is to keep as if copied (a
    // phrase with PasteOnly 0), but whose write is marked as not for clipboard histories
    // and so is not read back: added as CaptureClipboard would add it. Not while paused.
    void CaptureWrittenText(const HistoryEntry& written);
    // The clipboard's text cut to HistoryLen, as a capture would keep it; empty when there
    // is none.
    HistoryEntry ReadClipboardText();
    // Tray command and pause hot key; does nothing while a modal window is open.
    void TogglePause();
    // Enters (1) or leaves (0) the paused state without touching the viewer chain.
    void SetPaused(int paused);
    // After a successful clipboard write of `text` by the program.
    void NoteClipboardWritten(const HistoryEntry& text);
    // tooltipText from the text now on the clipboard (start-up, after the options dialog).
    void RefreshTooltipFromClipboard();
    // UpdateTray for the current state.
    void RefreshTray();
    // End of the capture animation: pause when HistoryStopOverflow and the list is full.
    bool ShouldPauseAfterAnimation() const;
    void PauseIfFullAfterAnimation();

    // The next clipboard change is skipped once (the program's own write).
    void Disarm() { captureArmed_ = false; }
    void SetCaptureArmed(bool armed) { captureArmed_ = armed; }
    bool captureArmed() const { return captureArmed_; }
    const TooltipText& tooltipText() const { return tooltipText_; }
    bool paused() const { return IsPaused(settings_); }

  private:
    void Take(HistoryEntry text);
    HistoryEntry ReadEntry(bool* busy);
    int NewestPosition() const;
    bool MakeRoomFor();
    void AfterCapture();

    Settings& settings_;
    ClipHistory& history_;
    CaptureHost& host_;
    LeadByteTest isLeadByte_;
    LoadStringFn loadString_;
    const TextCodec* codec_;
    bool captureArmed_ = true;
    int retriesLeft_ = 0;
    // The tooltip's preview of an entry, from its exact text where it has one.
    TooltipText MakeTooltip(const HistoryEntry& text) const;

    TooltipText tooltipText_;
};

// A copy arrives while its writer, or another viewer, may still hold the clipboard; the
// capture tries again this many times before the copy is given up. Clipboard tools were seen
// to hold it for two seconds, so the tries span two and a half.
constexpr int kCaptureRetries = 25;
constexpr unsigned kCaptureRetryDelayMs = 100;

// Registered clipboard formats by which other programs mark content that a clipboard
// history must not keep (password managers and the like).
inline constexpr char kExcludeFromMonitorFormat[] = "ExcludeClipboardContentFromMonitorProcessing";
inline constexpr char kViewerIgnoreFormat[] = "Clipboard Viewer Ignore";
inline constexpr char kCanIncludeInHistoryFormat[] = "CanIncludeInClipboardHistory";

// True when the content must not be read for the history. `canIncludeValue` is the DWORD
// stored under kCanIncludeInHistoryFormat; it only counts when that format is present.
bool IsExcludedFromHistory(bool hasExcludeFormat, bool hasViewerIgnoreFormat,
                           bool hasCanIncludeFormat, uint32_t canIncludeValue);

}  // namespace varnoke
