// Start-up, exit and the settings in the registry, as seen from outside the program.
#include <algorithm>
#include <map>

#include <gtest/gtest.h>

#include "harness.h"

namespace e2e {
namespace {

class SettingsE2E : public testing::Test {
  protected:
    void SetUp() override { ResetRegistry(); }
    void TearDown() override { ResetRegistry(); }

    // Starts and stops the program once.
    void RunOnce() {
        VarnokeProcess program;
        ASSERT_TRUE(program.Start());
        ASSERT_TRUE(program.Stop());
    }
    std::string Str(const char* name) {
        std::string value = "<missing>";
        EXPECT_TRUE(ReadRegString(name, &value)) << name;
        return value;
    }
};

TEST_F(SettingsE2E, EmptyKeyIsFilledWithEveryDefaultAtExit) {
    RunOnce();
    const std::map<std::string, DWORD> ints = {
        {"HistoryNum", 90},
        {"HistoryStopOverflow", 0},
        {"HistoryLen", 10000},
        {"HistoryMenuLen", 30},
        {"HistoryMenuBreak", 30},
        {"HistoryMenuOrder", 0},
        {"HistoryInsertPos", 0},
        {"HistoryAddNum", 1},
        {"HistoryAccessKey", 1},
        {"HistoryMoveUp", 0},
        {"HistoryAnimation", 1},
        {"HistoryWave", 0},
        {"PauseWave", 0},
        {"HistoryStarting", 0},
        {"HistoryDataSave", 1},
        {"HistoryAutoSave", 0},
        {"HistorySaveInterval", 20},
        {"HistoryDataProtect", 0},
        {"HistoryCopeWord", 0},
        {"PopupPos", 0},
        {"PasteCommand", 0},
        {"PasteDelayTime", 200},
        {"HistoryPasteDirect", 1},
        {"PasteOnly", 1},
        {"PasteRestoreClipboard", 0},
        {"Paused", 0},
        {"EditFontHeight", static_cast<DWORD>(-15)},
        {"EditFontWeight", 400},
        {"EditFontItalic", 0},
        {"EditWordWrap", 0},
        {"EditTabStops", 4},
        {"HotKeyEnable00", 1},
        {"HotKeyCode00", 0x43},
        {"HotKeyMod00", 6},
        {"HotKeyEnable99", 1},
        {"HotKeyCode99", 0x45},
        {"HotKeyMod99", 6},
        {"HotKeyEnable98", 1},
        {"HotKeyCode98", 0x52},
        {"HotKeyMod98", 6},
        {"HotKeyEnable97", 1},
        {"HotKeyCode97", 0x50},
        {"HotKeyMod97", 6},
        {"HotKeyEnable01", 1},
        {"HotKeyCode01", 0x56},
        {"HotKeyMod01", 6},
        {"HotKeyEnable02", 0},
        {"HotKeyCode02", 0},
        {"HotKeyMod02", 6},
        {"HotKeyEnable05", 0},
        {"HotKeyCode05", 0},
        {"HotKeyMod05", 6},
        {"HotKeyEnable96", 1},
        {"HotKeyCode96", 0x58},
        {"HotKeyMod96", 6},
    };
    for (const auto& [name, value] : ints) {
        EXPECT_EQ(RegInt(name.c_str()), value) << name;
    }
    const std::map<std::string, std::string> strings = {
        {"HistoryWavePath", ""},
        {"Pause1WavePath", ""},
        {"Pause2WavePath", ""},
        {"HistoryDataPath", "Varnoke.vnk"},
        {"EditFontName", "System"},
        {"EditHistoryPos", "0,0,400,300"},
        {"EditTextPos", "0,0,500,400"},
        {"HotKeyData01", "Symbol.txt"},
        {"HotKeyData02", ""},
        {"HotKeyData05", ""},
        {"ExcludePrograms",
         "KeePass.exe; KeePassXC.exe; Bitwarden.exe; 1Password.exe; Enpass.exe; NordPass.exe"},
        {"SearchWindowPos", "0,0,0,0"},
    };
    for (const auto& [name, value] : strings) {
        EXPECT_EQ(Str(name.c_str()), value) << name;
    }
    std::vector<std::string> names = RegValueNames();
    for (const char* absent :
         {"HotKeyData00", "HotKeyData99", "HotKeyData98", "HotKeyData97", "HotKeyData96"}) {
        EXPECT_EQ(std::count(names.begin(), names.end(), absent), 0) << absent;
    }
    // 40 values of the first table and 10 slots of 3 values plus 5 data paths.
    EXPECT_EQ(names.size(), 40u + 30u + 5u);
}

TEST_F(SettingsE2E, OutOfRangeValuesAreClampedAndOthersKept) {
    WriteRegInt("HistoryLen", 70000);
    WriteRegInt("HistoryNum", 301);
    WriteRegInt("HistoryMenuLen", 101);
    WriteRegInt("HistoryMenuBreak", 300);
    WriteRegInt("HistorySaveInterval", static_cast<DWORD>(-5));
    WriteRegInt("PasteDelayTime", 5000);
    RunOnce();
    EXPECT_EQ(RegInt("HistoryLen"), 65535u);
    EXPECT_EQ(RegInt("HistoryNum"), 90u);
    EXPECT_EQ(RegInt("HistoryMenuLen"), 30u);
    EXPECT_EQ(RegInt("HistoryMenuBreak"), 300u);
    EXPECT_EQ(RegInt("HistorySaveInterval"), static_cast<DWORD>(-5));
    EXPECT_EQ(RegInt("PasteDelayTime"), 5000u);

    WriteRegInt("HistoryLen", 100001);
    WriteRegInt("HistoryMenuBreak", 0);
    RunOnce();
    EXPECT_EQ(RegInt("HistoryLen"), 10000u);
    EXPECT_EQ(RegInt("HistoryMenuBreak"), 30u);
}

TEST_F(SettingsE2E, WindowRectanglesAreParsedValidatedAndSavedInDecimal) {
    const struct {
        const char* stored;
        const char* saved;
    } cases[] = {
        {"10,20,510,420", "10,20,510,420"},
        {"10,20,30", "0,0,500,400"},
        {"no numbers", "0,0,500,400"},
        {"100,100,50,50", "0,0,500,400"},
        {"-900,-900,-100,-100", "0,0,500,400"},
        {"2000,100,2300,400", "724,100,1024,400"},  // the test display is 1024x768
        {"0x10,0,0x200,0x100", "16,0,512,256"},
    };
    for (const auto& c : cases) {
        WriteRegString("EditTextPos", c.stored);
        RunOnce();
        EXPECT_EQ(Str("EditTextPos"), c.saved) << c.stored;
    }
}

TEST_F(SettingsE2E, ValuesOfTheWrongTypeFallBackToTheirDefaults) {
    WriteRegString("HistoryNum", "50");
    WriteRegBinary("HistoryLen", {1, 2, 3, 4});
    WriteRegInt("HistoryDataPath", 7);
    WriteRegBinary("EditHistoryPos", {'1', ',', '2'});
    RunOnce();
    EXPECT_EQ(RegInt("HistoryNum"), 90u);
    EXPECT_EQ(RegInt("HistoryLen"), 10000u);
    EXPECT_EQ(Str("HistoryDataPath"), "Varnoke.vnk");
    EXPECT_EQ(Str("EditHistoryPos"), "0,0,400,300");
}

TEST_F(SettingsE2E, DefaultsOfAnIdleShortTextSlotAreSavedBackUnchanged) {
    WriteRegInt("HotKeyEnable02", 0);
    WriteRegInt("HotKeyCode02", 0);
    WriteRegInt("HotKeyMod02", 6);
    WriteRegString("HotKeyData03", "phrases\\work.txt");
    RunOnce();
    EXPECT_EQ(RegInt("HotKeyEnable02"), 0u);
    EXPECT_EQ(RegInt("HotKeyCode02"), 0u);
    EXPECT_EQ(RegInt("HotKeyMod02"), 6u);
    EXPECT_EQ(Str("HotKeyData03"), "phrases\\work.txt");
}

}  // namespace
}  // namespace e2e
