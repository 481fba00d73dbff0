#pragma once
// The one table of the integer settings that have limits. The options dialog accepts only
// values inside them (its validation and its spin ranges read this table), and the load
// puts the default in place of a stored value outside them for the rows that say so.

#include "core/settings.h"

namespace varnoke {

struct SettingLimit {
    const char* name;  // the registry value
    int Settings::*member;
    int minimum;
    int maximum;
    // The load replaces a value outside minimum..maximum by the default; the others are
    // loaded as stored and only the dialog holds them to their range.
    bool clampedAtLoad;
};

inline constexpr SettingLimit kHistoryNumLimit{"HistoryNum", &Settings::historyNum, 2, 300, true};
inline constexpr SettingLimit kHistoryLenLimit{"HistoryLen", &Settings::historyLen, 2, 65535, true};
inline constexpr SettingLimit kHistoryMenuLenLimit{"HistoryMenuLen", &Settings::historyMenuLen, 2,
                                                   100, true};
inline constexpr SettingLimit kHistoryMenuBreakLimit{"HistoryMenuBreak",
                                                     &Settings::historyMenuBreak, 1, 300, true};
inline constexpr SettingLimit kHistorySaveIntervalLimit{
    "HistorySaveInterval", &Settings::historySaveInterval, 0, 60, false};
inline constexpr SettingLimit kPasteDelayTimeLimit{"PasteDelayTime", &Settings::pasteDelayTime, 0,
                                                   2000, false};

// In the order the load tests them.
inline constexpr const SettingLimit* kSettingLimits[] = {
    &kHistoryNumLimit,       &kHistoryLenLimit,          &kHistoryMenuLenLimit,
    &kHistoryMenuBreakLimit, &kHistorySaveIntervalLimit, &kPasteDelayTimeLimit,
};

// A stored HistoryLen above its maximum and at most this much is taken as the maximum
// rather than replaced by the default.
inline constexpr int kHistoryLenLoadCeiling = 100000;

inline bool WithinLimit(const SettingLimit& limit, int value) {
    return value >= limit.minimum && value <= limit.maximum;
}

}  // namespace varnoke
