#pragma once
// RegisterHotKey and the platform's key names, for the rules in app/hotkeys.h.

#include <windows.h>

#include <cstdint>
#include <string>

namespace varnoke {

// RegisterHotKey with the full 16-bit modifiers and key code.
bool RegisterGlobalHotKey(HWND window, int id, uint16_t modifiers, uint16_t keyCode);
// Failures are of no interest to any caller.
void UnregisterGlobalHotKey(HWND window, int id);

// The keyboard driver's name of a virtual key, in its non-extended form ("Ctrl", "C").
std::string KeyDisplayName(unsigned vk);

}  // namespace varnoke
