#pragma once
// What the notification-area icon shows, and when: the normal and paused displays,
// the capture animation, and the remembered icon that is never sent twice.

#include <string>

namespace varnoke {

constexpr int kIconApp = 128;
constexpr int kIconNormal = 129;
constexpr int kIconPaused = 130;
constexpr int kIconCapture = 131;
constexpr int kTextVersion = 210;
constexpr int kTextPaused = 211;
constexpr int kTextCapturing = 212;
constexpr int kAnimationFrames = 8;

enum class TrayMessage { kAdd, kModify, kDelete };

// The platform side: the shell call and the animation timer.
class TrayPort {
  public:
    virtual ~TrayPort() = default;
    // iconId 0 sends no icon; a null text sends no tooltip.
    virtual bool ShellNotify(TrayMessage message, int iconId, const std::string* text) = 0;
    virtual std::string LoadText(int stringId) = 0;
    virtual void StartAnimationTimer() = 0;
    virtual void StopAnimationTimer() = 0;
};

class TrayModel {
  public:
    explicit TrayModel(TrayPort& port) : port_(port) {}

    bool NotifyTrayIcon(TrayMessage message, int iconId, const std::string* text);
    bool NotifyTrayIcon(TrayMessage message, int iconId, int textId);

    void UpdateTray(bool paused, const std::string& tooltipText);
    void StartCaptureAnimation();
    // One tick of TIMER_ANIMATION; true when this tick ended the animation (the
    // caller then shows the current state and may pause on overflow).
    bool AnimationTick();

    // The shell forgot the icon (Explorer restarted): add it again as it is shown now.
    void Readd(bool paused, const std::string& tooltipText);

    int animationCountdown() const { return animationCountdown_; }

  private:
    TrayPort& port_;
    int rememberedIcon_ = 0;
    int animationCountdown_ = 0;
};

}  // namespace varnoke
