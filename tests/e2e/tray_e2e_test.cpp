// The tray menu's commands that act on the clipboard and the pause state.
#include <gtest/gtest.h>

#include "harness.h"

namespace e2e {
namespace {

class TrayE2E : public testing::Test {
  protected:
    void SetUp() override { ResetRegistry(); }
    void TearDown() override { ResetRegistry(); }
    VarnokeProcess program_;
};

TEST_F(TrayE2E, ClearClipboardEmptiesItWithoutTouchingTheHistory) {
    ResetRegistryWithHistoryWrittenOnEveryChange();
    ASSERT_TRUE(program_.Start());
    ASSERT_TRUE(SetClipboardText("keep me"));
    ASSERT_TRUE(WaitForHistory(program_, {"keep me"}));
    ASSERT_TRUE(program_.SendCommand(ID_CLEAR_CLIPBOARD));
    EXPECT_FALSE(ClipboardHasText());
    ASSERT_TRUE(program_.Stop());
    EXPECT_EQ(HistoryOnDisk(program_), (std::vector<std::string>{"keep me"}));
}

TEST_F(TrayE2E, PauseCommandTogglesAndIsSavedAtExit) {
    ASSERT_TRUE(program_.Start());
    ASSERT_TRUE(program_.SendCommand(ID_PAUSE));
    ASSERT_TRUE(program_.Stop());
    DWORD paused = 0;
    ASSERT_TRUE(ReadRegInt("Paused", &paused));
    EXPECT_EQ(paused, 1u);

    // Started paused, the program stays out of the viewer chain until resumed.
    WriteRegInt("HistoryAutoSave", 1);
    WriteRegInt("HistorySaveInterval", 0);
    WriteRegInt("HistoryAnimation", 0);
    VarnokeProcess again;
    ASSERT_TRUE(again.Start());
    ASSERT_TRUE(SetClipboardText("while paused"));
    ASSERT_TRUE(again.SendCommand(ID_PAUSE));
    ASSERT_TRUE(SetClipboardText("resumed"));
    EXPECT_TRUE(WaitForHistory(again, {"resumed"}));
    ASSERT_TRUE(again.Stop());
    ASSERT_TRUE(ReadRegInt("Paused", &paused));
    EXPECT_EQ(paused, 0u);
}

TEST_F(TrayE2E, ExplorerRestartIsSurvived) {
    ASSERT_TRUE(program_.Start());
    // The shell announces a new taskbar to every top-level window.
    UINT taskbarCreated = RegisterWindowMessageA("TaskbarCreated");
    DWORD_PTR result = 0;
    EXPECT_NE(
        SendMessageTimeoutA(program_.mainWindow(), taskbarCreated, 0, 0, SMTO_BLOCK, 5000, &result),
        0);
    EXPECT_TRUE(program_.IsRunning());
    EXPECT_TRUE(program_.Stop());
}

}  // namespace
}  // namespace e2e
