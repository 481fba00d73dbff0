// Start-up, the single-instance rule and the ways the program ends.
#include <algorithm>

#include <gtest/gtest.h>

#include "harness.h"

namespace e2e {
namespace {

class StartupE2E : public testing::Test {
  protected:
    void SetUp() override { ResetRegistry(); }
    void TearDown() override { ResetRegistry(); }
};

TEST_F(StartupE2E, MainWindowIsHiddenToolWindowTitledVarnoke) {
    VarnokeProcess program;
    ASSERT_TRUE(program.Start());
    HWND window = program.mainWindow();
    EXPECT_FALSE(IsWindowVisible(window));
    EXPECT_TRUE(GetWindowLongA(window, GWL_EXSTYLE) & WS_EX_TOOLWINDOW);
    char title[64] = {};
    GetWindowTextA(window, title, sizeof(title));
    EXPECT_STREQ(title, "Varnoke");
    EXPECT_TRUE(program.Stop());
}

TEST_F(StartupE2E, SecondStartEndsAtOnceWithoutWindowOrMessage) {
    VarnokeProcess program;
    ASSERT_TRUE(program.Start());
    DWORD exitCode = program.StartSecondInstance(10000);
    EXPECT_NE(exitCode, STILL_ACTIVE);
    EXPECT_TRUE(VisibleWindowsOf(program.processId()).empty());
    EXPECT_TRUE(program.IsRunning());
    EXPECT_TRUE(program.Stop());
    // With the first one gone, a new start runs again.
    VarnokeProcess again;
    EXPECT_TRUE(again.Start());
    EXPECT_TRUE(again.Stop());
}

// Paused through the tray menu (from its hot key), the program starts paused next time: it
// stays out of the viewer chain until resumed.
TEST_F(StartupE2E, PausedSurvivesARestart) {
    ResetRegistryWithHistoryWrittenOnEveryChange();
    {
        VarnokeProcess program;
        ASSERT_TRUE(program.Start());
        TargetWindow target;
        ASSERT_TRUE(OpenMenu(program, [&] {
            target.Focus();
            PressKey('R', true, true);
        })) << "Ctrl+Shift+R showed no tray menu";
        PressKey('P');  // "一時停止(&P)"
        ASSERT_TRUE(WaitForMenuClosed(program));
        ASSERT_TRUE(program.Stop());
    }
    EXPECT_EQ(RegInt("Paused"), 1u);
    VarnokeProcess again;
    ASSERT_TRUE(again.Start());
    ASSERT_TRUE(SetClipboardText("while paused"));
    ASSERT_TRUE(again.SendCommand(ID_PAUSE));
    ASSERT_TRUE(SetClipboardText("resumed"));
    EXPECT_TRUE(WaitForHistory(again, {"resumed"}));
    ASSERT_TRUE(again.Stop());
    EXPECT_EQ(RegInt("Paused"), 0u);
}

TEST_F(StartupE2E, AllowedEndOfSessionSavesSettingsAndExits) {
    VarnokeProcess program;
    ASSERT_TRUE(program.Start());
    DWORD_PTR answer = 0;
    ASSERT_NE(SendMessageTimeoutA(program.mainWindow(), WM_QUERYENDSESSION, 0, 0, SMTO_BLOCK, 5000,
                                  &answer),
              0);
    EXPECT_EQ(answer, static_cast<DWORD_PTR>(TRUE));
    // The posted WM_CLOSE ends the program by the same path as the exit command.
    EXPECT_TRUE(WaitUntil([&] { return !program.IsRunning(); }));
    EXPECT_EQ(RegInt("HistoryNum"), 90u);
}

TEST_F(StartupE2E, TheEndOfTheSessionSavesBeforeWindowsEndsTheProcess) {
    ResetRegistryWithHistoryWrittenOnEveryChange();
    VarnokeProcess program;
    ASSERT_TRUE(program.Start());
    ASSERT_TRUE(SetClipboardText("copied before log-off"));
    ASSERT_TRUE(WaitForHistory(program, {"copied before log-off"}));
    DeleteFileA(program.PathInFolder("Varnoke.vnk").c_str());
    ResetRegistry();
    DWORD_PTR answer = 0;
    ASSERT_NE(SendMessageTimeoutA(program.mainWindow(), WM_QUERYENDSESSION, 0, 0, SMTO_NORMAL, 5000,
                                  &answer),
              0);
    ASSERT_NE(SendMessageTimeoutA(program.mainWindow(), WM_ENDSESSION, TRUE, 0, SMTO_NORMAL, 5000,
                                  &answer),
              0);
    // Windows may end the process right now: everything must already be on disk.
    program.Kill();
    EXPECT_EQ(RegInt("HistoryNum"), 90u);
    EXPECT_EQ(HistoryOnDisk(program), (std::vector<std::string>{"copied before log-off"}));
}

TEST_F(StartupE2E, ExitCommandEndsTheProgramAndSavesSettings) {
    VarnokeProcess program;
    ASSERT_TRUE(program.Start());
    ASSERT_TRUE(program.PostCommand(ID_APP_EXIT));
    EXPECT_TRUE(WaitUntil([&] { return !program.IsRunning(); }));
    EXPECT_EQ(RegInt("HistoryLen"), 10000u);
}

TEST_F(StartupE2E, AboutCommandShowsTheVersionDialog) {
    VarnokeProcess program;
    ASSERT_TRUE(program.Start());
    ASSERT_TRUE(ChooseFromTrayMenu(program, 'A'));  // "バージョン情報(&A)..."
    std::string caption = Utf8ToAnsi(u8"バージョン情報 - Varnoke");
    HWND dialog = FindMessageBox(program.processId(), caption.c_str());
    ASSERT_NE(dialog, nullptr);
    // The version text of the exe itself (the release test ties it to the version resource).
    HMODULE exe = LoadLibraryExA(program.PathInFolder("Varnoke.exe").c_str(), nullptr,
                                 LOAD_LIBRARY_AS_DATAFILE);
    char version[64] = {};
    ASSERT_GT(LoadStringA(exe, IDS_APP_VERSION, version, sizeof(version)), 0);
    FreeLibrary(exe);
    std::vector<std::string> texts = ChildTexts(dialog);
    EXPECT_NE(std::find(texts.begin(), texts.end(), version), texts.end());
    AnswerMessageBox(dialog, IDOK);
    EXPECT_TRUE(WaitUntil([&] { return !IsWindow(dialog); }));
    EXPECT_TRUE(program.Stop());
}

}  // namespace
}  // namespace e2e
