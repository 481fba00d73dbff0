#include "history/clipboard_restore.h"

#include <gtest/gtest.h>

#include <deque>
#include <string>
#include <vector>

namespace varnoke {
namespace {

// A clipboard seen through its sequence number and owner; the log records what the
// restore asked for.
class FakeRestorePort : public PasteRestorePort {
  public:
    uint32_t sequence = 100;
    bool ours = true;
    std::deque<PutBackResult> putBacks;  // kWritten once the script ends
    bool copyWhileOpening = false;       // another program copies just before the open
    std::vector<std::string> log;

    std::string Last() const { return log.empty() ? std::string() : log.back(); }
    // Another program's copy.
    void OtherProgramCopies() {
        ++sequence;
        ours = false;
    }

    uint32_t ClipboardSequence() override { return sequence; }
    bool ClipboardOwnedByUs() override { return ours; }
    void PostRestore() override { log.push_back("post"); }
    void StartTimer(RestoreTimer timer, unsigned ms) override {
        log.push_back(std::string(timer == RestoreTimer::kCeiling ? "ceiling " : "retry ") +
                      std::to_string(ms));
    }
    void StopTimer(RestoreTimer) override {}
    PutBackResult PutBack(const std::function<bool()>& stillOurs) override {
        PutBackResult result = PutBackResult::kWritten;
        if (!putBacks.empty()) {
            result = putBacks.front();
            putBacks.pop_front();
        }
        if (copyWhileOpening) {
            OtherProgramCopies();
        }
        if (result == PutBackResult::kWritten && !stillOurs()) {
            result = PutBackResult::kDeclined;
        }
        log.push_back(result == PutBackResult::kWritten ? "put back"
                      : result == PutBackResult::kBusy  ? "busy"
                                                        : "declined");
        if (result == PutBackResult::kWritten) {
            ++sequence;  // the program's own write
        }
        return result;
    }
    void DropSnapshot() override { log.push_back("drop"); }
};

using Log = std::vector<std::string>;

RestoreFacts Due() {
    RestoreFacts facts;
    facts.optionOn = true;
    facts.snapshot = SnapshotState::kTaken;
    facts.targetTookText = true;
    facts.ourSequence = 7;
    facts.sequenceNow = 7;
    facts.ownerIsUs = true;
    return facts;
}

TEST(DecideRestore, RestoresOnlyWhatWasCopiedAndOnlyWhileTheClipboardIsStillOurs) {
    EXPECT_EQ(DecideRestore(Due()), RestoreDecision::kRestore);
    RestoreFacts off = Due();
    off.optionOn = false;
    EXPECT_EQ(DecideRestore(off), RestoreDecision::kSkip);
    for (SnapshotState state : {SnapshotState::kNone, SnapshotState::kTooBig}) {
        RestoreFacts facts = Due();
        facts.snapshot = state;
        EXPECT_EQ(DecideRestore(facts), RestoreDecision::kSkip);
    }
    RestoreFacts copied = Due();
    copied.sequenceNow = 8;  // a copy by a program that took ownership with our window
    EXPECT_EQ(DecideRestore(copied), RestoreDecision::kSkip);
    RestoreFacts owner = Due();
    owner.ownerIsUs = false;  // the sequence number wrapped or was not counted
    EXPECT_EQ(DecideRestore(owner), RestoreDecision::kSkip);
}

TEST(DecideRestore, WaitsForTheReadTheCeilingOrTheEnd) {
    RestoreFacts facts = Due();
    facts.targetTookText = false;
    EXPECT_EQ(DecideRestore(facts), RestoreDecision::kWait);
    facts.ceilingPassed = true;
    EXPECT_EQ(DecideRestore(facts), RestoreDecision::kRestore);
    facts.ceilingPassed = false;
    facts.exiting = true;
    EXPECT_EQ(DecideRestore(facts), RestoreDecision::kRestore);
    // A copy by someone else is never waited for.
    facts.exiting = false;
    facts.ownerIsUs = false;
    EXPECT_EQ(DecideRestore(facts), RestoreDecision::kSkip);
}

class PasteRestoreTest : public testing::Test {
  protected:
    // The entry is written and the keys go out.
    void Paste() {
        restore_.Began();
        restore_.KeysComing();
        restore_.KeysSent();
    }
    FakeRestorePort port_;
    PasteRestore restore_{port_};
};

TEST_F(PasteRestoreTest, TheTargetsReadPutsTheCopyBackOnTheNextTurn) {
    Paste();
    ++port_.sequence;  // the system may count the rendering as a change
    restore_.Rendered();
    EXPECT_EQ(port_.log, (Log{"ceiling 2000", "post"}));
    // A second format read in the same opening asks for nothing more.
    restore_.Rendered();
    EXPECT_EQ(port_.log.size(), 2u);
    restore_.OnRestoreDue();
    EXPECT_EQ(port_.Last(), "put back");
    EXPECT_FALSE(restore_.pending());
    // The ceiling found nothing left to do.
    restore_.OnTimer(RestoreTimer::kCeiling);
    EXPECT_EQ(port_.log.size(), 3u);
}

TEST_F(PasteRestoreTest, AReadDuringTheKeysCountsOneBeforeThemDoesNot) {
    restore_.Began();
    restore_.Rendered();  // another clipboard viewer, right after the write
    restore_.OnRestoreDue();
    EXPECT_TRUE(port_.log.empty());
    restore_.KeysComing();
    restore_.Rendered();  // the target, while the keys are still going down
    restore_.KeysSent();
    EXPECT_EQ(port_.log, (Log{"post"}));
    restore_.OnRestoreDue();
    EXPECT_EQ(port_.Last(), "put back");
}

TEST_F(PasteRestoreTest, ATargetThatNeverReadsGetsTheCopyBackAfterTheCeiling) {
    Paste();
    restore_.OnRestoreDue();  // nothing posted, nothing done
    EXPECT_EQ(port_.log, (Log{"ceiling 2000"}));
    restore_.OnTimer(RestoreTimer::kCeiling);
    EXPECT_EQ(port_.Last(), "put back");
    EXPECT_FALSE(restore_.pending());
}

TEST_F(PasteRestoreTest, ACopyByAnotherProgramIsNeverUndone) {
    // Before the read: the ceiling finds the clipboard changed hands.
    Paste();
    port_.OtherProgramCopies();
    restore_.OnTimer(RestoreTimer::kCeiling);
    EXPECT_EQ(port_.log, (Log{"ceiling 2000", "drop"}));
    EXPECT_FALSE(restore_.pending());

    // Between the read and the restore, with our window kept as the owner (a program that
    // opened the clipboard with a foreign window handle): the sequence number tells.
    port_.log.clear();
    port_.ours = true;
    Paste();
    restore_.Rendered();
    ++port_.sequence;
    restore_.OnRestoreDue();
    EXPECT_EQ(port_.log, (Log{"ceiling 2000", "post", "drop"}));

    // Told by WM_DESTROYCLIPBOARD.
    port_.log.clear();
    Paste();
    restore_.ClipboardTaken();
    EXPECT_EQ(port_.log, (Log{"ceiling 2000", "drop"}));
    restore_.OnTimer(RestoreTimer::kCeiling);
    EXPECT_EQ(port_.log.size(), 2u);
}

TEST_F(PasteRestoreTest, ACopyMadeWhileTheClipboardIsOpenForTheRestoreIsNotOverwritten) {
    Paste();
    restore_.Rendered();
    port_.copyWhileOpening = true;  // after the restore's first look, before its write
    restore_.OnRestoreDue();
    EXPECT_EQ(port_.log, (Log{"ceiling 2000", "post", "declined", "drop"}));
    EXPECT_FALSE(restore_.pending());
}

TEST_F(PasteRestoreTest, AHeldClipboardIsTriedAgainForAWhileThenGivenUp) {
    Paste();
    restore_.Rendered();
    port_.putBacks = {PutBackResult::kBusy, PutBackResult::kBusy};
    restore_.OnRestoreDue();
    EXPECT_EQ(port_.Last(), "retry 50");
    restore_.OnTimer(RestoreTimer::kRetry);
    restore_.OnTimer(RestoreTimer::kRetry);
    EXPECT_EQ(port_.Last(), "put back");

    port_.log.clear();
    Paste();
    restore_.Rendered();
    port_.putBacks.assign(kRestoreRetries + 1, PutBackResult::kBusy);
    restore_.OnRestoreDue();
    for (int i = 0; i < kRestoreRetries; ++i) {
        restore_.OnTimer(RestoreTimer::kRetry);
    }
    EXPECT_EQ(port_.Last(), "drop");
    EXPECT_FALSE(restore_.pending());
}

TEST_F(PasteRestoreTest, TheEndOfTheProgramPutsTheCopyBackAtOnce) {
    Paste();
    restore_.Exiting();
    EXPECT_EQ(port_.Last(), "put back");
    EXPECT_FALSE(restore_.pending());
    // A held clipboard at the end is not waited for.
    port_.log.clear();
    Paste();
    port_.putBacks = {PutBackResult::kBusy};
    restore_.Exiting();
    EXPECT_EQ(port_.log, (Log{"ceiling 2000", "busy", "drop"}));
    // Nothing pending: nothing happens.
    port_.log.clear();
    restore_.Exiting();
    EXPECT_TRUE(port_.log.empty());
}

TEST_F(PasteRestoreTest, ASecondPasteKeepsTheCopyOnlyWhileTheClipboardIsStillOurs) {
    EXPECT_FALSE(restore_.ClipboardStillOurs());
    Paste();
    EXPECT_TRUE(restore_.ClipboardStillOurs());
    port_.OtherProgramCopies();
    EXPECT_FALSE(restore_.ClipboardStillOurs());
    restore_.Abandon();
    EXPECT_EQ(port_.Last(), "drop");
    EXPECT_FALSE(restore_.pending());
}

}  // namespace
}  // namespace varnoke
