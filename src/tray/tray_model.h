#pragma once
// What the notification-area icon shows, and when: the normal and paused displays,
// the capture animation, and the remembered icon that is never sent twice.

#include <string>
#include <utility>

#include "core/string_table.h"
#include "core/text.h"

namespace varnoke {

constexpr int kAnimationFrames = 8;

enum class TrayMessage { kAdd, kModify, kDelete };

// The platform side: the shell call and the animation timer. Icons are named by their
// resource ids (IDI_*).
class TrayPort {
  public:
    virtual ~TrayPort() = default;
    // iconId 0 sends no icon; a null text sends no tooltip.
    virtual bool ShellNotify(TrayMessage message, int iconId, const TooltipText* text) = 0;
    virtual void StartAnimationTimer() = 0;
    virtual void StopAnimationTimer() = 0;
};

class TrayModel {
  public:
    TrayModel(TrayPort& port, LoadStringFn loadString)
        : port_(port), loadString_(std::move(loadString)) {}

    bool NotifyTrayIcon(TrayMessage message, int iconId, const TooltipText* text);
    // The tooltip is string-table entry `textId` (IDS_*).
    bool NotifyTrayIcon(TrayMessage message, int iconId, unsigned textId);

    void UpdateTray(bool paused, const TooltipText& tooltipText);
    void StartCaptureAnimation();
    // One tick of TIMER_ANIMATION; true when this tick ended the animation (the
    // caller then shows the current state and may pause on overflow).
    bool AnimationTick();

    // The shell forgot the icon (Explorer restarted): add it again as it is shown now.
    void Readd(bool paused, const TooltipText& tooltipText);

    int animationCountdown() const { return animationCountdown_; }

  private:
    TrayPort& port_;
    LoadStringFn loadString_;
    int rememberedIcon_ = 0;
    int animationCountdown_ = 0;
};

}  // namespace varnoke
