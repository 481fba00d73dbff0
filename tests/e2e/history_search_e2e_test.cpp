// The history search window as a user drives it: its hot key opens it over the window they
// type in, typed text narrows the list (kana and width aside), Up and Down move the
// selection from the edit box, Enter pastes as the hot key's history menu does, and Esc
// leaves everything as it was.
#include <gtest/gtest.h>

#include <cstdio>

#include "dialog_driver.h"
#include "harness.h"

namespace e2e {
namespace {

using Entries = std::vector<std::string>;

// Characters as an input method commits them: each reaches the focused window as itself,
// whatever the keyboard layout.
void TypeText(const std::wstring& text) {
    for (wchar_t c : text) {
        INPUT keys[2] = {};
        for (INPUT& key : keys) {
            key.type = INPUT_KEYBOARD;
            key.ki.wScan = static_cast<WORD>(c);
            key.ki.dwFlags = KEYEVENTF_UNICODE;
        }
        keys[1].ki.dwFlags |= KEYEVENTF_KEYUP;
        SendInput(2, keys, sizeof(INPUT));
    }
}

class HistorySearchE2E : public testing::Test {
  protected:
    void SetUp() override { ResetRegistryWithHistoryWrittenOnEveryChange(); }
    void TearDown() override {
        if (search_.IsOpen()) {
            search_.Close();
            search_.WaitClosed();
        }
        ResetRegistry();
    }

    void StartWith(const Entries& oldestFirst) {
        ASSERT_TRUE(program_.Start());
        ASSERT_TRUE(CopyOldestFirst(program_, oldestFirst));
    }

    // Ctrl+Shift+X over the target; the window comes up with the focus in its edit box.
    void OpenByHotKey() {
        target_.Focus();
        PressKey('X', true, true);
        search_ = DialogDriver::Find(program_.processId(), SearchCaption());
        ASSERT_TRUE(search_) << "Ctrl+Shift+X showed no search window";
        ASSERT_TRUE(WaitForEditFocus()) << "the edit box has no focus";
    }

    bool WaitForEditFocus() {
        const DWORD thread = GetWindowThreadProcessId(search_.hwnd(), nullptr);
        return WaitUntil(
            [&] {
                GUITHREADINFO info{};
                info.cbSize = sizeof(info);
                return GetForegroundWindow() == search_.hwnd() && GetGUIThreadInfo(thread, &info) &&
                       info.hwndFocus == search_.Item(IDC_SEARCH_TEXT);
            },
            5000);
    }

    Entries Rows() const { return search_.ListItems(IDC_SEARCH_LIST); }
    bool WaitForRows(const Entries& expected) {
        return WaitUntil([&] { return Rows() == expected; }, 5000);
    }
    int Selected() const {
        return static_cast<int>(SendMessageA(search_.Item(IDC_SEARCH_LIST), LB_GETCURSEL, 0, 0));
    }

    VarnokeProcess program_;
    TargetWindow target_;
    DialogDriver search_;
};

TEST_F(HistorySearchE2E, TypedKanaAndFullWidthLettersFindTheirOtherFormsAndEnterPastes) {
    const std::string meeting = Utf8ToAnsi(u8"会議");
    const std::string room = Utf8ToAnsi(u8"カイギ室の予約");
    StartWith({meeting, room, "abc", "xyz"});
    OpenByHotKey();
    // An empty box lists every entry, newest first, numbered as in the history editor.
    EXPECT_TRUE(WaitForRows({"1\txyz", "2\tabc", "3\t" + room, "4\t" + meeting})) << Rows().size();

    TypeText(L"\u304B\u3044\u304E");  // かいぎ
    EXPECT_TRUE(WaitForRows({"3\t" + room})) << Rows().size();
    for (int i = 0; i < 3; ++i) {
        PressKey(VK_BACK);
    }
    EXPECT_TRUE(WaitForRows({"1\txyz", "2\tabc", "3\t" + room, "4\t" + meeting}));
    TypeText(L"\uFF21\uFF22\uFF23");  // ＡＢＣ
    EXPECT_TRUE(WaitForRows({"2\tabc"})) << Rows().size();

    PressKey(VK_RETURN);
    ASSERT_TRUE(search_.WaitClosed());
    EXPECT_TRUE(WaitUntil([&] { return target_.Text() == "abc"; })) << target_.Text();
    EXPECT_EQ(target_.PasteKeys(), "Ctrl+V ");
    EXPECT_EQ(ClipboardNow(), "abc");
    // The program's own write is not captured; the history keeps its order.
    EXPECT_EQ(HistoryOnDisk(program_), (Entries{"xyz", "abc", room, meeting}));
}

TEST_F(HistorySearchE2E, CharactersTheCodePageLacksFindTheEntryThatHoldsThem) {
    const std::wstring korean = L"\uAC10\uC0AC\uD569\uB2C8\uB2E4 \U0001F600";  // 감사합니다 😀
    ASSERT_TRUE(program_.Start());
    ASSERT_TRUE(SetClipboardUnicode(korean));
    // The data file holds what code page 932 makes of it; the exact text goes beside it.
    ASSERT_TRUE(WaitForHistory(program_, {"????? ??"}));
    ASSERT_TRUE(SetClipboardText("plain"));
    ASSERT_TRUE(WaitForHistory(program_, {"plain", "????? ??"}));
    OpenByHotKey();
    TypeText(L"\uC0AC\uD569");  // 사합
    EXPECT_TRUE(WaitUntil(
        [&] {
            return search_.ListCount(IDC_SEARCH_LIST) == 1 &&
                   search_.ListItemWide(IDC_SEARCH_LIST, 0) == L"2\t" + korean;
        },
        5000))
        << Rows().size();
}

TEST_F(HistorySearchE2E, UpAndDownMoveTheSelectionFromTheEditBoxAndEscChangesNothing) {
    StartWith({"one", "two", "three"});
    OpenByHotKey();
    ASSERT_TRUE(WaitForRows({"1\tthree", "2\ttwo", "3\tone"}));
    EXPECT_EQ(Selected(), 0);
    PressKey(VK_DOWN);
    PressKey(VK_DOWN);
    EXPECT_TRUE(WaitUntil([&] { return Selected() == 2; }, 5000)) << Selected();
    PressKey(VK_DOWN);  // stays on the last row
    PressKey(VK_UP);
    EXPECT_TRUE(WaitUntil([&] { return Selected() == 1; }, 5000)) << Selected();
    EXPECT_TRUE(WaitForEditFocus());
    PressKey(VK_ESCAPE);
    ASSERT_TRUE(search_.WaitClosed());
    PumpFor(500);
    EXPECT_EQ(ClipboardNow(), "three");
    EXPECT_EQ(target_.Text(), "");
    EXPECT_EQ(HistoryOnDisk(program_), (Entries{"three", "two", "one"}));

    // The same keys, then Enter, paste the entry they selected.
    OpenByHotKey();
    PressKey(VK_DOWN);
    EXPECT_TRUE(WaitUntil([&] { return Selected() == 1; }, 5000)) << Selected();
    PressKey(VK_RETURN);
    ASSERT_TRUE(search_.WaitClosed());
    EXPECT_TRUE(WaitUntil([&] { return target_.Text() == "two"; })) << target_.Text();
}

TEST_F(HistorySearchE2E, ACopyWhileTheTrayOpenedWindowIsOpenJoinsItsListAndEnterOnlyCopies) {
    StartWith({"alpha"});
    ASSERT_TRUE(ChooseFromTrayMenu(program_, 'F'));  // "履歴の検索(&F)..."
    search_ = DialogDriver::Find(program_.processId(), SearchCaption());
    ASSERT_TRUE(search_) << "the tray command showed no search window";
    ASSERT_TRUE(WaitForRows({"1\talpha"}));
    ASSERT_TRUE(SetClipboardText("new entry"));
    EXPECT_TRUE(WaitForRows({"1\tnew entry", "2\talpha"})) << Rows().size();
    EXPECT_TRUE(WaitForHistory(program_, {"new entry", "alpha"}));
    // The selection stayed on the entry it was on.
    EXPECT_EQ(Selected(), 1);
    ASSERT_TRUE(WaitForEditFocus());
    PressKey(VK_RETURN);
    ASSERT_TRUE(search_.WaitClosed());
    // The target takes the focus at once, so that paste keys sent after the delay would reach
    // it: none may come.
    target_.Focus();
    EXPECT_TRUE(WaitUntil([&] { return ClipboardNow() == "alpha"; })) << ClipboardNow();
    PumpFor(800);
    EXPECT_EQ(target_.Text(), "");
    EXPECT_EQ(target_.PasteKeys(), "");
}

// Saved every minute: the first save comes a minute after the start.
TEST_F(HistorySearchE2E, ACopyWhileTheWindowIsOpenIsSavedByThePeriodicSave) {
    ResetRegistry();
    WriteRegInt("HistoryAutoSave", 1);
    WriteRegInt("HistorySaveInterval", 1);
    WriteRegInt("HistoryAnimation", 0);
    ASSERT_TRUE(program_.Start());
    OpenByHotKey();
    ASSERT_TRUE(SetClipboardText("kept"));
    ASSERT_TRUE(WaitForRows({"1\tkept"}));
    EXPECT_TRUE(WaitForHistory(program_, {"kept"}, 75000));
    EXPECT_TRUE(search_.IsOpen());
}

TEST_F(HistorySearchE2E, TextStillBeingComposedDoesNotFilter) {
    StartWith({"alpha", "beta"});
    OpenByHotKey();
    ASSERT_TRUE(WaitForRows({"1\tbeta", "2\talpha"}));
    HWND edit = search_.Item(IDC_SEARCH_TEXT);
    // What an input method sends around a composition that the edit box shows in place.
    SendMessageW(edit, WM_IME_STARTCOMPOSITION, 0, 0);
    TypeText(L"al");
    ASSERT_TRUE(WaitUntil([&] { return SendMessageW(edit, WM_GETTEXTLENGTH, 0, 0) == 2; }, 5000));
    PumpFor(300);
    EXPECT_EQ(Rows().size(), 2u);
    SendMessageW(edit, WM_IME_ENDCOMPOSITION, 0, 0);
    EXPECT_TRUE(WaitForRows({"2\talpha"})) << Rows().size();

    // Continuous input: one composition ends and the next starts in the same keystroke, so
    // the characters in the box when the end is handled are the new, uncommitted ones.
    SendMessageW(edit, WM_IME_STARTCOMPOSITION, 0, 0);
    SendMessageW(edit, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(L"be"));
    PostMessageW(edit, WM_IME_ENDCOMPOSITION, 0, 0);
    PostMessageW(edit, WM_IME_STARTCOMPOSITION, 0, 0);
    PumpFor(300);
    EXPECT_EQ(Rows(), (Entries{"2\talpha"}));
    SendMessageW(edit, WM_IME_ENDCOMPOSITION, 0, 0);
    EXPECT_TRUE(WaitForRows({"1\tbeta"})) << Rows().size();
}

// The window stays open for as long as the user likes: the program goes on working around
// it, as it does when the window is closed.
TEST_F(HistorySearchE2E, WhileTheWindowIsOpenTheTrayTheHotKeysAndExitWork) {
    // Saved at exit only: the copies reach the data file by the exit alone.
    ResetRegistry();
    WriteRegInt("HistoryAnimation", 0);
    ASSERT_TRUE(program_.Start());
    OpenByHotKey();
    for (const char* text : {"first", "second"}) {
        ASSERT_TRUE(SetClipboardText(text));
        ASSERT_TRUE(WaitUntil([&] { return Rows().size() == (text[0] == 'f' ? 1u : 2u); }, 5000));
    }
    ASSERT_TRUE(WaitForRows({"1\tsecond", "2\tfirst"}));

    // A tray click shows the history menu, and its choice goes to the clipboard.
    ASSERT_TRUE(OpenMenu(program_, [&] { program_.PressTrayIcon(WM_LBUTTONDOWN); }));
    PressKey('2');
    ASSERT_TRUE(WaitForMenuClosed(program_));
    EXPECT_TRUE(WaitUntil([&] { return ClipboardNow() == "first"; })) << ClipboardNow();
    EXPECT_TRUE(search_.IsOpen());

    // The tray menu's hot key, then its options command, opens the options dialog.
    ASSERT_TRUE(OpenMenu(program_, [&] { PressKey('R', true, true); }));
    PressKey('O');
    DialogDriver options =
        DialogDriver::Find(program_.processId(), Utf8ToAnsi(u8"オプション設定 - Varnoke"));
    ASSERT_TRUE(options) << "the options dialog did not open";
    options.Close();
    ASSERT_TRUE(options.WaitClosed());

    // Exit from the tray menu ends the program and saves the history.
    EXPECT_FALSE(FileExists(program_.PathInFolder("Varnoke.vnk")));
    ASSERT_TRUE(ChooseFromTrayMenu(program_, 'X'));  // "Varnokeの終了(&X)"
    EXPECT_EQ(WaitForSingleObject(program_.processHandle(), 10000), WAIT_OBJECT_0);
    EXPECT_EQ(HistoryOnDisk(program_), (Entries{"second", "first"}));
}

// Pressed again over another program, the hot key brings the window back, restored, and
// its choice is pasted there.
TEST_F(HistorySearchE2E, TheHotKeyPressedAgainTakesTheWindowInFrontAsTheTarget) {
    StartWith({"one", "two"});
    ASSERT_TRUE(ChooseFromTrayMenu(program_, 'F'));  // opened without a target to paste into
    search_ = DialogDriver::Find(program_.processId(), SearchCaption());
    ASSERT_TRUE(search_);
    ShowWindow(search_.hwnd(), SW_MINIMIZE);
    ASSERT_TRUE(WaitUntil([&] { return IsIconic(search_.hwnd()) != FALSE; }));
    OpenByHotKey();
    EXPECT_FALSE(IsIconic(search_.hwnd()));
    PressKey(VK_DOWN);
    EXPECT_TRUE(WaitUntil([&] { return Selected() == 1; }, 5000)) << Selected();
    PressKey(VK_RETURN);
    ASSERT_TRUE(search_.WaitClosed());
    EXPECT_TRUE(WaitUntil([&] { return target_.Text() == "one"; })) << target_.Text();
}

TEST_F(HistorySearchE2E, ATakenSearchKeyIsReportedAndSavedDisabled) {
    HeldHotKey held(MOD_CONTROL | MOD_SHIFT, 'X');
    ASSERT_TRUE(held.registered());
    ASSERT_TRUE(program_.Start());
    HWND box = FindMessageBox(program_.processId(), "Varnoke");
    ASSERT_NE(box, nullptr) << "no failure message";
    const std::string text = MessageBoxText(box);
    EXPECT_NE(text.find(Utf8ToAnsi(u8"「履歴の検索」")), std::string::npos) << text;
    const std::string keys = PlatformKeyName(VK_CONTROL) + " + " + PlatformKeyName(VK_SHIFT) +
                             " + " + PlatformKeyName('X');
    EXPECT_NE(text.find("\"" + keys + "\""), std::string::npos) << text;
    AnswerMessageBox(box);
    ASSERT_TRUE(WaitUntil([&] { return !IsWindow(box); }));
    ASSERT_TRUE(program_.Stop());
    EXPECT_EQ(RegInt("HotKeyEnable96"), 0u);
    EXPECT_EQ(RegInt("HotKeyCode96"), DWORD{'X'});
    EXPECT_EQ(RegInt("HotKeyEnable00"), 1u);
}

// What the user means: every word in any order, romaji for kana, and the line where the
// first word is rather than the entry's first line.
TEST_F(HistorySearchE2E, WordsInAnyOrderRomajiAndTheMatchingLineAreFound) {
    const std::string meeting = Utf8ToAnsi(u8"会議");
    const std::string room = Utf8ToAnsi(u8"カイギ室の予約 会議");
    const std::string memo = Utf8ToAnsi(u8"ｶｲｷﾞ ﾒﾓ");
    std::string lines;
    for (int i = 1; i <= 40; ++i) {
        lines += "line " + std::to_string(i) + (i == 30 ? " agenda" : "") + "\r\n";
    }
    StartWith({meeting, room, memo, lines});
    OpenByHotKey();
    const HWND edit = search_.Item(IDC_SEARCH_TEXT);
    auto query = [&](const wchar_t* text) { SetWindowTextW(edit, text); };

    query(L"\u4F1A\u8B70 \u4E88\u7D04");  // 会議 予約
    EXPECT_TRUE(WaitForRows({"3\t" + room})) << Rows().size();
    query(L"kaigi");
    EXPECT_TRUE(WaitForRows({"2\t" + memo, "3\t" + room})) << Rows().size();
    query(L"AGENDA");
    EXPECT_TRUE(WaitForRows({"1\tline 30 agenda"})) << (Rows().empty() ? "" : Rows()[0]);
}

// Characters that look alike, and kana whose voiced mark came apart (text from a Mac), are
// found as the characters they stand for.
TEST_F(HistorySearchE2E, LookAlikesAndSeparateVoicedMarksAreFound) {
    const std::string tilde =
        "\x81\x60"
        "10";  // ～10, as code page 932 keeps the wave dash
    StartWith({tilde});
    ASSERT_TRUE(SetClipboardUnicode(L"\u304B\u3099\u3044\u304E"));  // か + U+3099 + いぎ
    ASSERT_TRUE(WaitUntil([&] { return HistoryOnDisk(program_).size() == 2; }));
    OpenByHotKey();
    const HWND edit = search_.Item(IDC_SEARCH_TEXT);
    SetWindowTextW(edit, L"\u301C10");  // the JIS wave dash 〜
    EXPECT_TRUE(WaitForRows({"2\t" + tilde})) << Rows().size();
    SetWindowTextW(edit, L"\u304C\u3044");  // がい
    ASSERT_TRUE(WaitUntil([&] { return Rows().size() == 1; }, 5000)) << Rows().size();
    EXPECT_EQ(search_.ListItemWide(IDC_SEARCH_LIST, 0), L"1\t\u304B\u3099\u3044\u304E");
}

// A line of a phrase file is listed below the entries and pasted as its menu pastes it.
TEST_F(HistorySearchE2E, APhraseLineIsFoundAndPastedWithItsDateExpanded) {
    WriteRegString("HotKeyData01", "phrases.txt");
    ASSERT_TRUE(WriteFileBytes(program_.PathInFolder("phrases.txt"),
                               "[#stamp comment\r\n[<\\0Y/\\0M/\\0d>]date stamp\r\nother\r\n"));
    StartWith({"stamp collection"});
    OpenByHotKey();
    SetWindowTextW(search_.Item(IDC_SEARCH_TEXT), L"stamp");
    const std::string source = Utf8ToAnsi(u8"短文入力メニュー(1番目) phrases.txt");
    EXPECT_TRUE(WaitForRows({"1\tstamp collection", source + "\t[<\\0Y/\\0M/\\0d>]date stamp"}))
        << Rows().size();
    PressKey(VK_DOWN);
    PressKey(VK_RETURN);
    ASSERT_TRUE(search_.WaitClosed());
    SYSTEMTIME now{};
    GetLocalTime(&now);
    char today[32];
    std::snprintf(today, sizeof(today), "%04u/%02u/%02u", now.wYear, now.wMonth, now.wDay);
    EXPECT_TRUE(WaitUntil([&] { return target_.Text() == today; })) << target_.Text();
}

// Where the user put the window is where it opens next time, and after a restart.
TEST_F(HistorySearchE2E, TheWindowOpensWhereItWasLeft) {
    StartWith({"one"});
    OpenByHotKey();
    ASSERT_TRUE(SetWindowPos(search_.hwnd(), nullptr, 40, 50, 520, 330, SWP_NOZORDER));
    search_.Close();
    ASSERT_TRUE(search_.WaitClosed());
    OpenByHotKey();
    RECT rect{};
    GetWindowRect(search_.hwnd(), &rect);
    EXPECT_EQ(rect.left, 40);
    EXPECT_EQ(rect.top, 50);
    EXPECT_EQ(rect.right - rect.left, 520);
    EXPECT_EQ(rect.bottom - rect.top, 330);
    search_.Close();
    ASSERT_TRUE(search_.WaitClosed());
    ASSERT_TRUE(program_.Stop());
    std::string place;
    EXPECT_TRUE(ReadRegString("SearchWindowPos", &place));
    EXPECT_EQ(place, "40,50,560,380");
}

// Settings of a version without the search window, whose phrase menu 2 took Ctrl+Shift+X:
// the search key yields, without a message on the first start.
TEST_F(HistorySearchE2E, AnUpgradeWithTheSearchKeyOnAPhraseSlotStartsWithItOffQuietly) {
    WriteRegInt("HotKeyCode02", 'X');
    WriteRegInt("HotKeyMod02", 6);
    WriteRegInt("HotKeyEnable02", 1);
    ASSERT_TRUE(program_.Start());
    EXPECT_EQ(FindMessageBox(program_.processId(), nullptr, 1000), nullptr);
    ASSERT_TRUE(program_.Stop());
    EXPECT_EQ(RegInt("HotKeyEnable96"), 0u);
    EXPECT_EQ(RegInt("HotKeyEnable02"), 1u);
}

}  // namespace
}  // namespace e2e
