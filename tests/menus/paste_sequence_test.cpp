#include "menus/paste_sequence.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

namespace varnoke {
namespace {

// Records "down 11", "up 56", "sleep 70" in call order.
class RecordingKeyboard : public KeyboardPort {
  public:
    std::vector<std::string> log;
    void KeyEvent(uint8_t vk, bool keyUp) override {
        char buffer[16];
        std::snprintf(buffer, sizeof buffer, "%s %02X", keyUp ? "up" : "down", vk);
        log.push_back(buffer);
    }
    void Sleep(int ms) override { log.push_back("sleep " + std::to_string(ms)); }
};

std::vector<std::string> Paste(int command, int delay, int targetInFront = 0) {
    RecordingKeyboard keyboard;
    SendPasteKeystroke(command, delay, keyboard, targetInFront);
    return keyboard.log;
}

using Log = std::vector<std::string>;

TEST(SendPasteKeystrokeTest, CtrlVAfterTheDelay) {
    EXPECT_EQ(Paste(0, 200),
              (Log{"sleep 200", "sleep 30", "down 11", "down 56", "sleep 70", "up 56", "up 11"}));
    const Log immediate{"sleep 30", "down 11", "down 56", "sleep 70", "up 56", "up 11"};
    EXPECT_EQ(Paste(0, 0), immediate);
    EXPECT_EQ(Paste(0, -50), immediate);
}

TEST(SendPasteKeystrokeTest, ShiftInsertAndUnknownCommands) {
    EXPECT_EQ(Paste(1, 5),
              (Log{"sleep 5", "down 10", "sleep 20", "down 2D", "sleep 20", "up 2D", "up 10"}));
    EXPECT_EQ(Paste(2, 200), (Log{"sleep 200"}));
    EXPECT_TRUE(Paste(-1, 0).empty());
}

// The time the target has already been in front shortens only the pauses before the
// first key, the delay first; the pauses between keys stay whole.
TEST(SendPasteKeystrokeTest, TimeInFrontCountsTowardsTheLeadingPauses) {
    EXPECT_EQ(Paste(0, 200, 50),
              (Log{"sleep 150", "sleep 30", "down 11", "down 56", "sleep 70", "up 56", "up 11"}));
    EXPECT_EQ(Paste(0, 0, 12),
              (Log{"sleep 18", "down 11", "down 56", "sleep 70", "up 56", "up 11"}));
    EXPECT_EQ(Paste(0, 10, 25),
              (Log{"sleep 15", "down 11", "down 56", "sleep 70", "up 56", "up 11"}));
    const Log atOnce{"down 11", "down 56", "sleep 70", "up 56", "up 11"};
    EXPECT_EQ(Paste(0, 0, 30), atOnce);
    EXPECT_EQ(Paste(0, 200, 5000), atOnce);
    EXPECT_EQ(Paste(0, 0, -40), Paste(0, 0));
    EXPECT_EQ(Paste(1, 5, 100),
              (Log{"down 10", "sleep 20", "down 2D", "sleep 20", "up 2D", "up 10"}));
}

class FakeForeground : public ForegroundPort {
  public:
    int foregroundAfterChecks = -1;  // -1: the target never gets the foreground
    int sets = 0;
    int checks = 0;
    int slept = 0;
    int timerTick = 1;  // a sleep lasts at least this long
    void SetTargetForeground() override { ++sets; }
    bool TargetIsForeground() override { return ++checks == foregroundAfterChecks; }
    void Sleep(int ms) override { slept += std::max(ms, timerTick); }
    double NowMs() override { return 5000.0 + slept; }
};

TEST(RestoreTargetWindowTest, StopsAsSoonAsTheTargetIsInFront) {
    FakeForeground at_once;
    at_once.foregroundAfterChecks = 1;
    RestoreTargetWindow(at_once);
    EXPECT_EQ(at_once.sets, 1);
    EXPECT_EQ(at_once.checks, 1);
    EXPECT_EQ(at_once.slept, 0);

    FakeForeground third;
    third.foregroundAfterChecks = 3;
    RestoreTargetWindow(third);
    EXPECT_EQ(third.checks, 3);
    EXPECT_EQ(third.slept, 2);
}

// Looked at every millisecond, so the paste follows the foreground at once; given up
// after a second by the clock, however many looks that took.
TEST(RestoreTargetWindowTest, GivesUpAfterOneSecond) {
    FakeForeground never;
    RestoreTargetWindow(never);
    EXPECT_EQ(never.sets, 1);
    EXPECT_EQ(never.checks, 1001);
    EXPECT_EQ(never.slept, 1000);

    FakeForeground coarseTimer;
    coarseTimer.timerTick = 16;
    RestoreTargetWindow(coarseTimer);
    EXPECT_EQ(coarseTimer.checks, 64);
    EXPECT_EQ(coarseTimer.slept, 1008);
}

}  // namespace
}  // namespace varnoke
