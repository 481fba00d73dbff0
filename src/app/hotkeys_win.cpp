#include "app/hotkeys_win.h"

namespace varnoke {

bool RegisterGlobalHotKey(HWND window, int id, uint16_t modifiers, uint16_t keyCode) {
    return RegisterHotKey(window, id, modifiers, keyCode) != FALSE;
}

void UnregisterGlobalHotKey(HWND window, int id) {
    UnregisterHotKey(window, id);
}

std::string KeyDisplayName(unsigned vk) {
    UINT scanCode = MapVirtualKeyA(vk, 0);  // MAPVK_VK_TO_VSC
    // Bit 24 (extended key) stays clear, so keys of the navigation block get the names of
    // their numeric-keypad twins, as the failure message has always shown them.
    LONG keyParam = static_cast<LONG>(scanCode << 16);
    char name[64] = {};
    int length = GetKeyNameTextA(keyParam, name, sizeof(name));
    return std::string(name, length > 0 ? static_cast<size_t>(length) : 0);
}

}  // namespace varnoke
