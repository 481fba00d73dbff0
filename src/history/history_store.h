#pragma once
// When the history is written to its data file, and what is known of that file. The main
// window does what this decides: one look after each message finds every change of the
// history by its version number and asks for the save after every change; the periodic
// save and the save at exit ask whether anything is unsaved.

#include <cstdint>
#include <optional>
#include <string>

#include "core/settings.h"
#include "history/clip_history.h"
#include "history/history_save.h"

namespace varnoke {

// Whether TIMER_AUTOSAVE runs at all: saving on, periodic saving on, an interval of at
// least one minute (an interval of 0 saves after every change instead).
bool AutosaveTimerWanted(const Settings& settings);

// The minute count behind the periodic save.
class AutosaveClock {
  public:
    // One TIMER_AUTOSAVE tick. True when the periodic save is due now; the caller then
    // saves if the history changed. While a modal window is open the count keeps
    // growing, so the save comes with the first tick after it closes.
    bool Tick(const Settings& settings, bool modalOpen);
    void Reset() { minutes_ = 0; }
    int minutes() const { return minutes_; }

  private:
    int minutes_ = 0;
};

// The data file as the history last matched it byte for byte: after a save, or after a
// load that took the file whole. Writing the same 20 MB again at every exit costs the
// user time at log-off and the disk wear, so the exit leaves the file alone exactly when
// neither the history nor the file has changed since.
class DataFileStamp {
  public:
    void Forget() { valid_ = false; }
    void NoteSaved(const std::string& path, const ClipHistory& history,
                   const std::optional<FileFacts>& facts);
    // `facts` are the file's as the load began. Only a load that took the file whole
    // counts: the header and every record as it stood, into an empty history. Damage, the
    // 300-entry cap, a text cut to HistoryLen or an empty record skipped all make the
    // history's own encoding differ from the file, which its size shows. A file of exactly
    // 300 entries is taken whole although the load calls it cut short.
    void NoteLoaded(const std::string& path, const std::optional<FileFacts>& facts,
                    const HistoryLoadResult& result, const ClipHistory& history);
    bool StillMatches(const std::string& path, const ClipHistory& history,
                      const std::optional<FileFacts>& facts) const;

  private:
    bool valid_ = false;
    std::string path_;
    uint64_t version_ = 0;
    FileFacts facts_;
};

class HistoryStore {
  public:
    HistoryStore(const Settings& settings, const ClipHistory& history);

    // The history differs from what was last saved or loaded, or it is to go to another
    // data file than the one it came from.
    bool unsaved() const;
    bool SavesAfterEveryChange() const;

    // After each message. True once for each change of the history since the last look;
    // `postSave` is set when the save after every change is to be posted now. It runs from
    // that posted message, once the handler that changed the history has returned, so a
    // copying program never waits for it, and a burst of copies costs one save.
    bool TakeChange(bool* postSave);
    // The posted save: true when it is to be written now.
    bool PostedSaveDue();
    // A TIMER_AUTOSAVE tick: true when the periodic save is due and something is unsaved.
    bool AutosaveDue(bool modalOpen);
    void ResetClock() { clock_.Reset(); }
    // At exit: nothing unsaved and the file still as the history last matched it, plain as
    // the settings want it.
    bool FileHoldsHistory(const std::string& path, const std::optional<FileFacts>& facts) const;

    void NoteSaved(const std::string& path, const std::optional<FileFacts>& facts);
    void NoteSaveFailed() { stamp_.Forget(); }
    // The history now is what `path` held: nothing is unsaved. `result` names what did not
    // load completely, to be kept once before the first save over it.
    void NoteLoaded(const std::string& path, const std::optional<FileFacts>& facts,
                    const HistoryLoadResult& result);
    // Another data file was named: the history is to be written there, changed or not.
    void NoteFileChanged() { fileChanged_ = fileNamed_ = true; }

    // The data file and the exact-text file that did not load completely, until their
    // originals are kept (SaveHistoryData clears them).
    std::string damagedDataFile;
    std::string damagedExactFile;

  private:
    const Settings& settings_;
    const ClipHistory& history_;
    uint64_t savedVersion_;
    uint64_t seenVersion_;
    bool fileChanged_ = false;
    bool fileNamed_ = false;  // since the last look after a message
    bool savePosted_ = false;
    AutosaveClock clock_;
    DataFileStamp stamp_;
};

}  // namespace varnoke
