#include "history/history_store.h"

#include "history/exact_text_file.h"

namespace varnoke {

bool AutosaveTimerWanted(const Settings& settings) {
    return settings.historyDataSave && settings.historyAutoSave &&
           settings.historySaveInterval >= 1;
}

bool AutosaveClock::Tick(const Settings& settings, bool modalOpen) {
    // The tick does not look at HistoryDataSave: a timer that runs keeps saving.
    ++minutes_;
    if (minutes_ >= settings.historySaveInterval && settings.historyAutoSave && !modalOpen) {
        minutes_ = 0;
        return true;
    }
    return false;
}

void DataFileStamp::NoteSaved(const std::string& path, const ClipHistory& history,
                              const std::optional<FileFacts>& facts) {
    valid_ = facts.has_value() && facts->size == HistoryFileSize(history);
    if (valid_) {
        path_ = path;
        version_ = history.version();
        facts_ = *facts;
    }
}

void DataFileStamp::NoteLoaded(const std::string& path, const std::optional<FileFacts>& facts,
                               const HistoryLoadResult& result, const ClipHistory& history) {
    valid_ = false;
    // Not cutShort: the load sets it on reaching 300 entries whether or not records were
    // left, and records left unread make the file larger than the history's encoding.
    // A protected file's size says nothing about the records inside.
    if (result.ok && !result.damaged && !result.protectedFile && result.added == history.size()) {
        NoteSaved(path, history, facts);
    }
}

bool DataFileStamp::StillMatches(const std::string& path, const ClipHistory& history,
                                 const std::optional<FileFacts>& facts) const {
    return valid_ && path == path_ && history.version() == version_ && facts.has_value() &&
           *facts == facts_;
}

HistoryStore::HistoryStore(const Settings& settings, const ClipHistory& history)
    : settings_(settings),
      history_(history),
      savedVersion_(history.version()),
      seenVersion_(history.version()) {}

bool HistoryStore::unsaved() const {
    return fileChanged_ || history_.version() != savedVersion_;
}

bool HistoryStore::SavesAfterEveryChange() const {
    return settings_.historyDataSave && settings_.historyAutoSave &&
           settings_.historySaveInterval == 0;
}

bool HistoryStore::TakeChange(bool* postSave) {
    const bool changed = history_.version() != seenVersion_;
    seenVersion_ = history_.version();
    *postSave = (changed || fileNamed_) && unsaved() && SavesAfterEveryChange() && !savePosted_;
    fileNamed_ = false;
    savePosted_ = savePosted_ || *postSave;
    return changed;
}

bool HistoryStore::PostedSaveDue() {
    savePosted_ = false;
    return unsaved() && SavesAfterEveryChange();
}

bool HistoryStore::AutosaveDue(bool modalOpen) {
    return clock_.Tick(settings_, modalOpen) && unsaved();
}

bool HistoryStore::FileHoldsHistory(const std::string& path,
                                    const std::optional<FileFacts>& facts) const {
    // A protected file is written again at every exit; a plain one is not left alone when
    // protection was turned on.
    return !unsaved() && !settings_.historyDataProtect &&
           stamp_.StillMatches(path, history_, facts);
}

void HistoryStore::NoteSaved(const std::string& path, const std::optional<FileFacts>& facts) {
    savedVersion_ = history_.version();
    fileChanged_ = false;
    stamp_.NoteSaved(path, history_, facts);
}

void HistoryStore::NoteLoaded(const std::string& path, const std::optional<FileFacts>& facts,
                              const HistoryLoadResult& result) {
    stamp_.Forget();
    // An unreadable file named in the options dialog is kept beside it too, before the
    // current history is first saved over it.
    damagedDataFile = result.damaged ? path : std::string();
    damagedExactFile = result.exactTextsDamaged ? MakeExactTextFileName(path) : std::string();
    if (result.ok) {
        savedVersion_ = history_.version();
        stamp_.NoteLoaded(path, facts, result, history_);
    }
}

}  // namespace varnoke
