#include "history/capture.h"

#include <gtest/gtest.h>

#include "support/cp932_codec.h"
#include "support/dual_texts.h"

#include <algorithm>
#include <string>
#include <vector>

#include "res/resource.h"

namespace varnoke {
namespace {

using Texts = std::vector<std::string>;
const char kVersion[] = "Varnoke ver. 0.32";

// Like SetClipboardViewer, JoinViewerChain delivers a notification before it returns.
class FakeHost : public CaptureHost {
  public:
    std::string clipboard, tooltip, owner;
    std::u16string wideClipboard, wideTooltip;
    bool modalOpen = false, trayPaused = false;
    size_t limit = 0;
    int heldElsewhere = 0;  // reads that find the clipboard held by another program
    ClipboardCapture* capture = nullptr;
    Texts events, waves;

    ClipboardText ReadRawClipboardText(size_t maxBytes, bool* busy) override {
        limit = maxBytes;
        *busy = heldElsewhere > 0;
        if (heldElsewhere > 0) {
            --heldElsewhere;
            return ClipboardText();
        }
        return ClipboardText(clipboard, wideClipboard);
    }
    std::string ClipboardOwnerProgram() override {
        events.push_back("owner");
        return owner;
    }
    void ScheduleCaptureRetry() override { events.push_back("retry"); }
    void ForwardDrawClipboard() override { events.push_back("forward"); }
    void PostDeferredCapture() override { events.push_back("post"); }
    void JoinViewerChain() override { capture->OnDrawClipboard(); }
    void LeaveViewerChain() override { events.push_back("leave"); }
    void UpdateTray(bool paused, const TooltipText& text) override {
        events.push_back("tray");
        trayPaused = paused;
        tooltip = text.ansi;
        wideTooltip = text.exact;
    }
    void StartCaptureAnimation() override { events.push_back("animate"); }
    void PlayWave(const std::string& path) override { waves.push_back(path); }
    bool IsModalOpen() override { return modalOpen; }
    bool Saw(const char* e) const { return std::count(events.begin(), events.end(), e) > 0; }
};

class CaptureTest : public ::testing::Test {
  protected:
    CaptureTest() { host.capture = &capture; }
    void Copy(const std::string& text) {
        host.clipboard = text;
        capture.OnDrawClipboard();
    }
    void Fill(const Texts& texts) {
        for (const std::string& t : texts) {
            history.Append(HistoryEntry(t));
        }
    }

    Settings settings;
    ClipHistory history;
    FakeHost host;
    ClipboardCapture capture{settings, history, host, IsCp932LeadByte,
                             [](unsigned id) { return id == IDS_APP_VERSION ? kVersion : ""; }};
};

TEST_F(CaptureTest, OnlyTheNewestEntryCountsAsDuplicate) {
    for (const char* text : {"A", "A", "B", "A"}) {
        Copy(text);
    }
    EXPECT_EQ(history.entries(), AnsiTexts({"A", "B", "A"}));
    EXPECT_EQ(host.events.front(), "forward");
}

// A phrase written for a paste whose write is marked as not for clipboard histories joins
// the history as a copy of it would: cut to HistoryLen, once at the newest end, not while
// paused, with the tooltip and the tray's capture display.
TEST_F(CaptureTest, AWrittenTextJoinsTheHistoryAsItsCopyWould) {
    settings.historyLen = 5;
    settings.historyAnimation = 1;
    Fill({"old"});
    capture.CaptureWrittenText(HistoryEntry("phrase text"));
    capture.CaptureWrittenText(HistoryEntry("phrase text"));
    EXPECT_EQ(history.entries(), AnsiTexts({"phras", "old"}));
    EXPECT_EQ(host.tooltip, "phras");
    EXPECT_TRUE(host.Saw("animate"));
    settings.paused = 1;
    capture.CaptureWrittenText(HistoryEntry("other"));
    EXPECT_EQ(history.size(), 2);
}

TEST_F(CaptureTest, FullListDropsTheOldestAtEitherInsertPosition) {
    settings.historyNum = 2;
    Fill({"B", "A"});
    Copy("C");
    EXPECT_EQ(history.entries(), AnsiTexts({"C", "B"}));
    history.Clear();
    settings.historyInsertPos = 1;
    Fill({"A", "B"});
    Copy("C");
    Copy("C");
    EXPECT_EQ(history.entries(), AnsiTexts({"B", "C"}));
}

TEST_F(CaptureTest, OutOfRangeInsertPosAndPausedActAsHeadAndPaused) {
    // HistoryInsertPos 2 acts as 0: new entries at the head, the oldest dropped at the
    // tail, nothing overwritten.
    settings.historyInsertPos = 2;
    settings.historyNum = 2;
    Fill({"B", "A"});
    Copy("C");
    Copy("C");
    EXPECT_EQ(history.entries(), AnsiTexts({"C", "B"}));
    // Paused 2 is paused, and a single toggle resumes.
    settings.paused = 2;
    Copy("D");
    EXPECT_EQ(history.entries(), AnsiTexts({"C", "B"}));
    capture.TogglePause();
    EXPECT_EQ(settings.paused, 0);
    Copy("E");
    EXPECT_EQ(history.entries(), AnsiTexts({"E", "C"}));
}

TEST_F(CaptureTest, StopOverflowPausesInsteadOfDropping) {
    settings.historyNum = 2;
    settings.historyStopOverflow = settings.pauseWave = 1;
    settings.pause1WavePath = "pause.wav";
    Copy("A");
    EXPECT_FALSE(capture.ShouldPauseAfterAnimation());
    Copy("B");
    EXPECT_TRUE(capture.ShouldPauseAfterAnimation());
    Copy("C");
    EXPECT_EQ(history.entries(), AnsiTexts({"B", "A"}));
    EXPECT_EQ(settings.paused, 1);
    EXPECT_TRUE(host.Saw("leave") && host.trayPaused);
    EXPECT_EQ(host.waves, Texts{"pause.wav"});
    EXPECT_FALSE(capture.ShouldPauseAfterAnimation());
}

TEST_F(CaptureTest, AnimationEndPausesAFullListOnce) {
    settings.historyNum = 2;
    settings.historyStopOverflow = 1;
    Fill({"A", "B"});
    capture.PauseIfFullAfterAnimation();
    EXPECT_EQ(settings.paused, 1);
    host.events.clear();
    capture.PauseIfFullAfterAnimation();
    EXPECT_TRUE(host.events.empty());
}

TEST_F(CaptureTest, DisarmSkipsExactlyOneNotification) {
    capture.Disarm();
    Copy("A");
    EXPECT_TRUE(history.empty() && capture.captureArmed());
    Copy("B");
    EXPECT_EQ(history.entries(), AnsiTexts({"B"}));
}

TEST_F(CaptureTest, CopeWordPostsInsteadOfCapturing) {
    settings.historyCopeWord = 1;
    Copy("A");
    EXPECT_EQ(host.events, (Texts{"forward", "post"}));
    EXPECT_TRUE(history.empty());
    capture.CaptureClipboard();
    EXPECT_EQ(history.entries(), AnsiTexts({"A"}));
}

TEST_F(CaptureTest, ResumeDoesNotCaptureTextCopiedDuringThePause) {
    settings.pauseWave = 1;
    settings.pause1WavePath = "p1.wav";
    settings.pause2WavePath = "p2.wav";
    Copy("A");
    capture.TogglePause();
    Copy("secret");  // paused editors stay in the chain, so notifications still come
    capture.TogglePause();
    EXPECT_EQ(settings.paused, 0);
    EXPECT_EQ(history.entries(), AnsiTexts({"A"}));
    EXPECT_EQ(host.tooltip, "secret");
    EXPECT_FALSE(host.trayPaused);
    EXPECT_EQ(host.waves, (Texts{"p1.wav", "p2.wav"}));
    Copy("B");
    EXPECT_EQ(history.entries(), AnsiTexts({"B", "A"}));
}

TEST_F(CaptureTest, PauseGuardsAndSilentWaves) {
    host.modalOpen = true;
    capture.TogglePause();
    EXPECT_EQ(settings.paused, 0);
    EXPECT_TRUE(host.events.empty());
    settings.pauseWave = 1;
    capture.SetPaused(1);
    EXPECT_TRUE(host.waves.empty());
}

TEST_F(CaptureTest, TextIsCutToHistoryLen) {
    settings.historyLen = 5;
    for (const char* text : {"abcdefg", "abcd\x95\x5Cz", "abcde"}) {
        Copy(text);
    }
    EXPECT_EQ(history.entries(), AnsiTexts({"abcde", "abcd", "abcde"}));
    EXPECT_EQ(host.limit, 6u);
}

TEST_F(CaptureTest, NoTextSetsVersionTooltipAndAddsNothing) {
    Copy("");
    EXPECT_TRUE(history.empty());
    EXPECT_EQ(capture.tooltipText().ansi, kVersion);
    EXPECT_EQ(host.events.back(), "tray");
}

// A copy by a listed program counts as no text at all, at a capture and for the tray tip
// when capture resumes; the same program under another name is recorded.
TEST_F(CaptureTest, ACopyByAnExcludedProgramIsNeitherRecordedNorShown) {
    host.owner = "C:\\Program Files\\Bitwarden\\bitwarden.EXE";
    Copy("visible");
    EXPECT_TRUE(history.empty());
    EXPECT_EQ(host.tooltip, kVersion);
    capture.SetPaused(1);
    capture.SetPaused(0);
    EXPECT_EQ(host.tooltip, kVersion);
    EXPECT_EQ(host.limit, 0u) << "the clipboard was read";

    for (const char* other : {"C:\\Program Files\\Bitwarden\\Renamed.exe", ""}) {
        host.owner = other;
        Copy(other[0] != 0 ? "renamed" : "no owner");
    }
    EXPECT_EQ(history.entries(), AnsiTexts({"no owner", "renamed"}));
    EXPECT_EQ(host.tooltip, "no owner");

    // An empty list turns the rule off, and the owner is not even asked for.
    settings.excludePrograms.clear();
    host.events.clear();
    host.owner = "C:\\KeePass.exe";
    Copy("kept");
    EXPECT_EQ(history.at(0).ansi, "kept");
    EXPECT_FALSE(host.Saw("owner"));
}

TEST_F(CaptureTest, CaptureEffectsFollowTheSettings) {
    settings.historyWave = 1;
    settings.historyWavePath = "in.wav";
    Copy("a\tb");
    EXPECT_EQ(host.tooltip, "a  b");
    EXPECT_TRUE(host.Saw("animate"));
    EXPECT_EQ(host.waves, Texts{"in.wav"});

    host.events.clear();
    settings.historyAnimation = 0;
    Copy("b");
    EXPECT_FALSE(host.Saw("animate"));
}

TEST_F(CaptureTest, ACopyFoundHeldElsewhereIsTakenWhenTheHolderLetsGo) {
    host.heldElsewhere = 2;
    Copy("held");
    EXPECT_TRUE(history.empty());
    EXPECT_EQ(std::count(host.events.begin(), host.events.end(), "retry"), 1);
    // The held clipboard is not taken for an empty one.
    EXPECT_EQ(host.tooltip, "");
    capture.RetryCapture();
    EXPECT_TRUE(history.empty());
    capture.RetryCapture();
    EXPECT_EQ(history.entries(), AnsiTexts({"held"}));
    // A retry that arrives late finds the same text and adds nothing.
    capture.RetryCapture();
    EXPECT_EQ(history.entries(), AnsiTexts({"held"}));
}

TEST_F(CaptureTest, ACopyHeldTooLongIsGivenUpAfterTheRetries) {
    host.heldElsewhere = 100;
    Copy("never");
    for (int i = 0; i < kCaptureRetries + 5; ++i) {
        capture.RetryCapture();
    }
    EXPECT_TRUE(history.empty());
    EXPECT_EQ(std::count(host.events.begin(), host.events.end(), "retry"), kCaptureRetries);
    // The next copy gets its own retries.
    host.heldElsewhere = 1;
    Copy("next");
    capture.RetryCapture();
    EXPECT_EQ(history.entries(), AnsiTexts({"next"}));
}

TEST_F(CaptureTest, NoRetryCapturesAfterAPause) {
    host.heldElsewhere = 1;
    Copy("held");
    capture.SetPaused(1);
    capture.RetryCapture();
    EXPECT_TRUE(history.empty());
}

// A Unicode copy that the code page cannot hold is an entry of its own, and the tooltip
// previews its exact text.
TEST(ExactCaptureTest, EmojiThatReadAlikeAreTwoEntriesAndTheTooltipShowsThem) {
    const samples::Cp932Codec codec;
    Settings settings;
    ClipHistory history;
    FakeHost host;
    ClipboardCapture capture(
        settings, history, host, IsCp932LeadByte, [](unsigned) { return std::string(); }, &codec);
    host.capture = &capture;
    for (const char16_t* emoji : {u"\U0001F600", u"\U0001F60E", u"\U0001F60E"}) {
        host.clipboard = codec.ToAnsi(emoji);
        host.wideClipboard = emoji;
        capture.OnDrawClipboard();
    }
    EXPECT_EQ(history.entries(), (std::vector<HistoryEntry>{HistoryEntry("??", u"\U0001F60E"),
                                                            HistoryEntry("??", u"\U0001F600")}));
    EXPECT_EQ(host.tooltip, "??");
    EXPECT_EQ(host.wideTooltip, u"\U0001F60E");
    capture.NoteClipboardWritten(HistoryEntry("plain"));
    EXPECT_TRUE(host.wideTooltip.empty());
}

TEST(IsExcludedFromHistoryTest, AnyMarkExcludes) {
    EXPECT_FALSE(IsExcludedFromHistory(false, false, false, 0));
    EXPECT_FALSE(IsExcludedFromHistory(false, false, true, 1));
    EXPECT_TRUE(IsExcludedFromHistory(false, false, true, 0));
    EXPECT_TRUE(IsExcludedFromHistory(true, false, false, 0));
    EXPECT_TRUE(IsExcludedFromHistory(false, true, false, 0));
}

}  // namespace
}  // namespace varnoke
