#pragma once
// Names and a moment for date and time expansion, shared by tests, fuzzers and benches.

#include "shorttext/macro_expansion.h"

namespace varnoke::samples {

// English month and weekday names; 日..土 and 午前/午後 in code page 932.
inline MacroNames Names() {
    MacroNames names;
    names.months = {"January", "February", "March",     "April",   "May",      "June",
                    "July",    "August",   "September", "October", "November", "December"};
    names.weekdays = {"Sunday", "Monday", "Tuesday", "Wednesday", "Thursday", "Friday", "Saturday"};
    names.weekdayLetters = {"\x93\xFA", "\x8C\x8E", "\x89\xCE", "\x90\x85",
                            "\x96\xD8", "\x8B\xE0", "\x93\x79"};
    names.am = "AM";
    names.pm = "PM";
    names.amJapanese = "\x8C\xDF\x91\x4F";
    names.pmJapanese = "\x8C\xDF\x8C\xE3";
    return names;
}

// Saturday 5 June 2004, 13:07:09 unless told otherwise.
inline MacroTime June5(int hour = 13, int minute = 7, int second = 9) {
    return MacroTime{2004, 6, 5, 6, hour, minute, second};
}

}  // namespace varnoke::samples
