// The history menu as a user drives it: the hot key or a tray press opens it, a key
// chooses an entry, and the entry lands on the clipboard and, after the hot key, in the
// window that was active. The history data file (saved after every change) shows what
// happened to the list.
#include <gtest/gtest.h>

#include "harness.h"

namespace e2e {
namespace {

using Entries = std::vector<std::string>;

bool WaitForClipboard(const std::string& expected) {
    return WaitUntil([&] {
        std::string text;
        return GetClipboardText(&text) && text == expected;
    });
}

void KeyDown(BYTE vk) {
    keybd_event(vk, 0, 0, 0);
}
void KeyUp(BYTE vk) {
    keybd_event(vk, 0, KEYEVENTF_KEYUP, 0);
}

// The foreground can still change hands after the menu opened: the press counts only
// when the program held the foreground on both sides of it.
bool HoldKeyForProgram(const VarnokeProcess& program, BYTE vk) {
    return WaitUntil([&] {
        if (!ProgramInForeground(program)) {
            return false;
        }
        KeyDown(vk);
        if (ProgramInForeground(program)) {
            return true;
        }
        KeyUp(vk);
        return false;
    });
}

class HistoryMenuE2E : public testing::Test {
  protected:
    void SetUp() override { ResetRegistryWithHistoryWrittenOnEveryChange(); }
    void TearDown() override { ResetRegistry(); }

    // Starts the program and copies the texts, oldest first. With the default settings
    // the newest entry is position 0, numbered 1, and shown last.
    void StartWith(const Entries& oldestFirst) {
        ASSERT_TRUE(program_.Start());
        ASSERT_TRUE(CopyOldestFirst(program_, oldestFirst));
    }

    void OpenByHotKey() {
        ASSERT_TRUE(OpenMenu(program_, [&] {
            target_.Focus();
            PressKey('C', true, true);
        })) << "Ctrl+Shift+C showed no menu";
    }

    void OpenByTrayPress() {
        ASSERT_TRUE(OpenMenu(program_, [&] { program_.PressTrayIcon(WM_LBUTTONDOWN); }))
            << "the tray press showed no menu";
    }

    VarnokeProcess program_;
    TargetWindow target_;
};

TEST_F(HistoryMenuE2E, HotKeyPastesTheChosenEntryIntoTheFocusedWindow) {
    StartWith({"alpha", "beta"});
    OpenByHotKey();
    PressKey('2');  // "&2. alpha"
    EXPECT_TRUE(WaitUntil([&] { return target_.Text() == "alpha"; })) << target_.Text();
    EXPECT_EQ(target_.PasteKeys(), "Ctrl+V ");
    EXPECT_EQ(ClipboardNow(), "alpha");
    // The program's own write is not captured, but the next copy is.
    ASSERT_TRUE(SetClipboardText("gamma"));
    EXPECT_TRUE(WaitForHistory(program_, {"gamma", "beta", "alpha"}));
}

TEST_F(HistoryMenuE2E, AChoiceWhileAnotherProgramHoldsTheClipboardIsPastedWhenItLetsGo) {
    StartWith({"alpha", "beta"});
    OpenByHotKey();
    ASSERT_TRUE(HoldClipboard());
    PressKey('2');  // "&2. alpha"
    // The hold ends only after the program's first write has met it: the menu has closed,
    // the program has given the foreground back to the target before it handles the
    // choice, and has handled what came before a later message.
    const bool choiceMetTheHold =
        WaitForMenuClosed(program_) &&
        WaitUntil([&] { return GetForegroundWindow() == target_.hwnd(); }) &&
        ProgramCaughtUp(program_);
    ReleaseClipboard();
    ASSERT_TRUE(choiceMetTheHold);
    EXPECT_TRUE(WaitUntil([&] { return target_.Text() == "alpha"; })) << target_.Text();
    EXPECT_EQ(ClipboardNow(), "alpha");
    // The late write is still the program's own: it is not captured, the next copy is.
    ASSERT_TRUE(SetClipboardText("gamma"));
    EXPECT_TRUE(WaitForHistory(program_, {"gamma", "beta", "alpha"}));
}

// HistoryPasteDirect 0: the hot key's menu only puts the entry on the clipboard, as a tray
// press does; nothing is typed into the window that had the focus.
TEST_F(HistoryMenuE2E, WithoutPasteDirectTheHotKeyMenuOnlyCopies) {
    WriteRegInt("HistoryPasteDirect", 0);
    WriteRegInt("PasteDelayTime", 1000);
    StartWith({"alpha", "beta"});
    OpenByHotKey();
    PressKey('2');  // "&2. alpha"
    ASSERT_TRUE(WaitForClipboard("alpha"));
    ASSERT_TRUE(target_.Focus());
    PumpFor(1500);
    EXPECT_EQ(target_.Text(), "");
    EXPECT_EQ(target_.PasteKeys(), "");
}

TEST_F(HistoryMenuE2E, ShiftInsertPastesToo) {
    WriteRegInt("PasteCommand", 1);
    WriteRegInt("PasteDelayTime", 0);
    StartWith({"alpha", "beta"});
    OpenByHotKey();
    PressKey('1');
    EXPECT_TRUE(WaitUntil([&] { return target_.Text() == "beta"; })) << target_.Text();
    EXPECT_EQ(target_.PasteKeys(), "Shift+Insert ");
    EXPECT_EQ(HistoryOnDisk(program_), (Entries{"beta", "alpha"}));
}

TEST_F(HistoryMenuE2E, TrayPressPutsTheEntryOnTheClipboardWithoutPasting) {
    // A long delay leaves time to give the target the focus back before a paste would
    // be typed; none must come.
    WriteRegInt("PasteDelayTime", 1000);
    StartWith({"alpha", "beta"});
    // A hot-key menu dismissed without a choice leaves calledByHotKey set; the tray press
    // must clear it.
    OpenByHotKey();
    PressKey(VK_ESCAPE);
    ASSERT_TRUE(WaitForMenuClosed(program_));
    OpenByTrayPress();
    PressKey('2');
    ASSERT_TRUE(WaitForClipboard("alpha"));
    ASSERT_TRUE(target_.Focus());
    PumpFor(1500);
    EXPECT_EQ(target_.Text(), "");
}

TEST_F(HistoryMenuE2E, ChoosingMovesTheEntryWithHistoryMoveUp) {
    WriteRegInt("HistoryMoveUp", 1);
    WriteRegInt("HistoryAccessKey", 2);  // the eleventh entry is "11(&A). a"
    const Entries history = {"k", "j", "i", "h", "g", "f", "e", "d", "c", "b", "a"};
    ASSERT_TRUE(WriteFileBytes(program_.PathInFolder("Varnoke.vnk"), EncodeHistory(history)));
    ASSERT_TRUE(program_.Start());
    OpenByHotKey();
    PressKey('A');
    EXPECT_TRUE(WaitUntil([&] { return target_.Text() == "a"; })) << target_.Text();
    Entries moved(history.begin(), history.end() - 1);
    moved.insert(moved.begin(), "a");
    EXPECT_TRUE(WaitForHistory(program_, moved));
}

TEST_F(HistoryMenuE2E, CtrlHeldWhileChoosingInvertsHistoryMoveUp) {
    StartWith({"alpha", "beta", "gamma"});
    MouseAt({300, 300});
    OpenByTrayPress();
    // Wine's menu loop takes Ctrl+Enter for a character, so the mouse chooses: the menu
    // opens at the cursor and its first item shown is "3. alpha".
    ASSERT_TRUE(HoldKeyForProgram(program_, VK_CONTROL));
    MouseAt({330, 308}, {MOUSEEVENTF_LEFTDOWN, MOUSEEVENTF_LEFTUP});
    bool chosen = WaitForClipboard("alpha");
    KeyUp(VK_CONTROL);
    ASSERT_TRUE(chosen);
    EXPECT_TRUE(WaitForHistory(program_, {"alpha", "gamma", "beta"}));
}

TEST_F(HistoryMenuE2E, ShiftBackspaceDeletesTheHighlightedEntry) {
    StartWith({"alpha", "beta", "gamma"});
    OpenByTrayPress();
    PressKey(VK_DOWN);
    PressKey(VK_DOWN);  // "2. beta"
    PressKey(VK_BACK, false, true);
    EXPECT_TRUE(WaitForHistory(program_, {"gamma", "alpha"}));
    EXPECT_TRUE(WaitForMenuClosed(program_));
    EXPECT_EQ(ClipboardNow(), "gamma");
    // Backspace alone does nothing special.
    OpenByTrayPress();
    PressKey(VK_DOWN);
    PressKey(VK_BACK);
    PressKey(VK_ESCAPE);
    ASSERT_TRUE(WaitForMenuClosed(program_));
    ASSERT_TRUE(program_.Stop());
    EXPECT_EQ(HistoryOnDisk(program_), (Entries{"gamma", "alpha"}));
}

TEST_F(HistoryMenuE2E, ATrayPressRightAfterADismissedMenuOpensNothing) {
    StartWith({"alpha"});
    OpenByTrayPress();
    PressKey(VK_ESCAPE);
    ASSERT_TRUE(WaitForMenuClosed(program_));
    program_.PressTrayIcon(WM_LBUTTONDOWN);
    EXPECT_FALSE(WaitUntil([&] { return ProgramInMenuLoop(program_); }, 400));
    // Later presses open it again.
    OpenByTrayPress();
    PressKey(VK_ESCAPE);
    EXPECT_TRUE(WaitForMenuClosed(program_));
}

TEST_F(HistoryMenuE2E, AChoiceAfterACaptureStillPastesTheEntryShown) {
    StartWith({"alpha", "beta"});
    OpenByHotKey();
    // A copy while the menu is open shifts every position by one.
    ASSERT_TRUE(SetClipboardText("intruder"));
    ASSERT_TRUE(WaitForHistory(program_, {"intruder", "beta", "alpha"}));
    PressKey('2');  // shown as "&2. alpha"; position 1 now holds beta
    EXPECT_TRUE(WaitUntil([&] { return target_.Text() == "alpha"; })) << target_.Text();
    EXPECT_EQ(ClipboardNow(), "alpha");
}

TEST_F(HistoryMenuE2E, OfTwoEqualEntriesAChoiceAfterACaptureMovesTheOneShown) {
    WriteRegInt("HistoryMoveUp", 1);
    StartWith({"A", "B", "A"});
    OpenByTrayPress();
    ASSERT_TRUE(SetClipboardText("C"));
    ASSERT_TRUE(WaitForHistory(program_, {"C", "A", "B", "A"}));
    PressKey('3');  // shown as "&3. A", the older A, now at position 3
    EXPECT_TRUE(WaitForHistory(program_, {"A", "C", "A", "B"}));
}

TEST_F(HistoryMenuE2E, ShiftBackspaceAfterACaptureDeletesTheEntryShown) {
    StartWith({"alpha", "beta", "gamma"});
    OpenByTrayPress();
    PressKey(VK_DOWN);
    PressKey(VK_DOWN);  // "2. beta"
    ASSERT_TRUE(SetClipboardText("intruder"));
    ASSERT_TRUE(WaitForHistory(program_, {"intruder", "gamma", "beta", "alpha"}));
    PressKey(VK_BACK, false, true);  // position 1 now holds gamma; beta must go
    EXPECT_TRUE(WaitForHistory(program_, {"intruder", "gamma", "alpha"}));
    EXPECT_TRUE(WaitForMenuClosed(program_));
}

TEST_F(HistoryMenuE2E, AHotKeyTakenElsewhereIsReportedAndSavedDisabled) {
    HeldHotKey taken(MOD_CONTROL | MOD_SHIFT, 'C');
    ASSERT_TRUE(taken.registered());
    ASSERT_TRUE(program_.Start());
    HWND box = FindMessageBox(program_.processId(), "Varnoke");
    ASSERT_NE(box, nullptr);
    const std::string text = MessageBoxText(box);
    EXPECT_NE(text.find(Utf8ToAnsi(u8"「クリップボード履歴」")), std::string::npos) << text;
    const std::string keys = PlatformKeyName(VK_CONTROL) + " + " + PlatformKeyName(VK_SHIFT) +
                             " + " + PlatformKeyName('C');
    EXPECT_NE(text.find("\"" + keys + "\""), std::string::npos) << text;
    AnswerMessageBox(box);
    // The other default keys register; no second message follows.
    EXPECT_TRUE(
        WaitUntil([&] { return FindMessageBox(program_.processId(), "Varnoke", 0) == nullptr; }));
    PumpFor(300);
    EXPECT_EQ(FindMessageBox(program_.processId(), "Varnoke", 0), nullptr);
    ASSERT_TRUE(program_.Stop());
    EXPECT_EQ(RegInt("HotKeyEnable00"), 0u);
    EXPECT_EQ(RegInt("HotKeyEnable99"), 1u);
}

TEST_F(HistoryMenuE2E, PopupPosFourOpensTheHotKeyMenuInTheBottomRightCorner) {
    WriteRegInt("PopupPos", 4);
    StartWith({"alpha"});
    MouseAt({10, 10});
    OpenByHotKey();
    POINT corner{GetSystemMetrics(SM_CXSCREEN) - 3, GetSystemMetrics(SM_CYSCREEN) - 3};
    HWND atCorner = WindowFromPoint(corner);
    char className[32] = {};
    GetClassNameA(atCorner, className, sizeof(className));
    EXPECT_STREQ(className, "#32768");
    PressKey(VK_ESCAPE);
    EXPECT_TRUE(WaitForMenuClosed(program_));
}

}  // namespace
}  // namespace e2e
