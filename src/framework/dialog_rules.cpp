#include "framework/dialog_rules.h"

#include <algorithm>

namespace varnoke {

std::vector<EnableState> ComputeEnabling(const std::vector<EnableRule>& rules,
                                         const std::function<bool(int id)>& isChecked) {
    std::vector<EnableState> states;
    for (const EnableRule& rule : rules) {
        bool on = (isChecked(rule.controller) &&
                   (rule.alsoRequires == 0 || isChecked(rule.alsoRequires))) ||
                  (rule.orElse != 0 && isChecked(rule.orElse));
        for (int id : rule.controlled) {
            states.push_back({id, on});
        }
    }
    return states;
}

bool IsEnableController(const std::vector<EnableRule>& rules, int id) {
    return std::any_of(rules.begin(), rules.end(), [id](const EnableRule& rule) {
        return rule.controller == id || rule.alsoRequires == id || rule.orElse == id;
    });
}

int FirstEntryWithPrefix(const std::vector<std::string>& entries, const std::string& prefix) {
    for (size_t i = 0; i < entries.size(); ++i) {
        if (entries[i].compare(0, prefix.size(), prefix) == 0) {
            return static_cast<int>(i);
        }
    }
    return -1;
}

Rect StretchToClient(const Rect& control, int cx, int cy, unsigned anchors) {
    Rect result = control;
    if (anchors & kStretchRight) {
        result.right = std::max(cx, control.left);
    }
    if (anchors & kStretchBottom) {
        result.bottom = std::max(cy, control.top);
    }
    return result;
}

Rect UsableNormalRect(const Rect& stored, const Rect& fallback) {
    if (stored.width() > 0 && stored.height() > 0) {
        return stored;
    }
    return {stored.left, stored.top, stored.left + fallback.width(),
            stored.top + fallback.height()};
}

std::string InitialFileName(const std::string& text, LeadByteTest isLeadByte) {
    bool endsWithBackslash = false;
    for (size_t i = 0; i < text.size(); ++i) {
        bool lead = isLeadByte(static_cast<unsigned char>(text[i])) && i + 1 < text.size();
        endsWithBackslash = !lead && text[i] == '\\';
        if (lead) {
            ++i;
        }
    }
    return endsWithBackslash ? std::string() : text;
}

std::string MakeFileFilter(const std::string& barSeparated) {
    std::string filter = barSeparated;
    std::replace(filter.begin(), filter.end(), '|', '\0');
    return filter;
}

}  // namespace varnoke
