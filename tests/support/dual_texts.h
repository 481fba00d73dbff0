#pragma once
// Texts that tests write as plain strings: texts the code page holds, made DualTexts (history
// entries, phrase lines) as explicitly as the program makes them.

#include <string>
#include <vector>

#include "core/dual_text.h"
#include "history/clip_history.h"

namespace varnoke {

inline std::vector<DualText> AnsiTexts(const std::vector<std::string>& texts) {
    return std::vector<DualText>(texts.begin(), texts.end());
}

inline ClipHistory AnsiHistory(const std::vector<std::string>& texts) {
    ClipHistory history;
    for (const std::string& text : texts) {
        history.Append(HistoryEntry(text));
    }
    return history;
}

}  // namespace varnoke
