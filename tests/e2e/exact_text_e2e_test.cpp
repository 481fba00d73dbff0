// Texts that code page 932 cannot hold, copied by a Unicode program: the history keeps
// them exactly, through the menu, a restart and the history editor, while the data file
// and CF_TEXT keep the bytes they always had. A Unicode edit control receives the paste.
#include <gtest/gtest.h>

#include "dialog_driver.h"
#include "harness.h"

namespace e2e {
namespace {

using Entries = std::vector<std::string>;

const std::wstring kMixed =
    L"caf\u00E9 \U0001F600 \uD55C\uAD6D\uC5B4 \u7B80\u4F53\u5B57 \u65E5\u672C\u8A9E";
const std::wstring kGrin = L"\U0001F600";
const std::wstring kCool = L"\U0001F60E";

class ExactTextE2E : public testing::Test {
  protected:
    void SetUp() override { ResetRegistryWithHistoryWrittenOnEveryChange(); }
    void TearDown() override { ResetRegistry(); }

    // Copies as a Unicode program does and waits for the entry; returns CF_TEXT as the
    // system made it, the bytes the history has always kept for such a copy.
    std::string CopyUnicode(const std::wstring& text, Entries* history) {
        EXPECT_TRUE(SetClipboardUnicode(text));
        const std::string ansi = ClipboardNow();
        history->insert(history->begin(), ansi);
        EXPECT_TRUE(WaitForHistory(program_, *history));
        return ansi;
    }
    // Chooses the entry numbered `key` from the menu of a tray press: no paste.
    void ChooseFromTray(WORD key) {
        ASSERT_TRUE(OpenMenu(program_, [&] { program_.PressTrayIcon(WM_LBUTTONDOWN); }));
        PressKey(key);
        ASSERT_TRUE(WaitForMenuClosed(program_));
    }
    bool ClipboardBecomes(const std::wstring& text) {
        return WaitUntil([&] { return ClipboardUnicodeNow() == text; }, 5000);
    }
    std::string DataFile() const { return program_.PathInFolder("Varnoke.vnk"); }
    std::string ExactFile() const { return DataFile() + ".exact"; }

    VarnokeProcess program_;
    TargetWindow target_{true};
};

TEST_F(ExactTextE2E, EveryCharacterIsPastedFromTheMenuAndAgainAfterARestart) {
    ASSERT_TRUE(program_.Start());
    Entries history;
    const std::string ansi = CopyUnicode(kMixed, &history);
    ASSERT_TRUE(SetClipboardText("plain"));
    ASSERT_TRUE(WaitForHistory(program_, {"plain", ansi}));
    ASSERT_TRUE(OpenMenu(program_, [&] {
        target_.Focus();
        PressKey('C', true, true);
    }));
    PressKey('2');
    EXPECT_TRUE(WaitUntil([&] { return target_.TextW() == kMixed; }));
    EXPECT_EQ(ClipboardUnicodeNow(), kMixed);
    EXPECT_EQ(ClipboardNow(), ansi);

    ASSERT_TRUE(program_.Stop());
    // The data file is what it always was for these copies.
    std::string bytes;
    ASSERT_TRUE(ReadFileBytes(DataFile(), &bytes));
    EXPECT_EQ(bytes, EncodeHistory({"plain", ansi}));
    ASSERT_TRUE(program_.Start());
    ASSERT_TRUE(SetClipboardNonText());
    ChooseFromTray('2');
    EXPECT_TRUE(ClipboardBecomes(kMixed));
    EXPECT_EQ(ClipboardNow(), ansi);
}

TEST_F(ExactTextE2E, TwoEmojiThatReadAlikeInTheCodePageAreTwoEntries) {
    ASSERT_TRUE(program_.Start());
    Entries history;
    const std::string grin = CopyUnicode(kGrin, &history);
    const std::string cool = CopyUnicode(kCool, &history);
    EXPECT_EQ(grin, cool);
    ChooseFromTray('2');
    EXPECT_TRUE(ClipboardBecomes(kGrin));
}

TEST_F(ExactTextE2E, AHugeTextIsCutAtTheSameCharacterInBothFormsAndNeverInsideAPair) {
    WriteRegInt("HistoryLen", 65535);
    ASSERT_TRUE(program_.Start());
    std::wstring emoji;
    for (int i = 0; i < 70000; ++i) {
        emoji += kGrin;
    }
    ASSERT_TRUE(SetClipboardUnicode(emoji));
    ASSERT_TRUE(WaitUntil([&] {
        const Entries history = HistoryOnDisk(program_);
        return history.size() == 1 && history[0].size() > 60000;
    }));
    ASSERT_TRUE(SetClipboardText("plain"));
    ASSERT_TRUE(WaitUntil([&] { return HistoryOnDisk(program_).size() == 2; }));
    ChooseFromTray('2');
    std::wstring exact;
    ASSERT_TRUE(WaitUntil([&] { return (exact = ClipboardUnicodeNow()).size() > 1000; }, 5000));
    EXPECT_EQ(exact.size() % 2, 0u);
    EXPECT_EQ(exact, emoji.substr(0, exact.size()));
    const std::string ansi = ClipboardNow();
    EXPECT_LE(ansi.size(), 65535u);
    EXPECT_EQ(ansi, WideToAnsi(exact, false));
    EXPECT_EQ(HistoryOnDisk(program_).back(), ansi);
}

// The exact texts live in a file beside the data file. Whatever became of that file, the
// data file's entries load as they always did, and only matching exact texts come back.
TEST_F(ExactTextE2E, ADamagedMissingOrStaleExactFileCostsOnlyTheExactTexts) {
    ASSERT_TRUE(program_.Start());
    Entries history;
    const std::string grin = CopyUnicode(kGrin, &history);
    const std::string mixed = CopyUnicode(kMixed, &history);
    ASSERT_TRUE(program_.Stop());
    std::string data;
    std::string exact;
    ASSERT_TRUE(ReadFileBytes(DataFile(), &data));
    ASSERT_TRUE(ReadFileBytes(ExactFile(), &exact));

    // Cut short inside the last record, which is the older emoji's.
    ASSERT_TRUE(WriteFileBytes(ExactFile(), exact.substr(0, exact.size() - 3)));
    ASSERT_TRUE(program_.Start());
    ChooseFromTray('2');
    EXPECT_TRUE(WaitUntil([&] { return ClipboardNow() == grin; }));
    EXPECT_NE(ClipboardUnicodeNow(), kGrin);
    ChooseFromTray('1');
    EXPECT_TRUE(ClipboardBecomes(kMixed));
    // The first save keeps the damaged file before it writes over it.
    ASSERT_TRUE(SetClipboardText("next"));
    ASSERT_TRUE(WaitForHistory(program_, {"next", mixed, grin}));
    // The exact texts are saved just after the data file.
    std::string kept;
    ASSERT_TRUE(WaitUntil([&] {
        return ReadFileBytes(program_.PathInFolder("VarnokeDamaged_Varnoke.vnk.exact"), &kept);
    }));
    EXPECT_EQ(kept, exact.substr(0, exact.size() - 3));
    ASSERT_TRUE(program_.Stop());

    // Missing: the entries load, without exact texts.
    ASSERT_TRUE(DeleteFileA(ExactFile().c_str()));
    ASSERT_TRUE(WriteFileBytes(DataFile(), data));
    ASSERT_TRUE(program_.Start());
    ASSERT_TRUE(SetClipboardNonText());
    ChooseFromTray('1');
    EXPECT_TRUE(WaitUntil([&] { return ClipboardNow() == mixed; }));
    EXPECT_NE(ClipboardUnicodeNow(), kMixed);
    ASSERT_TRUE(program_.Stop());

    // Left over from a data file that an older version rewrote: another order, and in front
    // a text of the same length as the mixed one but other bytes. Each text that no other
    // entry shares finds its own entry again; the look-alike gets nothing.
    std::string altered = mixed;
    altered[0] = 'C';
    ASSERT_TRUE(WriteFileBytes(ExactFile(), exact));
    ASSERT_TRUE(WriteFileBytes(DataFile(), EncodeHistory({altered, grin, mixed})));
    ASSERT_TRUE(program_.Start());
    ChooseFromTray('1');
    EXPECT_TRUE(WaitUntil([&] { return ClipboardNow() == altered; }));
    EXPECT_EQ(ClipboardUnicodeNow().find(L"\U0001F600"), std::wstring::npos);
    ChooseFromTray('2');
    EXPECT_TRUE(ClipboardBecomes(kGrin));
    ChooseFromTray('3');
    EXPECT_TRUE(ClipboardBecomes(kMixed));
    ASSERT_TRUE(program_.Stop());
}

TEST_F(ExactTextE2E, TheHistoryEditorMovesAndDeletesEachExactTextWithItsEntry) {
    ASSERT_TRUE(program_.Start());
    Entries history;
    CopyUnicode(kGrin, &history);
    ASSERT_TRUE(SetClipboardText("plain"));
    history.insert(history.begin(), "plain");
    ASSERT_TRUE(WaitForHistory(program_, history));
    CopyUnicode(kCool, &history);
    ASSERT_TRUE(program_.PostCommand(ID_EDIT_HISTORY));
    DialogDriver editor = DialogDriver::Find(program_.processId(), HistoryEditorCaption());
    ASSERT_TRUE(editor);
    // Rows, newest at the bottom: the grin, "plain", the cool one. "plain" goes, then the
    // grin moves below the cool one and so becomes the newest.
    editor.ListSelect(IDC_HISTEDIT_LIST, -1, false);
    editor.ListSelect(IDC_HISTEDIT_LIST, 1, true);
    editor.Click(IDC_HISTEDIT_DELETE);
    ASSERT_TRUE(WaitUntil([&] { return editor.ListCount(IDC_HISTEDIT_LIST) == 2; }));
    editor.ListSelect(IDC_HISTEDIT_LIST, -1, false);
    editor.ListSelect(IDC_HISTEDIT_LIST, 0, true);
    editor.Click(IDC_HISTEDIT_DOWN);
    ASSERT_TRUE(WaitUntil([&] { return editor.ListSelected(IDC_HISTEDIT_LIST, 1); }));
    editor.Click(IDOK);
    ASSERT_TRUE(editor.WaitClosed());
    ChooseFromTray('1');
    EXPECT_TRUE(ClipboardBecomes(kGrin));
    ChooseFromTray('2');
    EXPECT_TRUE(ClipboardBecomes(kCool));
}

}  // namespace
}  // namespace e2e

namespace e2e {
namespace {

// WM_GETTEXT itself: under Wine, GetWindowTextW of another process's window answers its
// caption as the server keeps it, which an edit control leaves empty.
std::wstring WindowTextW(HWND window) {
    std::wstring text(4096, L'\0');
    text.resize(static_cast<size_t>(
        SendMessageW(window, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(&text[0]))));
    return text;
}

// The bytes CF_TEXT holds for a Unicode text: the system's conversion, look-alikes included.
std::string ClipboardForm(const std::wstring& text) {
    const int size = static_cast<int>(text.size());
    int bytes = WideCharToMultiByte(CP_ACP, 0, text.c_str(), size, nullptr, 0, nullptr, nullptr);
    std::string ansi(static_cast<size_t>(bytes), '\0');
    WideCharToMultiByte(CP_ACP, 0, text.c_str(), size, &ansi[0], bytes, nullptr, nullptr);
    return ansi;
}

// The editor shows and takes every character; HistoryLen and message 501 still count the
// bytes of the code page, and the exact text is cut with the ANSI text.
TEST_F(ExactTextE2E, TheEntryEditorEditsTheExactTextWithinHistoryLen) {
    WriteRegInt("HistoryLen", 12);
    ASSERT_TRUE(program_.Start());
    Entries history;
    const std::wstring text = L"caf\u00E9 \U0001F600";  // 7 bytes in the code page
    CopyUnicode(text, &history);
    const std::string editorCaption = EntryEditorCaption();
    auto openEditor = [&] {
        EXPECT_TRUE(OpenMenu(program_, [&] { program_.PressTrayIcon(WM_LBUTTONDOWN); }));
        PressKey(VK_DOWN);
        PressKey(VK_SPACE);
        return DialogDriver::Find(program_.processId(), editorCaption);
    };
    DialogDriver editor = openEditor();
    ASSERT_TRUE(editor);
    HWND edit = editor.Item(IDC_ENTRY_TEXT);
    EXPECT_EQ(WindowTextW(edit), text);
    SendMessageW(edit, EM_SETSEL, 100, 100);
    for (int i = 0; i < 6; ++i) {
        SendMessageW(edit, WM_CHAR, L'\u00FC', 1);
    }
    editor.Click(IDOK);
    // 13 bytes: one more than HistoryLen. No keeps the setting and cuts the text.
    HWND question = FindMessageBox(program_.processId(), "Varnoke");
    ASSERT_NE(question, nullptr) << "no question at HistoryLen + 1 bytes";
    PostMessageA(question, WM_COMMAND, IDNO, 0);
    ASSERT_TRUE(editor.WaitClosed());
    const std::wstring kept = text + L"\u00FC\u00FC\u00FC\u00FC\u00FC";
    ASSERT_TRUE(WaitUntil([&] { return HistoryOnDisk(program_) == Entries{ClipboardForm(kept)}; }));

    // Exactly HistoryLen bytes: OK closes without a question.
    editor = openEditor();
    ASSERT_TRUE(editor);
    editor.Click(IDOK);
    ASSERT_TRUE(editor.WaitClosed(5000)) << "OK asked at HistoryLen bytes";
    // Pasted by the hot key's menu into a Unicode window: every character arrives.
    ASSERT_TRUE(OpenMenu(program_, [&] {
        target_.Focus();
        PressKey('C', true, true);
    }));
    PressKey('1');
    EXPECT_TRUE(WaitUntil([&] { return target_.TextW() == kept; })) << target_.Text();
}

// The history editor's rows show the exact text.
TEST_F(ExactTextE2E, TheHistoryEditorShowsTheExactText) {
    ASSERT_TRUE(program_.Start());
    Entries history;
    CopyUnicode(kMixed, &history);
    ASSERT_TRUE(program_.PostCommand(ID_EDIT_HISTORY));
    DialogDriver editor = DialogDriver::Find(program_.processId(), HistoryEditorCaption());
    ASSERT_TRUE(editor);
    EXPECT_EQ(editor.ListItemWide(IDC_HISTEDIT_LIST, 0), L"1\t" + kMixed);
    editor.Click(IDCANCEL);
    EXPECT_TRUE(editor.WaitClosed());
}

}  // namespace
}  // namespace e2e
