// Editing one history entry: Space on a highlighted entry of the history menu opens the
// entry editor, and what the user confirms there becomes the entry. The history data file
// (saved after every change) and the registry at exit show the result.
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>

#include "dialog_driver.h"
#include "harness.h"

namespace e2e {
namespace {

using Entries = std::vector<std::string>;

std::string SettingsCaption() {
    return Utf8ToAnsi("\xE8\xA8\xAD\xE5\xAE\x9A - Varnoke");  // 設定 - Varnoke
}

class EntryEditorE2E : public testing::Test {
  protected:
    void SetUp() override { ResetRegistryWithHistoryWrittenOnEveryChange(); }
    void TearDown() override {
        if (editor_.IsOpen()) {
            editor_.Click(IDCANCEL);
            editor_.WaitClosed();
        }
        ResetRegistry();
    }

    // Copies the texts, oldest first: the newest is position 0, shown last as "1. ...".
    void StartWith(const Entries& oldestFirst) {
        ASSERT_TRUE(program_.Start());
        ASSERT_TRUE(CopyOldestFirst(program_, oldestFirst));
    }

    // Highlights the shown row `row` (0 = top) of the tray-opened menu and presses Space;
    // `whileOpen` runs with the row highlighted, before the Space.
    void OpenEditorOnRow(int row, const std::function<void()>& whileOpen = nullptr) {
        ASSERT_TRUE(OpenMenu(program_, [&] { program_.PressTrayIcon(WM_LBUTTONDOWN); }));
        for (int i = 0; i <= row; ++i) {
            PressKey(VK_DOWN);
        }
        if (whileOpen) {
            whileOpen();
        }
        PressKey(VK_SPACE);
        editor_ = DialogDriver::Find(program_.processId(), EntryEditorCaption());
        ASSERT_TRUE(editor_) << "Space opened no entry editor";
    }

    void Confirm() {
        editor_.Click(IDOK);
        ASSERT_TRUE(editor_.WaitClosed());
    }

    // The history as the program last wrote it, read after a clean exit.
    Entries HistoryAtExit() {
        EXPECT_TRUE(program_.Stop());
        return HistoryOnDisk(program_);
    }

    VarnokeProcess program_;
    DialogDriver editor_;
};

TEST_F(EntryEditorE2E, SpaceOpensTheHighlightedEntryAndOkReplacesIt) {
    StartWith({"A", "B", "C"});
    OpenEditorOnRow(1);  // "3. A", "2. B", "1. C"
    EXPECT_EQ(editor_.Text(IDC_ENTRY_TEXT), "B");
    ASSERT_TRUE(editor_.SetText(IDC_ENTRY_TEXT, "B edited\r\nsecond line"));
    Confirm();
    EXPECT_TRUE(WaitForHistory(program_, {"C", "B edited\r\nsecond line", "A"}));
}

// The editor runs after the menu loop, not inside it: a menu still tracking would keep the
// mouse from the editor.
TEST_F(EntryEditorE2E, TheMenuHasEndedWhileTheEditorIsOpen) {
    StartWith({"A", "B"});
    OpenEditorOnRow(0);
    EXPECT_FALSE(ProgramInMenuLoop(program_));
    GUITHREADINFO info{};
    info.cbSize = sizeof(info);
    ASSERT_TRUE(GetGUIThreadInfo(GetWindowThreadProcessId(program_.mainWindow(), nullptr), &info));
    EXPECT_EQ(info.hwndCapture, nullptr);
}

// A copy while the menu is open moves every entry down by one: the editor still opens the
// entry the highlighted row showed, and OK replaces that one, not its new neighbour.
TEST_F(EntryEditorE2E, ACaptureWhileTheMenuIsOpenDoesNotRedirectTheEdit) {
    StartWith({"A", "B", "C"});
    OpenEditorOnRow(1, [&] {  // "2. B"
        ASSERT_TRUE(SetClipboardText("D"));
        ASSERT_TRUE(WaitForHistory(program_, {"D", "C", "B", "A"}));
    });
    EXPECT_EQ(editor_.Text(IDC_ENTRY_TEXT), "B");
    ASSERT_TRUE(editor_.SetText(IDC_ENTRY_TEXT, "B edited"));
    Confirm();
    EXPECT_TRUE(WaitForHistory(program_, {"D", "C", "B edited", "A"}));
}

TEST_F(EntryEditorE2E, EmptyTextAndOkDeletesTheEntry) {
    StartWith({"A", "B", "C"});
    OpenEditorOnRow(1);
    ASSERT_TRUE(editor_.SetText(IDC_ENTRY_TEXT, ""));
    Confirm();
    EXPECT_TRUE(WaitForHistory(program_, {"C", "A"}));
}

TEST_F(EntryEditorE2E, CancelEscAndTheCloseBoxChangeNothing) {
    StartWith({"A", "B", "C"});
    const std::string before = [&] {
        std::string bytes;
        ReadFileBytes(program_.PathInFolder("Varnoke.vnk"), &bytes);
        return bytes;
    }();
    OpenEditorOnRow(1);
    editor_.SetText(IDC_ENTRY_TEXT, "changed");
    editor_.Click(IDCANCEL);
    ASSERT_TRUE(editor_.WaitClosed());

    OpenEditorOnRow(1);
    editor_.SetText(IDC_ENTRY_TEXT, "changed");
    ASSERT_TRUE(editor_.FocusItem(IDC_ENTRY_TEXT));
    PressKey(VK_ESCAPE);
    ASSERT_TRUE(editor_.WaitClosed()) << "Esc in the edit did not cancel";

    OpenEditorOnRow(1);
    editor_.SetText(IDC_ENTRY_TEXT, "changed");
    editor_.Close();
    ASSERT_TRUE(editor_.WaitClosed());

    ASSERT_TRUE(program_.Stop());
    std::string after;
    ASSERT_TRUE(ReadFileBytes(program_.PathInFolder("Varnoke.vnk"), &after));
    EXPECT_EQ(after, before);
}

TEST_F(EntryEditorE2E, TabAndEnterTypeIntoTheTextInsteadOfMovingOrClosing) {
    StartWith({"A", "B"});
    OpenEditorOnRow(0);
    editor_.SetText(IDC_ENTRY_TEXT, "");
    ASSERT_TRUE(editor_.FocusItem(IDC_ENTRY_TEXT));
    PressKey(VK_TAB);
    PressKey('X');
    PressKey(VK_RETURN);
    PressKey('Y');
    EXPECT_TRUE(WaitUntil([&] { return editor_.Text(IDC_ENTRY_TEXT) == "\tx\r\ny"; }, 5000))
        << editor_.Text(IDC_ENTRY_TEXT);
    EXPECT_TRUE(editor_.IsOpen());
    Confirm();
    EXPECT_TRUE(WaitForHistory(program_, {"B", "\tx\r\ny"}))
        << testing::PrintToString(HistoryOnDisk(program_));
}

// 9 single bytes and "あ": 11 bytes, one over a HistoryLen of 10, and a cut at 10 bytes
// would keep half of "あ".
const std::string kElevenBytes = "abcdefghi\x82\xA0";

// `bytes` of "あ", and an "a" when the number is odd.
std::string DoubleByteText(size_t bytes) {
    std::string text;
    while (text.size() + 2 <= bytes) {
        text += "\x82\xA0";  // あ
    }
    return text + std::string(bytes - text.size(), 'a');
}

class EntryEditorLengthE2E : public EntryEditorE2E {
  protected:
    void SetUp() override {
        EntryEditorE2E::SetUp();
        WriteRegInt("HistoryLen", 10);
    }
    HWND AskAboutLength(const std::string& text = kElevenBytes) {
        StartWith({"A", "B"});
        OpenEditorOnRow(0);
        editor_.SetText(IDC_ENTRY_TEXT, text);
        editor_.Click(IDOK);
        HWND box = FindMessageBox(program_.processId(), "Varnoke");
        EXPECT_NE(box, nullptr) << "no question about the length";
        return box;
    }
    // Yes on `bytes` of double-byte text keeps `keptBytes` of it and a HistoryLen of 65535.
    void ExpectYesKeeps(size_t bytes, size_t keptBytes) {
        HWND box = AskAboutLength(DoubleByteText(bytes));
        ASSERT_NE(box, nullptr);
        EXPECT_NE(MessageBoxText(box).find(std::to_string(bytes)), std::string::npos);
        AnswerMessageBox(box, IDYES);
        ASSERT_TRUE(editor_.WaitClosed());
        EXPECT_EQ(HistoryAtExit(), (Entries{"B", DoubleByteText(keptBytes)}));
        DWORD historyLen = 0;
        ASSERT_TRUE(ReadRegInt("HistoryLen", &historyLen));
        EXPECT_EQ(historyLen, 65535u);
    }
};

TEST_F(EntryEditorLengthE2E, YesRaisesHistoryLenAndKeepsTheWholeText) {
    HWND box = AskAboutLength();
    ASSERT_NE(box, nullptr);
    EXPECT_NE(MessageBoxText(box).find("10"), std::string::npos);
    EXPECT_NE(MessageBoxText(box).find("11"), std::string::npos);
    AnswerMessageBox(box, IDYES);
    ASSERT_TRUE(editor_.WaitClosed());
    EXPECT_EQ(HistoryAtExit(), (Entries{"B", kElevenBytes}));
    EXPECT_EQ(RegInt("HistoryLen"), 11u);
}

// The edit's limit of 65535 counts characters when the control holds Unicode, so it can
// hold more bytes than HistoryLen can keep. Yes raises HistoryLen to its largest value at
// most, and the text to that, without half a character: a HistoryLen past its range would be
// refused by the options dialog and cut the entry at the next start.
TEST_F(EntryEditorLengthE2E, YesOn65535BytesOfDoubleByteTextKeepsThemAll) {
    ExpectYesKeeps(65535, 65535);
}

TEST_F(EntryEditorLengthE2E, YesOn65536BytesStopsHistoryLenAtItsLargestValue) {
    ExpectYesKeeps(65536, 65534);
}

TEST_F(EntryEditorLengthE2E, NoCutsTheTextWithoutBreakingACharacter) {
    HWND box = AskAboutLength();
    ASSERT_NE(box, nullptr);
    AnswerMessageBox(box, IDNO);
    ASSERT_TRUE(editor_.WaitClosed());
    EXPECT_EQ(HistoryAtExit(), (Entries{"B", "abcdefghi"}));
    EXPECT_EQ(RegInt("HistoryLen"), 10u);
}

TEST_F(EntryEditorLengthE2E, CancelLeavesTheEditorOpen) {
    HWND box = AskAboutLength();
    ASSERT_NE(box, nullptr);
    AnswerMessageBox(box, IDCANCEL);
    ASSERT_TRUE(WaitUntil([&] { return !IsWindow(box); }));
    PumpFor(300);
    EXPECT_TRUE(editor_.IsOpen());
    EXPECT_EQ(editor_.Text(IDC_ENTRY_TEXT), kElevenBytes);
}

TEST_F(EntryEditorE2E, CaptureIsPausedOnlyWhileTheEditorIsOpen) {
    StartWith({"A", "B"});
    OpenEditorOnRow(0);
    ASSERT_TRUE(SetClipboardText("while open"));
    PumpFor(500);
    editor_.Click(IDCANCEL);
    ASSERT_TRUE(editor_.WaitClosed());
    ASSERT_TRUE(SetClipboardText("after"));
    EXPECT_TRUE(WaitForHistory(program_, {"after", "B", "A"}));
}

TEST_F(EntryEditorE2E, TheRestoredRectangleIsStoredAndUsedAgain) {
    StartWith({"A"});
    OpenEditorOnRow(0);
    MoveWindow(editor_.hwnd(), 40, 50, 420, 330, TRUE);
    ASSERT_TRUE(WaitUntil([&] {
        RECT r{};
        GetWindowRect(editor_.hwnd(), &r);
        return r.left == 40 && r.top == 50 && r.right == 460 && r.bottom == 380;
    }));
    // Closed while maximized: the restored rectangle is what counts.
    ShowWindowAsync(editor_.hwnd(), SW_MAXIMIZE);
    ASSERT_TRUE(WaitUntil([&] { return IsZoomed(editor_.hwnd()) != FALSE; }));
    editor_.Click(IDCANCEL);
    ASSERT_TRUE(editor_.WaitClosed());

    OpenEditorOnRow(0);
    EXPECT_FALSE(IsZoomed(editor_.hwnd()));
    RECT r{};
    GetWindowRect(editor_.hwnd(), &r);
    EXPECT_EQ(r.left, 40);
    EXPECT_EQ(r.top, 50);
    EXPECT_EQ(r.right, 460);
    EXPECT_EQ(r.bottom, 380);
    editor_.Click(IDCANCEL);
    ASSERT_TRUE(editor_.WaitClosed());
    ASSERT_TRUE(program_.Stop());
    std::string pos;
    ASSERT_TRUE(ReadRegString("EditTextPos", &pos));
    EXPECT_EQ(pos, "40,50,460,380");
}

TEST_F(EntryEditorE2E, EditorSettingsSwitchWrapKeepTheTextAndCancelChangesNothing) {
    StartWith({"A", "line one"});
    OpenEditorOnRow(1);
    ASSERT_TRUE(editor_.SetText(IDC_ENTRY_TEXT, "kept text"));
    const auto hasHorizontalScroll = [&] {
        return (GetWindowLongA(editor_.Item(IDC_ENTRY_TEXT), GWL_STYLE) & WS_HSCROLL) != 0;
    };
    EXPECT_TRUE(hasHorizontalScroll());

    editor_.Click(IDC_ENTRY_SETTINGS);
    DialogDriver settings = DialogDriver::Find(program_.processId(), SettingsCaption());
    ASSERT_TRUE(settings);
    EXPECT_FALSE(settings.IsChecked(IDC_EDITOR_WORD_WRAP));
    EXPECT_EQ(settings.ComboText(IDC_EDITOR_TAB_STOPS), "4");
    settings.SetCheck(IDC_EDITOR_WORD_WRAP, true);
    settings.ComboSelect(IDC_EDITOR_TAB_STOPS, 3);  // "16"
    settings.Click(IDOK);
    ASSERT_TRUE(settings.WaitClosed());
    EXPECT_TRUE(WaitUntil([&] { return !hasHorizontalScroll(); }));
    // The new edit control exists before the text is put back into it.
    EXPECT_TRUE(WaitUntil([&] { return editor_.Text(IDC_ENTRY_TEXT) == "kept text"; }))
        << editor_.Text(IDC_ENTRY_TEXT);

    editor_.Click(IDC_ENTRY_SETTINGS);
    settings = DialogDriver::Find(program_.processId(), SettingsCaption());
    ASSERT_TRUE(settings);
    EXPECT_TRUE(settings.IsChecked(IDC_EDITOR_WORD_WRAP));
    EXPECT_EQ(settings.ComboText(IDC_EDITOR_TAB_STOPS), "16");
    settings.SetCheck(IDC_EDITOR_WORD_WRAP, false);
    settings.Click(IDCANCEL);
    ASSERT_TRUE(settings.WaitClosed());
    editor_.Click(IDCANCEL);
    ASSERT_TRUE(editor_.WaitClosed());

    ASSERT_TRUE(program_.Stop());
    EXPECT_EQ(RegInt("EditWordWrap"), 1u);
    EXPECT_EQ(RegInt("EditTabStops"), 16u);
}

// The system's font dialog of the program: its one dialog that is neither of ours.
DialogDriver FindFontDialog(DWORD processId, const std::vector<HWND>& ours) {
    HWND found = nullptr;
    WaitUntil([&] {
        for (HWND window : DialogsOf(processId)) {
            if (std::find(ours.begin(), ours.end(), window) == ours.end()) {
                found = window;
                return true;
            }
        }
        return false;
    });
    return DialogDriver(found);
}

TEST_F(EntryEditorE2E, TheChosenFontReachesTheRegistryAtExit) {
    StartWith({"A"});
    OpenEditorOnRow(0);
    editor_.Click(IDC_ENTRY_SETTINGS);
    DialogDriver settings = DialogDriver::Find(program_.processId(), SettingsCaption());
    ASSERT_TRUE(settings);
    settings.Click(IDC_EDITOR_FONT);
    DialogDriver font = FindFontDialog(program_.processId(), {editor_.hwnd(), settings.hwnd()});
    ASSERT_TRUE(font) << "no font dialog";
    // The font dialog's face, style and size lists: cmb1, cmb2, cmb3. Each choice refills
    // the lists after it.
    ASSERT_TRUE(font.ComboSelectString(0x470, "Noto Sans CJK JP"));
    ASSERT_TRUE(font.ComboSelectString(
        0x471, Utf8ToAnsi("\xE5\xA4\xAA\xE5\xAD\x97 \xE6\x96\x9C\xE4\xBD\x93")));  // 太字 斜体
    ASSERT_TRUE(font.ComboSelectString(0x472, "12"));
    font.Click(IDOK);
    ASSERT_TRUE(font.WaitClosed());
    EXPECT_TRUE(WaitUntil([&] {
        return settings.Text(IDC_EDITOR_FONT_SAMPLE) == "Noto Sans CJK JP";
    })) << settings.Text(IDC_EDITOR_FONT_SAMPLE);
    settings.Click(IDOK);
    ASSERT_TRUE(settings.WaitClosed());
    editor_.Click(IDCANCEL);
    ASSERT_TRUE(editor_.WaitClosed());
    ASSERT_TRUE(program_.Stop());

    std::string name;
    DWORD height = 0, weight = 0, italic = 0;
    ASSERT_TRUE(ReadRegString("EditFontName", &name));
    ASSERT_TRUE(ReadRegInt("EditFontHeight", &height));
    ASSERT_TRUE(ReadRegInt("EditFontWeight", &weight));
    ASSERT_TRUE(ReadRegInt("EditFontItalic", &italic));
    EXPECT_EQ(name, "Noto Sans CJK JP");
    EXPECT_EQ(static_cast<int>(height), -16);  // 12 points at 96 dpi
    EXPECT_EQ(weight, 700u);
    EXPECT_EQ(italic, 1u);
}

}  // namespace
}  // namespace e2e
