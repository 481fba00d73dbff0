// The exact texts stay with their own entries when the data file and the exact-text file
// beside it no longer belong together: an older version rewrote the data file, or a save
// failed between the two files. Every emoji is "??" in the code page, so an entry that
// cannot be told apart pastes "??" rather than another entry's text. And both clipboard
// forms of an entry cut at HistoryLen end at the same character.
#include <gtest/gtest.h>

#include "dialog_driver.h"
#include "harness.h"

namespace e2e {
namespace {

using Entries = std::vector<std::string>;

const std::wstring kGrin = L"\U0001F600";
const std::wstring kCool = L"\U0001F60E";
const std::wstring kSmile = L"\U0001F642";

std::string ReadOnlyMessage(const std::string& file) {
    return Utf8ToAnsi(u8"履歴データの保存に失敗しました\n\"") + file +
           Utf8ToAnsi(u8"\"\nが読み取り専用になっていないか確認してください");
}

class ExactTextPairingE2E : public testing::Test {
  protected:
    void SetUp() override { ResetRegistryWithHistoryWrittenOnEveryChange(); }
    void TearDown() override {
        SetFileAttributesA(DataFile().c_str(), FILE_ATTRIBUTE_NORMAL);
        ResetRegistry();
    }

    // Copies as a Unicode program does and waits for the entry in the data file.
    void CopyUnicode(const std::wstring& text, Entries* history) {
        ASSERT_TRUE(SetClipboardUnicode(text));
        history->insert(history->begin(), ClipboardNow());
        ASSERT_TRUE(WaitForHistory(program_, *history));
    }
    // Chooses the entry numbered `key` from the menu of a tray press (no paste) and returns
    // the CF_UNICODETEXT it put on the clipboard, once its CF_TEXT `ansi` is there.
    std::wstring Choose(WORD key, const std::string& ansi) {
        EXPECT_TRUE(SetClipboardNonText());
        EXPECT_TRUE(OpenMenu(program_, [&] { program_.PressTrayIcon(WM_LBUTTONDOWN); }));
        PressKey(key);
        EXPECT_TRUE(WaitForMenuClosed(program_));
        EXPECT_TRUE(WaitUntil([&] { return ClipboardNow() == ansi; }, 5000))
            << "entry " << static_cast<char>(key) << " was not put on the clipboard";
        return ClipboardUnicodeNow();
    }
    std::string DataFile() const { return program_.PathInFolder("Varnoke.vnk"); }
    std::string ExactFile() const { return DataFile() + ".exact"; }

    VarnokeProcess program_;
};

// Rewritten by an older version, which keeps the data file only: the entries no longer sit
// where the exact texts were written for them, and none of them can be told apart.
TEST_F(ExactTextPairingE2E, ADataFileAnOlderVersionRewroteNeverGivesAnEntryAnotherOnesText) {
    ASSERT_TRUE(program_.Start());
    Entries history;
    CopyUnicode(kGrin, &history);
    CopyUnicode(kCool, &history);
    ASSERT_EQ(history, (Entries{"??", "??"}));
    ASSERT_TRUE(program_.Stop());
    std::string exact;
    ASSERT_TRUE(ReadFileBytes(ExactFile(), &exact));

    // The older version captured the slight smile in front of both.
    ASSERT_TRUE(WriteFileBytes(DataFile(), EncodeHistory({"??", "??", "??"})));
    ASSERT_TRUE(program_.Start());
    EXPECT_EQ(Choose('1', "??"), L"??");
    const std::wstring cool = Choose('2', "??");
    EXPECT_TRUE(cool == L"??" || cool == kCool) << "the second entry pasted another's text";
    const std::wstring grin = Choose('3', "??");
    EXPECT_TRUE(grin == L"??" || grin == kGrin) << "the third entry pasted another's text";
    ASSERT_TRUE(program_.Stop());

    // The older version deleted the newest entry: the one left holds bytes that both exact
    // texts were written for.
    ASSERT_TRUE(WriteFileBytes(ExactFile(), exact));
    ASSERT_TRUE(WriteFileBytes(DataFile(), EncodeHistory({"??"})));
    ASSERT_TRUE(program_.Start());
    const std::wstring left = Choose('1', "??");
    EXPECT_TRUE(left == L"??" || left == kGrin) << "the entry left pasted the deleted one's text";
}

// A save that fails at the data file has already written the exact texts for the history it
// could not save; the program killed then, the next start finds the two files torn apart.
TEST_F(ExactTextPairingE2E, ASaveThatFailedBetweenTheTwoFilesNeverGivesAnEntryAnotherOnesText) {
    ASSERT_TRUE(program_.Start());
    Entries history;
    CopyUnicode(kGrin, &history);
    CopyUnicode(kCool, &history);
    ASSERT_TRUE(SetFileAttributesA(DataFile().c_str(), FILE_ATTRIBUTE_READONLY));
    ASSERT_TRUE(SetClipboardUnicode(kSmile));
    HWND box = FindMessageBox(program_.processId(), "Varnoke");
    ASSERT_NE(box, nullptr) << "the failed save showed no message";
    EXPECT_EQ(MessageBoxText(box), ReadOnlyMessage(DataFile()));
    AnswerMessageBox(box);
    ASSERT_TRUE(WaitUntil([&] { return !IsWindow(box); }));
    program_.Kill();
    ASSERT_TRUE(SetFileAttributesA(DataFile().c_str(), FILE_ATTRIBUTE_NORMAL));
    EXPECT_EQ(HistoryOnDisk(program_), (Entries{"??", "??"}));

    ASSERT_TRUE(program_.Start());
    const std::wstring cool = Choose('1', "??");
    EXPECT_TRUE(cool == L"??" || cool == kCool) << "the first entry pasted another's text";
    const std::wstring grin = Choose('2', "??");
    EXPECT_TRUE(grin == L"??" || grin == kGrin) << "the second entry pasted another's text";
}

// Each cent sign is two bytes in CF_TEXT, the system's look-alike "￠": HistoryLen 10 keeps
// five of them in both forms.
TEST_F(ExactTextPairingE2E, ATextCutAtHistoryLenEndsAtTheSameCharacterInBothForms) {
    WriteRegInt("HistoryLen", 10);
    ASSERT_TRUE(program_.Start());
    const std::wstring eight(8, L'\u00A2');
    const std::wstring five(5, L'\u00A2');
    std::string fullWidthFive;
    for (int i = 0; i < 5; ++i) {
        fullWidthFive += "\x81\x91";
    }
    ASSERT_EQ(WideToAnsi(five), fullWidthFive) << "no look-alike for the cent sign here";
    ASSERT_TRUE(SetClipboardUnicode(eight));
    ASSERT_TRUE(WaitForHistory(program_, {fullWidthFive}));

    EXPECT_EQ(Choose('1', fullWidthFive), five);

    // The editor shows the entry as it is, within HistoryLen: OK asks nothing.
    ASSERT_TRUE(OpenMenu(program_, [&] { program_.PressTrayIcon(WM_LBUTTONDOWN); }));
    PressKey(VK_DOWN);
    PressKey(VK_SPACE);
    DialogDriver editor = DialogDriver::Find(program_.processId(), EntryEditorCaption());
    ASSERT_TRUE(editor);
    editor.Click(IDOK);
    const bool closed = editor.WaitClosed(5000);
    if (!closed) {
        if (HWND question = FindMessageBox(program_.processId(), "Varnoke", 0)) {
            AnswerMessageBox(question, IDNO);
        }
        editor.WaitClosed();
    }
    EXPECT_TRUE(closed) << "OK on the unchanged entry asked about its length";
    EXPECT_EQ(Choose('1', fullWidthFive), five);
}

// A history whose last exact text is gone removes the exact-text file; another program
// that holds it open keeps it there, and the message names that file, not the data file.
TEST_F(ExactTextPairingE2E, AnExactTextFileThatCannotBeRemovedIsNamedInTheMessage) {
    WriteRegInt("HistoryNum", 2);
    ASSERT_TRUE(program_.Start());
    Entries history;
    CopyUnicode(kGrin, &history);
    ASSERT_TRUE(SetClipboardText("a"));
    ASSERT_TRUE(WaitForHistory(program_, {"a", "??"}));
    ASSERT_TRUE(FileExists(ExactFile()));
    // Others may read and write it, but not delete it.
    HANDLE holder =
        CreateFileA(ExactFile().c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                    OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(holder, INVALID_HANDLE_VALUE);
    ASSERT_TRUE(SetClipboardText("b"));  // the emoji leaves the history
    HWND box = FindMessageBox(program_.processId(), "Varnoke");
    CloseHandle(holder);
    ASSERT_NE(box, nullptr) << "the exact-text file stayed without a message";
    EXPECT_EQ(MessageBoxText(box), ReadOnlyMessage(ExactFile()));
    EXPECT_EQ(HistoryOnDisk(program_), (Entries{"b", "a"}));
    AnswerMessageBox(box);
    ASSERT_TRUE(WaitUntil([&] { return !IsWindow(box); }));
    // Left behind, it would offer its text to a later "??": the exit tries again.
    ASSERT_TRUE(program_.Stop());
    EXPECT_FALSE(FileExists(ExactFile()));
}

}  // namespace
}  // namespace e2e
