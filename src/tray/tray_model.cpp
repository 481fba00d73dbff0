#include "tray/tray_model.h"

namespace varnoke {

bool TrayModel::NotifyTrayIcon(TrayMessage message, int iconId, const std::string* text) {
    int sendIcon = 0;
    if (iconId != 0 && iconId != rememberedIcon_) {
        sendIcon = iconId;
        rememberedIcon_ = iconId;
    }
    return port_.ShellNotify(message, sendIcon, text);
}

bool TrayModel::NotifyTrayIcon(TrayMessage message, int iconId, int textId) {
    std::string text = port_.LoadText(textId);
    return NotifyTrayIcon(message, iconId, &text);
}

void TrayModel::UpdateTray(bool paused, const std::string& tooltipText) {
    if (paused) {
        NotifyTrayIcon(TrayMessage::kModify, kIconPaused, kTextPaused);
    } else {
        NotifyTrayIcon(TrayMessage::kModify, kIconNormal, &tooltipText);
    }
}

void TrayModel::StartCaptureAnimation() {
    if (animationCountdown_ <= 0) {
        port_.StartAnimationTimer();
    }
    animationCountdown_ = kAnimationFrames;
    AnimationTick();
}

bool TrayModel::AnimationTick() {
    if (animationCountdown_ > 0) {
        int icon = (animationCountdown_ % 2 != 0) ? kIconNormal : kIconCapture;
        NotifyTrayIcon(TrayMessage::kModify, icon, kTextCapturing);
        --animationCountdown_;
        return false;
    }
    port_.StopAnimationTimer();
    return true;
}

void TrayModel::Readd(bool paused, const std::string& tooltipText) {
    rememberedIcon_ = 0;
    if (paused) {
        NotifyTrayIcon(TrayMessage::kAdd, kIconPaused, kTextPaused);
    } else {
        NotifyTrayIcon(TrayMessage::kAdd, kIconNormal, &tooltipText);
    }
}

}  // namespace varnoke
