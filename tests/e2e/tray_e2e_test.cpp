// The tray menu's commands that act on the clipboard and its help command, and the icon
// itself when the taskbar restarts.
#include <gtest/gtest.h>

#include "core/app_messages.h"
#include "harness.h"

#include <shellapi.h>  // after <windows.h>

namespace e2e {
namespace {

class TrayE2E : public testing::Test {
  protected:
    void SetUp() override { ResetRegistryWithHistoryWrittenOnEveryChange(); }
    void TearDown() override { ResetRegistry(); }
    VarnokeProcess program_;
};

TEST_F(TrayE2E, ClearClipboardEmptiesItWithoutTouchingTheHistory) {
    ASSERT_TRUE(program_.Start());
    ASSERT_TRUE(SetClipboardText("keep me"));
    ASSERT_TRUE(WaitForHistory(program_, {"keep me"}));
    ASSERT_TRUE(ChooseFromTrayMenu(program_, 'C'));  // "クリップボードのクリア(&C)"
    EXPECT_TRUE(WaitUntil([] { return !ClipboardHasText(); }));
    ASSERT_TRUE(program_.Stop());
    EXPECT_EQ(HistoryOnDisk(program_), (std::vector<std::string>{"keep me"}));
}

// A real click at the icon's place: Wine's taskbar draws the first icon at its right end.
// The press opens the history menu, if the icon is there.
bool ClickingTheIconOpensAMenu(const VarnokeProcess& program, DWORD timeoutMs) {
    const POINT icon{GetSystemMetrics(SM_CXSCREEN) - 10, GetSystemMetrics(SM_CYSCREEN) - 10};
    MouseAt(icon, {MOUSEEVENTF_LEFTDOWN});
    const bool opened = WaitForMenu(program, timeoutMs);
    MouseAt(icon, {MOUSEEVENTF_LEFTUP});
    PressKey(VK_ESCAPE);
    return opened && WaitForMenuClosed(program);
}

// A new taskbar knows no icons (the icon is taken away here as a restart would lose it);
// the program adds its own again when the taskbar announces itself.
TEST_F(TrayE2E, TheIconComesBackWhenTheTaskbarRestarts) {
    ASSERT_TRUE(program_.Start());
    ASSERT_TRUE(SetClipboardText("alpha"));
    ASSERT_TRUE(WaitForHistory(program_, {"alpha"}));
    ASSERT_TRUE(WaitUntil([&] { return ClickingTheIconOpensAMenu(program_, 1000); }))
        << "no icon to click at the taskbar's right end";
    NOTIFYICONDATAA icon{};
    icon.cbSize = sizeof(icon);
    icon.hWnd = program_.mainWindow();
    icon.uID = varnoke::TRAY_ICON_ID;
    ASSERT_TRUE(Shell_NotifyIconA(NIM_DELETE, &icon));
    // Clicks for a while: one right after the closed menu would open nothing anyway.
    EXPECT_FALSE(WaitUntil([&] { return ClickingTheIconOpensAMenu(program_, 300); }, 1500))
        << "the icon was not taken away";
    DWORD_PTR result = 0;
    ASSERT_NE(SendMessageTimeoutA(program_.mainWindow(), RegisterWindowMessageA("TaskbarCreated"),
                                  0, 0, SMTO_BLOCK, 5000, &result),
              0);
    EXPECT_TRUE(WaitUntil([&] { return ClickingTheIconOpensAMenu(program_, 1000); }))
        << "the icon did not come back";
}

// The help page ships beside the program; the help command hands it to the program the
// shell has for .html files (a recording one here), and says nothing.
TEST_F(TrayE2E, HelpOpensTheHelpPageBesideTheProgram) {
    ASSERT_TRUE(program_.CopyBesideProgram("Varnoke.html"));
    OpenedFileRecorder opened(program_, ".html");
    ASSERT_TRUE(program_.Start());
    ASSERT_TRUE(ChooseFromTrayMenu(program_, 'H'));  // "ヘルプ(&H)"
    EXPECT_EQ(opened.TakeOpened(), program_.PathInFolder("Varnoke.html"));
    EXPECT_EQ(FindMessageBox(program_.processId(), nullptr, 0), nullptr);
}

}  // namespace
}  // namespace e2e
