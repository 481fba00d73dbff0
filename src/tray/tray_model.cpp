#include "tray/tray_model.h"

#include "res/resource.h"

namespace varnoke {

bool TrayModel::NotifyTrayIcon(TrayMessage message, int iconId, const TooltipText* text) {
    int sendIcon = 0;
    if (iconId != 0 && iconId != rememberedIcon_) {
        sendIcon = iconId;
        rememberedIcon_ = iconId;
    }
    return port_.ShellNotify(message, sendIcon, text);
}

bool TrayModel::NotifyTrayIcon(TrayMessage message, int iconId, unsigned textId) {
    const TooltipText text(loadString_(textId));
    return NotifyTrayIcon(message, iconId, &text);
}

void TrayModel::UpdateTray(bool paused, const TooltipText& tooltipText) {
    if (paused) {
        NotifyTrayIcon(TrayMessage::kModify, IDI_PAUSED, IDS_TIP_PAUSED);
    } else {
        NotifyTrayIcon(TrayMessage::kModify, IDI_NORMAL, &tooltipText);
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
        int icon = (animationCountdown_ % 2 != 0) ? IDI_NORMAL : IDI_CAPTURE;
        NotifyTrayIcon(TrayMessage::kModify, icon, IDS_TIP_CAPTURING);
        --animationCountdown_;
        return false;
    }
    port_.StopAnimationTimer();
    return true;
}

void TrayModel::Readd(bool paused, const TooltipText& tooltipText) {
    rememberedIcon_ = 0;
    if (paused) {
        NotifyTrayIcon(TrayMessage::kAdd, IDI_PAUSED, IDS_TIP_PAUSED);
    } else {
        NotifyTrayIcon(TrayMessage::kAdd, IDI_NORMAL, &tooltipText);
    }
}

}  // namespace varnoke
