#pragma once
// The two encodings of hot-key modifiers that meet in the hot-key settings: the stored
// form, which RegisterHotKey takes, and the hot-key control's own form.

#include <cstdint>

namespace varnoke {

// RegisterHotKey modifier bits, the stored form.
constexpr uint16_t kModAlt = 1;
constexpr uint16_t kModControl = 2;
constexpr uint16_t kModShift = 4;

// Hot-key control modifier bits (HOTKEYF_*).
constexpr unsigned kHotKeyfShift = 1;
constexpr unsigned kHotKeyfControl = 2;
constexpr unsigned kHotKeyfAlt = 4;
constexpr unsigned kHotKeyfExt = 8;

// Between the two encodings bits 1 and 4 trade places, bit 2 stays and bit 8 (Win key
// stored, extended key in the control) is dropped.
uint16_t ControlToStoredModifiers(unsigned controlModifiers);
unsigned StoredToControlModifiers(uint16_t storedModifiers);

}  // namespace varnoke
