#include "menus/popup_position.h"

namespace varnoke {

namespace {

// The caret's client position in screen coordinates, or (0, 0) when none was found.
PopupPoint CaretScreenPos(const PopupInputs& inputs) {
    if (!inputs.caretFound) {
        return PopupPoint{};
    }
    return PopupPoint{inputs.caretClient.x + inputs.clientOrigin.x,
                      inputs.caretClient.y + inputs.clientOrigin.y};
}

}  // namespace

bool PopupNeedsCursor(int popupPos) {
    return popupPos == kPopupAtCursor;
}

bool PopupNeedsCaret(int popupPos) {
    return popupPos == kPopupAtCaret;
}

PopupPoint GetPopupPosition(int popupPos, const PopupInputs& inputs) {
    switch (popupPos) {
        case kPopupAtCursor:
            return inputs.cursor;
        case kPopupTopLeft:
            return PopupPoint{0, 0};
        case kPopupTopRight:
            return PopupPoint{inputs.screenWidth, 0};
        case kPopupBottomLeft:
            return PopupPoint{0, inputs.screenHeight};
        case kPopupBottomRight:
            return PopupPoint{inputs.screenWidth, inputs.screenHeight};
        case kPopupAtCaret: {
            // Just below the caret line: the menu-bar height stands in for the line height.
            PopupPoint point = CaretScreenPos(inputs);
            point.y += inputs.menuBarHeight - 4;
            return point;
        }
        default:
            return PopupPoint{};
    }
}

}  // namespace varnoke
