#include "history/clipboard_write.h"

#include <gtest/gtest.h>

#include <deque>
#include <string>
#include <vector>

#include "support/dual_texts.h"

namespace varnoke {
namespace {

// Answers each write with the next scripted result (kWritten once the script ends).
class FakeWriteHost : public ClipboardWriteHost {
  public:
    std::deque<ClipboardWriteResult> results;
    std::vector<HistoryEntry> attempts;
    std::vector<HistoryEntry> done;
    std::vector<bool> pasted;
    int retriesScheduled = 0;
    int givenUp = 0;

    ClipboardWriteResult WriteClipboard(const HistoryEntry& text, bool) override {
        attempts.push_back(text);
        if (results.empty()) {
            return ClipboardWriteResult::kWritten;
        }
        ClipboardWriteResult r = results.front();
        results.pop_front();
        return r;
    }
    void ScheduleWriteRetry() override { ++retriesScheduled; }
    void WriteDone(const HistoryEntry& text, bool paste) override {
        done.push_back(text);
        pasted.push_back(paste);
    }
    void WriteGivenUp() override { ++givenUp; }
};

TEST(ClipboardWriterTest, AHeldClipboardIsWrittenWhenTheHolderLetsGoAndThePasteFollows) {
    FakeWriteHost host;
    ClipboardWriter writer(host);
    host.results = {ClipboardWriteResult::kBusy, ClipboardWriteResult::kBusy};
    writer.Write(HistoryEntry("alpha"), true);
    EXPECT_TRUE(host.done.empty());
    EXPECT_TRUE(writer.waiting());
    writer.Retry();
    writer.Retry();
    EXPECT_EQ(host.done, AnsiTexts({"alpha"}));
    EXPECT_EQ(host.pasted, std::vector<bool>{true});
    EXPECT_EQ(host.retriesScheduled, 2);
    EXPECT_FALSE(writer.waiting());
    // A stray timer after the write does nothing.
    writer.Retry();
    EXPECT_EQ(host.attempts.size(), 3u);

    writer.Write(HistoryEntry("beta"), false);
    EXPECT_EQ(host.done, AnsiTexts({"alpha", "beta"}));
    EXPECT_EQ(host.pasted, (std::vector<bool>{true, false}));
    EXPECT_EQ(host.givenUp, 0);
}

TEST(ClipboardWriterTest, GivesUpAfterTheRetriesOrAtOnceOnAnotherFailure) {
    FakeWriteHost host;
    ClipboardWriter writer(host);
    host.results.assign(kClipboardWriteRetries + 1, ClipboardWriteResult::kBusy);
    writer.Write(HistoryEntry("alpha"), true);
    for (int i = 0; i < kClipboardWriteRetries; ++i) {
        writer.Retry();
    }
    EXPECT_EQ(host.attempts.size(), static_cast<size_t>(kClipboardWriteRetries + 1));
    EXPECT_EQ(host.givenUp, 1);
    EXPECT_TRUE(host.done.empty());
    EXPECT_FALSE(writer.waiting());

    host.results = {ClipboardWriteResult::kFailed};
    writer.Write(HistoryEntry("beta"), true);
    EXPECT_EQ(host.givenUp, 2);
    EXPECT_EQ(host.retriesScheduled, kClipboardWriteRetries);
}

TEST(ClipboardWriterTest, ANewChoiceReplacesOneStillWaiting) {
    FakeWriteHost host;
    ClipboardWriter writer(host);
    host.results = {ClipboardWriteResult::kBusy, ClipboardWriteResult::kBusy};
    writer.Write(HistoryEntry("old"), true);
    writer.Write(HistoryEntry("new"), false);
    writer.Retry();
    EXPECT_EQ(host.done, AnsiTexts({"new"}));
    EXPECT_EQ(host.pasted, std::vector<bool>{false});
    EXPECT_EQ(host.givenUp, 0);
}

}  // namespace
}  // namespace varnoke
