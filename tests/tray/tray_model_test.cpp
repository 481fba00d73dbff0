#include "tray/tray_model.h"

#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "res/resource.h"

namespace varnoke {
namespace {

struct Call {
    TrayMessage message;
    int icon;
    std::string text;
    bool hasText;
};

std::string FakeStrings(unsigned id) {
    return "S" + std::to_string(id);
}

class FakeTray : public TrayPort {
  public:
    bool ShellNotify(TrayMessage message, int iconId, const TooltipText* text) override {
        calls.push_back({message, iconId, text ? text->ansi : std::string(), text != nullptr});
        return true;
    }
    void StartAnimationTimer() override {
        ++timerStarts;
        timerRunning = true;
    }
    void StopAnimationTimer() override {
        ++timerStops;
        timerRunning = false;
    }

    std::vector<Call> calls;
    int timerStarts = 0;
    int timerStops = 0;
    bool timerRunning = false;
};

TEST(TrayModel, AnIconAlreadyShownIsNotSentAgain) {
    FakeTray port;
    TrayModel tray(port, FakeStrings);
    tray.NotifyTrayIcon(TrayMessage::kAdd, IDI_NORMAL, IDS_APP_VERSION);
    tray.UpdateTray(false, TooltipText("preview"));
    tray.UpdateTray(true, TooltipText("preview"));
    tray.UpdateTray(true, TooltipText("preview"));
    ASSERT_EQ(port.calls.size(), 4u);
    EXPECT_EQ(port.calls[0].icon, IDI_NORMAL);
    EXPECT_EQ(port.calls[0].text, "S210");
    EXPECT_EQ(port.calls[1].icon, 0);  // still 129: only the tooltip changes
    EXPECT_EQ(port.calls[1].text, "preview");
    EXPECT_EQ(port.calls[2].icon, IDI_PAUSED);
    EXPECT_EQ(port.calls[2].text, "S211");
    EXPECT_EQ(port.calls[3].icon, 0);
}

TEST(TrayModel, CaptureAnimationShowsEightFramesThenTheCurrentState) {
    FakeTray port;
    TrayModel tray(port, FakeStrings);
    tray.StartCaptureAnimation();
    EXPECT_EQ(port.timerStarts, 1);
    int ended = 0;
    for (int tick = 0; tick < 8; ++tick) {
        ended += tray.AnimationTick() ? 1 : 0;
    }
    EXPECT_EQ(ended, 1);  // the first frame ran at once, so the eighth tick ends it
    EXPECT_EQ(port.timerStops, 1);
    // 131, 129, 131, ... with the capture text; unchanged icons are not re-sent.
    std::vector<int> shown;
    int current = 0;
    for (const Call& call : port.calls) {
        if (call.icon != 0)
            current = call.icon;
        shown.push_back(current);
        EXPECT_EQ(call.text, "S212");
    }
    EXPECT_EQ(shown, (std::vector<int>{131, 129, 131, 129, 131, 129, 131, 129}));
}

TEST(TrayModel, ACaptureDuringTheAnimationRestartsTheCountWithoutASecondTimer) {
    FakeTray port;
    TrayModel tray(port, FakeStrings);
    tray.StartCaptureAnimation();
    tray.AnimationTick();
    tray.AnimationTick();
    tray.StartCaptureAnimation();
    EXPECT_EQ(port.timerStarts, 1);
    EXPECT_EQ(tray.animationCountdown(), 7);
    int ticks = 0;
    while (!tray.AnimationTick()) ++ticks;
    EXPECT_EQ(ticks, 7);
    tray.StartCaptureAnimation();  // after the end a new animation needs a new timer
    EXPECT_EQ(port.timerStarts, 2);
}

TEST(TrayModel, ReaddAfterExplorerRestartSendsTheCurrentDisplayWithItsIcon) {
    FakeTray port;
    TrayModel tray(port, FakeStrings);
    tray.UpdateTray(true, TooltipText("x"));
    port.calls.clear();
    tray.Readd(true, TooltipText("x"));
    ASSERT_EQ(port.calls.size(), 1u);
    EXPECT_EQ(port.calls[0].message, TrayMessage::kAdd);
    EXPECT_EQ(port.calls[0].icon, IDI_PAUSED);
    EXPECT_EQ(port.calls[0].text, "S211");
}

}  // namespace
}  // namespace varnoke
