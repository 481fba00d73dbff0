#pragma once
// The parts of dialog handling that are plain rules: which controls a check box enables,
// which list entry a text preselects, where a stretched control ends, and what an
// open-file dialog starts with. Portable, so the rules are unit-tested.

#include <functional>
#include <string>
#include <vector>

#include "core/mbcs.h"

namespace varnoke {

// While `controller` is checked (and `alsoRequires`, when not 0, is checked as well) the
// controlled ids are enabled; so they are while `orElse`, when not 0, is checked; otherwise
// disabled. Rules apply in table order, so a later rule refines what an earlier one set for
// the same control.
struct EnableRule {
    int controller;
    std::vector<int> controlled;
    int alsoRequires = 0;
    int orElse = 0;
};

struct EnableState {
    int id;
    bool enabled;
    bool operator==(const EnableState& o) const { return id == o.id && enabled == o.enabled; }
};

std::vector<EnableState> ComputeEnabling(const std::vector<EnableRule>& rules,
                                         const std::function<bool(int id)>& isChecked);
bool IsEnableController(const std::vector<EnableRule>& rules, int id);

// The first entry whose text begins with `prefix`, compared byte for byte; -1 if none.
int FirstEntryWithPrefix(const std::vector<std::string>& entries, const std::string& prefix);

struct Rect {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;
    int width() const { return right - left; }
    int height() const { return bottom - top; }
    bool operator==(const Rect& o) const {
        return left == o.left && top == o.top && right == o.right && bottom == o.bottom;
    }
};

// Resizing rows: the edges a control keeps at the client area's right and bottom.
enum LayoutAnchor : unsigned {
    kStretchRight = 1,
    kStretchBottom = 2,
};
struct LayoutRow {
    int id;
    unsigned anchors;
};

// The control's rectangle in a client area of cx by cy. A client area smaller than the
// control's top-left corner leaves it empty rather than inside out.
Rect StretchToClient(const Rect& control, int cx, int cy, unsigned anchors);

// A stored restored-window rectangle fit for showing: one with no area (registry
// garbage) keeps its top-left corner and takes the fallback's size.
Rect UsableNormalRect(const Rect& stored, const Rect& fallback);

// The open-file dialog starts with no name when the text names a folder (ends with a
// backslash standing as a character of its own).
std::string InitialFileName(const std::string& text, LeadByteTest isLeadByte);

// "Text (*.x)|*.x||" as the dialog wants it: the bars become NUL bytes.
std::string MakeFileFilter(const std::string& barSeparated);

}  // namespace varnoke
