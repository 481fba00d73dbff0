#include "history/clipboard_restore_win.h"

#include <utility>

#include "framework/handles_win.h"
#include "history/clipboard_win.h"

namespace varnoke {

namespace {

// The restorer whose copy a crash is to put back, and the filter that was there before.
ClipboardRestorer* crashRestorer = nullptr;
LPTOP_LEVEL_EXCEPTION_FILTER previousFilter = nullptr;

// A crash between the paste and the restore would take the user's clipboard with it: the
// copy lives only in this process, and the entry's delayed formats die with their owner.
LONG WINAPI PutBackBeforeCrash(EXCEPTION_POINTERS* exception) {
    if (ClipboardRestorer* restorer = std::exchange(crashRestorer, nullptr)) {
        restorer->OnCrash();
    }
    return previousFilter != nullptr ? previousFilter(exception) : EXCEPTION_CONTINUE_SEARCH;
}

}  // namespace

ClipboardRestorer::ClipboardRestorer(ClipboardRestoreIds ids, std::function<void()> disarmCapture)
    : ids_(ids), disarmCapture_(std::move(disarmCapture)) {
    if (crashRestorer == nullptr) {
        crashRestorer = this;
        previousFilter = SetUnhandledExceptionFilter(&PutBackBeforeCrash);
    }
}

ClipboardRestorer::~ClipboardRestorer() {
    if (crashRestorer == this) {
        crashRestorer = nullptr;
        SetUnhandledExceptionFilter(previousFilter);
    }
}

ClipboardRestorer::PasteWrite ClipboardRestorer::WriteForPaste(const HistoryEntry& entry) {
    {
        ClipboardLock clipboard(owner_);
        if (!clipboard.IsOpen()) {
            return PasteWrite::kBusy;
        }
        // A paste before the last one's restore: the clipboard holds only that entry, and
        // the copy is still the user's clipboard.
        if (!restore_.ClipboardStillOurs()) {
            restore_.Abandon();
            if (snapshot_.Take() != SnapshotState::kTaken) {
                snapshot_.Clear();
                return PasteWrite::kNotRestoring;
            }
        }
        // Null data: the system asks the owner for it when a program reads it.
        writing_ = true;
        EmptyClipboard();
        if (!entry.exact.empty()) {
            SetClipboardData(CF_UNICODETEXT, nullptr);
        }
        SetClipboardData(CF_TEXT, nullptr);
        MarkAsNotForHistories();
        writing_ = false;
        entry_ = entry;
        entryOffered_ = true;
    }
    // After the close, which the system may count as a change of its own.
    restore_.Began();
    return PasteWrite::kOffered;
}

void ClipboardRestorer::RenderEntry(UINT format) {
    HGLOBAL data = EntryFormatData(entry_, format);
    if (data != nullptr && SetClipboardData(format, data) == nullptr) {
        GlobalFree(data);
    }
}

void ClipboardRestorer::OnRenderFormat(UINT format) {
    if (!entryOffered_) {
        return;
    }
    // The clipboard is open by the reader; the data goes in without opening it.
    RenderEntry(format);
    restore_.Rendered();
}

// The owner is being destroyed with the entry's formats still unrendered: the copy goes
// back if it still may, otherwise the entry's formats are rendered, so that no reader
// finds a format without data.
void ClipboardRestorer::OnRenderAllFormats() {
    restore_.Exiting();
    if (!entryOffered_) {
        return;
    }
    ClipboardLock clipboard(owner_);
    if (clipboard.IsOpen() && GetClipboardOwner() == owner_) {
        if (!entry_.exact.empty()) {
            RenderEntry(CF_UNICODETEXT);
        }
        RenderEntry(CF_TEXT);
    }
    entryOffered_ = false;
}

void ClipboardRestorer::OnDestroyClipboard() {
    if (writing_) {
        return;
    }
    entryOffered_ = false;
    restore_.ClipboardTaken();
}

bool ClipboardRestorer::OnTimer(UINT_PTR id) {
    if (id == ids_.ceilingTimer) {
        restore_.OnTimer(RestoreTimer::kCeiling);
        return true;
    }
    if (id == ids_.retryTimer) {
        restore_.OnTimer(RestoreTimer::kRetry);
        return true;
    }
    return false;
}

void ClipboardRestorer::OnDestroy() {
    restore_.Exiting();
    if (crashRestorer == this) {
        crashRestorer = nullptr;
        SetUnhandledExceptionFilter(previousFilter);
    }
}

uint32_t ClipboardRestorer::ClipboardSequence() {
    return GetClipboardSequenceNumber();
}

bool ClipboardRestorer::ClipboardOwnedByUs() {
    return owner_ != nullptr && GetClipboardOwner() == owner_;
}

void ClipboardRestorer::PostRestore() {
    PostMessageA(owner_, ids_.restoreMessage, 0, 0);
}

UINT_PTR ClipboardRestorer::TimerId(RestoreTimer timer) const {
    return timer == RestoreTimer::kCeiling ? ids_.ceilingTimer : ids_.retryTimer;
}

void ClipboardRestorer::StartTimer(RestoreTimer timer, unsigned ms) {
    SetTimer(owner_, TimerId(timer), ms, nullptr);
}

void ClipboardRestorer::StopTimer(RestoreTimer timer) {
    KillTimer(owner_, TimerId(timer));
}

PutBackResult ClipboardRestorer::PutBack(const std::function<bool()>& stillOurs) {
    ClipboardLock clipboard(owner_);
    if (!clipboard.IsOpen()) {
        return PutBackResult::kBusy;
    }
    if (!stillOurs()) {
        return PutBackResult::kDeclined;
    }
    disarmCapture_();
    writing_ = true;
    EmptyClipboard();
    snapshot_.PutBack();
    MarkAsNotForHistories();
    writing_ = false;
    entryOffered_ = false;
    return PutBackResult::kWritten;
}

void ClipboardRestorer::DropSnapshot() {
    snapshot_.Clear();
}

}  // namespace varnoke
