// The options dialog as a user meets it: opened from the tray menu, filled from the
// registry, validated on OK, and applied to the history and the history data file. What it
// changed shows in the registry at exit and in the history data files on disk.
#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include "dialog_driver.h"
#include "harness.h"

namespace e2e {
namespace {

using Entries = std::vector<std::string>;

std::string OptionsCaption() {
    return Utf8ToAnsi(u8"オプション設定 - Varnoke");
}
std::string QuestionCaption() {
    return Utf8ToAnsi(u8"確認 - Varnoke");
}

Entries Numbered(const std::string& prefix, int count) {
    Entries entries;
    for (int i = 0; i < count; ++i) {
        entries.push_back(prefix + std::to_string(i));
    }
    return entries;
}

std::string RegString(const char* name) {
    std::string value = "<missing>";
    ReadRegString(name, &value);
    return value;
}

struct TipSearch {
    DWORD processId;
    HWND dialog;
    HWND tips;
};

BOOL CALLBACK FindTipControl(HWND window, LPARAM param) {
    auto* search = reinterpret_cast<TipSearch*>(param);
    char name[64] = {};
    GetClassNameA(window, name, sizeof(name));
    DWORD pid = 0;
    GetWindowThreadProcessId(window, &pid);
    if (pid == search->processId && std::string(name) == TOOLTIPS_CLASSA &&
        GetWindow(window, GW_OWNER) == search->dialog) {
        search->tips = window;
        return FALSE;
    }
    return TRUE;
}

HWND TipsOf(DWORD processId, HWND dialog) {
    TipSearch search{processId, dialog, nullptr};
    EnumWindows(&FindTipControl, reinterpret_cast<LPARAM>(&search));
    return search.tips;
}

// The number of tools registered with the dialog's tip control; -1 without one.
int ToolCountOfTips(DWORD processId, HWND dialog) {
    HWND tips = TipsOf(processId, dialog);
    return tips != nullptr ? static_cast<int>(SendMessageA(tips, TTM_GETTOOLCOUNT, 0, 0)) : -1;
}

// Brings the pointer onto the middle of `control` as input, in two moves, so whatever lies
// under it sees the motion.
void RestPointerOn(HWND control) {
    RECT r{};
    GetWindowRect(control, &r);
    const POINT p{(r.left + r.right) / 2, (r.top + r.bottom) / 2};
    for (int offset : {4, 0}) {
        mouse_event(MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE,
                    static_cast<DWORD>((p.x - offset) * 65536 / GetSystemMetrics(SM_CXSCREEN) + 1),
                    static_cast<DWORD>((p.y - offset) * 65536 / GetSystemMetrics(SM_CYSCREEN) + 1),
                    0, 0);
        WaitUntil(
            [&] {
                POINT now{};
                GetCursorPos(&now);
                return now.x == p.x - offset && now.y == p.y - offset;
            },
            2000);
    }
}

class OptionsE2E : public testing::Test {
  protected:
    void SetUp() override {
        ResetRegistry();
        WriteRegInt("HistoryAnimation", 0);
    }
    void TearDown() override {
        for (HWND dialog : DialogsOf(program_.processId())) {
            PostMessageA(dialog, WM_COMMAND, IDCANCEL, 0);
        }
        ResetRegistry();
    }

    // Starts the program on a history data file holding these entries, position 0 first.
    void StartWithHistory(const Entries& entries) {
        ASSERT_TRUE(WriteFileBytes(program_.PathInFolder("Varnoke.vnk"), EncodeHistory(entries)));
        ASSERT_TRUE(program_.Start());
    }
    void OpenOptions() {
        ASSERT_TRUE(program_.PostCommand(ID_OPTIONS));
        options_ = DialogDriver::Find(program_.processId(), OptionsCaption());
        ASSERT_TRUE(options_) << "no options dialog";
    }
    void Confirm() {
        options_.Click(IDOK);
        ASSERT_TRUE(options_.WaitClosed()) << "OK did not close the options";
    }
    // OK, which is to ask about the history data file.
    DialogDriver ConfirmAndFindQuestion() {
        options_.Click(IDOK);
        return DialogDriver::Find(program_.processId(), QuestionCaption());
    }
    // OK, which is to be refused with this message.
    std::string ConfirmAndReadRefusal() {
        options_.Click(IDOK);
        HWND box = FindMessageBox(program_.processId(), "Varnoke");
        if (box == nullptr) {
            return "<no message>";
        }
        std::string text = MessageBoxText(box);
        AnswerMessageBox(box);
        WaitUntil([&] { return !IsWindow(box); });
        return text;
    }
    Entries FileOnDisk(const std::string& name) const {
        std::string bytes;
        Entries entries;
        if (!ReadFileBytes(program_.PathInFolder(name), &bytes) ||
            !DecodeHistory(bytes, &entries)) {
            return {"<no valid history file>"};
        }
        return entries;
    }
    HWND FocusOfProgram() const {
        GUITHREADINFO info{};
        info.cbSize = sizeof(info);
        GetGUIThreadInfo(GetWindowThreadProcessId(options_.hwnd(), nullptr), &info);
        return info.hwndFocus;
    }

    VarnokeProcess program_;
    DialogDriver options_;
};

TEST_F(OptionsE2E, TheTrayMenuOpensTheOptionsShowingTheCurrentSettings) {
    WriteRegInt("HistoryNum", 42);
    WriteRegInt("HistoryStopOverflow", 1);
    WriteRegInt("HistoryLen", 500);
    WriteRegInt("HistoryMenuLen", 20);
    WriteRegInt("HistoryMenuBreak", 15);
    WriteRegInt("HistoryMenuOrder", 1);
    WriteRegInt("HistoryInsertPos", 1);
    WriteRegInt("HistoryAddNum", 0);
    WriteRegInt("HistoryAccessKey", 3);
    WriteRegInt("HistoryMoveUp", 1);
    WriteRegInt("HistoryWave", 1);
    WriteRegString("HistoryWavePath", "C:\\sounds\\capture.wav");
    WriteRegInt("PauseWave", 1);
    WriteRegString("Pause1WavePath", "pause.wav");
    WriteRegString("Pause2WavePath", "resume.wav");
    WriteRegInt("HistoryStarting", 1);
    WriteRegString("HistoryDataPath", "data\\h.vnk");
    WriteRegInt("HistoryAutoSave", 1);
    WriteRegInt("HistorySaveInterval", 7);
    WriteRegInt("HistoryCopeWord", 1);
    WriteRegInt("HistoryDataProtect", 1);
    WriteRegString("ExcludePrograms", "Vault.exe; pw.exe");
    WriteRegInt("PopupPos", 4);
    WriteRegInt("PasteCommand", 1);
    WriteRegInt("PasteDelayTime", 350);
    ASSERT_TRUE(program_.Start());

    program_.PressTrayIcon(WM_RBUTTONUP);
    ASSERT_TRUE(WaitForMenu(program_));
    PressKey('O');
    options_ = DialogDriver::Find(program_.processId(), OptionsCaption());
    ASSERT_TRUE(options_) << "オプション(&O) opened no options dialog";

    EXPECT_EQ(options_.Text(IDC_HISTORY_NUM), "42");
    EXPECT_EQ(options_.Text(IDC_HISTORY_LEN), "500");
    EXPECT_EQ(options_.Text(IDC_HISTORY_MENU_LEN), "20");
    EXPECT_EQ(options_.Text(IDC_HISTORY_MENU_BREAK), "15");
    EXPECT_EQ(options_.Text(IDC_HISTORY_SAVE_INTERVAL), "7");
    EXPECT_EQ(options_.Text(IDC_PASTE_DELAY_TIME), "350");
    for (int id : {IDC_HISTORY_STOP_OVERFLOW, IDC_HISTORY_MOVE_UP, IDC_HISTORY_WAVE, IDC_PAUSE_WAVE,
                   IDC_HISTORY_STARTING, IDC_HISTORY_DATA_SAVE, IDC_HISTORY_AUTO_SAVE,
                   IDC_HISTORY_COPE_WORD, IDC_HISTORY_DATA_PROTECT, IDC_MENU_ORDER_NEWEST_FIRST}) {
        EXPECT_TRUE(options_.IsChecked(id)) << id;
    }
    for (int id : {IDC_HISTORY_ADD_NUM, IDC_HISTORY_ANIMATION, IDC_MENU_ORDER_NEWEST_LAST}) {
        EXPECT_FALSE(options_.IsChecked(id)) << id;
    }
    EXPECT_EQ(options_.ComboSelection(IDC_HISTORY_INSERT_POS), 1);
    EXPECT_EQ(options_.ComboSelection(IDC_HISTORY_ACCESS_KEY), 3);
    EXPECT_EQ(options_.ComboText(IDC_HISTORY_ACCESS_KEY), Utf8ToAnsi(u8"全履歴(1の位)に設定"));
    EXPECT_EQ(options_.ComboSelection(IDC_POPUP_POS), 4);
    EXPECT_EQ(options_.ComboText(IDC_POPUP_POS), Utf8ToAnsi(u8"デスクトップの右下"));
    EXPECT_EQ(options_.ComboSelection(IDC_PASTE_COMMAND), 1);
    EXPECT_EQ(options_.ComboText(IDC_PASTE_COMMAND), "Shift + Ins");
    EXPECT_EQ(options_.ComboItems(IDC_HISTORY_INSERT_POS).size(), 2u);
    EXPECT_EQ(options_.ComboItems(IDC_HISTORY_ACCESS_KEY).size(), 5u);
    EXPECT_EQ(options_.ComboItems(IDC_POPUP_POS).size(), 6u);
    EXPECT_EQ(options_.ComboItems(IDC_PASTE_COMMAND).size(), 2u);
    EXPECT_EQ(options_.Text(IDC_HISTORY_WAVE_PATH), "C:\\sounds\\capture.wav");
    EXPECT_EQ(options_.Text(IDC_PAUSE1_WAVE_PATH), "pause.wav");
    EXPECT_EQ(options_.Text(IDC_PAUSE2_WAVE_PATH), "resume.wav");
    EXPECT_EQ(options_.Text(IDC_HISTORY_DATA_PATH), "data\\h.vnk");
    EXPECT_EQ(options_.Text(IDC_EXCLUDE_PROGRAMS), "Vault.exe; pw.exe");
    EXPECT_EQ(ToolCountOfTips(program_.processId(), options_.hwnd()), 31);
    // With access keys off, their list is disabled from the start.
    EXPECT_FALSE(options_.IsEnabled(IDC_HISTORY_ACCESS_KEY));
    EXPECT_TRUE(options_.IsEnabled(IDC_HISTORY_SAVE_INTERVAL));
}

TEST_F(OptionsE2E, ChangedValuesReachTheRegistryAtExit) {
    ASSERT_TRUE(program_.Start());
    OpenOptions();
    options_.SetText(IDC_HISTORY_NUM, "120");
    options_.SetText(IDC_HISTORY_LEN, "20000");
    options_.SetCheck(IDC_HISTORY_STOP_OVERFLOW, true);
    options_.Click(IDC_MENU_ORDER_NEWEST_FIRST);
    ASSERT_TRUE(WaitUntil([&] { return options_.IsChecked(IDC_MENU_ORDER_NEWEST_FIRST); }));
    options_.ComboSelect(IDC_HISTORY_ACCESS_KEY, 4);
    options_.ComboSelect(IDC_POPUP_POS, 5);
    options_.SetText(IDC_HISTORY_WAVE_PATH, "beep.wav");
    options_.SetText(IDC_PASTE_DELAY_TIME, "1500");
    Confirm();
    ASSERT_TRUE(program_.Stop());
    EXPECT_EQ(RegInt("HistoryNum"), 120u);
    EXPECT_EQ(RegInt("HistoryLen"), 20000u);
    EXPECT_EQ(RegInt("HistoryStopOverflow"), 1u);
    EXPECT_EQ(RegInt("HistoryMenuOrder"), 1u);
    EXPECT_EQ(RegInt("HistoryAccessKey"), 4u);
    EXPECT_EQ(RegInt("PopupPos"), 5u);
    EXPECT_EQ(RegString("HistoryWavePath"), "beep.wav");
    EXPECT_EQ(RegInt("PasteDelayTime"), 1500u);
}

TEST_F(OptionsE2E, CancelAndTheCloseBoxChangeNothing) {
    WriteRegInt("HistoryNum", 50);
    ASSERT_TRUE(program_.Start());
    OpenOptions();
    options_.SetText(IDC_HISTORY_NUM, "60");
    options_.SetCheck(IDC_HISTORY_MOVE_UP, true);
    options_.Click(IDCANCEL);
    ASSERT_TRUE(options_.WaitClosed());
    OpenOptions();
    EXPECT_EQ(options_.Text(IDC_HISTORY_NUM), "50");
    options_.SetText(IDC_HISTORY_NUM, "70");
    options_.Close();
    ASSERT_TRUE(options_.WaitClosed());
    ASSERT_TRUE(program_.Stop());
    EXPECT_EQ(RegInt("HistoryNum"), 50u);
    EXPECT_EQ(RegInt("HistoryMoveUp"), 0u);
}

TEST_F(OptionsE2E, OneEntryAsTheLimitIsRefusedAndTheFocusGoesBackToIt) {
    ASSERT_TRUE(program_.Start());
    OpenOptions();
    options_.SetText(IDC_HISTORY_NUM, "1");
    EXPECT_EQ(ConfirmAndReadRefusal(), Utf8ToAnsi(u8"2 から 300 までの整数を入力してください。"));
    EXPECT_TRUE(options_.IsOpen());
    EXPECT_TRUE(WaitUntil([&] { return FocusOfProgram() == options_.Item(IDC_HISTORY_NUM); }));
    DWORD selection =
        static_cast<DWORD>(SendMessageA(options_.Item(IDC_HISTORY_NUM), EM_GETSEL, 0, 0));
    EXPECT_EQ(LOWORD(selection), 0);
    EXPECT_EQ(HIWORD(selection), 1);
}

TEST_F(OptionsE2E, LettersAsTheLengthLimitAskForAWholeNumberAndTooManyDigitsForTheRange) {
    ASSERT_TRUE(program_.Start());
    OpenOptions();
    options_.SetText(IDC_HISTORY_LEN, "abc");
    EXPECT_EQ(ConfirmAndReadRefusal(), Utf8ToAnsi(u8"整数を入力してください。"));
    EXPECT_TRUE(options_.IsOpen());
    EXPECT_TRUE(WaitUntil([&] { return FocusOfProgram() == options_.Item(IDC_HISTORY_LEN); }));
    // Digits too many for 32 bits are a whole number all the same, outside the range.
    options_.SetText(IDC_HISTORY_LEN, "99999999999");
    EXPECT_EQ(ConfirmAndReadRefusal(), Utf8ToAnsi(u8"2 から 65535 までの整数を入力してください。"));
}

// A disabled control gets no mouse messages of its own; its tip shows all the same.
TEST_F(OptionsE2E, TheTipOfADisabledControlShowsWhenThePointerRestsOnIt) {
    WriteRegInt("HistoryAddNum", 0);
    ASSERT_TRUE(program_.Start());
    OpenOptions();
    ASSERT_FALSE(options_.IsEnabled(IDC_HISTORY_ACCESS_KEY));
    HWND tips = TipsOf(program_.processId(), options_.hwnd());
    ASSERT_NE(tips, nullptr);
    RestPointerOn(options_.Item(IDC_HISTORY_ACCESS_KEY));
    const std::string expected = Utf8ToAnsi(u8"履歴メニューのアクセスキーの設定方法を指定します");
    std::string shown;
    EXPECT_TRUE(WaitUntil(
        [&] {
            char text[256] = {};
            // WM_GETTEXT itself: GetWindowText of another process's window reads the
            // title, which a tip control never sets.
            SendMessageA(tips, WM_GETTEXT, sizeof(text), reinterpret_cast<LPARAM>(text));
            shown = text;
            return IsWindowVisible(tips) && shown == expected;
        },
        5000))
        << shown;
}

TEST_F(OptionsE2E, ANumberWithBlanksAroundItIsAccepted) {
    ASSERT_TRUE(program_.Start());
    OpenOptions();
    options_.SetText(IDC_HISTORY_NUM, " 40 ");
    Confirm();
    ASSERT_TRUE(program_.Stop());
    EXPECT_EQ(RegInt("HistoryNum"), 40u);
}

// The load leaves the interval as stored; the dialog checks it first, disabled or not.
TEST_F(OptionsE2E, AnIntervalOf99FromTheRegistryBlocksOkWhileItsFieldIsDisabled) {
    WriteRegInt("HistorySaveInterval", 99);
    ASSERT_TRUE(program_.Start());
    OpenOptions();
    EXPECT_FALSE(options_.IsEnabled(IDC_HISTORY_SAVE_INTERVAL));
    options_.SetText(IDC_HISTORY_NUM, "1");
    EXPECT_EQ(ConfirmAndReadRefusal(), Utf8ToAnsi(u8"0 から 60 までの整数を入力してください。"));
    EXPECT_TRUE(options_.IsOpen());
    options_.SetText(IDC_HISTORY_NUM, "90");
    EXPECT_EQ(ConfirmAndReadRefusal(), Utf8ToAnsi(u8"0 から 60 までの整数を入力してください。"));
    EXPECT_TRUE(options_.IsOpen());
}

// Positions 3 and 4 go: the two oldest entries when new ones go to the head, the two
// newest when they go to the tail.
TEST_F(OptionsE2E, LoweringTheLimitFromFiveEntriesToThreeRemovesPositionsThreeAndFour) {
    for (int insertPos : {0, 1}) {
        SCOPED_TRACE(insertPos);
        SetUp();  // the previous run stored the lowered limit
        WriteRegInt("HistoryInsertPos", static_cast<DWORD>(insertPos));
        VarnokeProcess program;
        ASSERT_TRUE(
            WriteFileBytes(program.PathInFolder("Varnoke.vnk"), EncodeHistory(Numbered("e", 5))));
        ASSERT_TRUE(program.Start());
        ASSERT_TRUE(program.PostCommand(ID_OPTIONS));
        DialogDriver options = DialogDriver::Find(program.processId(), OptionsCaption());
        ASSERT_TRUE(options);
        options.SetText(IDC_HISTORY_NUM, "3");
        options.Click(IDOK);
        ASSERT_TRUE(options.WaitClosed());
        ASSERT_TRUE(program.Stop());
        EXPECT_EQ(HistoryOnDisk(program), (Entries{"e0", "e1", "e2"}));
    }
}

TEST_F(OptionsE2E, AMissingFileIsTakenWithoutAQuestionAndTheHistoryIsWrittenThereAtExit) {
    StartWithHistory({"B", "A"});
    OpenOptions();
    options_.SetText(IDC_HISTORY_DATA_PATH, "new.vnk");
    Confirm();
    EXPECT_EQ(FindMessageBox(program_.processId(), QuestionCaption().c_str(), 500), nullptr);
    ASSERT_TRUE(program_.Stop());
    EXPECT_EQ(FileOnDisk("new.vnk"), (Entries{"B", "A"}));
    EXPECT_EQ(RegString("HistoryDataPath"), "new.vnk");
}

TEST_F(OptionsE2E, AnExistingHistoryFileIsAskedAboutAndEachAnswerGivesItsHistory) {
    const int options[] = {IDC_CONFLICT_OVERWRITE, IDC_CONFLICT_REPLACE, IDC_CONFLICT_APPEND};
    const Entries expected[] = {{"B", "A"}, {"X", "Y"}, {"B", "A", "X", "Y"}};
    for (int i = 0; i < 3; ++i) {
        SCOPED_TRACE(i);
        SetUp();  // the previous run stored its path
        VarnokeProcess program;
        ASSERT_TRUE(WriteFileBytes(program.PathInFolder("Varnoke.vnk"), EncodeHistory({"B", "A"})));
        ASSERT_TRUE(WriteFileBytes(program.PathInFolder("other.vnk"), EncodeHistory({"X", "Y"})));
        ASSERT_TRUE(program.Start());
        ASSERT_TRUE(program.PostCommand(ID_OPTIONS));
        DialogDriver dialog = DialogDriver::Find(program.processId(), OptionsCaption());
        ASSERT_TRUE(dialog);
        dialog.SetText(IDC_HISTORY_DATA_PATH, "other.vnk");
        dialog.Click(IDOK);
        DialogDriver question = DialogDriver::Find(program.processId(), QuestionCaption());
        ASSERT_TRUE(question) << "no question about other.vnk";
        EXPECT_EQ(question.Text(IDC_CONFLICT_PATH), "other.vnk");
        EXPECT_TRUE(question.IsChecked(IDC_CONFLICT_OVERWRITE));
        question.Click(options[i]);
        ASSERT_TRUE(WaitUntil([&] { return question.IsChecked(options[i]); }));
        question.Click(IDOK);
        ASSERT_TRUE(question.WaitClosed());
        ASSERT_TRUE(dialog.WaitClosed());
        ASSERT_TRUE(program.Stop());
        std::string bytes;
        Entries onDisk;
        ASSERT_TRUE(ReadFileBytes(program.PathInFolder("other.vnk"), &bytes));
        ASSERT_TRUE(DecodeHistory(bytes, &onDisk));
        EXPECT_EQ(onDisk, expected[i]);
    }
}

TEST_F(OptionsE2E, AppendingAFileKeepsThreeHundredEntriesInAll) {
    WriteRegInt("HistoryNum", 300);
    StartWithHistory(Numbered("mine ", 5));
    ASSERT_TRUE(
        WriteFileBytes(program_.PathInFolder("big.vnk"), EncodeHistory(Numbered("file ", 298))));
    OpenOptions();
    options_.SetText(IDC_HISTORY_DATA_PATH, "big.vnk");
    DialogDriver question = ConfirmAndFindQuestion();
    ASSERT_TRUE(question);
    question.Click(IDC_CONFLICT_APPEND);
    ASSERT_TRUE(WaitUntil([&] { return question.IsChecked(IDC_CONFLICT_APPEND); }));
    question.Click(IDOK);
    ASSERT_TRUE(options_.WaitClosed());
    ASSERT_TRUE(program_.Stop());
    Entries expected = Numbered("mine ", 5);
    Entries file = Numbered("file ", 295);
    expected.insert(expected.end(), file.begin(), file.end());
    EXPECT_EQ(FileOnDisk("big.vnk"), expected);
}

TEST_F(OptionsE2E, CancelInTheQuestionKeepsTheOptionsOpenAndTheNextOkAsksAgain) {
    StartWithHistory({"B", "A"});
    ASSERT_TRUE(WriteFileBytes(program_.PathInFolder("other.vnk"), EncodeHistory({"X"})));
    OpenOptions();
    options_.SetText(IDC_HISTORY_DATA_PATH, "other.vnk");
    for (int attempt = 0; attempt < 2; ++attempt) {
        DialogDriver question = ConfirmAndFindQuestion();
        ASSERT_TRUE(question) << "attempt " << attempt;
        question.Click(IDCANCEL);
        ASSERT_TRUE(question.WaitClosed());
        PumpFor(300);
        EXPECT_TRUE(options_.IsOpen());
        EXPECT_TRUE(options_.IsChecked(IDC_HISTORY_DATA_SAVE));
        EXPECT_EQ(options_.Text(IDC_HISTORY_DATA_PATH), "other.vnk");
    }
    options_.Click(IDCANCEL);
    ASSERT_TRUE(options_.WaitClosed());
    ASSERT_TRUE(program_.Stop());
    EXPECT_EQ(HistoryOnDisk(program_), (Entries{"B", "A"}));
    EXPECT_EQ(FileOnDisk("other.vnk"), (Entries{"X"}));
}

TEST_F(OptionsE2E, CancelInTheQuestionWhenSavingWasOffTurnsSavingOffAgain) {
    WriteRegInt("HistoryDataSave", 0);
    StartWithHistory({"B", "A"});
    OpenOptions();
    options_.SetCheck(IDC_HISTORY_DATA_SAVE, true);
    DialogDriver question = ConfirmAndFindQuestion();
    ASSERT_TRUE(question) << "switching saving on did not ask about Varnoke.vnk";
    question.Click(IDCANCEL);
    ASSERT_TRUE(question.WaitClosed());
    ASSERT_TRUE(WaitUntil([&] { return !options_.IsChecked(IDC_HISTORY_DATA_SAVE); }));
    for (int id : {IDC_HISTORY_DATA_PATH, IDC_HISTORY_DATA_BROWSE, IDC_HISTORY_AUTO_SAVE,
                   IDC_HISTORY_SAVE_INTERVAL, IDC_HISTORY_SAVE_INTERVAL_SPIN,
                   IDC_HISTORY_SAVE_INTERVAL_LABEL}) {
        EXPECT_FALSE(options_.IsEnabled(id)) << id;
    }
    Confirm();
    ASSERT_TRUE(program_.Stop());
    EXPECT_EQ(RegInt("HistoryDataSave"), 0u);
}

TEST_F(OptionsE2E, LoadingAFileThatIsNoHistoryFileKeepsTheHistoryAndSaysSo) {
    for (int option : {IDC_CONFLICT_REPLACE, IDC_CONFLICT_APPEND}) {
        SCOPED_TRACE(option);
        SetUp();  // the previous run stored its path
        VarnokeProcess program;
        ASSERT_TRUE(WriteFileBytes(program.PathInFolder("Varnoke.vnk"), EncodeHistory({"B", "A"})));
        ASSERT_TRUE(WriteFileBytes(program.PathInFolder("notes.vnk"), "just some notes\r\n"));
        ASSERT_TRUE(program.Start());
        ASSERT_TRUE(program.PostCommand(ID_OPTIONS));
        DialogDriver dialog = DialogDriver::Find(program.processId(), OptionsCaption());
        ASSERT_TRUE(dialog);
        dialog.SetText(IDC_HISTORY_DATA_PATH, "notes.vnk");
        dialog.Click(IDOK);
        DialogDriver question = DialogDriver::Find(program.processId(), QuestionCaption());
        ASSERT_TRUE(question);
        question.Click(option);
        ASSERT_TRUE(WaitUntil([&] { return question.IsChecked(option); }));
        question.Click(IDOK);
        HWND box = FindMessageBox(program.processId(), "Varnoke");
        ASSERT_NE(box, nullptr) << "the failed load said nothing";
        EXPECT_EQ(MessageBoxText(box),
                  Utf8ToAnsi(u8"履歴データの読み込みに失敗しました\n\"") +
                      program.PathInFolder("notes.vnk") +
                      Utf8ToAnsi(u8"\"\nは開けないか、履歴データファイルではありません\n"
                                 u8"現在の履歴はそのまま残してあります"));
        AnswerMessageBox(box);
        ASSERT_TRUE(dialog.WaitClosed());
        ASSERT_TRUE(program.Stop());
        std::string bytes;
        Entries onDisk;
        ASSERT_TRUE(ReadFileBytes(program.PathInFolder("notes.vnk"), &bytes));
        ASSERT_TRUE(DecodeHistory(bytes, &onDisk));
        EXPECT_EQ(onDisk, (Entries{"B", "A"}));
    }
}

TEST_F(OptionsE2E, SwitchingSavingAndNumberingOffDisablesTheirControls) {
    ASSERT_TRUE(program_.Start());
    OpenOptions();
    const int saveControls[] = {IDC_HISTORY_DATA_PATH,          IDC_HISTORY_DATA_BROWSE,
                                IDC_HISTORY_AUTO_SAVE,          IDC_HISTORY_SAVE_INTERVAL,
                                IDC_HISTORY_SAVE_INTERVAL_SPIN, IDC_HISTORY_SAVE_INTERVAL_LABEL};
    options_.SetCheck(IDC_HISTORY_AUTO_SAVE, true);
    for (int id : saveControls) {
        EXPECT_TRUE(WaitUntil([&] { return options_.IsEnabled(id); }, 3000)) << id;
    }
    options_.SetCheck(IDC_HISTORY_DATA_SAVE, false);
    for (int id : saveControls) {
        EXPECT_TRUE(WaitUntil([&] { return !options_.IsEnabled(id); }, 3000)) << id;
    }
    options_.SetCheck(IDC_HISTORY_DATA_SAVE, true);
    EXPECT_TRUE(WaitUntil([&] { return options_.IsEnabled(IDC_HISTORY_SAVE_INTERVAL); }, 3000));

    EXPECT_TRUE(options_.IsEnabled(IDC_HISTORY_ACCESS_KEY));
    options_.SetCheck(IDC_HISTORY_ADD_NUM, false);
    for (int id : {IDC_HISTORY_ACCESS_KEY_LABEL, IDC_HISTORY_ACCESS_KEY}) {
        EXPECT_TRUE(WaitUntil([&] { return !options_.IsEnabled(id); }, 3000)) << id;
    }
    EXPECT_FALSE(options_.IsEnabled(IDC_PAUSE1_WAVE_PATH));
    options_.SetCheck(IDC_PAUSE_WAVE, true);
    EXPECT_TRUE(WaitUntil([&] { return options_.IsEnabled(IDC_PAUSE2_WAVE_TEST); }, 3000));
}

TEST_F(OptionsE2E, SavingAfterEveryChangeToANewFileWritesItAtOnce) {
    StartWithHistory({"B", "A"});
    OpenOptions();
    options_.SetCheck(IDC_HISTORY_AUTO_SAVE, true);
    options_.SetText(IDC_HISTORY_SAVE_INTERVAL, "0");
    options_.SetText(IDC_HISTORY_DATA_PATH, "now.vnk");
    Confirm();
    EXPECT_TRUE(WaitUntil([&] {
        return FileOnDisk("now.vnk") == Entries{"B", "A"};
    })) << "the new file was not written while the program runs";
    EXPECT_TRUE(program_.IsRunning());
}

// A list or the radio pair that came in without a valid choice shows none, and OK hands
// the stored value back rather than -1.
TEST_F(OptionsE2E, AChoiceOutsideItsListIsKeptAsItCameIn) {
    WriteRegInt("HistoryAccessKey", 9);
    WriteRegInt("PopupPos", 7);
    WriteRegInt("PasteCommand", 5);
    WriteRegInt("HistoryMenuOrder", 4);
    ASSERT_TRUE(program_.Start());
    OpenOptions();
    EXPECT_EQ(options_.ComboSelection(IDC_HISTORY_ACCESS_KEY), CB_ERR);
    EXPECT_EQ(options_.ComboSelection(IDC_POPUP_POS), CB_ERR);
    EXPECT_EQ(options_.ComboSelection(IDC_PASTE_COMMAND), CB_ERR);
    EXPECT_FALSE(options_.IsChecked(IDC_MENU_ORDER_NEWEST_LAST));
    EXPECT_FALSE(options_.IsChecked(IDC_MENU_ORDER_NEWEST_FIRST));
    Confirm();
    ASSERT_TRUE(program_.Stop());
    EXPECT_EQ(RegInt("HistoryAccessKey"), 9u);
    EXPECT_EQ(RegInt("PopupPos"), 7u);
    EXPECT_EQ(RegInt("PasteCommand"), 5u);
    EXPECT_EQ(RegInt("HistoryMenuOrder"), 4u);
}

TEST_F(OptionsE2E, TheSpinsStepWithTheArrowKeysWrapAndMoveTheDelayByHundreds) {
    ASSERT_TRUE(program_.Start());
    OpenOptions();
    const std::pair<int, std::pair<int, int>> ranges[] = {
        {IDC_HISTORY_NUM_SPIN, {2, 300}},        {IDC_HISTORY_MENU_LEN_SPIN, {2, 100}},
        {IDC_HISTORY_MENU_BREAK_SPIN, {1, 300}}, {IDC_HISTORY_SAVE_INTERVAL_SPIN, {0, 60}},
        {IDC_PASTE_DELAY_TIME_SPIN, {0, 2000}},
    };
    for (const auto& [spin, range] : ranges) {
        LRESULT packed = SendMessageA(options_.Item(spin), UDM_GETRANGE, 0, 0);
        EXPECT_EQ(HIWORD(packed), range.first) << spin;
        EXPECT_EQ(LOWORD(packed), range.second) << spin;
    }
    ASSERT_TRUE(options_.FocusItem(IDC_PASTE_DELAY_TIME));
    PressKey(VK_UP);
    EXPECT_TRUE(WaitUntil([&] { return options_.Text(IDC_PASTE_DELAY_TIME) == "300"; }, 5000))
        << options_.Text(IDC_PASTE_DELAY_TIME);
    options_.SetText(IDC_HISTORY_NUM, "300");
    ASSERT_TRUE(options_.FocusItem(IDC_HISTORY_NUM));
    PressKey(VK_UP);
    EXPECT_TRUE(WaitUntil([&] { return options_.Text(IDC_HISTORY_NUM) == "2"; }, 5000))
        << options_.Text(IDC_HISTORY_NUM);
    options_.SetText(IDC_PASTE_DELAY_TIME, "1500");
    ASSERT_TRUE(options_.FocusItem(IDC_PASTE_DELAY_TIME));
    PressKey(VK_DOWN);
    // No thousands separator is written into the field.
    EXPECT_TRUE(WaitUntil([&] { return options_.Text(IDC_PASTE_DELAY_TIME) == "1400"; }, 5000))
        << options_.Text(IDC_PASTE_DELAY_TIME);
}

// The system's open-file dialog of the program; its caption depends on the system's language.
HWND FindOpenFileDialog(DWORD processId, HWND options) {
    HWND found = nullptr;
    WaitUntil([&] {
        for (HWND dialog : DialogsOf(processId)) {
            if (dialog != options && GetWindow(dialog, GW_OWNER) == options) {
                found = dialog;
                return true;
            }
        }
        return false;
    });
    return found;
}

// The file-name field: a combo box in the explorer-style dialog, an edit in the older one.
HWND FileNameField(HWND openDialog) {
    HWND combo = GetDlgItem(openDialog, 0x47C);
    return combo != nullptr ? combo : GetDlgItem(openDialog, 0x480);
}

std::string WindowText(HWND window) {
    char text[1024] = {};
    GetWindowTextA(window, text, sizeof(text));
    return text;
}

TEST_F(OptionsE2E, BrowsingForTheHistoryFileGivesAFullPathAndAFolderStartsWithoutAName) {
    ASSERT_TRUE(program_.Start());
    OpenOptions();
    options_.SetText(IDC_HISTORY_DATA_PATH, "sub\\");
    options_.Click(IDC_HISTORY_DATA_BROWSE);
    HWND open = FindOpenFileDialog(program_.processId(), options_.hwnd());
    ASSERT_NE(open, nullptr) << "no open-file dialog";
    ASSERT_NE(FileNameField(open), nullptr);
    EXPECT_EQ(WindowText(FileNameField(open)), "");
    PostMessageA(open, WM_COMMAND, IDCANCEL, 0);
    ASSERT_TRUE(WaitUntil([&] { return !IsWindow(open); }));
    EXPECT_EQ(options_.Text(IDC_HISTORY_DATA_PATH), "sub\\");

    ASSERT_TRUE(WriteFileBytes(program_.PathInFolder("picked.vnk"), EncodeHistory({})));
    options_.SetText(IDC_HISTORY_DATA_PATH, "Varnoke.vnk");
    options_.Click(IDC_HISTORY_DATA_BROWSE);
    open = FindOpenFileDialog(program_.processId(), options_.hwnd());
    ASSERT_NE(open, nullptr);
    SendMessageA(FileNameField(open), WM_SETTEXT, 0, reinterpret_cast<LPARAM>("picked"));
    PostMessageA(open, WM_COMMAND, IDOK, 0);
    ASSERT_TRUE(WaitUntil([&] { return !IsWindow(open); }));
    // Typed without its extension, taken as a full path.
    EXPECT_TRUE(WaitUntil(
        [&] { return options_.Text(IDC_HISTORY_DATA_PATH) == program_.PathInFolder("picked.vnk"); },
        5000))
        << options_.Text(IDC_HISTORY_DATA_PATH);
}

}  // namespace
}  // namespace e2e
