#include "history/clipboard_write.h"

#include <utility>

namespace varnoke {

void ClipboardWriter::Write(HistoryEntry text, bool paste) {
    text_ = std::move(text);
    paste_ = paste;
    retriesLeft_ = kClipboardWriteRetries;
    Attempt();
}

void ClipboardWriter::Retry() {
    if (waiting_) {
        Attempt();
    }
}

void ClipboardWriter::Attempt() {
    ClipboardWriteResult result = host_.WriteClipboard(text_, paste_);
    if (result == ClipboardWriteResult::kBusy && retriesLeft_ > 0) {
        --retriesLeft_;
        waiting_ = true;
        host_.ScheduleWriteRetry();
        return;
    }
    waiting_ = false;
    HistoryEntry text = std::move(text_);
    text_ = HistoryEntry();
    if (result == ClipboardWriteResult::kWritten) {
        host_.WriteDone(text, paste_);
    } else {
        host_.WriteGivenUp();
    }
}

}  // namespace varnoke
