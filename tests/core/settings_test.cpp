#include "core/settings.h"
#include "core/setting_limits.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <iterator>
#include <map>
#include <sstream>
#include <string>
#include <variant>
#include <vector>

namespace varnoke {
namespace {

using Values = std::map<std::string, std::variant<int, std::string>>;

// Registry stand-in. Like the real store, a value of the other type reads as the default.
class FakeStore : public SettingsStore {
  public:
    Values values;
    std::vector<std::string> log;

    int ReadInt(const char* name, int defaultValue) override {
        log.push_back(name);
        auto it = values.find(name);
        const int* stored = it == values.end() ? nullptr : std::get_if<int>(&it->second);
        return stored ? *stored : defaultValue;
    }
    std::string ReadString(const char* name, const std::string& defaultValue) override {
        log.push_back(std::string("$") + name);
        auto it = values.find(name);
        const std::string* stored =
            it == values.end() ? nullptr : std::get_if<std::string>(&it->second);
        return stored ? *stored : defaultValue;
    }
    void WriteInt(const char* name, int value) override {
        log.push_back(name);
        values[name] = value;
    }
    void WriteString(const char* name, const std::string& value) override {
        log.push_back(std::string("$") + name);
        values[name] = value;
    }
};

const ScreenMetrics kScreen{96, 1024, 768};

// Every value in registry order; "$" marks a text value, the rest are integers.
std::vector<std::string> ExpectedValueOrder() {
    std::istringstream table(
        "HistoryNum HistoryStopOverflow HistoryLen HistoryMenuLen HistoryMenuBreak "
        "HistoryMenuOrder HistoryInsertPos HistoryAddNum HistoryAccessKey HistoryMoveUp "
        "HistoryAnimation HistoryWave $HistoryWavePath PauseWave $Pause1WavePath "
        "$Pause2WavePath HistoryStarting HistoryDataSave $HistoryDataPath HistoryAutoSave "
        "HistorySaveInterval HistoryDataProtect HistoryCopeWord $ExcludePrograms PopupPos "
        "PasteCommand PasteDelayTime HistoryPasteDirect PasteOnly PasteRestoreClipboard Paused "
        "$EditFontName EditFontHeight EditFontWeight EditFontItalic EditWordWrap EditTabStops "
        "$EditHistoryPos $EditTextPos $SearchWindowPos");
    std::vector<std::string> order{std::istream_iterator<std::string>(table), {}};
    const char* const suffixes[] = {"00", "99", "98", "97", "01", "02", "03", "04", "05", "96"};
    for (int slot = 0; slot < 10; ++slot) {
        for (const char* prefix : {"HotKeyEnable", "HotKeyCode", "HotKeyMod"}) {
            order.push_back(prefix + std::string(suffixes[slot]));
        }
        if (slot >= 4 && slot <= 8) {
            order.push_back("$HotKeyData" + std::string(suffixes[slot]));
        }
    }
    return order;
}

Settings LoadWith(const Values& values, const ScreenMetrics& screen = kScreen) {
    FakeStore store;
    store.values = values;
    return LoadSettings(store, screen);
}

// Every value of both tables: integers numbered from 50 (in every load range) and texts "t"
// plus the name; with wrongType each value holds the other type instead.
Values EveryValue(bool wrongType) {
    Values values;
    int next = 50;
    for (const std::string& entry : ExpectedValueOrder()) {
        const bool text = entry[0] == '$';
        const std::string name = entry.substr(text ? 1 : 0);
        if (text != wrongType) {
            values[name] = "t" + name;
        } else {
            values[name] = next++;
        }
    }
    return values;
}

TEST(SettingsDefaultsTest, EmptyOrWronglyTypedStoreYieldsDefaultsOfBothTables) {
    for (bool wrongType : {false, true}) {
        SCOPED_TRACE(wrongType);
        const Settings s = LoadWith(wrongType ? EveryValue(true) : Values{});
        const int ints[] = {
            s.historyNum,          s.historyStopOverflow,  s.historyLen,       s.historyMenuLen,
            s.historyMenuBreak,    s.historyMenuOrder,     s.historyInsertPos, s.historyAddNum,
            s.historyAccessKey,    s.historyMoveUp,        s.historyAnimation, s.historyWave,
            s.pauseWave,           s.historyStarting,      s.historyDataSave,  s.historyAutoSave,
            s.historySaveInterval, s.historyCopeWord,      s.popupPos,         s.pasteCommand,
            s.pasteDelayTime,      s.historyPasteDirect,   s.pasteOnly,        s.paused,
            s.editFontHeight,      s.editFontWeight,       s.editFontItalic,   s.editWordWrap,
            s.editTabStops,        s.pasteRestoreClipboard};
        const std::vector<int> expected = {90,  0, 10000, 30, 30,  0,   0,  1, 1, 0,
                                           1,   0, 0,     0,  1,   0,   20, 0, 0, 0,
                                           200, 1, 1,     0,  -15, 400, 0,  0, 4, 0};
        EXPECT_EQ(std::vector<int>(std::begin(ints), std::end(ints)), expected);
        EXPECT_EQ(s.historyWavePath + s.pause1WavePath + s.pause2WavePath, "");
        EXPECT_EQ(s.historyDataPath, "Varnoke.vnk");
        EXPECT_EQ(s.editFontName, "System");
        EXPECT_EQ(s.editHistoryPos, (WindowRect{0, 0, 400, 300}));
        EXPECT_EQ(s.editTextPos, (WindowRect{0, 0, 500, 400}));

        const int codes[] = {0x43, 0x45, 0x52, 0x50, 0x56, 0, 0, 0, 0, 0x58};
        for (int slot = 0; slot < kHotKeySlotCount; ++slot) {
            SCOPED_TRACE(slot);
            EXPECT_EQ(s.hotKeys[slot].enabled, slot <= 4 || slot == kSearchSlot ? 1 : 0);
            EXPECT_EQ(s.hotKeys[slot].keyCode, codes[slot]);
            EXPECT_EQ(s.hotKeys[slot].modifiers, 6);
            EXPECT_EQ(s.hotKeys[slot].hotKeyId, 0);
            EXPECT_EQ(s.hotKeys[slot].dataPath, slot == 4 ? "Symbol.txt" : "");
        }
    }
}

TEST(SettingsDefaultsTest, FontHeightIsElevenPointsRoundedAwayFromZero) {
    EXPECT_EQ(DefaultFontHeight(96), -15);
    EXPECT_EQ(DefaultFontHeight(120), -18);
    EXPECT_EQ(DefaultFontHeight(144), -22);
    EXPECT_EQ(DefaultFontHeight(36), -6);  // exactly -5.5
    EXPECT_EQ(DefaultFontHeight(0), 0);
    EXPECT_EQ(DefaultFontHeight(INT_MIN), 328087780);  // 11 * 2^31 / 72, rounded
    EXPECT_EQ(LoadWith({}, ScreenMetrics{120, 1024, 768}).editFontHeight, -18);
    EXPECT_EQ(LoadWith({{"EditFontHeight", -20}}).editFontHeight, -20);
}

TEST(SettingsOrderTest, LoadReadsAndSaveWritesEveryValueOnceInOrder) {
    FakeStore store;
    const Settings loaded = LoadSettings(store, kScreen);
    EXPECT_EQ(store.log, ExpectedValueOrder());

    FakeStore saved;
    SaveSettings(loaded, saved, nullptr);  // no callback must not throw either
    EXPECT_EQ(saved.log, ExpectedValueOrder());
    for (const char* s : {"HotKeyData00", "HotKeyData99", "HotKeyData98", "HotKeyData97"}) {
        EXPECT_EQ(saved.values.count(s), 0u) << s;
    }
}

TEST(SettingsOrderTest, EveryValueLandsInItsOwnMemberAndRoundTrips) {
    // Distinct values catch two names wired to the same member.
    FakeStore original;
    original.values = EveryValue(false);
    original.values["EditHistoryPos"] = std::string("1,2,3,4");
    original.values["EditTextPos"] = std::string("5,6,7,8");
    original.values["SearchWindowPos"] = std::string("9,10,11,12");
    const Settings s = LoadSettings(original, kScreen);
    EXPECT_EQ(s.historyNum, 50);
    EXPECT_EQ(s.historyLen, 52);
    EXPECT_EQ(s.historyMenuBreak, 54);
    EXPECT_EQ(s.historyAccessKey, 58);
    EXPECT_EQ(s.historyWavePath, "tHistoryWavePath");
    EXPECT_EQ(s.pauseWave, 62);
    EXPECT_EQ(s.pause2WavePath, "tPause2WavePath");
    EXPECT_EQ(s.historySaveInterval, 66);
    EXPECT_EQ(s.historyDataProtect, 67);
    EXPECT_EQ(s.excludePrograms, "tExcludePrograms");
    EXPECT_EQ(s.pasteRestoreClipboard, 74);
    EXPECT_EQ(s.paused, 75);
    EXPECT_EQ(s.editFontHeight, 76);
    EXPECT_EQ(s.editTabStops, 80);
    EXPECT_EQ(s.editHistoryPos, (WindowRect{1, 2, 3, 4}));
    EXPECT_EQ(s.hotKeys[1].keyCode, 85);
    EXPECT_EQ(s.hotKeys[8].dataPath, "tHotKeyData05");

    FakeStore saved;
    SaveSettings(s, saved, nullptr);
    EXPECT_EQ(saved.values, original.values);
}

TEST(SettingsOrderTest, RegisteredSlotsAreUnregisteredRightAfterTheirModifiers) {
    Settings s = DefaultSettings(kScreen);
    s.hotKeys[0].hotKeyId = 0x643;
    s.hotKeys[2].hotKeyId = 0;  // failed registration: not registered
    s.hotKeys[3].hotKeyId = 0x650;
    s.hotKeys[3].enabled = 0;  // disabled: not registered
    s.hotKeys[5].hotKeyId = 0x641;
    s.hotKeys[5].enabled = 1;
    FakeStore store;
    SaveSettings(s, store,
                 [&](int slot) { store.log.push_back("unregister " + std::to_string(slot)); });
    std::vector<std::string> expected = ExpectedValueOrder();
    for (const auto& [after, call] :
         {std::pair{"HotKeyMod00", "unregister 0"}, std::pair{"HotKeyMod02", "unregister 5"}}) {
        expected.insert(std::find(expected.begin(), expected.end(), after) + 1, call);
    }
    EXPECT_EQ(store.log, expected);
}

TEST(SettingsRangeTest, LoadRangesAreEnforcedInOrder) {
    struct Case {
        const char* name;
        int Settings::*member;
        std::vector<std::pair<int, int>> storedAndLoaded;
    };
    const Case cases[] = {
        {"HistoryLen",
         &Settings::historyLen,
         {{70000, 65535},
          {100000, 65535},
          {100001, 10000},
          {65535, 65535},
          {2, 2},
          {1, 10000},
          {0, 10000},
          {INT_MIN, 10000}}},
        {"HistoryNum", &Settings::historyNum, {{1, 90}, {301, 90}, {2, 2}, {300, 300}}},
        {"HistoryMenuLen", &Settings::historyMenuLen, {{101, 30}, {1, 30}, {100, 100}}},
        {"HistoryMenuBreak", &Settings::historyMenuBreak, {{0, 30}, {1, 1}, {300, 300}, {301, 30}}},
        {"HistorySaveInterval", &Settings::historySaveInterval, {{-5, -5}, {500, 500}}},
        {"PasteDelayTime", &Settings::pasteDelayTime, {{5000, 5000}}},
        {"HistoryAccessKey", &Settings::historyAccessKey, {{9, 9}}},
    };
    for (const Case& c : cases) {
        for (const auto& [stored, loaded] : c.storedAndLoaded) {
            EXPECT_EQ(LoadWith({{c.name, stored}}).*c.member, loaded) << c.name << " " << stored;
        }
    }
}

// The table the options dialog validates against is the one the load enforces: a clamped
// setting loads its bounds unchanged and falls back to its default one step outside them;
// an unclamped one loads whatever is stored.
TEST(SettingsRangeTest, TheLimitsTableIsWhatTheLoadEnforces) {
    const Settings defaults;
    for (const SettingLimit* limit : kSettingLimits) {
        const int fallback = defaults.*limit->member;
        EXPECT_TRUE(WithinLimit(*limit, fallback)) << limit->name;
        const int below = limit->minimum - 1;
        const int above = limit->maximum + 1;
        for (int stored : {limit->minimum, limit->maximum, below, above, INT_MIN, INT_MAX}) {
            int expected = stored;
            if (limit->clampedAtLoad && !WithinLimit(*limit, stored)) {
                expected = fallback;
                if (limit == &kHistoryLenLimit && stored > limit->maximum &&
                    stored <= kHistoryLenLoadCeiling) {
                    expected = limit->maximum;
                }
            }
            EXPECT_EQ(LoadWith({{limit->name, stored}}).*limit->member, expected)
                << limit->name << " " << stored;
        }
    }
}

TEST(SettingsRectTest, ParsesLikePercentI) {
    const std::pair<const char*, WindowRect> good[] = {
        {"010,0,20,20", {8, 0, 20, 20}},
        {" 1,\t-2, +3,0XfF", {1, -2, 3, 255}},
        {"1,2,3,4 and more", {1, 2, 3, 4}},
        {"1,2,3,0x", {1, 2, 3, 0}},
        {"99999999999,-99999999999,0,-2147483648", {INT_MAX, INT_MIN, 0, INT_MIN}},
    };
    for (const auto& [text, rect] : good) {
        WindowRect parsed;
        EXPECT_TRUE(ParseWindowRect(text, &parsed)) << text;
        EXPECT_EQ(parsed, rect) << text;
    }
    for (const char* text : {"", "abc", "10,20,30", "1 ,2,3,4", "1,,2,3", "- 1,2,3,4", "08,0,1,1",
                             "0x,1,2,3", "+,1,2,3"}) {
        WindowRect parsed{7, 7, 7, 7};
        EXPECT_FALSE(ParseWindowRect(text, &parsed)) << text;
        EXPECT_EQ(parsed, (WindowRect{7, 7, 7, 7})) << text;
    }
}

TEST(SettingsRectTest, LoadedRectanglesAreValidatedAgainstTheScreen) {
    const std::pair<std::string, WindowRect> cases[] = {
        {"10,20,510,420", {10, 20, 510, 420}},
        {"10,20,30", {0, 0, 500, 400}},
        {"abc", {0, 0, 500, 400}},
        {"100,100,50,50", {0, 0, 500, 400}},
        {"-900,-900,-100,-100", {0, 0, 500, 400}},
        {"2000,100,2300,400", {724, 100, 1024, 400}},
        {"1024,768,1124,868", {924, 668, 1024, 768}},
        {"-50,-50,0,0", {-50, -50, 0, 0}},
        {"2147483647,-2147483648,2147483647,2147483647", {1024, INT_MIN, 1024, INT_MAX}},
        {"-2147483648,0,2147483647,0", {INT_MIN, 0, INT_MAX, 0}},
        // Hostile texts: huge numbers, endless blanks or commas, an embedded NUL.
        {std::string(100000, '9') + ",1,2,3", {0, 0, 500, 400}},
        {"0x" + std::string(100000, 'f') + ",0,1,1", {0, 0, 500, 400}},
        {std::string(100000, ' '), {0, 0, 500, 400}},
        {std::string(100000, ','), {0, 0, 500, 400}},
        {std::string(100000, '0') + ",0,0,5", {0, 0, 0, 5}},
        {std::string("1,2\0,3,4", 8), {0, 0, 500, 400}},
    };
    for (const auto& [text, rect] : cases) {
        EXPECT_EQ(LoadWith({{"EditTextPos", text}}).editTextPos, rect) << text.substr(0, 20);
    }
    EXPECT_EQ(LoadWith({{"EditHistoryPos", std::string("5,5")}}).editHistoryPos,
              (WindowRect{0, 0, 400, 300}));
}

TEST(SettingsRectTest, HostileScreenSizeIsRejectedWithoutOverflow) {
    WindowRect rect{0, 0, INT_MAX, 10};
    EXPECT_FALSE(ValidateWindowRect(&rect, INT_MIN, 768));
    EXPECT_EQ(rect, (WindowRect{0, 0, INT_MAX, 10}));
}

TEST(SettingsRectTest, HexRectangleIsSavedBackInDecimal) {
    FakeStore store;
    SaveSettings(LoadWith({{"EditTextPos", std::string("0x10,0,0x200,0x100")}}), store, nullptr);
    EXPECT_EQ(std::get<std::string>(store.values["EditTextPos"]), "16,0,512,256");
    EXPECT_EQ(FormatWindowRect({INT_MIN, -1, 0, INT_MAX}), "-2147483648,-1,0,2147483647");
}

TEST(SettingsHotKeyTest, CodesAreTruncatedTo16BitsAndSavedZeroExtended) {
    FakeStore store;
    store.values = {{"HotKeyCode01", 0x10056}, {"HotKeyMod01", -1},   {"HotKeyMod02", 6},
                    {"HotKeyCode02", 0},       {"HotKeyEnable02", 0}, {"Paused", 1}};
    const Settings s = LoadSettings(store, kScreen);
    EXPECT_EQ(s.hotKeys[4].keyCode, 0x56);
    EXPECT_EQ(s.hotKeys[4].modifiers, 0xFFFF);
    FakeStore saved;
    SaveSettings(s, saved, nullptr);
    EXPECT_EQ(std::get<int>(saved.values["HotKeyCode01"]), 0x56);
    EXPECT_EQ(std::get<int>(saved.values["HotKeyMod01"]), 65535);
    EXPECT_EQ(std::get<int>(saved.values["HotKeyMod02"]), 6);
    EXPECT_EQ(std::get<int>(saved.values["HotKeyCode02"]), 0);
    EXPECT_EQ(std::get<int>(saved.values["HotKeyEnable02"]), 0);
    EXPECT_EQ(std::get<int>(saved.values["Paused"]), 1);
}

TEST(SettingsHotKeyTest, ASearchKeyNeverSavedYieldsToASlotThatHoldsItsDefault) {
    auto searchEnabledWith = [](Values values) {
        FakeStore store;
        store.values = std::move(values);
        return LoadSettings(store, kScreen).hotKeys[kSearchSlot].enabled;
    };
    // An older version's settings: phrase menu 2 on Ctrl+Shift+X.
    EXPECT_EQ(searchEnabledWith({{"HotKeyCode02", 'X'}, {"HotKeyMod02", 6}, {"HotKeyEnable02", 1}}),
              0);
    // Switched off there, or saved by this version: the search key is the user's choice.
    EXPECT_EQ(searchEnabledWith({{"HotKeyCode02", 'X'}, {"HotKeyMod02", 6}, {"HotKeyEnable02", 0}}),
              1);
    EXPECT_EQ(searchEnabledWith({{"HotKeyCode02", 'X'},
                                 {"HotKeyMod02", 6},
                                 {"HotKeyEnable02", 1},
                                 {"HotKeyEnable96", 1}}),
              1);
    EXPECT_EQ(searchEnabledWith({{"HotKeyCode02", 'X'}, {"HotKeyMod02", 2}, {"HotKeyEnable02", 1}}),
              1);
}

}  // namespace
}  // namespace varnoke
