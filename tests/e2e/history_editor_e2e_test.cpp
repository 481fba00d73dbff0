// The history editor window: opened from the tray menu or its hot key, it lists the
// history to delete, reorder and edit entries; only OK changes the history. The list's
// rows, the history data file at exit and the registry show the result.
#include <gtest/gtest.h>

#include "dialog_driver.h"
#include "harness.h"

namespace e2e {
namespace {

using Entries = std::vector<std::string>;
using Rows = std::vector<int>;

constexpr int kList = IDC_HISTEDIT_LIST;

class HistoryEditorE2E : public testing::Test {
  protected:
    void SetUp() override { ResetRegistryWithHistoryWrittenOnEveryChange(); }
    void TearDown() override {
        for (DialogDriver* d : {&entryEditor_, &editor_}) {
            if (d->IsOpen()) {
                d->Click(IDCANCEL);
                d->WaitClosed();
            }
        }
        ResetRegistry();
    }

    // The history file the program starts with, list position 0 first.
    void StartWith(const Entries& positionZeroFirst) {
        ASSERT_TRUE(WriteFileBytes(DataFile(), EncodeHistory(positionZeroFirst)));
        ASSERT_TRUE(program_.Start());
    }
    std::string DataFile() const { return program_.PathInFolder("Varnoke.vnk"); }

    void OpenFromTray() {
        ASSERT_TRUE(program_.PostCommand(ID_EDIT_HISTORY));
        editor_ = DialogDriver::Find(program_.processId(), HistoryEditorCaption());
        ASSERT_TRUE(editor_) << "the tray command opened no history editor";
    }
    void Finish(int button) {
        editor_.Click(button);
        ASSERT_TRUE(editor_.WaitClosed());
    }
    Entries HistoryAtExit() {
        EXPECT_TRUE(program_.Stop());
        return HistoryOnDisk(program_);
    }
    bool RowsAre(const Entries& rows) const {
        return WaitUntil([&] { return editor_.ListItems(kList) == rows; }, 5000);
    }
    void SelectOnly(const Rows& rows) const {
        editor_.ListSelect(kList, -1, false);
        for (int row : rows) {
            editor_.ListSelect(kList, row, true);
        }
    }
    // The centre of a row's left part, on the screen.
    POINT RowPoint(int row) const {
        HWND list = editor_.Item(kList);
        const int height = static_cast<int>(SendMessageA(list, LB_GETITEMHEIGHT, 0, 0));
        const int top = static_cast<int>(SendMessageA(list, LB_GETTOPINDEX, 0, 0));
        POINT p{40, (row - top) * height + height / 2};
        ClientToScreen(list, &p);
        return p;
    }
    DialogDriver OpenEntryEditor() const {
        return DialogDriver::Find(program_.processId(), EntryEditorCaption());
    }

    VarnokeProcess program_;
    DialogDriver editor_;
    DialogDriver entryEditor_;
};

TEST_F(HistoryEditorE2E, HotKeyAndTrayCommandOpenTheEditorButAnEmptyHistoryOpensNothing) {
    TargetWindow target;
    ASSERT_TRUE(program_.Start());
    ASSERT_TRUE(program_.PostCommand(ID_EDIT_HISTORY));
    ASSERT_TRUE(target.Focus());
    PressKey('E', true, true);
    PumpFor(1500);
    EXPECT_TRUE(DialogsOf(program_.processId()).empty());

    ASSERT_TRUE(SetClipboardText("A"));
    ASSERT_TRUE(WaitForHistory(program_, {"A"}));
    ASSERT_TRUE(target.Focus());
    PressKey('E', true, true);
    editor_ = DialogDriver::Find(program_.processId(), HistoryEditorCaption());
    ASSERT_TRUE(editor_) << "Ctrl+Shift+E opened no history editor";
    Finish(IDCANCEL);
    // The window that was in front before gets the foreground back.
    EXPECT_TRUE(WaitUntil([&] { return GetForegroundWindow() == target.hwnd(); }, 5000));

    ASSERT_TRUE(ChooseFromTrayMenu(program_, 'E'));  // "履歴の編集(&E)..."
    editor_ = DialogDriver::Find(program_.processId(), HistoryEditorCaption());
    ASSERT_TRUE(editor_) << "the tray menu opened no history editor";
    EXPECT_EQ(editor_.ListItems(kList), (Entries{"1\tA"}));
    // A second press while it is open opens no second window.
    PressKey('E', true, true);
    PumpFor(500);
    EXPECT_EQ(DialogsOf(program_.processId()).size(), 1u);
    Finish(IDCANCEL);
}

TEST_F(HistoryEditorE2E, RowsShowTheNewestAtTheBottomAndMoveDownThenOkReordersTheHistory) {
    StartWith({"A", "B", "C"});
    OpenFromTray();
    EXPECT_EQ(editor_.ListItems(kList), (Entries{"3\tC", "2\tB", "1\tA"}));
    EXPECT_EQ(editor_.ListSelectedRows(kList), (Rows{0}));
    editor_.Click(IDC_HISTEDIT_DOWN);
    EXPECT_TRUE(RowsAre({"2\tB", "3\tC", "1\tA"}));
    EXPECT_EQ(editor_.ListSelectedRows(kList), (Rows{1}));
    Finish(IDOK);
    EXPECT_EQ(HistoryAtExit(), (Entries{"A", "C", "B"}));
}

TEST_F(HistoryEditorE2E, WithTheNewestFirstOrderRowsAndReadbackFollowIt) {
    WriteRegInt("HistoryMenuOrder", 1);
    StartWith({"A", "B", "C", "D", "E"});
    OpenFromTray();
    EXPECT_EQ(editor_.ListItems(kList), (Entries{"1\tA", "2\tB", "3\tC", "4\tD", "5\tE"}));
    SelectOnly({1, 2});
    editor_.Click(IDC_HISTEDIT_UP);
    EXPECT_TRUE(RowsAre({"2\tB", "3\tC", "1\tA", "4\tD", "5\tE"}));
    // A block at the top stays where it is.
    editor_.Click(IDC_HISTEDIT_UP);
    PumpFor(300);
    EXPECT_EQ(editor_.ListItems(kList), (Entries{"2\tB", "3\tC", "1\tA", "4\tD", "5\tE"}));
    Finish(IDOK);
    EXPECT_EQ(HistoryAtExit(), (Entries{"B", "C", "A", "D", "E"}));
}

// The list is told the key is done: its caret stays on the moved entry instead of going
// one row further, as a plain arrow would take it.
TEST_F(HistoryEditorE2E, CtrlDownMovesTheSelectedRowAndTheListDoesNotMoveTheCaretOn) {
    StartWith({"A", "B", "C", "D", "E"});
    OpenFromTray();
    ASSERT_TRUE(editor_.FocusItem(kList));
    ASSERT_EQ(editor_.ListCaret(kList), 0);
    PressKey(VK_DOWN, true);
    EXPECT_TRUE(RowsAre({"4\tD", "5\tE", "3\tC", "2\tB", "1\tA"}));
    EXPECT_EQ(editor_.ListSelectedRows(kList), (Rows{1}));
    EXPECT_EQ(editor_.ListCaret(kList), 1);
    PressKey(VK_DOWN, true);
    EXPECT_TRUE(RowsAre({"4\tD", "3\tC", "5\tE", "2\tB", "1\tA"}));
    EXPECT_EQ(editor_.ListSelectedRows(kList), (Rows{2}));
    EXPECT_EQ(editor_.ListCaret(kList), 2);
    PressKey(VK_UP, true);
    EXPECT_TRUE(RowsAre({"4\tD", "5\tE", "3\tC", "2\tB", "1\tA"}));
    EXPECT_EQ(editor_.ListCaret(kList), 1);
    // A plain arrow moves the caret and the selection, not the rows.
    PressKey(VK_DOWN);
    EXPECT_TRUE(WaitUntil([&] { return editor_.ListCaret(kList) == 2; }, 5000));
    EXPECT_EQ(editor_.ListSelectedRows(kList), (Rows{2}));
    EXPECT_EQ(editor_.ListItems(kList), (Entries{"4\tD", "5\tE", "3\tC", "2\tB", "1\tA"}));
    Finish(IDOK);
    EXPECT_EQ(HistoryAtExit(), (Entries{"A", "B", "C", "E", "D"}));
}

TEST_F(HistoryEditorE2E, DeleteKeyDeletesTheSelectedRowsAndSelectsTheNextOne) {
    StartWith({"A", "B", "C", "D", "E"});
    OpenFromTray();
    ASSERT_TRUE(editor_.FocusItem(kList));
    SelectOnly({1, 2});
    PressKey(VK_DELETE);
    EXPECT_TRUE(RowsAre({"5\tE", "2\tB", "1\tA"}));
    EXPECT_EQ(editor_.ListSelectedRows(kList), (Rows{1}));
    // The last row: nothing is left selected.
    SelectOnly({2});
    PressKey(VK_DELETE);
    EXPECT_TRUE(RowsAre({"5\tE", "2\tB"}));
    EXPECT_TRUE(editor_.ListSelectedRows(kList).empty());
    Finish(IDOK);
    EXPECT_EQ(HistoryAtExit(), (Entries{"B", "E"}));
}

TEST_F(HistoryEditorE2E, DeletingEveryRowAndOkLeavesAnEmptyHistory) {
    StartWith({"A", "B", "C"});
    OpenFromTray();
    SelectOnly({0, 1, 2});
    editor_.Click(IDC_HISTEDIT_DELETE);
    EXPECT_TRUE(RowsAre({}));
    Finish(IDOK);
    EXPECT_EQ(HistoryAtExit(), Entries{});
}

TEST_F(HistoryEditorE2E, CtrlASelectsEveryRow) {
    StartWith({"A", "B", "C", "D"});
    OpenFromTray();
    ASSERT_TRUE(editor_.FocusItem(kList));
    PressKey('A', true);
    EXPECT_TRUE(WaitUntil(
        [&] {
            return editor_.ListSelectedRows(kList) == Rows{0, 1, 2, 3};
        },
        5000));
    PumpFor(300);
    EXPECT_EQ(editor_.ListSelectedRows(kList), (Rows{0, 1, 2, 3}));
}

TEST_F(HistoryEditorE2E, CtrlEAndADoubleClickEditTheEntryAndEmptyTextRemovesIt) {
    StartWith({"A", "B", "C"});
    OpenFromTray();
    ASSERT_TRUE(editor_.FocusItem(kList));
    SelectOnly({1});
    PressKey('E', true);
    entryEditor_ = OpenEntryEditor();
    ASSERT_TRUE(entryEditor_) << "Ctrl+E opened no entry editor";
    EXPECT_EQ(entryEditor_.Text(IDC_ENTRY_TEXT), "B");
    ASSERT_TRUE(entryEditor_.SetText(IDC_ENTRY_TEXT, "B edited"));
    entryEditor_.Click(IDOK);
    ASSERT_TRUE(entryEditor_.WaitClosed());
    EXPECT_TRUE(RowsAre({"3\tC", "2\tB edited", "1\tA"}));
    EXPECT_EQ(editor_.ListSelectedRows(kList), (Rows{1}));

    MouseAt(RowPoint(0),
            {MOUSEEVENTF_LEFTDOWN, MOUSEEVENTF_LEFTUP, MOUSEEVENTF_LEFTDOWN, MOUSEEVENTF_LEFTUP});
    entryEditor_ = OpenEntryEditor();
    ASSERT_TRUE(entryEditor_) << "a double click opened no entry editor";
    EXPECT_EQ(entryEditor_.Text(IDC_ENTRY_TEXT), "C");
    ASSERT_TRUE(entryEditor_.SetText(IDC_ENTRY_TEXT, ""));
    entryEditor_.Click(IDOK);
    ASSERT_TRUE(entryEditor_.WaitClosed());
    EXPECT_TRUE(RowsAre({"2\tB edited", "1\tA"}));

    // With two rows selected, edit does nothing.
    SelectOnly({0, 1});
    editor_.Click(IDC_HISTEDIT_EDIT);
    PumpFor(700);
    EXPECT_EQ(DialogsOf(program_.processId()).size(), 1u);
    Finish(IDOK);
    EXPECT_EQ(HistoryAtExit(), (Entries{"A", "B edited"}));
}

TEST_F(HistoryEditorE2E, CancelAfterDeletesAndMovesLeavesTheHistoryFileAsItWas) {
    StartWith({"A", "B", "C", "D", "E"});
    std::string before;
    ASSERT_TRUE(ReadFileBytes(DataFile(), &before));
    OpenFromTray();
    SelectOnly({1});
    editor_.Click(IDC_HISTEDIT_DELETE);
    ASSERT_TRUE(RowsAre({"5\tE", "3\tC", "2\tB", "1\tA"}));
    SelectOnly({3});
    editor_.Click(IDC_HISTEDIT_UP);
    ASSERT_TRUE(RowsAre({"5\tE", "3\tC", "1\tA", "2\tB"}));
    Finish(IDCANCEL);
    ASSERT_TRUE(program_.Stop());
    std::string after;
    ASSERT_TRUE(ReadFileBytes(DataFile(), &after));
    EXPECT_EQ(after, before);
}

// Cancel, since OK would replace the history with the rows and so hide a capture.
TEST_F(HistoryEditorE2E, CopiesWhileItIsOpenAreNotCapturedAndCaptureResumesAfterwards) {
    StartWith({"A"});
    OpenFromTray();
    ASSERT_TRUE(SetClipboardText("while open"));
    PumpFor(700);
    Finish(IDCANCEL);
    ASSERT_TRUE(SetClipboardText("after"));
    EXPECT_TRUE(WaitForHistory(program_, {"after", "A"}));
}

TEST_F(HistoryEditorE2E, CaptureThatWasPausedBeforeStaysPaused) {
    StartWith({"A"});
    ASSERT_TRUE(program_.SendCommand(ID_PAUSE));
    OpenFromTray();
    Finish(IDCANCEL);
    ASSERT_TRUE(SetClipboardText("while paused"));
    PumpFor(700);
    EXPECT_EQ(HistoryAtExit(), (Entries{"A"}));
    EXPECT_EQ(RegInt("Paused"), 1u);
}

TEST_F(HistoryEditorE2E, TheWindowReopensAtItsStoredRectangleAfterARestart) {
    StartWith({"A"});
    OpenFromTray();
    MoveWindow(editor_.hwnd(), 30, 40, 450, 360, TRUE);
    ASSERT_TRUE(WaitUntil([&] {
        RECT r{};
        GetWindowRect(editor_.hwnd(), &r);
        return r.left == 30 && r.top == 40 && r.right == 480 && r.bottom == 400;
    }));
    // The list fills the client area below the buttons.
    RECT client{};
    GetClientRect(editor_.hwnd(), &client);
    EXPECT_TRUE(WaitUntil(
        [&] {
            RECT list{};
            GetWindowRect(editor_.Item(kList), &list);
            MapWindowPoints(nullptr, editor_.hwnd(), reinterpret_cast<POINT*>(&list), 2);
            return list.left == 0 && list.right == client.right && list.bottom == client.bottom;
        },
        5000));
    Finish(IDCANCEL);
    ASSERT_TRUE(program_.Stop());
    std::string pos;
    ASSERT_TRUE(ReadRegString("EditHistoryPos", &pos));
    EXPECT_EQ(pos, "30,40,480,400");

    VarnokeProcess again;
    ASSERT_TRUE(WriteFileBytes(again.PathInFolder("Varnoke.vnk"), EncodeHistory({"A"})));
    ASSERT_TRUE(again.Start());
    ASSERT_TRUE(again.PostCommand(ID_EDIT_HISTORY));
    DialogDriver reopened = DialogDriver::Find(again.processId(), HistoryEditorCaption());
    ASSERT_TRUE(reopened);
    RECT r{};
    GetWindowRect(reopened.hwnd(), &r);
    EXPECT_EQ(r.left, 30);
    EXPECT_EQ(r.top, 40);
    EXPECT_EQ(r.right, 480);
    EXPECT_EQ(r.bottom, 400);
    reopened.Click(IDCANCEL);
    ASSERT_TRUE(reopened.WaitClosed());
}

TEST_F(HistoryEditorE2E, RightClickOnAnUnselectedRowSelectsOnlyItForTheContextMenu) {
    StartWith({"A", "B", "C", "D"});
    OpenFromTray();
    SelectOnly({0, 1});
    // On a selected row the selection stays.
    MouseAt(RowPoint(1), {MOUSEEVENTF_RIGHTDOWN, MOUSEEVENTF_RIGHTUP});
    ASSERT_TRUE(WaitForMenu(program_)) << "a right click showed no menu";
    EXPECT_EQ(editor_.ListSelectedRows(kList), (Rows{0, 1}));
    PressKey(VK_ESCAPE);
    ASSERT_TRUE(WaitForMenuClosed(program_));

    ASSERT_TRUE(OpenMenu(program_, [&] {
        MouseAt(RowPoint(3), {MOUSEEVENTF_RIGHTDOWN, MOUSEEVENTF_RIGHTUP});
    }));
    EXPECT_EQ(editor_.ListSelectedRows(kList), (Rows{3}));
    PressKey('U');  // 上へ(&U)
    EXPECT_TRUE(RowsAre({"4\tD", "3\tC", "1\tA", "2\tB"}));
    Finish(IDOK);
    EXPECT_EQ(HistoryAtExit(), (Entries{"B", "A", "C", "D"}));
}

TEST_F(HistoryEditorE2E, HelpFromTheButtonAndTheKeyboardMenuOpensTheHelpPage) {
    ASSERT_TRUE(program_.CopyBesideProgram("Varnoke.html"));
    const std::string page = program_.PathInFolder("Varnoke.html");
    OpenedFileRecorder opened(program_, ".html");
    StartWith({"A", "B"});
    OpenFromTray();
    editor_.Click(ID_HELP);
    EXPECT_EQ(opened.TakeOpened(), page) << "the help button opened no help page";

    ASSERT_TRUE(editor_.FocusItem(kList));
    SelectOnly({});
    PressKey(VK_F10, false, true);
    ASSERT_TRUE(WaitForMenu(program_)) << "Shift+F10 showed no menu";
    PressKey('H');
    EXPECT_EQ(opened.TakeOpened(), page) << "the menu's help item opened no help page";
    EXPECT_TRUE(editor_.IsOpen());
}

}  // namespace
}  // namespace e2e
