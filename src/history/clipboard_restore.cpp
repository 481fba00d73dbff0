#include "history/clipboard_restore.h"

namespace varnoke {

RestoreDecision DecideRestore(const RestoreFacts& facts) {
    if (!facts.optionOn || facts.snapshot != SnapshotState::kTaken) {
        return RestoreDecision::kSkip;
    }
    // Someone copied since the program's write (the user, another program): that copy is
    // what the user wants on the clipboard now.
    if (facts.sequenceNow != facts.ourSequence || !facts.ownerIsUs) {
        return RestoreDecision::kSkip;
    }
    if (!facts.targetTookText && !facts.ceilingPassed && !facts.exiting) {
        return RestoreDecision::kWait;
    }
    return RestoreDecision::kRestore;
}

void PasteRestore::Began() {
    port_.StopTimer(RestoreTimer::kCeiling);
    port_.StopTimer(RestoreTimer::kRetry);
    state_ = State::kBeforeKeys;
    ourSequence_ = port_.ClipboardSequence();
    targetTookText_ = false;
    ceilingPassed_ = false;
    exiting_ = false;
    retriesLeft_ = kRestoreRetries;
}

void PasteRestore::KeysComing() {
    if (state_ == State::kBeforeKeys) {
        state_ = State::kWaitingForRead;
    }
}

void PasteRestore::KeysSent() {
    if (state_ == State::kWaitingForRead) {
        port_.StartTimer(RestoreTimer::kCeiling, kRestoreCeilingMs);
    }
}

void PasteRestore::Rendered() {
    if (state_ == State::kIdle) {
        return;
    }
    ourSequence_ = port_.ClipboardSequence();
    if (state_ == State::kWaitingForRead) {
        // Not from inside the rendering: the target still holds the clipboard open, and may
        // read another format of the entry.
        targetTookText_ = true;
        state_ = State::kDue;
        port_.StopTimer(RestoreTimer::kCeiling);
        port_.PostRestore();
    }
}

void PasteRestore::OnRestoreDue() {
    if (state_ == State::kDue) {
        Attempt();
    }
}

void PasteRestore::OnTimer(RestoreTimer timer) {
    port_.StopTimer(timer);
    if (timer == RestoreTimer::kCeiling && state_ == State::kWaitingForRead) {
        ceilingPassed_ = true;
        state_ = State::kDue;
        Attempt();
    } else if (timer == RestoreTimer::kRetry && state_ == State::kDue) {
        Attempt();
    }
}

void PasteRestore::ClipboardTaken() {
    if (state_ != State::kIdle) {
        End(false);
    }
}

void PasteRestore::Exiting() {
    if (state_ == State::kIdle) {
        return;
    }
    exiting_ = true;
    state_ = State::kDue;
    Attempt();
}

RestoreFacts PasteRestore::Facts() {
    RestoreFacts facts;
    facts.optionOn = true;
    facts.snapshot = SnapshotState::kTaken;
    facts.targetTookText = targetTookText_;
    facts.ceilingPassed = ceilingPassed_;
    facts.exiting = exiting_;
    facts.ourSequence = ourSequence_;
    facts.sequenceNow = port_.ClipboardSequence();
    facts.ownerIsUs = port_.ClipboardOwnedByUs();
    return facts;
}

bool PasteRestore::ClipboardStillOurs() {
    if (state_ == State::kIdle) {
        return false;
    }
    const RestoreFacts facts = Facts();
    return facts.sequenceNow == facts.ourSequence && facts.ownerIsUs;
}

void PasteRestore::Abandon() {
    if (state_ != State::kIdle) {
        End(false);
    }
}

bool PasteRestore::StillOurs() {
    return DecideRestore(Facts()) == RestoreDecision::kRestore;
}

void PasteRestore::Attempt() {
    const RestoreDecision decision = DecideRestore(Facts());
    if (decision == RestoreDecision::kWait) {
        return;
    }
    if (decision == RestoreDecision::kSkip) {
        End(false);
        return;
    }
    switch (port_.PutBack([this] { return StillOurs(); })) {
        case PutBackResult::kWritten:
            End(true);
            return;
        case PutBackResult::kBusy:
            // At exit there is no later: the entry's formats are rendered instead.
            if (!exiting_ && retriesLeft_ > 0) {
                --retriesLeft_;
                port_.StartTimer(RestoreTimer::kRetry, kRestoreRetryDelayMs);
                return;
            }
            End(false);
            return;
        case PutBackResult::kFailed:
        case PutBackResult::kDeclined:
            End(false);
            return;
    }
}

void PasteRestore::End(bool putBack) {
    state_ = State::kIdle;
    port_.StopTimer(RestoreTimer::kCeiling);
    port_.StopTimer(RestoreTimer::kRetry);
    if (!putBack) {
        port_.DropSnapshot();
    }
}

}  // namespace varnoke
