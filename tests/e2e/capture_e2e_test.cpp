// Texts copied by another program become history entries, as the history data file
// shows: with HistorySaveInterval 0 the file is written after every change.
#include <gtest/gtest.h>

#include "harness.h"

namespace e2e {
namespace {

using Entries = std::vector<std::string>;

class CaptureE2E : public testing::Test {
  protected:
    void SetUp() override { ResetRegistryWithHistoryWrittenOnEveryChange(); }
    void TearDown() override { ResetRegistry(); }

    // Copies a text and waits until the saved history is as expected.
    ::testing::AssertionResult CopyAndExpect(const std::string& text, const Entries& expected) {
        if (!SetClipboardText(text)) {
            return ::testing::AssertionFailure() << "cannot set the clipboard";
        }
        if (!WaitForHistory(program_, expected)) {
            ::testing::AssertionResult failure = ::testing::AssertionFailure();
            failure << "after copying \"" << text << "\" the history is:";
            for (const std::string& e : HistoryOnDisk(program_)) failure << " [" << e << "]";
            return failure;
        }
        return ::testing::AssertionSuccess();
    }

    // Chooses the entry numbered `key` from the menu of a tray press: no paste.
    void ChooseFromTray(WORD key) {
        ASSERT_TRUE(OpenMenu(program_, [&] { program_.PressTrayIcon(WM_LBUTTONDOWN); }));
        PressKey(key);
        ASSERT_TRUE(WaitForMenuClosed(program_));
    }

    VarnokeProcess program_;
};

TEST_F(CaptureE2E, OnlyACopyEqualToTheNewestEntryIsIgnored) {
    ASSERT_TRUE(program_.Start());
    ASSERT_TRUE(CopyAndExpect("A", {"A"}));
    ASSERT_TRUE(CopyAndExpect("B", {"B", "A"}));
    ASSERT_TRUE(CopyAndExpect("A", {"A", "B", "A"}));
    ASSERT_TRUE(SetClipboardText("A"));
    ASSERT_TRUE(CopyAndExpect("C", {"C", "A", "B", "A"}));
    ASSERT_TRUE(program_.Stop());
    EXPECT_EQ(HistoryOnDisk(program_), (Entries{"C", "A", "B", "A"}));
}

TEST_F(CaptureE2E, AFullHistoryDropsItsOldestEntryAtEitherInsertPosition) {
    WriteRegInt("HistoryNum", 2);
    {
        VarnokeProcess head;
        ASSERT_TRUE(head.Start());
        SetClipboardText("A");
        ASSERT_TRUE(WaitForHistory(head, {"A"}));
        SetClipboardText("B");
        ASSERT_TRUE(WaitForHistory(head, {"B", "A"}));
        SetClipboardText("C");
        EXPECT_TRUE(WaitForHistory(head, {"C", "B"}));
        ASSERT_TRUE(head.Stop());
    }
    WriteRegInt("HistoryInsertPos", 1);
    ASSERT_TRUE(program_.Start());
    ASSERT_TRUE(CopyAndExpect("A", {"A"}));
    ASSERT_TRUE(CopyAndExpect("B", {"A", "B"}));
    ASSERT_TRUE(CopyAndExpect("C", {"B", "C"}));
}

TEST_F(CaptureE2E, StopOverflowPausesCaptureInsteadOfDroppingEntries) {
    WriteRegInt("HistoryNum", 2);
    WriteRegInt("HistoryStopOverflow", 1);
    ASSERT_TRUE(program_.Start());
    ASSERT_TRUE(CopyAndExpect("A", {"A"}));
    ASSERT_TRUE(CopyAndExpect("B", {"B", "A"}));
    ASSERT_TRUE(SetClipboardText("C"));
    ASSERT_TRUE(SetClipboardText("D"));
    ASSERT_TRUE(program_.Stop());
    EXPECT_EQ(HistoryOnDisk(program_), (Entries{"B", "A"}));
    EXPECT_EQ(RegInt("Paused"), 1u);
}

TEST_F(CaptureE2E, DeferredCaptureStillCapturesEveryCopy) {
    WriteRegInt("HistoryCopeWord", 1);
    ASSERT_TRUE(program_.Start());
    ASSERT_TRUE(CopyAndExpect("first", {"first"}));
    ASSERT_TRUE(CopyAndExpect("second", {"second", "first"}));
}

TEST_F(CaptureE2E, TextCopiedDuringAPauseIsNotCapturedOnResuming) {
    ASSERT_TRUE(program_.Start());
    ASSERT_TRUE(CopyAndExpect("before", {"before"}));
    ASSERT_TRUE(program_.SendCommand(ID_PAUSE));
    ASSERT_TRUE(SetClipboardText("during"));
    ASSERT_TRUE(program_.SendCommand(ID_PAUSE));
    ASSERT_TRUE(CopyAndExpect("after", {"after", "before"}));
}

// Pausing leaves the clipboard-viewer chain, which any program can see; the key pressed
// again joins it back, and only the copy made after that is captured.
TEST_F(CaptureE2E, ThePauseHotKeyStopsAndResumesCapture) {
    TargetWindow target;
    ASSERT_TRUE(program_.Start());
    ASSERT_TRUE(CopyAndExpect("before", {"before"}));
    ASSERT_EQ(GetClipboardViewer(), program_.mainWindow());
    target.Focus();
    PressKey('P', true, true);
    ASSERT_TRUE(WaitUntil([&] { return GetClipboardViewer() != program_.mainWindow(); }, 5000))
        << "Ctrl+Shift+P did not pause";
    ASSERT_TRUE(SetClipboardText("during"));
    target.Focus();
    PressKey('P', true, true);
    ASSERT_TRUE(WaitUntil([&] { return GetClipboardViewer() == program_.mainWindow(); }, 5000))
        << "Ctrl+Shift+P did not resume";
    ASSERT_TRUE(CopyAndExpect("after", {"after", "before"}));
    ASSERT_TRUE(program_.Stop());
    EXPECT_EQ(RegInt("Paused"), 0u);
}

TEST_F(CaptureE2E, ACopyWhileAnotherProgramHoldsTheClipboardIsCapturedOnce) {
    ASSERT_TRUE(program_.Start());
    Entries expected;
    // Several rounds: whether the notification comes before or after the hold begins is
    // up to the scheduler, and each must end with the copy in the history exactly once.
    for (const char* text : {"held 1", "held 2", "held 3", "held 4", "held 5"}) {
        ASSERT_TRUE(SetClipboardTextThenHold(text, 300));
        expected.insert(expected.begin(), text);
        EXPECT_TRUE(WaitForHistory(program_, expected)) << "after " << text;
    }
    ASSERT_TRUE(program_.Stop());
    EXPECT_EQ(HistoryOnDisk(program_), expected);
}

TEST_F(CaptureE2E, LongTextsAreCutToHistoryLenWithoutSplittingACharacter) {
    WriteRegInt("HistoryLen", 5);
    ASSERT_TRUE(program_.Start());
    ASSERT_TRUE(CopyAndExpect("abcdefg", {"abcde"}));
    const std::string kanji = "abcd\x93\xfa";  // the fifth byte starts a double-byte character
    ASSERT_TRUE(CopyAndExpect(kanji + "x", {"abcd", "abcde"}));
    ASSERT_TRUE(CopyAndExpect("12345", {"12345", "abcd", "abcde"}));
}

TEST_F(CaptureE2E, AHugeCopyBecomesOneEntryOfHistoryLenBytes) {
    ASSERT_TRUE(program_.Start());
    std::string huge(20 * 1024 * 1024, 'h');
    huge[0] = 'H';
    ASSERT_TRUE(CopyAndExpect(huge, {"H" + std::string(9999, 'h')}));
    EXPECT_TRUE(program_.IsRunning());
}

TEST_F(CaptureE2E, ContentWithoutTextOrMarkedSecretIsNotCaptured) {
    ASSERT_TRUE(program_.Start());
    ASSERT_TRUE(CopyAndExpect("visible", {"visible"}));
    ASSERT_TRUE(SetClipboardNonText());
    ASSERT_TRUE(
        SetClipboardTextWithMarker("secret1", "ExcludeClipboardContentFromMonitorProcessing", {}));
    ASSERT_TRUE(SetClipboardTextWithMarker("secret2", "Clipboard Viewer Ignore", {}));
    ASSERT_TRUE(
        SetClipboardTextWithMarker("secret3", "CanIncludeInClipboardHistory", {0, 0, 0, 0}));
    // Allowed explicitly: captured like any copy.
    ASSERT_TRUE(
        SetClipboardTextWithMarker("allowed", "CanIncludeInClipboardHistory", {1, 0, 0, 0}));
    ASSERT_TRUE(WaitForHistory(program_, {"allowed", "visible"}));
    ASSERT_TRUE(program_.Stop());
    std::string bytes;
    ASSERT_TRUE(ReadFileBytes(program_.PathInFolder("Varnoke.vnk"), &bytes));
    EXPECT_EQ(bytes.find("secret"), std::string::npos);
}

TEST_F(CaptureE2E, TheFileWrittenAtExitHoldsTheHistoryByteForByte) {
    ASSERT_TRUE(program_.Start());
    const std::string japanese = Utf8ToAnsi(u8"表示\tタブ & 記号\r\n二行目");
    ASSERT_TRUE(CopyAndExpect("abc", {"abc"}));
    ASSERT_TRUE(CopyAndExpect(japanese, {japanese, "abc"}));
    DeleteFileA(program_.PathInFolder("Varnoke.vnk").c_str());
    ASSERT_TRUE(program_.Stop());
    std::string bytes;
    ASSERT_TRUE(ReadFileBytes(program_.PathInFolder("Varnoke.vnk"), &bytes));
    EXPECT_EQ(bytes, EncodeHistory({japanese, "abc"}));
}

// Nothing makes a program place CF_UNICODETEXT before CF_TEXT. One that places its CF_TEXT
// first, question marks or bytes of its own, keeps the Unicode text it placed after it: a
// choice puts back every character as CF_UNICODETEXT and the program's bytes as CF_TEXT.
TEST_F(CaptureE2E, AUnicodeTextPlacedAfterCfTextComesBackExactlyBesideCfTextsOwnBytes) {
    ASSERT_TRUE(program_.Start());
    const std::wstring korean = L"\uD55C\uAD6D\uC5B4 \U0001F600";
    const std::string questionMarks = WideToAnsi(korean);
    const std::wstring mixed = L"\u65E5\u672C \uD55C\uAD6D \U0001F600";
    const std::string ownBytes = Utf8ToAnsi(u8"日本 ") + "[ko] [smile]";
    ASSERT_TRUE(SetClipboardTextThenUnicode(questionMarks, korean));
    ASSERT_TRUE(WaitForHistory(program_, {questionMarks}));
    ASSERT_TRUE(SetClipboardTextThenUnicode(ownBytes, mixed));
    ASSERT_TRUE(WaitForHistory(program_, {ownBytes, questionMarks}));

    ASSERT_TRUE(SetClipboardNonText());
    ChooseFromTray('1');
    EXPECT_TRUE(WaitUntil([&] { return ClipboardUnicodeNow() == mixed; }, 5000));
    EXPECT_EQ(ClipboardNow(), ownBytes);
    ASSERT_TRUE(SetClipboardNonText());
    ChooseFromTray('2');
    EXPECT_TRUE(WaitUntil([&] { return ClipboardUnicodeNow() == korean; }, 5000));
    EXPECT_EQ(ClipboardNow(), questionMarks);
}

// A CF_UNICODETEXT after CF_TEXT that is only the system's reading of its bytes adds
// nothing: the entry holds those bytes, also where the code page writes a character back
// as other bytes (ED 40 and 87 90 become FA 5C and 81 E0), and no exact text is saved.
TEST_F(CaptureE2E, AUnicodeTextPlacedAfterCfTextThatReadsItsBytesKeepsNoExactText) {
    ASSERT_TRUE(program_.Start());
    const std::string ansi = "\xED\x40\x87\x90 " + Utf8ToAnsi(u8"日本語のテキスト");
    ASSERT_NE(WideToAnsi(AnsiToWide(ansi)), ansi);
    ASSERT_TRUE(SetClipboardTextThenUnicode(ansi, AnsiToWide(ansi)));
    ASSERT_TRUE(WaitForHistory(program_, {ansi}));
    EXPECT_FALSE(FileExists(program_.PathInFolder("Varnoke.vnk.exact")));
}

}  // namespace
}  // namespace e2e
