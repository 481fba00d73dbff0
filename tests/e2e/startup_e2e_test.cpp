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

TEST_F(StartupE2E, PausedSurvivesARestart) {
    WriteRegInt("Paused", 1);
    {
        VarnokeProcess program;
        ASSERT_TRUE(program.Start());
        ASSERT_TRUE(program.Stop());
    }
    DWORD paused = 0;
    ASSERT_TRUE(ReadRegInt("Paused", &paused));
    EXPECT_EQ(paused, 1u);
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
    DWORD value = 0;
    EXPECT_TRUE(ReadRegInt("HistoryNum", &value));
    EXPECT_EQ(value, 90u);
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
    DWORD value = 0;
    EXPECT_TRUE(ReadRegInt("HistoryNum", &value));
    EXPECT_EQ(HistoryOnDisk(program), (std::vector<std::string>{"copied before log-off"}));
}

TEST_F(StartupE2E, ExitCommandEndsTheProgramAndSavesSettings) {
    VarnokeProcess program;
    ASSERT_TRUE(program.Start());
    PostMessageA(program.mainWindow(), WM_COMMAND, 57665, 0);
    EXPECT_TRUE(WaitUntil([&] { return !program.IsRunning(); }));
    DWORD value = 0;
    EXPECT_TRUE(ReadRegInt("HistoryLen", &value));
}

TEST_F(StartupE2E, AboutCommandShowsTheVersionDialog) {
    VarnokeProcess program;
    ASSERT_TRUE(program.Start());
    PostMessageA(program.mainWindow(), WM_COMMAND, 57664, 0);
    std::string caption = Utf8ToAnsi(u8"バージョン情報 - Varnoke");
    HWND dialog = FindMessageBox(program.processId(), caption.c_str());
    ASSERT_NE(dialog, nullptr);
    // The dialog shows string 210 somewhere among its controls.
    std::vector<std::string> texts = ChildTexts(dialog);
    EXPECT_NE(std::find(texts.begin(), texts.end(), "Varnoke ver. 0.32"), texts.end());
    AnswerMessageBox(dialog, IDOK);
    EXPECT_TRUE(WaitUntil([&] { return !IsWindow(dialog); }));
    EXPECT_TRUE(program.Stop());
}

}  // namespace
}  // namespace e2e
