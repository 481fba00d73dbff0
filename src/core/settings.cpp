#include "core/settings.h"

#include <climits>
#include <cstdint>
#include <limits>

#include "core/setting_limits.h"

namespace varnoke {
namespace {

// One row of the first settings table; exactly one of the two members is set. Loading and
// saving walk the same rows, so the registry order cannot drift between them.
struct ValueField {
    const char* name;
    int Settings::*number;
    std::string Settings::*text;
};

constexpr ValueField kValueFields[] = {
    {"HistoryNum", &Settings::historyNum, nullptr},
    {"HistoryStopOverflow", &Settings::historyStopOverflow, nullptr},
    {"HistoryLen", &Settings::historyLen, nullptr},
    {"HistoryMenuLen", &Settings::historyMenuLen, nullptr},
    {"HistoryMenuBreak", &Settings::historyMenuBreak, nullptr},
    {"HistoryMenuOrder", &Settings::historyMenuOrder, nullptr},
    {"HistoryInsertPos", &Settings::historyInsertPos, nullptr},
    {"HistoryAddNum", &Settings::historyAddNum, nullptr},
    {"HistoryAccessKey", &Settings::historyAccessKey, nullptr},
    {"HistoryMoveUp", &Settings::historyMoveUp, nullptr},
    {"HistoryAnimation", &Settings::historyAnimation, nullptr},
    {"HistoryWave", &Settings::historyWave, nullptr},
    {"HistoryWavePath", nullptr, &Settings::historyWavePath},
    {"PauseWave", &Settings::pauseWave, nullptr},
    {"Pause1WavePath", nullptr, &Settings::pause1WavePath},
    {"Pause2WavePath", nullptr, &Settings::pause2WavePath},
    {"HistoryStarting", &Settings::historyStarting, nullptr},
    {"HistoryDataSave", &Settings::historyDataSave, nullptr},
    {"HistoryDataPath", nullptr, &Settings::historyDataPath},
    {"HistoryAutoSave", &Settings::historyAutoSave, nullptr},
    {"HistorySaveInterval", &Settings::historySaveInterval, nullptr},
    {"HistoryDataProtect", &Settings::historyDataProtect, nullptr},
    {"HistoryCopeWord", &Settings::historyCopeWord, nullptr},
    {"ExcludePrograms", nullptr, &Settings::excludePrograms},
    {"PopupPos", &Settings::popupPos, nullptr},
    {"PasteCommand", &Settings::pasteCommand, nullptr},
    {"PasteDelayTime", &Settings::pasteDelayTime, nullptr},
    {"HistoryPasteDirect", &Settings::historyPasteDirect, nullptr},
    {"PasteOnly", &Settings::pasteOnly, nullptr},
    {"PasteRestoreClipboard", &Settings::pasteRestoreClipboard, nullptr},
    {"Paused", &Settings::paused, nullptr},
    {"EditFontName", nullptr, &Settings::editFontName},
    {"EditFontHeight", &Settings::editFontHeight, nullptr},
    {"EditFontWeight", &Settings::editFontWeight, nullptr},
    {"EditFontItalic", &Settings::editFontItalic, nullptr},
    {"EditWordWrap", &Settings::editWordWrap, nullptr},
    {"EditTabStops", &Settings::editTabStops, nullptr},
};

struct RectField {
    const char* name;
    WindowRect Settings::*rect;
};

constexpr RectField kRectFields[] = {
    {"EditHistoryPos", &Settings::editHistoryPos},
    {"EditTextPos", &Settings::editTextPos},
    {"SearchWindowPos", &Settings::searchWindowPos},
};

struct SlotDefault {
    int enabled;
    uint16_t keyCode;
    const char* dataPath;
};

constexpr uint16_t kDefaultModifiers = 6;  // Ctrl+Shift
// The search window's Ctrl+Shift+X sits beside C (history) and V (phrases), where the hand
// already is, and no common program of the platform, its office suite or its browsers takes
// it as a shortcut of its own.
constexpr SlotDefault kSlotDefaults[kHotKeySlotCount] = {
    {1, 0x43, ""}, {1, 0x45, ""}, {1, 0x52, ""}, {1, 0x50, ""}, {1, 0x56, "Symbol.txt"},
    {0, 0, ""},    {0, 0, ""},    {0, 0, ""},    {0, 0, ""},    {1, 0x58, ""},
};

bool FitsInt(int64_t value) {
    return value >= INT_MIN && value <= INT_MAX;
}

// The Win32 MulDiv contract: exact 64-bit product, quotient rounded half away from zero,
// -1 when the divisor is 0 or the result does not fit.
int MulDivRounded(int number, int numerator, int denominator) {
    if (denominator == 0) {
        return -1;
    }
    int64_t product = int64_t{number} * numerator;
    int64_t divisor = denominator;
    if (divisor < 0) {
        product = -product;
        divisor = -divisor;
    }
    const int64_t half = divisor / 2;
    const int64_t quotient = (product >= 0 ? product + half : product - half) / divisor;
    return FitsInt(quotient) ? static_cast<int>(quotient) : -1;
}

bool IsScanfSpace(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

int DigitValue(char c) {
    if (c >= '0' && c <= '9') {
        return c - '0';
    }
    if (c >= 'a' && c <= 'f') {
        return c - 'a' + 10;
    }
    if (c >= 'A' && c <= 'F') {
        return c - 'A' + 10;
    }
    return 99;
}

// Picks the base the way %i does and steps over a "0x" prefix; a lone "0" is an octal digit.
int ReadBasePrefix(const std::string& text, size_t* pos) {
    const size_t i = *pos;
    if (i >= text.size() || text[i] != '0') {
        return 10;
    }
    if (i + 2 < text.size() && (text[i + 1] == 'x' || text[i + 1] == 'X') &&
        DigitValue(text[i + 2]) < 16) {
        *pos = i + 2;
        return 16;
    }
    return 8;
}

// One %i conversion. Out-of-range numbers saturate as strtol does, instead of wrapping, so a
// hostile registry text cannot produce undefined arithmetic.
bool ReadInteger(const std::string& text, size_t* pos, int* value) {
    size_t i = *pos;
    while (i < text.size() && IsScanfSpace(text[i])) {
        ++i;
    }
    const bool negative = i < text.size() && text[i] == '-';
    if (i < text.size() && (text[i] == '-' || text[i] == '+')) {
        ++i;
    }
    const int base = ReadBasePrefix(text, &i);
    const uint64_t cap = uint64_t{1} << 31;  // |INT_MIN|; enough to saturate both ways
    uint64_t magnitude = 0;
    const size_t firstDigit = i;
    for (; i < text.size() && DigitValue(text[i]) < base; ++i) {
        magnitude = magnitude * base + DigitValue(text[i]);
        if (magnitude > cap) {
            magnitude = cap;
        }
    }
    if (i == firstDigit) {
        return false;
    }
    const int64_t signedValue = negative ? -static_cast<int64_t>(magnitude) : magnitude;
    *value = static_cast<int>(signedValue > INT_MAX ? INT_MAX : signedValue);
    *pos = i;
    return true;
}

// Outside its limits a value falls back to the default of the record.
void ClampLoadedRanges(Settings* settings) {
    int& historyLen = settings->historyLen;
    if (historyLen > kHistoryLenLimit.maximum && historyLen <= kHistoryLenLoadCeiling) {
        historyLen = kHistoryLenLimit.maximum;
    }
    const Settings defaults;
    for (const SettingLimit* limit : kSettingLimits) {
        int& value = settings->*limit->member;
        if (limit->clampedAtLoad && !WithinLimit(*limit, value)) {
            value = defaults.*limit->member;
        }
    }
}

void ReadValues(SettingsStore& store, Settings* settings) {
    for (const ValueField& field : kValueFields) {
        if (field.number != nullptr) {
            settings->*field.number = store.ReadInt(field.name, settings->*field.number);
        } else {
            settings->*field.text = store.ReadString(field.name, settings->*field.text);
        }
    }
}

// An unreadable or unusable rectangle keeps the default already in the record.
void ReadRects(SettingsStore& store, const ScreenMetrics& screen, Settings* settings) {
    for (const RectField& field : kRectFields) {
        WindowRect rect;
        if (ParseWindowRect(store.ReadString(field.name, std::string()), &rect) &&
            ValidateWindowRect(&rect, screen.width, screen.height)) {
            settings->*field.rect = rect;
        }
    }
}

// The settings of a version without the search window may give its default key to another
// slot: the search slot then starts switched off, quietly, rather than greeting the user
// with a "hot key taken" message on the first start after the upgrade.
void YieldSearchKeyIfTaken(Settings* settings) {
    HotKeySlot& search = settings->hotKeys[kSearchSlot];
    for (int slot = 0; slot < kHotKeySlotCount; ++slot) {
        const HotKeySlot& other = settings->hotKeys[slot];
        if (slot != kSearchSlot && other.enabled != 0 && other.keyCode == search.keyCode &&
            other.modifiers == search.modifiers) {
            search.enabled = 0;
        }
    }
}

void ReadHotKeys(SettingsStore& store, Settings* settings) {
    constexpr int kMissing = std::numeric_limits<int>::min();
    bool searchNeverSaved = false;
    for (int slot = 0; slot < kHotKeySlotCount; ++slot) {
        const std::string suffix = HotKeySuffix(slot);
        HotKeySlot& key = settings->hotKeys[slot];
        const int enabled = store.ReadInt(("HotKeyEnable" + suffix).c_str(), kMissing);
        if (enabled != kMissing) {
            key.enabled = enabled;
        } else if (slot == kSearchSlot) {
            searchNeverSaved = true;
        }
        key.keyCode =
            static_cast<uint16_t>(store.ReadInt(("HotKeyCode" + suffix).c_str(), key.keyCode));
        key.modifiers =
            static_cast<uint16_t>(store.ReadInt(("HotKeyMod" + suffix).c_str(), key.modifiers));
        if (IsShortTextHotKeySlot(slot)) {
            key.dataPath = store.ReadString(("HotKeyData" + suffix).c_str(), key.dataPath);
        }
    }
    if (searchNeverSaved) {
        YieldSearchKeyIfTaken(settings);
    }
}

void WriteValues(const Settings& settings, SettingsStore& store) {
    for (const ValueField& field : kValueFields) {
        if (field.number != nullptr) {
            store.WriteInt(field.name, settings.*field.number);
        } else {
            store.WriteString(field.name, settings.*field.text);
        }
    }
    for (const RectField& field : kRectFields) {
        store.WriteString(field.name, FormatWindowRect(settings.*field.rect));
    }
}

void WriteHotKeys(const Settings& settings, SettingsStore& store,
                  const std::function<void(int slot)>& unregisterHotKey) {
    for (int slot = 0; slot < kHotKeySlotCount; ++slot) {
        const std::string suffix = HotKeySuffix(slot);
        const HotKeySlot& key = settings.hotKeys[slot];
        store.WriteInt(("HotKeyEnable" + suffix).c_str(), key.enabled);
        store.WriteInt(("HotKeyCode" + suffix).c_str(), key.keyCode);
        store.WriteInt(("HotKeyMod" + suffix).c_str(), key.modifiers);
        if (key.hotKeyId != 0 && key.enabled != 0 && unregisterHotKey) {
            unregisterHotKey(slot);
        }
        if (IsShortTextHotKeySlot(slot)) {
            store.WriteString(("HotKeyData" + suffix).c_str(), key.dataPath);
        }
    }
}

}  // namespace

std::string HotKeySuffix(int slot) {
    static const char* const kFixed[kFirstShortTextSlot] = {"00", "99", "98", "97"};
    if (slot < 0 || slot >= kHotKeySlotCount) {
        return std::string();
    }
    if (slot < kFirstShortTextSlot) {
        return kFixed[slot];
    }
    if (slot == kSearchSlot) {
        return "96";
    }
    const int number = slot - 3;
    return std::string(1, static_cast<char>('0' + number / 10)) +
           static_cast<char>('0' + number % 10);
}

int DefaultFontHeight(int dpiY) {
    // 11 points at dpiY; the minus sign goes on the multiplicand so that INT_MIN dpi cannot
    // overflow.
    return MulDivRounded(-11, dpiY, 72);
}

Settings DefaultSettings(const ScreenMetrics& screen) {
    Settings settings;
    settings.editFontHeight = DefaultFontHeight(screen.dpiY);
    for (int slot = 0; slot < kHotKeySlotCount; ++slot) {
        HotKeySlot& key = settings.hotKeys[slot];
        key.enabled = kSlotDefaults[slot].enabled;
        key.keyCode = kSlotDefaults[slot].keyCode;
        key.modifiers = kDefaultModifiers;
        key.hotKeyId = 0;
        key.dataPath = kSlotDefaults[slot].dataPath;
    }
    return settings;
}

bool ParseWindowRect(const std::string& text, WindowRect* rect) {
    int values[4] = {};
    size_t pos = 0;
    for (int i = 0; i < 4; ++i) {
        if (i > 0) {
            if (pos >= text.size() || text[pos] != ',') {
                return false;
            }
            ++pos;
        }
        if (!ReadInteger(text, &pos, &values[i])) {
            return false;
        }
    }
    *rect = WindowRect{values[0], values[1], values[2], values[3]};
    return true;
}

std::string FormatWindowRect(const WindowRect& rect) {
    return std::to_string(rect.left) + ',' + std::to_string(rect.top) + ',' +
           std::to_string(rect.right) + ',' + std::to_string(rect.bottom);
}

bool ValidateWindowRect(WindowRect* rect, int screenWidth, int screenHeight) {
    // The registry text may hold INT_MIN and INT_MAX side by side, and the screen size may be
    // anything, so the width, the height and the moved edges are computed in 64 bits. Once right
    // and bottom are known not to be negative every edge fits an int again: a moved left edge is
    // W - width with 0 <= W <= left, so it lies between -INT_MAX and W.
    int64_t left = rect->left;
    int64_t top = rect->top;
    int64_t right = rect->right;
    int64_t bottom = rect->bottom;
    const int64_t width = right - left;
    const int64_t height = bottom - top;
    if (width < 0 || height < 0) {
        return false;
    }
    if (left >= screenWidth) {
        right = screenWidth;
        left = right - width;
    }
    if (top >= screenHeight) {
        bottom = screenHeight;
        top = bottom - height;
    }
    if (right < 0 || bottom < 0) {
        return false;
    }
    *rect = WindowRect{static_cast<int>(left), static_cast<int>(top), static_cast<int>(right),
                       static_cast<int>(bottom)};
    return true;
}

Settings LoadSettings(SettingsStore& store, const ScreenMetrics& screen) {
    Settings settings = DefaultSettings(screen);
    ReadValues(store, &settings);
    ReadRects(store, screen, &settings);
    ClampLoadedRanges(&settings);
    ReadHotKeys(store, &settings);
    return settings;
}

void SaveSettings(const Settings& settings, SettingsStore& store,
                  const std::function<void(int slot)>& unregisterHotKey) {
    WriteValues(settings, store);
    WriteHotKeys(settings, store, unregisterHotKey);
}

}  // namespace varnoke
