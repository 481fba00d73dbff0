#pragma once
// The global hot keys without the window: identifiers, the two modifier encodings,
// the names used in the failure message, the WM_HOTKEY lookup and the registration rules.
// RegisterHotKey and UnregisterHotKey come in as callbacks.

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "core/hotkey_modifiers.h"
#include "core/settings.h"
#include "core/string_table.h"

namespace varnoke {

constexpr unsigned kVkShiftKey = 0x10;    // VK_SHIFT
constexpr unsigned kVkControlKey = 0x11;  // VK_CONTROL
constexpr unsigned kVkMenuKey = 0x12;     // VK_MENU (Alt)

using HotKeySlots = HotKeySlot[kHotKeySlotCount];

// (modifiers AND 0xFF) * 256 + (key code AND 0xFF); 0 means "not registered".
int HotKeyId(uint16_t modifiers, uint16_t keyCode);

// A slot counts as registered when its identifier is not 0 and it is enabled.
bool IsHotKeyRegistered(const HotKeySlot& slot);

// String-table id of a slot's name (400..405) and, for the short-text slots 4..8, the
// number that fills its %d (slot - 3); number is 0 for the other slots.
struct HotKeySlotName {
    unsigned stringId = 0;
    int number = 0;
};
HotKeySlotName GetHotKeySlotName(int slot);

// The slot's name with %d filled, from the loaded string-table text.
std::string HotKeySlotNameText(int slot, const LoadStringFn& loadString);

// "Ctrl + Shift + C" in the platform's key names: Ctrl, Shift and Alt in that order, each
// followed by " + ", then the key's name when the key code is above 0.
std::string HotKeyDisplayName(uint16_t keyCode, uint16_t modifiers,
                              const std::function<std::string(unsigned vk)>& keyName);

// The slot a WM_HOTKEY identifier (low 16 bits of wParam) belongs to: the first one,
// 0 to 9, whose identifier is not 0, equals it and which is enabled; -1 when none.
int FindHotKeySlot(const HotKeySlots& slots, unsigned wParam);

// registerFn(slot, id, modifiers, keyCode) performs RegisterHotKey with the full 16-bit
// values and reports success.
using RegisterHotKeyFn = std::function<bool(int slot, int id, uint16_t modifiers, uint16_t vk)>;
using UnregisterHotKeyFn = std::function<void(int slot, int id)>;
// Tells the user about a refused slot; called once the slot is already disabled.
using ReportHotKeyFailureFn = std::function<void(int slot)>;

// Computes every slot's identifier (enabled or not) and registers the enabled ones with a
// non-zero identifier. A refused slot gets identifier 0 and is disabled, so it is saved
// disabled, and only then reported, before the next slot is tried: a report that waits
// for the user runs a message loop, and whatever runs in it must already see the slot
// switched off. Returns the refused slots in order.
std::vector<int> RegisterHotKeys(HotKeySlots& slots, const RegisterHotKeyFn& registerFn,
                                 const ReportHotKeyFailureFn& report = nullptr);

// Before the hot-key dialog opens: frees every registered slot so its keys can be pressed
// in the dialog. The slots themselves are left as they are.
void UnregisterHotKeys(const HotKeySlots& slots, const UnregisterHotKeyFn& unregisterFn);

// After the hot-key dialog was cancelled: registers the unchanged registered slots again.
// Failures are silent and change nothing.
void ReregisterHotKeys(const HotKeySlots& slots, const RegisterHotKeyFn& registerFn);

}  // namespace varnoke
