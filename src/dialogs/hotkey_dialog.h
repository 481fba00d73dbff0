#pragma once
// The hot-key settings dialog's rules: its slot rows as data (controls, enabling,
// tips), the values it edits, the hot-key control's encoding of a stored key, and which
// file an edit button opens.

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "core/mbcs.h"
#include "core/settings.h"
#include "framework/dialog_rules.h"

namespace varnoke {

// What the dialog edits: the three paste options and every slot's enabled flag, key,
// modifiers and (short-text slots) file path. The slots' identifiers are not the
// dialog's business.
struct HotKeyDialogValues {
    int historyPasteDirect = 0;
    int pasteOnly = 0;
    int pasteRestoreClipboard = 0;
    std::array<HotKeySlot, kHotKeySlotCount> slots{};
};
HotKeyDialogValues HotKeyDialogValuesFrom(const Settings& settings);
// Copies the confirmed values back; identifiers stay for RegisterHotKeys to recompute.
void ApplyHotKeyDialogValues(const HotKeyDialogValues& values, Settings& settings);

// The controls of one slot's row; 0 where the row has no such control (only the
// short-text rows have a path, a browse and an edit button).
struct HotKeySlotRow {
    int enableId;
    int keyFieldId;
    int pathId;
    int browseId;
    int editId;
};
const std::array<HotKeySlotRow, kHotKeySlotCount>& HotKeySlotRows();
// The slot whose row holds the control; -1 for the controls outside the rows.
int HotKeySlotOfControl(int controlId);

// What a slot's enable check box switches on and off.
EnableRule HotKeySlotEnableRule(int slot);
// Every enabling rule of the dialog: the slots', then 1017's, which pastes the choices of
// the history menu and of the search window called by their hot keys, and so is enabled
// while either key is on.
std::vector<EnableRule> HotKeyEnableRules();

// The controls that show a tip, in the order they are registered, and the string each
// shows: the hot-key fields share one string, and so do the five short-text rows.
struct HotKeyTip {
    int controlId;
    unsigned stringId;
};
const std::vector<HotKeyTip>& HotKeyTips();
// The tip string of a control; 0 (no string) for one without a tip.
unsigned HotKeyTipStringId(int controlId);

// A stored key as the hot-key control takes it (HKM_SETHOTKEY: the key code's low byte,
// the modifiers in the control's encoding in the high byte), and the control's value
// (HKM_GETHOTKEY) as stored. The Win key and the extended-key bit do not survive.
uint16_t HotKeyControlValue(uint16_t keyCode, uint16_t modifiers);
void StoreHotKeyControlValue(uint16_t controlValue, HotKeySlot& slot);

// The file an edit button opens for the path text in its row: made absolute against the
// program's folder; empty (nothing to open) when that names a folder.
std::string ShortTextFileToOpen(const std::string& pathText, const std::string& programFolder,
                                LeadByteTest isLeadByte);

}  // namespace varnoke
