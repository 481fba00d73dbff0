#pragma once
// The minute count behind the periodic save of the history data file.

#include "core/settings.h"

namespace varnoke {

// Whether TIMER_AUTOSAVE runs at all: saving on, periodic saving on, an interval of at
// least one minute (an interval of 0 saves after every change instead).
bool AutosaveTimerWanted(const Settings& settings);

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

}  // namespace varnoke
