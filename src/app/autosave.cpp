#include "app/autosave.h"

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

}  // namespace varnoke
