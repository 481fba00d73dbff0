#include "history/history_store.h"

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

TEST(AutosaveClockTest, TheTimerRunsOnlyForPeriodicSavingOfAtLeastAMinute) {
    EXPECT_TRUE(AutosaveTimerWanted(Periodic(1)));
    EXPECT_FALSE(AutosaveTimerWanted(Periodic(0)));  // saved after every change instead
    Settings noData = Periodic(20);
    noData.historyDataSave = 0;
    EXPECT_FALSE(AutosaveTimerWanted(noData));
    Settings noAuto = Periodic(20);
    noAuto.historyAutoSave = 0;
    EXPECT_FALSE(AutosaveTimerWanted(noAuto));
}

TEST(AutosaveClockTest, SavesEveryIntervalAndWaitsForAModalWindowToClose) {
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

TEST(AutosaveClockTest, ARunningTimerKeepsSavingWhenDataSaveIsSwitchedOff) {
    AutosaveClock clock;
    Settings s = Periodic(1);
    s.historyDataSave = 0;
    EXPECT_TRUE(clock.Tick(s, false));
    s.historyAutoSave = 0;  // periodic saving switched off: the count only grows
    EXPECT_FALSE(clock.Tick(s, false));
    EXPECT_FALSE(clock.Tick(s, false));
    EXPECT_EQ(clock.minutes(), 2);
}

// What the main window does after each message and at the posted save: the store decides,
// `saves` counts the writes.
struct StoreLoop {
    Settings settings = Periodic(0);
    ClipHistory history;
    HistoryStore store{settings, history};
    int posted = 0;
    int saves = 0;
    bool saveSucceeds = true;

    bool AfterMessage() {
        bool postSave = false;
        const bool changed = store.TakeChange(&postSave);
        posted += postSave ? 1 : 0;
        return changed;
    }
    void PostedSave() {
        if (store.PostedSaveDue()) {
            ++saves;
            if (saveSucceeds) {
                store.NoteSaved("C:\\Varnoke.vnk", FileFacts{HistoryFileSize(history), 1});
            } else {
                store.NoteSaveFailed();
            }
        }
    }
};

// The copying program does not wait for the save, and a burst of copies is saved once.
TEST(HistoryStore, SavingAfterEveryChangeSavesOnceAfterTheMessagesOfABurst) {
    StoreLoop loop;
    EXPECT_FALSE(loop.AfterMessage());
    loop.history.Append(HistoryEntry("one"));
    EXPECT_TRUE(loop.AfterMessage());
    loop.history.Append(HistoryEntry("two"));
    EXPECT_TRUE(loop.AfterMessage());
    EXPECT_FALSE(loop.AfterMessage());
    EXPECT_EQ(loop.posted, 1);
    loop.PostedSave();
    EXPECT_EQ(loop.saves, 1);
    EXPECT_FALSE(loop.store.unsaved());
    loop.PostedSave();  // a stray message finds nothing to save
    EXPECT_EQ(loop.saves, 1);

    // A failed save leaves the history unsaved, and the next change asks again.
    loop.history.Append(HistoryEntry("three"));
    loop.AfterMessage();
    loop.saveSucceeds = false;
    loop.PostedSave();
    EXPECT_TRUE(loop.store.unsaved());
    loop.history.RemoveAt(0);
    loop.AfterMessage();
    EXPECT_EQ(loop.posted, 3);

    // Saving switched off before the message arrives: nothing is written.
    loop.settings.historySaveInterval = 5;
    loop.PostedSave();
    EXPECT_EQ(loop.saves, 2);
}

TEST(HistoryStore, OnlySavingAfterEveryChangePostsASave) {
    StoreLoop loop;
    loop.settings.historySaveInterval = 20;
    loop.history.Append(HistoryEntry("a"));
    EXPECT_TRUE(loop.AfterMessage());
    EXPECT_EQ(loop.posted, 0);
    EXPECT_TRUE(loop.store.unsaved());
    loop.settings.historySaveInterval = 0;
    loop.settings.historyDataSave = 0;
    loop.history.Append(HistoryEntry("b"));
    loop.AfterMessage();
    EXPECT_EQ(loop.posted, 0);
}

// The periodic save, the exit and another data file all ask whether anything is unsaved.
TEST(HistoryStore, UnsavedComesFromTheHistoryItselfAndFromANewDataFile) {
    StoreLoop loop;
    loop.settings.historySaveInterval = 1;
    EXPECT_FALSE(loop.store.AutosaveDue(false));  // nothing changed
    loop.history.Append(HistoryEntry("a"));
    EXPECT_FALSE(loop.store.AutosaveDue(true));  // a modal window holds it back
    EXPECT_TRUE(loop.store.AutosaveDue(false));
    const std::string path = "C:\\Varnoke.vnk";
    const FileFacts facts{HistoryFileSize(loop.history), 7};
    loop.store.NoteSaved(path, facts);
    EXPECT_TRUE(loop.store.FileHoldsHistory(path, facts));
    EXPECT_FALSE(loop.store.FileHoldsHistory(path, FileFacts{facts.size, 8}));

    // Loaded whole: nothing to save at exit; the damaged names follow the load.
    HistoryLoadResult loaded;
    loaded.ok = true;
    loaded.added = 1;
    loaded.exactTextsDamaged = true;
    loop.history.Append(HistoryEntry("b"));
    loop.history.RemoveAt(1);
    loop.store.NoteLoaded(path, facts, loaded);
    EXPECT_FALSE(loop.store.unsaved());
    EXPECT_TRUE(loop.store.FileHoldsHistory(path, facts));
    EXPECT_EQ(loop.store.damagedExactFile, path + ".exact");
    EXPECT_TRUE(loop.store.damagedDataFile.empty());
    // A plain file while protection is wanted is written at exit; a protected one always is,
    // since its size says nothing of the records inside.
    loop.settings.historyDataProtect = 1;
    EXPECT_FALSE(loop.store.FileHoldsHistory(path, facts));
    loop.settings.historyDataProtect = 0;
    loaded.protectedFile = true;
    loop.store.NoteLoaded(path, facts, loaded);
    EXPECT_FALSE(loop.store.FileHoldsHistory(path, facts));
    loaded.protectedFile = false;
    loop.store.NoteLoaded(path, facts, loaded);

    // Another data file named in the options: unsaved although the history is the same,
    // and saved at once when every change is saved.
    loop.settings.historySaveInterval = 0;
    loop.AfterMessage();
    loop.store.NoteFileChanged();
    EXPECT_TRUE(loop.store.unsaved());
    EXPECT_FALSE(loop.store.FileHoldsHistory(path, facts));
    EXPECT_FALSE(loop.AfterMessage());
    EXPECT_EQ(loop.posted, 1);
    loop.PostedSave();
    EXPECT_FALSE(loop.store.unsaved());
}

}  // namespace
}  // namespace varnoke
