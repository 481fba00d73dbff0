#include "app/hotkeys.h"

#include <gtest/gtest.h>

#include <map>
#include <set>
#include <string>
#include <vector>

#include "res/resource.h"

namespace varnoke {
namespace {

struct Call {
    int slot, id;
    uint16_t modifiers, vk;
    bool operator==(const Call& o) const {
        return slot == o.slot && id == o.id && modifiers == o.modifiers && vk == o.vk;
    }
};

// RegisterHotKey stand-in: refuses an identifier that is taken, like a second
// registration of the same combination.
struct FakeRegistry {
    std::set<int> taken;
    std::vector<Call> calls;
    RegisterHotKeyFn Fn() {
        return [this](int slot, int id, uint16_t modifiers, uint16_t vk) {
            calls.push_back({slot, id, modifiers, vk});
            return taken.insert(id).second;
        };
    }
};

Settings Defaults() {
    return DefaultSettings(ScreenMetrics{96, 1024, 768});
}

std::vector<int> Slots(const std::vector<Call>& calls) {
    std::vector<int> slots;
    for (const Call& c : calls) {
        slots.push_back(c.slot);
    }
    return slots;
}

TEST(HotKeyIdTest, LowBytesOfModifiersAndKey) {
    EXPECT_EQ(HotKeyId(6, 0x43), 0x643);
    EXPECT_EQ(HotKeyId(0x106, 0x143), 0x643);
    EXPECT_EQ(HotKeyId(0, 0), 0);
    EXPECT_EQ(HotKeyId(1, 0), 0x100);
}

TEST(RegisterHotKeysTest, DefaultsRegisterSixSlots) {
    Settings settings = Defaults();
    FakeRegistry registry;
    EXPECT_TRUE(RegisterHotKeys(settings.hotKeys, registry.Fn()).empty());
    EXPECT_EQ(registry.calls, (std::vector<Call>{{0, 0x643, 6, 0x43},
                                                 {1, 0x645, 6, 0x45},
                                                 {2, 0x652, 6, 0x52},
                                                 {3, 0x650, 6, 0x50},
                                                 {4, 0x656, 6, 0x56},
                                                 {9, 0x658, 6, 0x58}}));
    for (int slot = 5; slot < kShortTextSlotEnd; ++slot) {
        const HotKeySlot& key = settings.hotKeys[slot];
        EXPECT_FALSE(IsHotKeyRegistered(key));
        // Computed even for a disabled slot.
        EXPECT_EQ(key.hotKeyId, HotKeyId(key.modifiers, key.keyCode));
    }
}

TEST(RegisterHotKeysTest, RefusedSlotsAreDisabledAndReportedEach) {
    Settings settings = Defaults();
    settings.hotKeys[6] = settings.hotKeys[2];  // same combination as slot 2
    FakeRegistry registry;
    registry.taken.insert(0x643);  // Ctrl+Shift+C belongs to another program
    // The report may run a message loop: by then its slot must already be switched off,
    // and the next slot not yet tried.
    std::vector<int> reported;
    auto report = [&](int slot) {
        EXPECT_EQ(settings.hotKeys[slot].enabled, 0);
        EXPECT_EQ(settings.hotKeys[slot].hotKeyId, 0);
        EXPECT_EQ(registry.calls.back().slot, slot);
        reported.push_back(slot);
    };
    EXPECT_EQ(RegisterHotKeys(settings.hotKeys, registry.Fn(), report), (std::vector<int>{0, 6}));
    EXPECT_EQ(reported, (std::vector<int>{0, 6}));
    for (int slot : {0, 6}) {
        EXPECT_EQ(settings.hotKeys[slot].hotKeyId, 0);
        EXPECT_EQ(settings.hotKeys[slot].enabled, 0);
    }
    EXPECT_TRUE(IsHotKeyRegistered(settings.hotKeys[2]));
}

TEST(RegisterHotKeysTest, DialogUnregistersAndCancelRestoresTheSameSet) {
    Settings settings = Defaults();
    FakeRegistry registry;
    registry.taken.insert(0x652);
    RegisterHotKeys(settings.hotKeys, registry.Fn());

    std::vector<int> unregistered;
    UnregisterHotKeys(settings.hotKeys, [&](int slot, int id) {
        EXPECT_EQ(id, settings.hotKeys[slot].hotKeyId);
        unregistered.push_back(slot);
    });
    EXPECT_EQ(unregistered, (std::vector<int>{0, 1, 3, 4, 9}));

    // Re-registration on cancel: the same slots, and a refusal changes nothing.
    FakeRegistry again;
    again.taken.insert(0x650);
    const Settings before = settings;
    ReregisterHotKeys(settings.hotKeys, again.Fn());
    EXPECT_EQ(Slots(again.calls), unregistered);
    for (int slot = 0; slot < kHotKeySlotCount; ++slot) {
        EXPECT_EQ(settings.hotKeys[slot].hotKeyId, before.hotKeys[slot].hotKeyId);
        EXPECT_EQ(settings.hotKeys[slot].enabled, before.hotKeys[slot].enabled);
    }
}

TEST(FindHotKeySlotTest, FirstEnabledSlotWithTheIdentifier) {
    Settings settings = Defaults();
    RegisterHotKeys(settings.hotKeys, [](int, int, uint16_t, uint16_t) { return true; });
    EXPECT_EQ(FindHotKeySlot(settings.hotKeys, 0x643), 0);
    EXPECT_EQ(FindHotKeySlot(settings.hotKeys, 0x656), 4);
    EXPECT_EQ(FindHotKeySlot(settings.hotKeys, 0xABCD0652u), 2);  // high word ignored
    EXPECT_EQ(FindHotKeySlot(settings.hotKeys, 0x644), -1);
    // Disabled slots 5..8 carry 0x600 but never answer.
    EXPECT_EQ(FindHotKeySlot(settings.hotKeys, HotKeyId(6, 0)), -1);

    settings.hotKeys[7] = settings.hotKeys[1];
    EXPECT_EQ(FindHotKeySlot(settings.hotKeys, 0x645), 1);
    settings.hotKeys[1].enabled = 0;
    EXPECT_EQ(FindHotKeySlot(settings.hotKeys, 0x645), 7);
    settings.hotKeys[3].hotKeyId = 0;
    EXPECT_EQ(FindHotKeySlot(settings.hotKeys, 0), -1);
}

TEST(HotKeyNamesTest, SlotNamesAndNumbers) {
    EXPECT_EQ(GetHotKeySlotName(0).stringId, unsigned{IDS_HOTKEY_NAME_HISTORY});
    EXPECT_EQ(GetHotKeySlotName(3).stringId, 403u);
    EXPECT_EQ(GetHotKeySlotName(3).number, 0);
    EXPECT_EQ(GetHotKeySlotName(4).stringId, 404u);
    EXPECT_EQ(GetHotKeySlotName(4).number, 1);
    EXPECT_EQ(GetHotKeySlotName(6).number, 3);
    EXPECT_EQ(GetHotKeySlotName(8).number, 5);
    EXPECT_EQ(GetHotKeySlotName(9).stringId, 405u);
    EXPECT_EQ(GetHotKeySlotName(9).number, 0);

    auto load = [](unsigned id) { return id == 404 ? std::string("menu(%d)") : "n%d"; };
    EXPECT_EQ(HotKeySlotNameText(6, load), "menu(3)");
    EXPECT_EQ(HotKeySlotNameText(2, load), "n%d");
}

TEST(HotKeyNamesTest, DisplayNameInCtrlShiftAltOrder) {
    const std::map<unsigned, std::string> names = {
        {0x10, "Shift"}, {0x11, "Ctrl"}, {0x12, "Alt"}, {0x43, "C"}};
    auto keyName = [&](unsigned vk) { return names.at(vk); };
    EXPECT_EQ(HotKeyDisplayName(0x43, 6, keyName), "Ctrl + Shift + C");
    EXPECT_EQ(HotKeyDisplayName(0x43, 7, keyName), "Ctrl + Shift + Alt + C");
    EXPECT_EQ(HotKeyDisplayName(0x43, 1, keyName), "Alt + C");
    EXPECT_EQ(HotKeyDisplayName(0, 2, keyName), "Ctrl + ");
    EXPECT_EQ(HotKeyDisplayName(0, 0, keyName), "");
}

}  // namespace
}  // namespace varnoke
