#include "history/capture.h"

#include <utility>

#include "core/text.h"
#include "history/excluded_programs.h"
#include "res/resource.h"

namespace varnoke {

ClipboardCapture::ClipboardCapture(Settings& settings, ClipHistory& history, CaptureHost& host,
                                   LeadByteTest isLeadByte, LoadStringFn loadString,
                                   const TextCodec* codec)
    : settings_(settings),
      history_(history),
      host_(host),
      isLeadByte_(isLeadByte),
      loadString_(std::move(loadString)),
      codec_(codec) {}

void ClipboardCapture::OnDrawClipboard() {
    host_.ForwardDrawClipboard();
    if (captureArmed_ && !paused()) {
        retriesLeft_ = kCaptureRetries;
        if (settings_.historyCopeWord) {
            host_.PostDeferredCapture();
        } else {
            CaptureClipboard();
        }
    } else {
        // A disarmed notification is skipped exactly once.
        captureArmed_ = true;
    }
}

void ClipboardCapture::CaptureClipboard() {
    captureArmed_ = true;
    bool busy = false;
    HistoryEntry text = ReadEntry(&busy);
    // A held clipboard is no empty one: the copy is taken when the holder lets go. The
    // duplicate rule below keeps a late retry from adding it twice.
    if (busy && retriesLeft_ > 0) {
        --retriesLeft_;
        host_.ScheduleCaptureRetry();
        return;
    }
    Take(std::move(text));
}

void ClipboardCapture::CaptureWrittenText(const HistoryEntry& written) {
    if (!paused()) {
        Take(MakeCapturedEntry(ClipboardText(written.ansi, written.exact), settings_.historyLen,
                               isLeadByte_, codec_));
    }
}

void ClipboardCapture::Take(HistoryEntry text) {
    tooltipText_ = MakeTooltip(text);
    if (text.ansiEmpty()) {
        RefreshTray();
        return;
    }
    if (!history_.empty()) {
        // Only the newest entry is compared; older duplicates are added again.
        if (history_.at(NewestPosition()) == text) {
            return;
        }
        if (!MakeRoomFor()) {
            return;
        }
    }
    if (NewEntriesAtTail(settings_)) {
        history_.Append(std::move(text));
    } else {
        history_.InsertFront(std::move(text));
    }
    AfterCapture();
}

void ClipboardCapture::RetryCapture() {
    if (!paused()) {
        CaptureClipboard();
    }
}

int ClipboardCapture::NewestPosition() const {
    return NewEntriesAtTail(settings_) ? history_.size() - 1 : 0;
}

// False when the text must be dropped because a full list pauses capture instead.
bool ClipboardCapture::MakeRoomFor() {
    if (history_.size() < settings_.historyNum) {
        return true;
    }
    if (settings_.historyStopOverflow) {
        if (!paused()) {
            TogglePause();
        }
        return false;
    }
    history_.RemoveAt(history_.size() - 1 - NewestPosition());
    return true;
}

void ClipboardCapture::AfterCapture() {
    RefreshTray();
    if (settings_.historyAnimation) {
        host_.StartCaptureAnimation();
    }
    if (settings_.historyWave) {
        host_.PlayWave(settings_.historyWavePath);
    }
}

// A copy by an excluded program goes the way of a copy marked secret: it is not read at all,
// so neither the history nor the tray tip ever holds it.
HistoryEntry ClipboardCapture::ReadEntry(bool* busy) {
    if (!settings_.excludePrograms.empty() &&
        IsExcludedProgram(settings_.excludePrograms, host_.ClipboardOwnerProgram(), isLeadByte_)) {
        return HistoryEntry();
    }
    size_t limit = settings_.historyLen > 0 ? static_cast<size_t>(settings_.historyLen) + 1 : 1;
    return MakeCapturedEntry(host_.ReadRawClipboardText(limit, busy), settings_.historyLen,
                             isLeadByte_, codec_);
}

HistoryEntry ClipboardCapture::ReadClipboardText() {
    bool busy = false;
    return ReadEntry(&busy);
}

void ClipboardCapture::TogglePause() {
    if (host_.IsModalOpen()) {
        return;
    }
    // Chain first, flag second: the notification that SetClipboardViewer delivers must
    // still see Paused and only re-arm, so the text copied during the pause is not taken.
    if (paused()) {
        host_.JoinViewerChain();
        SetPaused(0);
    } else {
        host_.LeaveViewerChain();
        SetPaused(1);
    }
}

void ClipboardCapture::SetPaused(int paused) {
    if (settings_.pauseWave) {
        const std::string& wave = paused ? settings_.pause1WavePath : settings_.pause2WavePath;
        if (!wave.empty()) {
            host_.PlayWave(wave);
        }
    }
    settings_.paused = paused;
    if (!paused) {
        RefreshTooltipFromClipboard();
    }
    RefreshTray();
}

void ClipboardCapture::NoteClipboardWritten(const HistoryEntry& text) {
    tooltipText_ = MakeTooltip(text);
    RefreshTray();
}

TooltipText ClipboardCapture::MakeTooltip(const HistoryEntry& text) const {
    TooltipText tip(MakeTooltipText(text.ansi, loadString_(IDS_APP_VERSION), isLeadByte_));
    if (codec_ != nullptr && !text.exact.empty()) {
        tip.exact = MakeWideMenuLabel(text.exact, kTooltipLabelWidth, *codec_);
    }
    return tip;
}

void ClipboardCapture::RefreshTooltipFromClipboard() {
    tooltipText_ = MakeTooltip(ReadClipboardText());
}

void ClipboardCapture::RefreshTray() {
    host_.UpdateTray(paused(), tooltipText_);
}

bool ClipboardCapture::ShouldPauseAfterAnimation() const {
    return settings_.historyStopOverflow && history_.size() >= settings_.historyNum && !paused();
}

void ClipboardCapture::PauseIfFullAfterAnimation() {
    if (ShouldPauseAfterAnimation()) {
        TogglePause();
    }
}

bool IsExcludedFromHistory(bool hasExcludeFormat, bool hasViewerIgnoreFormat,
                           bool hasCanIncludeFormat, uint32_t canIncludeValue) {
    return hasExcludeFormat || hasViewerIgnoreFormat ||
           (hasCanIncludeFormat && canIncludeValue == 0);
}

}  // namespace varnoke
