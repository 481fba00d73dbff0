// The tray menu's commands that act on the clipboard and the pause state, and its help
// command.
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

// The help page ships beside the program; the help command hands it to the program the
// shell has for .html files (a recording one here), and says nothing.
TEST_F(TrayE2E, HelpOpensTheHelpPageBesideTheProgram) {
    ASSERT_TRUE(program_.CopyBesideProgram("Varnoke.html"));
    ASSERT_TRUE(program_.CopyBesideProgram("touch_marker.exe"));
    const std::string marker = program_.PathInFolder("opened.log");
    FileAssociation association(
        ".html", program_.PathInFolder("touch_marker.exe") + " " + marker + " \"%1\"");
    ASSERT_TRUE(program_.Start());
    ASSERT_TRUE(program_.SendCommand(ID_HELP_FINDER));
    std::string opened;
    EXPECT_TRUE(WaitUntil([&] { return ReadFileBytes(marker, &opened) && !opened.empty(); }));
    EXPECT_EQ(opened, program_.PathInFolder("Varnoke.html"));
    EXPECT_EQ(FindMessageBox(program_.processId(), nullptr, 0), nullptr);
}

}  // namespace
}  // namespace e2e
