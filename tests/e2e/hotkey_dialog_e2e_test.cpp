// The hot-key settings dialog as a user drives it: the tray menu's "ホットキーの設定" opens
// it, keys are typed into its hot-key fields, and after OK the new keys work at once;
// the registry at exit shows what was kept.
#include <gtest/gtest.h>

#include "dialog_driver.h"
#include "harness.h"

#include <commctrl.h>

namespace e2e {
namespace {

std::string DialogCaption() {
    return Utf8ToAnsi(u8"ホットキーの設定 - Varnoke");
}

// What a hot-key control holds for a key and its modifiers.
WORD ControlValue(WORD vk, bool ctrl, bool shift, bool alt) {
    return MAKEWORD(
        vk, (ctrl ? HOTKEYF_CONTROL : 0) | (shift ? HOTKEYF_SHIFT : 0) | (alt ? HOTKEYF_ALT : 0));
}

class HotKeyDialogE2E : public testing::Test {
  protected:
    void SetUp() override { ResetRegistryWithHistoryWrittenOnEveryChange(); }
    void TearDown() override {
        if (dialog_.IsOpen()) {
            dialog_.Click(IDCANCEL);
            dialog_.WaitClosed();
        }
        ResetRegistry();
    }

    // Starts the program with one history entry, so the history hot key has a menu.
    void Start() {
        ASSERT_TRUE(program_.Start());
        ASSERT_TRUE(SetClipboardText("alpha"));
        ASSERT_TRUE(WaitForHistory(program_, {"alpha"}));
    }

    void RightClickTray() { program_.PressTrayIcon(WM_RBUTTONUP); }

    // Tray menu, "ホットキーの設定(&K)...".
    void OpenDialog() {
        RightClickTray();
        ASSERT_TRUE(WaitForMenu(program_)) << "no tray menu";
        PressKey('K');
        dialog_ = DialogDriver::Find(program_.processId(), DialogCaption());
        ASSERT_TRUE(dialog_) << "no hot-key dialog";
    }

    // Presses the combination with the focus in a hot-key field.
    void TypeKey(int field, WORD vk, bool ctrl, bool shift, bool alt = false) {
        ASSERT_TRUE(dialog_.FocusItem(field));
        PressKey(vk, ctrl, shift, alt);
        const WORD expected = ControlValue(vk, ctrl || (!shift && !alt), shift, alt);
        ASSERT_TRUE(WaitUntil([&] { return dialog_.HotKey(field) == expected; }, 5000))
            << std::hex << dialog_.HotKey(field) << " in " << std::dec << field;
    }

    void Close(int button) {
        dialog_.Click(button);
        ASSERT_TRUE(dialog_.WaitClosed());
    }

    // Whether the combination, pressed in a window of ours, opens a menu of the program.
    bool OpensAMenu(WORD vk, bool ctrl, bool shift, bool alt = false) {
        const bool opened = OpenMenu(
            program_,
            [&] {
                target_.Focus();
                PressKey(vk, ctrl, shift, alt);
            },
            1500);
        if (opened) {
            PressKey(VK_ESCAPE);
            EXPECT_TRUE(WaitForMenuClosed(program_));
        }
        return opened;
    }

    VarnokeProcess program_;
    TargetWindow target_;
    DialogDriver dialog_;
};

TEST_F(HotKeyDialogE2E, TrayCommandShowsTheStoredKeysAndOkKeepsThemButTheWinKey) {
    WriteRegInt("HotKeyMod99", 8 | 2);  // Win+Ctrl+E
    WriteRegInt("HotKeyMod98", 4);      // Shift+R
    WriteRegInt("HotKeyMod97", 1);      // Alt+P
    WriteRegInt("HistoryPasteDirect", 0);
    WriteRegInt("HotKeyEnable02", 1);
    WriteRegInt("HotKeyCode02", 'W');
    WriteRegString("HotKeyData02", "second.txt");
    Start();
    OpenDialog();
    EXPECT_EQ(dialog_.HotKey(IDC_HOTKEY_HISTORY), ControlValue('C', true, true, false));
    EXPECT_EQ(dialog_.HotKey(IDC_HOTKEY_EDITOR), ControlValue('E', true, false, false));
    EXPECT_EQ(dialog_.HotKey(IDC_HOTKEY_TRAY_MENU), ControlValue('R', false, true, false));
    EXPECT_EQ(dialog_.HotKey(IDC_HOTKEY_PAUSE), ControlValue('P', false, false, true));
    EXPECT_EQ(dialog_.HotKey(IDC_HOTKEY_SHORTTEXT2), ControlValue('W', true, true, false));
    EXPECT_EQ(dialog_.HotKey(IDC_HOTKEY_SHORTTEXT3), ControlValue(0, true, true, false));
    EXPECT_FALSE(dialog_.IsChecked(IDC_PASTE_DIRECT));
    EXPECT_TRUE(dialog_.IsChecked(IDC_PASTE_ONLY));
    EXPECT_FALSE(dialog_.IsChecked(IDC_PASTE_RESTORE));
    EXPECT_TRUE(dialog_.IsChecked(IDC_HOTKEY_ENABLE_HISTORY));
    EXPECT_TRUE(dialog_.IsChecked(IDC_HOTKEY_ENABLE_SHORTTEXT2));
    EXPECT_FALSE(dialog_.IsChecked(IDC_HOTKEY_ENABLE_SHORTTEXT3));
    EXPECT_EQ(dialog_.Text(IDC_SHORTTEXT_PATH1), "Symbol.txt");
    EXPECT_EQ(dialog_.Text(IDC_SHORTTEXT_PATH2), "second.txt");
    // A row that is off is disabled, one that is on is not.
    for (int id :
         {IDC_HOTKEY_SHORTTEXT3, IDC_SHORTTEXT_PATH3, IDC_SHORTTEXT_BROWSE3, IDC_SHORTTEXT_EDIT3}) {
        EXPECT_FALSE(dialog_.IsEnabled(id)) << id;
    }
    for (int id : {IDC_HOTKEY_SHORTTEXT2, IDC_SHORTTEXT_PATH2, IDC_SHORTTEXT_BROWSE2,
                   IDC_SHORTTEXT_EDIT2, IDC_HOTKEY_HISTORY, IDC_PASTE_DIRECT, IDC_PASTE_RESTORE}) {
        EXPECT_TRUE(dialog_.IsEnabled(id)) << id;
    }
    dialog_.SetCheck(IDC_PASTE_RESTORE, true);
    Close(IDOK);

    ASSERT_TRUE(program_.Stop());
    EXPECT_EQ(RegInt("HotKeyCode99"), DWORD{'E'});
    EXPECT_EQ(RegInt("HotKeyMod99"), 2u);  // the Win key is lost
    EXPECT_EQ(RegInt("HotKeyMod98"), 4u);
    EXPECT_EQ(RegInt("HotKeyMod97"), 1u);
    EXPECT_EQ(RegInt("HotKeyCode00"), DWORD{'C'});
    EXPECT_EQ(RegInt("HotKeyMod00"), 6u);
    EXPECT_EQ(RegInt("HotKeyCode02"), DWORD{'W'});
    EXPECT_EQ(RegInt("HotKeyMod03"), 6u);
    EXPECT_EQ(RegInt("HistoryPasteDirect"), 0u);
    EXPECT_EQ(RegInt("PasteRestoreClipboard"), 1u);
    std::string path;
    ASSERT_TRUE(ReadRegString("HotKeyData02", &path));
    EXPECT_EQ(path, "second.txt");
}

TEST_F(HotKeyDialogE2E, WhileTheDialogIsOpenTheHistoryKeyOpensNoMenuAndTypesIntoAField) {
    Start();
    OpenDialog();
    TypeKey(IDC_HOTKEY_EDITOR, 'C', true, true);
    EXPECT_FALSE(WaitForMenu(program_, 800));
    // A key without modifiers becomes Ctrl plus that key.
    TypeKey(IDC_HOTKEY_PAUSE, 'K', false, false);
    Close(IDCANCEL);
}

TEST_F(HotKeyDialogE2E, ANewHistoryKeyOpensTheMenuAfterOkAndTheOldOneNoLonger) {
    Start();
    OpenDialog();
    TypeKey(IDC_HOTKEY_HISTORY, 'J', true, false, true);  // Ctrl+Alt+J
    Close(IDOK);
    EXPECT_FALSE(OpensAMenu('C', true, true));
    EXPECT_TRUE(OpensAMenu('J', true, false, true));
    ASSERT_TRUE(program_.Stop());
    EXPECT_EQ(RegInt("HotKeyCode00"), DWORD{'J'});
    EXPECT_EQ(RegInt("HotKeyMod00"), 3u);  // Alt 1 + Ctrl 2
    EXPECT_EQ(RegInt("HotKeyEnable00"), 1u);
}

TEST_F(HotKeyDialogE2E, TheSearchKeyIsShownChangedAndSaved) {
    Start();
    OpenDialog();
    EXPECT_TRUE(dialog_.IsChecked(IDC_HOTKEY_ENABLE_SEARCH));
    EXPECT_EQ(dialog_.HotKey(IDC_HOTKEY_SEARCH), ControlValue('X', true, true, false));
    TypeKey(IDC_HOTKEY_SEARCH, 'J', true, false, true);  // Ctrl+Alt+J
    Close(IDOK);
    target_.Focus();
    PressKey('J', true, false, true);
    DialogDriver search = DialogDriver::Find(program_.processId(), SearchCaption());
    ASSERT_TRUE(search) << "the new key showed no search window";
    search.Close();
    ASSERT_TRUE(search.WaitClosed());
    ASSERT_TRUE(program_.Stop());
    EXPECT_EQ(RegInt("HotKeyCode96"), DWORD{'J'});
    EXPECT_EQ(RegInt("HotKeyMod96"), 3u);  // Alt 1 + Ctrl 2
    EXPECT_EQ(RegInt("HotKeyEnable96"), 1u);
}

TEST_F(HotKeyDialogE2E, CancelAfterAChangeBringsTheOldKeysBack) {
    Start();
    OpenDialog();
    TypeKey(IDC_HOTKEY_HISTORY, 'J', true, false, true);
    dialog_.SetCheck(IDC_HOTKEY_ENABLE_SHORTTEXT1, false);
    Close(IDCANCEL);
    EXPECT_TRUE(OpensAMenu('C', true, true));
    EXPECT_FALSE(OpensAMenu('J', true, false, true));
    EXPECT_EQ(FindMessageBox(program_.processId(), "Varnoke", 0), nullptr);
    ASSERT_TRUE(program_.Stop());
    EXPECT_EQ(RegInt("HotKeyCode00"), DWORD{'C'});
    EXPECT_EQ(RegInt("HotKeyMod00"), 6u);
    EXPECT_EQ(RegInt("HotKeyEnable01"), 1u);
}

TEST_F(HotKeyDialogE2E, TwoSlotsWithOneKeyReportTheSecondAndSaveItDisabled) {
    Start();
    OpenDialog();
    TypeKey(IDC_HOTKEY_EDITOR, 'C', true, true);
    dialog_.Click(IDOK);
    HWND box = FindMessageBox(program_.processId(), "Varnoke");
    ASSERT_NE(box, nullptr) << "no failure message";
    const std::string text = MessageBoxText(box);
    EXPECT_NE(text.find(Utf8ToAnsi(u8"「履歴の編集」")), std::string::npos) << text;
    const std::string keys = PlatformKeyName(VK_CONTROL) + " + " + PlatformKeyName(VK_SHIFT) +
                             " + " + PlatformKeyName('C');
    EXPECT_NE(text.find("\"" + keys + "\""), std::string::npos) << text;
    // The tray menu is held back while the box is open.
    RightClickTray();
    EXPECT_FALSE(WaitForMenu(program_, 800));
    AnswerMessageBox(box);
    ASSERT_TRUE(dialog_.WaitClosed());
    ASSERT_TRUE(WaitUntil([&] { return !IsWindow(box); }));
    PumpFor(300);
    EXPECT_EQ(FindMessageBox(program_.processId(), "Varnoke", 0), nullptr) << "a second message";
    // The first slot keeps the key.
    EXPECT_TRUE(OpensAMenu('C', true, true));
    ASSERT_TRUE(program_.Stop());
    EXPECT_EQ(RegInt("HotKeyEnable99"), 0u);
    EXPECT_EQ(RegInt("HotKeyCode99"), DWORD{'C'});
    EXPECT_EQ(RegInt("HotKeyEnable00"), 1u);
}

TEST_F(HotKeyDialogE2E, TurningSlotFourOffDisablesItsRowAndSilencesItsKey) {
    ASSERT_TRUE(program_.CopyBesideProgram("Symbol.txt"));
    Start();
    OpenDialog();
    const int row[] = {IDC_HOTKEY_SHORTTEXT1, IDC_SHORTTEXT_PATH1, IDC_SHORTTEXT_BROWSE1,
                       IDC_SHORTTEXT_EDIT1};
    dialog_.SetCheck(IDC_HOTKEY_ENABLE_SHORTTEXT1, false);
    for (int id : row) {
        EXPECT_FALSE(dialog_.IsEnabled(id)) << id;
    }
    EXPECT_TRUE(dialog_.IsEnabled(IDC_PASTE_ONLY));
    EXPECT_TRUE(dialog_.IsEnabled(IDC_HOTKEY_HISTORY));
    dialog_.SetCheck(IDC_HOTKEY_ENABLE_SHORTTEXT1, true);
    for (int id : row) {
        EXPECT_TRUE(dialog_.IsEnabled(id)) << id;
    }
    dialog_.SetCheck(IDC_HOTKEY_ENABLE_SHORTTEXT1, false);
    // Slot 0's box takes its key field along; a disabled field keeps its value. The paste
    // option also pastes the search window's choice: it goes only with both keys off.
    dialog_.SetCheck(IDC_HOTKEY_ENABLE_HISTORY, false);
    EXPECT_FALSE(dialog_.IsEnabled(IDC_HOTKEY_HISTORY));
    EXPECT_TRUE(dialog_.IsEnabled(IDC_PASTE_DIRECT));
    dialog_.SetCheck(IDC_HOTKEY_ENABLE_SEARCH, false);
    EXPECT_FALSE(dialog_.IsEnabled(IDC_PASTE_DIRECT));
    EXPECT_TRUE(dialog_.IsEnabled(IDC_PASTE_RESTORE));
    EXPECT_EQ(dialog_.HotKey(IDC_HOTKEY_SHORTTEXT1), ControlValue('V', true, true, false));
    dialog_.SetCheck(IDC_HOTKEY_ENABLE_HISTORY, true);
    EXPECT_TRUE(dialog_.IsEnabled(IDC_PASTE_DIRECT));
    dialog_.SetCheck(IDC_HOTKEY_ENABLE_SEARCH, true);
    Close(IDOK);

    EXPECT_FALSE(OpensAMenu('V', true, true));
    EXPECT_TRUE(VisibleWindowsOf(program_.processId()).empty());
    ASSERT_TRUE(program_.Stop());
    EXPECT_EQ(RegInt("HotKeyEnable01"), 0u);
    EXPECT_EQ(RegInt("HotKeyCode01"), DWORD{'V'});
    EXPECT_EQ(RegInt("HotKeyEnable00"), 1u);
}

TEST_F(HotKeyDialogE2E, AChangedShortTextPathIsUsedRightAfterOkAndSaved) {
    ASSERT_TRUE(WriteFileBytes(program_.PathInFolder("other.txt"), "[<from other>]&1 other\r\n"));
    Start();
    OpenDialog();
    ASSERT_TRUE(dialog_.SetText(IDC_SHORTTEXT_PATH1, "other.txt"));
    Close(IDOK);
    ASSERT_TRUE(target_.Focus());
    PressKey('V', true, true);
    ASSERT_TRUE(WaitForMenu(program_)) << "Ctrl+Shift+V showed no menu";
    PressKey('1');
    EXPECT_TRUE(WaitUntil([&] { return target_.Text() == "from other"; })) << target_.Text();
    ASSERT_TRUE(program_.Stop());
    std::string path;
    ASSERT_TRUE(ReadRegString("HotKeyData01", &path));
    EXPECT_EQ(path, "other.txt");
}

TEST_F(HotKeyDialogE2E, EditButtonOpensARelativeNameFromTheProgramFolder) {
    OpenedFileRecorder opened(program_, ".txt");
    ASSERT_TRUE(WriteFileBytes(program_.PathInFolder("notes.txt"), "phrase\r\n"));
    Start();
    OpenDialog();
    // The edit's current text counts, not what was stored.
    ASSERT_TRUE(dialog_.SetText(IDC_SHORTTEXT_PATH1, "notes.txt"));
    dialog_.Click(IDC_SHORTTEXT_EDIT1);
    EXPECT_EQ(opened.TakeOpened(), program_.PathInFolder("notes.txt"));
    EXPECT_TRUE(dialog_.IsOpen());
    EXPECT_EQ(FindMessageBox(program_.processId(), "Varnoke", 0), nullptr);
    Close(IDCANCEL);
}

TEST_F(HotKeyDialogE2E, BrowseButtonPutsTheChosenFileIntoItsOwnRow) {
    ASSERT_TRUE(WriteFileBytes(program_.PathInFolder("other.txt"), "phrase\r\n"));
    WriteRegInt("HotKeyEnable02", 1);
    Start();
    OpenDialog();
    ASSERT_TRUE(dialog_.SetText(IDC_SHORTTEXT_PATH2, "other.txt"));
    dialog_.Click(IDC_SHORTTEXT_BROWSE2);
    // The open-file dialog starts with the row's text, taken from the program's folder.
    HWND open = nullptr;
    ASSERT_TRUE(WaitUntil([&] {
        for (HWND window : DialogsOf(program_.processId())) {
            if (window != dialog_.hwnd()) {
                open = window;
            }
        }
        return open != nullptr;
    })) << "no open-file dialog";
    PostMessageA(open, WM_COMMAND, IDOK, 0);
    EXPECT_TRUE(WaitUntil([&] { return !IsWindow(open); }));
    EXPECT_TRUE(WaitUntil([&] {
        return dialog_.Text(IDC_SHORTTEXT_PATH2) == program_.PathInFolder("other.txt");
    })) << dialog_.Text(IDC_SHORTTEXT_PATH2);
    EXPECT_EQ(dialog_.Text(IDC_SHORTTEXT_PATH1), "Symbol.txt");
    Close(IDOK);
    ASSERT_TRUE(program_.Stop());
    std::string path;
    ASSERT_TRUE(ReadRegString("HotKeyData02", &path));
    EXPECT_EQ(path, program_.PathInFolder("other.txt"));
}

TEST_F(HotKeyDialogE2E, ExitFromTheTrayWaitsUntilAStartupHotKeyFailureIsClosed) {
    HeldHotKey taken(MOD_CONTROL | MOD_SHIFT, 'C');
    ASSERT_TRUE(taken.registered());
    ASSERT_TRUE(program_.Start());
    HWND box = FindMessageBox(program_.processId(), "Varnoke");
    ASSERT_NE(box, nullptr);
    // No tray menu, so no exit, while the creation sequence waits for the box.
    RightClickTray();
    EXPECT_FALSE(WaitForMenu(program_, 1000));
    EXPECT_TRUE(program_.IsRunning());
    EXPECT_TRUE(IsWindow(box));
    AnswerMessageBox(box);
    ASSERT_TRUE(WaitUntil([&] { return !IsWindow(box); }));
    ASSERT_TRUE(OpenMenu(program_, [&] { RightClickTray(); })) << "no tray menu after the box";
    PressKey('X');  // "Varnokeの終了(&X)"
    ASSERT_TRUE(WaitUntil([&] { return !program_.IsRunning(); }));
    EXPECT_EQ(RegInt("HotKeyEnable00"), 0u);
    EXPECT_EQ(RegInt("HotKeyEnable99"), 1u);
}

TEST_F(HotKeyDialogE2E, TheTrayMenuStaysShutWhileASaveFailureAtExitIsShown) {
    // A file where the data file's folder should be: the save at exit fails.
    ASSERT_TRUE(WriteFileBytes(program_.PathInFolder("blocker"), "x"));
    WriteRegString("HistoryDataPath", "blocker\\Varnoke.vnk");
    ASSERT_TRUE(program_.Start());
    PostMessageA(program_.mainWindow(), WM_CLOSE, 0, 0);
    HWND box = FindMessageBox(program_.processId(), "Varnoke");
    ASSERT_NE(box, nullptr) << "no save failure";
    RightClickTray();
    EXPECT_FALSE(WaitForMenu(program_, 1000));
    AnswerMessageBox(box);
    EXPECT_TRUE(WaitUntil([&] { return !program_.IsRunning(); }));
}

}  // namespace
}  // namespace e2e
