#include "framework/scoped_value.h"

#include <gtest/gtest.h>

#include <stdexcept>
#include <vector>

namespace varnoke {
namespace {

TEST(ScopedValue, RestoresThePreviousValueNotAFixedOne) {
    bool modalOpen = false;
    {
        ScopedValue<bool> outer(modalOpen, true);
        {
            ScopedValue<bool> inner(modalOpen, true);
            EXPECT_TRUE(modalOpen);
        }
        // The inner window closed inside the outer one's loop: still guarded.
        EXPECT_TRUE(modalOpen);
    }
    EXPECT_FALSE(modalOpen);
}

TEST(ScopedValue, RestoresWhenAnExceptionLeavesTheScope) {
    bool modalOpen = false;
    try {
        ScopedValue<bool> guard(modalOpen, true);
        throw std::runtime_error("handler failed");
    } catch (const std::runtime_error&) {
    }
    EXPECT_FALSE(modalOpen);
}

TEST(ScopedValue, StateChangedThroughAnOperationIsSetBackThroughIt) {
    int paused = 0;
    std::vector<int> calls;
    auto setPaused = [&](const int& value) {
        calls.push_back(value);
        paused = value;
    };
    {
        ScopedValue<int> pause(paused, setPaused, 1);
        EXPECT_EQ(paused, 1);
    }
    EXPECT_EQ(paused, 0);
    EXPECT_EQ(calls, (std::vector<int>{1, 0}));
}

}  // namespace
}  // namespace varnoke
