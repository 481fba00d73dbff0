#include "shorttext/short_text_menus.h"

#include "core/data_path.h"

namespace varnoke {

namespace {

bool IsSlot(int slot) {
    return slot >= 0 && slot < kShortTextSlotCount;
}

}  // namespace

bool ShouldRefreshShortTextLabels(ShortTextCheckResult check, bool sameAsLastShown) {
    return check == ShortTextCheckResult::kUnchanged && sameAsLastShown;
}

ShortTextShowResult ShortTextMenus::Prepare(int slot, const std::string& pathSetting,
                                            const std::string& programFolder,
                                            ShortTextFileSystem& files,
                                            const MacroTime& labelTime) {
    ShortTextShowResult result;
    if (!IsSlot(slot)) {
        return result;
    }
    ShortTextSlot& target = slots_[slot];
    // The program folder itself would be found and fail to open: no file is meant.
    if (pathSetting.empty()) {
        target.ClearCache();
        return result;
    }
    result.path = ResolveDataPath(pathSetting, programFolder, isLeadByte_);
    const bool sameAsLastShown = SamePath(result.path, lastShownPath_, isLeadByte_);
    const ShortTextCheck check =
        CheckShortTextFile(target, result.path, files, isLeadByte_, codec_, &lastShownPath_);
    if (check.result == ShortTextCheckResult::kNoFile) {
        result.openFailed = check.openFailed;
        return result;
    }
    currentSlot_ = slot;
    labelTime_ = labelTime;
    result.showMenu = true;
    // A model that was freed has nothing to refresh.
    if (ShouldRefreshShortTextLabels(check.result, sameAsLastShown) && !model_.menus.empty() &&
        RefreshShortTextLabels(model_, CurrentLines(), labelTime_, names_, isLeadByte_, codec_)) {
        return result;
    }
    Rebuild();
    result.rebuilt = true;
    return result;
}

void ShortTextMenus::Rebuild() {
    model_.Clear();
    if (!IsSlot(currentSlot_)) {
        return;
    }
    model_ = BuildShortTextMenus(CurrentLines(), labelTime_, names_, isLeadByte_, codec_);
}

ShortTextAction ShortTextMenus::Perform(int lineIndex, const MacroTime& now, bool pasteOnly) const {
    if (!IsSlot(currentSlot_) || lineIndex < 0 ||
        static_cast<size_t>(lineIndex) >= CurrentLines().size()) {
        return ShortTextAction();
    }
    return PerformLine(CurrentLines()[static_cast<size_t>(lineIndex)], now, pasteOnly);
}

ShortTextAction ShortTextMenus::PerformLine(const ShortTextString& line, const MacroTime& now,
                                            bool pasteOnly) const {
    return DecideShortTextAction(line, now, pasteOnly, names_, isLeadByte_, codec_);
}

const std::vector<ShortTextString>& ShortTextMenus::CurrentLines() const {
    return slots_[currentSlot_].lines;
}

}  // namespace varnoke
