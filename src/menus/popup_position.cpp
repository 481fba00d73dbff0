#include "menus/popup_position.h"

#include <algorithm>
#include <climits>
#include <cstdint>

namespace varnoke {

namespace {

// The caret and its window belong to another program and may report anything, so sums
// are taken in 64 bits and held to the range of a screen coordinate.
int ClampedSum(int64_t a, int64_t b) {
    const int64_t sum = a + b;
    return static_cast<int>(std::clamp<int64_t>(sum, INT_MIN, INT_MAX));
}

// The caret's client position in screen coordinates, or (0, 0) when none was found.
PopupPoint CaretScreenPos(const PopupInputs& inputs) {
    if (!inputs.caretFound) {
        return PopupPoint{};
    }
    return PopupPoint{ClampedSum(inputs.caretClient.x, inputs.clientOrigin.x),
                      ClampedSum(inputs.caretClient.y, inputs.clientOrigin.y)};
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
            point.y = ClampedSum(point.y, int64_t{inputs.menuBarHeight} - 4);
            return point;
        }
        default:
            return PopupPoint{};
    }
}

}  // namespace varnoke
