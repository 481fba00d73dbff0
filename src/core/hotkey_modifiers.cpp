#include "core/hotkey_modifiers.h"

namespace varnoke {

namespace {

// Bits 1 and 4 trade places, 2 stays; everything else is dropped.
unsigned SwapShiftAndAlt(unsigned modifiers) {
    return ((modifiers & 1u) << 2) | (modifiers & 2u) | ((modifiers & 4u) >> 2);
}

}  // namespace

uint16_t ControlToStoredModifiers(unsigned controlModifiers) {
    return static_cast<uint16_t>(SwapShiftAndAlt(controlModifiers));
}

unsigned StoredToControlModifiers(uint16_t storedModifiers) {
    return SwapShiftAndAlt(storedModifiers);
}

}  // namespace varnoke
