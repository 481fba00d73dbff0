#include "dialogs/entry_editor.h"

#include <algorithm>

#include "core/setting_limits.h"
#include "core/text.h"

namespace varnoke {

bool EntryOkNeedsQuestion(size_t textLength, int historyLen) {
    return historyLen < 0 || textLength > static_cast<size_t>(historyLen);
}

int RaisedHistoryLen(size_t textLength) {
    const auto maximum = static_cast<size_t>(kHistoryLenLimit.maximum);
    return static_cast<int>(std::min(textLength, maximum));
}

const std::vector<std::string>& TabWidthEntries() {
    static const std::vector<std::string> entries{"2", "4", "8", "16"};
    return entries;
}

int TabStopsFromText(const std::string& text) {
    int value = 0;
    for (char c : text) {
        if (c < '0' || c > '9') {
            break;
        }
        // The list offers two digits at most; a longer text must not overflow.
        if (value > 100000) {
            break;
        }
        value = value * 10 + (c - '0');
    }
    return value;
}

int TabStopUnits(int editTabStops) {
    const int widest = TabStopsFromText(TabWidthEntries().back());
    return std::clamp(editTabStops, 0, widest) * 4;
}

std::string FitFaceName(const std::string& name, LeadByteTest isLeadByte) {
    return CutText(name, static_cast<int>(kFaceNameBytes - 1), false, isLeadByte);
}

}  // namespace varnoke
