#include "app/autosave.h"

#include <gtest/gtest.h>

namespace varnoke {
namespace {

Settings Periodic(int interval) {
    Settings s;
    s.historyDataSave = 1;
    s.historyAutoSave = 1;
    s.historySaveInterval = interval;
    return s;
}

TEST(Autosave, TheTimerRunsOnlyForPeriodicSavingOfAtLeastAMinute) {
    EXPECT_TRUE(AutosaveTimerWanted(Periodic(1)));
    EXPECT_FALSE(AutosaveTimerWanted(Periodic(0)));  // saved after every change instead
    Settings noData = Periodic(20);
    noData.historyDataSave = 0;
    EXPECT_FALSE(AutosaveTimerWanted(noData));
    Settings noAuto = Periodic(20);
    noAuto.historyAutoSave = 0;
    EXPECT_FALSE(AutosaveTimerWanted(noAuto));
}

TEST(Autosave, SavesEveryIntervalAndWaitsForAModalWindowToClose) {
    AutosaveClock clock;
    Settings s = Periodic(3);
    EXPECT_FALSE(clock.Tick(s, false));
    EXPECT_FALSE(clock.Tick(s, false));
    EXPECT_TRUE(clock.Tick(s, false));
    EXPECT_EQ(clock.minutes(), 0);
    // Due while the options dialog is open: nothing, then at the first tick after it.
    EXPECT_FALSE(clock.Tick(s, false));
    EXPECT_FALSE(clock.Tick(s, false));
    EXPECT_FALSE(clock.Tick(s, true));
    EXPECT_FALSE(clock.Tick(s, true));
    EXPECT_EQ(clock.minutes(), 4);
    EXPECT_TRUE(clock.Tick(s, false));
}

TEST(Autosave, ARunningTimerKeepsSavingWhenDataSaveIsSwitchedOff) {
    AutosaveClock clock;
    Settings s = Periodic(1);
    s.historyDataSave = 0;
    EXPECT_TRUE(clock.Tick(s, false));
    s.historyAutoSave = 0;  // periodic saving switched off: the count only grows
    EXPECT_FALSE(clock.Tick(s, false));
    EXPECT_FALSE(clock.Tick(s, false));
    EXPECT_EQ(clock.minutes(), 2);
}

}  // namespace
}  // namespace varnoke
