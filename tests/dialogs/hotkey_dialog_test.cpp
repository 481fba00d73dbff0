#include "dialogs/hotkey_dialog.h"

#include <gtest/gtest.h>

#include <optional>
#include <set>

#include "core/hotkey_modifiers.h"
#include "res/resource.h"

namespace varnoke {
namespace {

Settings Defaults() {
    return DefaultSettings(ScreenMetrics{96, 1024, 768});
}

// A stored key shown in the control and read back from it unchanged.
HotKeySlot RoundTrip(uint16_t keyCode, uint16_t modifiers) {
    HotKeySlot slot;
    StoreHotKeyControlValue(HotKeyControlValue(keyCode, modifiers), slot);
    return slot;
}

TEST(HotKeyDialogRows, EachSlotHasItsOwnControls) {
    const auto& rows = HotKeySlotRows();
    EXPECT_EQ(rows[0].enableId, 2000);
    EXPECT_EQ(rows[0].keyFieldId, 2100);
    EXPECT_EQ(rows[3].enableId, 2003);
    EXPECT_EQ(rows[3].keyFieldId, 2103);
    EXPECT_EQ(rows[3].pathId, 0);
    EXPECT_EQ(rows[3].editId, 0);
    // Short-text menu 1 is slot 4, menu 5 slot 8.
    EXPECT_EQ(rows[4].enableId, 2010);
    EXPECT_EQ(rows[8].keyFieldId, 2114);
    EXPECT_EQ(rows[8].pathId, 2214);
    EXPECT_EQ(rows[8].browseId, 2314);
    EXPECT_EQ(rows[8].editId, 2414);
    // The search window's slot 9 has a row like the function rows.
    EXPECT_EQ(rows[9].enableId, 2004);
    EXPECT_EQ(rows[9].keyFieldId, 2104);
    EXPECT_EQ(rows[9].pathId, 0);

    EXPECT_EQ(HotKeySlotOfControl(2002), 2);
    EXPECT_EQ(HotKeySlotOfControl(2311), 5);
    EXPECT_EQ(HotKeySlotOfControl(2414), 8);
    EXPECT_EQ(HotKeySlotOfControl(2104), 9);
    EXPECT_EQ(HotKeySlotOfControl(IDC_PASTE_DIRECT), -1);
    EXPECT_EQ(HotKeySlotOfControl(IDC_PASTE_ONLY), -1);
    EXPECT_EQ(HotKeySlotOfControl(0), -1);
}

TEST(HotKeyDialogRows, EnableBoxesSwitchTheirOwnRowOnly) {
    EnableRule history = HotKeySlotEnableRule(0);
    EXPECT_EQ(history.controller, 2000);
    EXPECT_EQ(history.controlled, (std::vector<int>{2100}));
    EXPECT_EQ(HotKeySlotEnableRule(2).controlled, (std::vector<int>{2102}));
    EnableRule menu2 = HotKeySlotEnableRule(5);
    EXPECT_EQ(menu2.controller, 2011);
    EXPECT_EQ(menu2.controlled, (std::vector<int>{2111, 2211, 2311, 2411}));

    // Turning slot 4 off leaves every other control as it was; 1065 and 1067 are never
    // switched.
    const std::vector<EnableRule> rules = HotKeyEnableRules();
    std::set<int> seen;
    for (const EnableState& state :
         ComputeEnabling(rules, [](int id) { return id != IDC_HOTKEY_ENABLE_SHORTTEXT1; })) {
        EXPECT_TRUE(seen.insert(state.id).second) << state.id << " has two rules";
        const bool inRow4 =
            state.id == 2110 || state.id == 2210 || state.id == 2310 || state.id == 2410;
        EXPECT_EQ(state.enabled, !inRow4) << state.id;
    }
    EXPECT_EQ(seen.size(), 2u + 3u + 4u * 5u + 1u);
    EXPECT_EQ(seen.count(IDC_PASTE_ONLY), 0u);
    EXPECT_EQ(seen.count(IDC_PASTE_RESTORE), 0u);
}

// 1017 also decides whether the search window's choice is pasted, so it stays enabled
// while either the history key or the search key is on.
TEST(HotKeyDialogRows, PasteDirectlyIsEnabledWhileTheHistoryOrTheSearchKeyIsOn) {
    const std::vector<EnableRule> rules = HotKeyEnableRules();
    auto pasteDirectEnabled = [&](std::set<int> checked) {
        std::optional<bool> enabled;
        for (const EnableState& state :
             ComputeEnabling(rules, [&](int id) { return checked.count(id) > 0; })) {
            if (state.id == IDC_PASTE_DIRECT) {
                enabled = state.enabled;
            }
        }
        EXPECT_TRUE(enabled.has_value());
        return enabled.value_or(false);
    };
    EXPECT_TRUE(pasteDirectEnabled({IDC_HOTKEY_ENABLE_HISTORY, IDC_HOTKEY_ENABLE_SEARCH}));
    EXPECT_TRUE(pasteDirectEnabled({IDC_HOTKEY_ENABLE_HISTORY}));
    EXPECT_TRUE(pasteDirectEnabled({IDC_HOTKEY_ENABLE_SEARCH}));
    EXPECT_FALSE(pasteDirectEnabled({IDC_HOTKEY_ENABLE_EDITOR, IDC_HOTKEY_ENABLE_SHORTTEXT1}));
    // A click on either box re-applies the rules.
    EXPECT_TRUE(IsEnableController(rules, IDC_HOTKEY_ENABLE_SEARCH));
}

TEST(HotKeyDialogTips, SharedStringsInRegistrationOrder) {
    const auto& tips = HotKeyTips();
    ASSERT_EQ(tips.size(), 11u + 4u * 5u + 2u);
    EXPECT_EQ(tips.front().controlId, 2000);
    EXPECT_EQ(tips[2].controlId, IDC_PASTE_DIRECT);
    EXPECT_EQ(tips[9].controlId, 2004);
    EXPECT_EQ(tips[11].controlId, 2010);
    EXPECT_EQ(tips[14].controlId, 2410);
    EXPECT_EQ(tips[tips.size() - 2].controlId, IDC_PASTE_ONLY);
    EXPECT_EQ(tips.back().controlId, IDC_PASTE_RESTORE);

    EXPECT_EQ(HotKeyTipStringId(2000), 2000u);
    EXPECT_EQ(HotKeyTipStringId(IDC_PASTE_DIRECT), 1017u);
    EXPECT_EQ(HotKeyTipStringId(2003), 2003u);
    EXPECT_EQ(HotKeyTipStringId(2004), 2004u);
    for (int field : {2100, 2101, 2103, 2104, 2110, 2114}) {
        EXPECT_EQ(HotKeyTipStringId(field), 2100u) << field;
    }
    EXPECT_EQ(HotKeyTipStringId(2013), 2010u);
    EXPECT_EQ(HotKeyTipStringId(2212), 2210u);
    EXPECT_EQ(HotKeyTipStringId(2414), 2410u);
    EXPECT_EQ(HotKeyTipStringId(IDC_PASTE_ONLY), 1065u);
    EXPECT_EQ(HotKeyTipStringId(IDC_PASTE_RESTORE), static_cast<unsigned>(IDC_PASTE_RESTORE));
    // The browse buttons and the dialog's buttons have none.
    EXPECT_EQ(HotKeyTipStringId(2310), 0u);
    EXPECT_EQ(HotKeyTipStringId(1), 0u);
    EXPECT_EQ(HotKeyTipStringId(57670), 0u);
}

TEST(HotKeyDialogKeys, StoredModifiersShowInTheControlsEncoding) {
    // The control's value: key code in the low byte, HOTKEYF_* in the high byte.
    EXPECT_EQ(HotKeyControlValue('C', kModControl | kModShift),
              ('C' | (kHotKeyfControl | kHotKeyfShift) << 8));
    EXPECT_EQ(HotKeyControlValue('A', kModAlt) >> 8, kHotKeyfAlt);      // stored Alt = 1
    EXPECT_EQ(HotKeyControlValue('S', kModShift) >> 8, kHotKeyfShift);  // stored Shift = 4
    EXPECT_EQ(HotKeyControlValue('W', 8) >> 8, 0u);                     // Win is not shown
    // Only the key code's low byte reaches the control.
    EXPECT_EQ(HotKeyControlValue(0x143, 0) & 0xFF, 0x43);
}

TEST(HotKeyDialogKeys, KeysComeBackAsTheyWereStoredExceptWin) {
    for (uint16_t modifiers = 0; modifiers < 8; ++modifiers) {
        HotKeySlot back = RoundTrip(0x56, modifiers);
        EXPECT_EQ(back.keyCode, 0x56);
        EXPECT_EQ(back.modifiers, modifiers);
    }
    HotKeySlot win = RoundTrip('W', 8 | kModControl);
    EXPECT_EQ(win.modifiers, kModControl);
    // A cleared field.
    HotKeySlot cleared;
    cleared.keyCode = 'C';
    cleared.modifiers = 6;
    StoreHotKeyControlValue(0, cleared);
    EXPECT_EQ(cleared.keyCode, 0);
    EXPECT_EQ(cleared.modifiers, 0);
    // An extended key (say Insert) keeps its code and loses the control's bit 8.
    HotKeySlot insert;
    StoreHotKeyControlValue(static_cast<uint16_t>(0x2D | (kHotKeyfExt | kHotKeyfAlt) << 8), insert);
    EXPECT_EQ(insert.keyCode, 0x2D);
    EXPECT_EQ(insert.modifiers, kModAlt);
}

TEST(HotKeyDialogValues, CopiedOutAndBackWithoutTouchingIdentifiers) {
    Settings settings = Defaults();
    settings.historyPasteDirect = 0;
    settings.hotKeys[0].hotKeyId = 0x643;
    HotKeyDialogValues values = HotKeyDialogValuesFrom(settings);
    EXPECT_EQ(values.historyPasteDirect, 0);
    EXPECT_EQ(values.pasteOnly, 1);
    EXPECT_EQ(values.pasteRestoreClipboard, 0);
    EXPECT_EQ(values.slots[4].dataPath, "Symbol.txt");
    EXPECT_EQ(values.slots[0].keyCode, 'C');

    values.historyPasteDirect = 1;
    values.pasteOnly = 0;
    values.pasteRestoreClipboard = 1;
    values.slots[0].keyCode = 'J';
    values.slots[0].modifiers = kModAlt;
    values.slots[0].hotKeyId = 0x999;
    values.slots[1].enabled = 0;
    values.slots[5].dataPath = "other.txt";
    ApplyHotKeyDialogValues(values, settings);
    EXPECT_EQ(settings.historyPasteDirect, 1);
    EXPECT_EQ(settings.pasteOnly, 0);
    EXPECT_EQ(settings.pasteRestoreClipboard, 1);
    EXPECT_EQ(settings.hotKeys[0].keyCode, 'J');
    EXPECT_EQ(settings.hotKeys[0].modifiers, kModAlt);
    EXPECT_EQ(settings.hotKeys[0].hotKeyId, 0x643);
    EXPECT_EQ(settings.hotKeys[1].enabled, 0);
    EXPECT_EQ(settings.hotKeys[5].dataPath, "other.txt");
}

TEST(HotKeyDialogEditButton, OpensFilesButNeverFolders) {
    const std::string folder = "C:\\Program Files\\Varnoke";
    EXPECT_EQ(ShortTextFileToOpen("Symbol.txt", folder, &IsCp932LeadByte), folder + "\\Symbol.txt");
    EXPECT_EQ(ShortTextFileToOpen("D:\\texts\\a.txt", folder, &IsCp932LeadByte),
              "D:\\texts\\a.txt");
    // Empty: the program's folder with a backslash, which is nothing to open.
    EXPECT_EQ(ShortTextFileToOpen("", folder, &IsCp932LeadByte), "");
    EXPECT_EQ(ShortTextFileToOpen("D:\\texts\\", folder, &IsCp932LeadByte), "");
    // "表" is 0x95 0x5C: its second byte is no backslash.
    EXPECT_EQ(ShortTextFileToOpen("D:\\\x95\x5C", folder, &IsCp932LeadByte), "D:\\\x95\x5C");
}

}  // namespace
}  // namespace varnoke
