#include "dialogs/hotkey_dialog.h"

#include "core/data_path.h"
#include "core/hotkey_modifiers.h"
#include "res/resource.h"

namespace varnoke {

namespace {

constexpr int kShortTextRows = kShortTextSlotEnd - kFirstShortTextSlot;

HotKeySlotRow ShortTextRow(int row) {
    return {IDC_HOTKEY_ENABLE_SHORTTEXT_FIRST + row, IDC_HOTKEY_SHORTTEXT_FIRST + row,
            IDC_SHORTTEXT_PATH_FIRST + row, IDC_SHORTTEXT_BROWSE_FIRST + row,
            IDC_SHORTTEXT_EDIT_FIRST + row};
}

std::vector<HotKeyTip> MakeTips() {
    std::vector<HotKeyTip> tips = {
        {IDC_HOTKEY_ENABLE_HISTORY, IDC_HOTKEY_ENABLE_HISTORY},
        {IDC_HOTKEY_HISTORY, IDC_HOTKEY_HISTORY},
        {IDC_PASTE_DIRECT, IDC_PASTE_DIRECT},
        {IDC_HOTKEY_ENABLE_EDITOR, IDC_HOTKEY_ENABLE_EDITOR},
        {IDC_HOTKEY_EDITOR, IDC_HOTKEY_HISTORY},
        {IDC_HOTKEY_ENABLE_TRAY_MENU, IDC_HOTKEY_ENABLE_TRAY_MENU},
        {IDC_HOTKEY_TRAY_MENU, IDC_HOTKEY_HISTORY},
        {IDC_HOTKEY_ENABLE_PAUSE, IDC_HOTKEY_ENABLE_PAUSE},
        {IDC_HOTKEY_PAUSE, IDC_HOTKEY_HISTORY},
        {IDC_HOTKEY_ENABLE_SEARCH, IDC_HOTKEY_ENABLE_SEARCH},
        {IDC_HOTKEY_SEARCH, IDC_HOTKEY_HISTORY},
    };
    // The browse buttons have no tip.
    for (int row = 0; row < kShortTextRows; ++row) {
        const HotKeySlotRow ids = ShortTextRow(row);
        tips.push_back({ids.enableId, IDC_HOTKEY_ENABLE_SHORTTEXT_FIRST});
        tips.push_back({ids.keyFieldId, IDC_HOTKEY_HISTORY});
        tips.push_back({ids.pathId, IDC_SHORTTEXT_PATH_FIRST});
        tips.push_back({ids.editId, IDC_SHORTTEXT_EDIT_FIRST});
    }
    tips.push_back({IDC_PASTE_ONLY, IDC_PASTE_ONLY});
    tips.push_back({IDC_PASTE_RESTORE, IDC_PASTE_RESTORE});
    return tips;
}

}  // namespace

HotKeyDialogValues HotKeyDialogValuesFrom(const Settings& settings) {
    HotKeyDialogValues values;
    values.historyPasteDirect = settings.historyPasteDirect;
    values.pasteOnly = settings.pasteOnly;
    values.pasteRestoreClipboard = settings.pasteRestoreClipboard;
    for (int slot = 0; slot < kHotKeySlotCount; ++slot) {
        values.slots[slot] = settings.hotKeys[slot];
    }
    return values;
}

void ApplyHotKeyDialogValues(const HotKeyDialogValues& values, Settings& settings) {
    settings.historyPasteDirect = values.historyPasteDirect;
    settings.pasteOnly = values.pasteOnly;
    settings.pasteRestoreClipboard = values.pasteRestoreClipboard;
    for (int slot = 0; slot < kHotKeySlotCount; ++slot) {
        HotKeySlot& key = settings.hotKeys[slot];
        const HotKeySlot& edited = values.slots[slot];
        key.enabled = edited.enabled;
        key.keyCode = edited.keyCode;
        key.modifiers = edited.modifiers;
        if (IsShortTextHotKeySlot(slot)) {
            key.dataPath = edited.dataPath;
        }
    }
}

const std::array<HotKeySlotRow, kHotKeySlotCount>& HotKeySlotRows() {
    static const std::array<HotKeySlotRow, kHotKeySlotCount> rows = {
        HotKeySlotRow{IDC_HOTKEY_ENABLE_HISTORY, IDC_HOTKEY_HISTORY, 0, 0, 0},
        HotKeySlotRow{IDC_HOTKEY_ENABLE_EDITOR, IDC_HOTKEY_EDITOR, 0, 0, 0},
        HotKeySlotRow{IDC_HOTKEY_ENABLE_TRAY_MENU, IDC_HOTKEY_TRAY_MENU, 0, 0, 0},
        HotKeySlotRow{IDC_HOTKEY_ENABLE_PAUSE, IDC_HOTKEY_PAUSE, 0, 0, 0},
        ShortTextRow(0),
        ShortTextRow(1),
        ShortTextRow(2),
        ShortTextRow(3),
        ShortTextRow(4),
        HotKeySlotRow{IDC_HOTKEY_ENABLE_SEARCH, IDC_HOTKEY_SEARCH, 0, 0, 0},
    };
    return rows;
}

int HotKeySlotOfControl(int controlId) {
    if (controlId == 0) {
        return -1;
    }
    for (int slot = 0; slot < kHotKeySlotCount; ++slot) {
        const HotKeySlotRow& row = HotKeySlotRows()[slot];
        for (int id : {row.enableId, row.keyFieldId, row.pathId, row.browseId, row.editId}) {
            if (id == controlId) {
                return slot;
            }
        }
    }
    return -1;
}

EnableRule HotKeySlotEnableRule(int slot) {
    const HotKeySlotRow& row = HotKeySlotRows()[slot];
    if (!IsShortTextHotKeySlot(slot)) {
        return {row.enableId, {row.keyFieldId}};
    }
    return {row.enableId, {row.keyFieldId, row.pathId, row.browseId, row.editId}};
}

std::vector<EnableRule> HotKeyEnableRules() {
    std::vector<EnableRule> rules;
    for (int slot = 0; slot < kHotKeySlotCount; ++slot) {
        rules.push_back(HotKeySlotEnableRule(slot));
    }
    rules.push_back({IDC_HOTKEY_ENABLE_HISTORY, {IDC_PASTE_DIRECT}, 0, IDC_HOTKEY_ENABLE_SEARCH});
    return rules;
}

const std::vector<HotKeyTip>& HotKeyTips() {
    static const std::vector<HotKeyTip> tips = MakeTips();
    return tips;
}

unsigned HotKeyTipStringId(int controlId) {
    for (const HotKeyTip& tip : HotKeyTips()) {
        if (tip.controlId == controlId) {
            return tip.stringId;
        }
    }
    return 0;
}

uint16_t HotKeyControlValue(uint16_t keyCode, uint16_t modifiers) {
    return static_cast<uint16_t>((StoredToControlModifiers(modifiers) << 8) | (keyCode & 0xFFu));
}

void StoreHotKeyControlValue(uint16_t controlValue, HotKeySlot& slot) {
    slot.keyCode = static_cast<uint16_t>(controlValue & 0xFFu);
    slot.modifiers = ControlToStoredModifiers(controlValue >> 8);
}

std::string ShortTextFileToOpen(const std::string& pathText, const std::string& programFolder,
                                LeadByteTest isLeadByte) {
    // A folder is what InitialFileName refuses to start an open-file dialog with.
    return InitialFileName(ResolveDataPath(pathText, programFolder, isLeadByte), isLeadByte);
}

}  // namespace varnoke
