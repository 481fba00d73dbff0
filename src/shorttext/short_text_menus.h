#pragma once
// The five short-text slots and the one set of menus they share, with the decisions of
// showing a menu and of choosing an item. The Win32 side resolves nothing itself: it
// supplies the file system, the times and the PasteOnly setting, turns the model into
// popup menus and carries out the actions.

#include <string>
#include <utility>
#include <vector>

#include "core/mbcs.h"
#include "core/text_codec.h"
#include "shorttext/macro_expansion.h"
#include "shorttext/short_text_action.h"
#include "shorttext/short_text_menu_model.h"
#include "shorttext/short_text_slot.h"

namespace varnoke {

struct ShortTextShowResult {
    bool showMenu = false;  // track the root of model()
    // True: the model was built anew, make every popup menu from it. False: only the labels
    // named by model().tokenLabels changed; rewrite those entries in place, and call
    // Rebuild() when a rewrite fails.
    bool rebuilt = false;
    bool openFailed = false;  // show message 502 with `path`
    std::string path;         // the resolved path
};

// Refresh in place only when the same file as last time was found unchanged.
bool ShouldRefreshShortTextLabels(ShortTextCheckResult check, bool sameAsLastShown);

class ShortTextMenus {
  public:
    ShortTextMenus(MacroNames names, LeadByteTest isLeadByte, const TextCodec& codec)
        : names_(std::move(names)), isLeadByte_(isLeadByte), codec_(codec) {}

    // Everything of showing slot `slot` (0 to 4) up to tracking: the file check, the current
    // slot, the label time and the build or refresh. `pathSetting` is the slot's HotKeyData
    // value; an empty one counts as a missing file.
    ShortTextShowResult Prepare(int slot, const std::string& pathSetting,
                                const std::string& programFolder, ShortTextFileSystem& files,
                                const MacroTime& labelTime);
    // Builds the menus of the current slot again, with the last label time.
    void Rebuild();
    // The action for the item of line `lineIndex` (command id - 38000) chosen at `now`;
    // nothing when no slot is current or the line does not exist.
    ShortTextAction Perform(int lineIndex, const MacroTime& now, bool pasteOnly) const;
    // The same for a line of any file, found elsewhere (the search window).
    ShortTextAction PerformLine(const ShortTextString& line, const MacroTime& now,
                                bool pasteOnly) const;
    // Empties the menu list and the token-label list; the slots keep their lines.
    void Free() { model_.Clear(); }

    const ShortTextMenuModel& model() const { return model_; }
    // -1 until a menu was prepared.
    int currentSlot() const { return currentSlot_; }
    // `index` 0 to 4.
    const ShortTextSlot& slot(int index) const { return slots_[index]; }
    const std::string& lastShownPath() const { return lastShownPath_; }

  private:
    const std::vector<ShortTextString>& CurrentLines() const;

    MacroNames names_;
    LeadByteTest isLeadByte_;
    const TextCodec& codec_;
    ShortTextSlot slots_[kShortTextSlotCount];
    ShortTextMenuModel model_;
    int currentSlot_ = -1;
    std::string lastShownPath_;
    MacroTime labelTime_;
};

}  // namespace varnoke
