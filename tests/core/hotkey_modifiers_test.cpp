#include "core/hotkey_modifiers.h"

#include <gtest/gtest.h>

namespace varnoke {
namespace {

TEST(HotKeyModifiersTest, ShiftAndAltTradeBitsBothWays) {
    EXPECT_EQ(StoredToControlModifiers(6), 3u);
    EXPECT_EQ(ControlToStoredModifiers(1), 4);
    EXPECT_EQ(ControlToStoredModifiers(4), 1);
    EXPECT_EQ(ControlToStoredModifiers(2), 2);
    EXPECT_EQ(ControlToStoredModifiers(kHotKeyfExt | kHotKeyfShift), kModShift);
    EXPECT_EQ(StoredToControlModifiers(8), 0u);  // Win key is lost
    for (uint16_t mods = 0; mods < 8; ++mods) {
        EXPECT_EQ(ControlToStoredModifiers(StoredToControlModifiers(mods)), mods);
    }
}

}  // namespace
}  // namespace varnoke
