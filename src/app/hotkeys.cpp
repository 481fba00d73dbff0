#include "app/hotkeys.h"

#include "res/resource.h"

namespace varnoke {

namespace {

void AppendKey(std::string* text, const std::string& name) {
    *text += name;
    *text += " + ";
}

}  // namespace

int HotKeyId(uint16_t modifiers, uint16_t keyCode) {
    return (modifiers & 0xFF) * 256 + (keyCode & 0xFF);
}

bool IsHotKeyRegistered(const HotKeySlot& slot) {
    return slot.hotKeyId != 0 && slot.enabled != 0;
}

HotKeySlotName GetHotKeySlotName(int slot) {
    static const unsigned kFixedNames[kFirstShortTextSlot] = {
        IDS_HOTKEY_NAME_HISTORY, IDS_HOTKEY_NAME_EDITOR, IDS_HOTKEY_NAME_TRAY_MENU,
        IDS_HOTKEY_NAME_PAUSE};
    if (slot >= 0 && slot < kFirstShortTextSlot) {
        return HotKeySlotName{kFixedNames[slot], 0};
    }
    if (slot == kSearchSlot) {
        return HotKeySlotName{IDS_HOTKEY_NAME_SEARCH, 0};
    }
    return HotKeySlotName{IDS_HOTKEY_NAME_SHORTTEXT, slot - 3};
}

std::string HotKeySlotNameText(int slot, const LoadStringFn& loadString) {
    const HotKeySlotName name = GetHotKeySlotName(slot);
    std::string text = loadString(name.stringId);
    if (!IsShortTextHotKeySlot(slot)) {
        return text;
    }
    // Filled by hand rather than through printf, so a stray "%s" in a resource is harmless.
    const size_t mark = text.find("%d");
    if (mark != std::string::npos) {
        text.replace(mark, 2, std::to_string(name.number));
    }
    return text;
}

std::string HotKeyDisplayName(uint16_t keyCode, uint16_t modifiers,
                              const std::function<std::string(unsigned vk)>& keyName) {
    std::string text;
    if (modifiers & kModControl) {
        AppendKey(&text, keyName(kVkControlKey));
    }
    if (modifiers & kModShift) {
        AppendKey(&text, keyName(kVkShiftKey));
    }
    if (modifiers & kModAlt) {
        AppendKey(&text, keyName(kVkMenuKey));
    }
    if (keyCode > 0) {
        text += keyName(keyCode);
    }
    return text;
}

int FindHotKeySlot(const HotKeySlots& slots, unsigned wParam) {
    const int id = static_cast<int>(wParam & 0xFFFFu);
    for (int slot = 0; slot < kHotKeySlotCount; ++slot) {
        if (IsHotKeyRegistered(slots[slot]) && slots[slot].hotKeyId == id) {
            return slot;
        }
    }
    return -1;
}

std::vector<int> RegisterHotKeys(HotKeySlots& slots, const RegisterHotKeyFn& registerFn,
                                 const ReportHotKeyFailureFn& report) {
    std::vector<int> failed;
    for (int slot = 0; slot < kHotKeySlotCount; ++slot) {
        HotKeySlot& key = slots[slot];
        key.hotKeyId = HotKeyId(key.modifiers, key.keyCode);
        if (!IsHotKeyRegistered(key)) {
            continue;
        }
        if (!registerFn(slot, key.hotKeyId, key.modifiers, key.keyCode)) {
            key.hotKeyId = 0;
            key.enabled = 0;
            failed.push_back(slot);
            if (report) {
                report(slot);
            }
        }
    }
    return failed;
}

void UnregisterHotKeys(const HotKeySlots& slots, const UnregisterHotKeyFn& unregisterFn) {
    for (int slot = 0; slot < kHotKeySlotCount; ++slot) {
        if (IsHotKeyRegistered(slots[slot])) {
            unregisterFn(slot, slots[slot].hotKeyId);
        }
    }
}

void ReregisterHotKeys(const HotKeySlots& slots, const RegisterHotKeyFn& registerFn) {
    for (int slot = 0; slot < kHotKeySlotCount; ++slot) {
        const HotKeySlot& key = slots[slot];
        if (IsHotKeyRegistered(key)) {
            registerFn(slot, key.hotKeyId, key.modifiers, key.keyCode);
        }
    }
}

}  // namespace varnoke
