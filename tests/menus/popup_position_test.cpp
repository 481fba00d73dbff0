#include "menus/popup_position.h"

#include <gtest/gtest.h>

#include <climits>

namespace varnoke {
namespace {

PopupInputs Screen() {
    PopupInputs inputs;
    inputs.cursor = {321, 654};
    inputs.screenWidth = 1024;
    inputs.screenHeight = 768;
    inputs.menuBarHeight = 19;
    inputs.caretClient = {10, 20};
    inputs.clientOrigin = {100, 200};
    return inputs;
}

TEST(GetPopupPositionTest, CursorCornersAndUnknownValues) {
    const PopupInputs inputs = Screen();
    EXPECT_EQ(GetPopupPosition(0, inputs), (PopupPoint{321, 654}));
    EXPECT_EQ(GetPopupPosition(1, inputs), (PopupPoint{0, 0}));
    EXPECT_EQ(GetPopupPosition(2, inputs), (PopupPoint{1024, 0}));
    EXPECT_EQ(GetPopupPosition(3, inputs), (PopupPoint{0, 768}));
    EXPECT_EQ(GetPopupPosition(4, inputs), (PopupPoint{1024, 768}));
    EXPECT_EQ(GetPopupPosition(6, inputs), (PopupPoint{0, 0}));
    EXPECT_EQ(GetPopupPosition(-1, inputs), (PopupPoint{0, 0}));
}

TEST(GetPopupPositionTest, CaretIsMovedBelowItsLine) {
    PopupInputs inputs = Screen();
    inputs.caretFound = true;
    EXPECT_EQ(GetPopupPosition(5, inputs), (PopupPoint{110, 235}));
    // Without a caret (own window in front, nothing in front) only the offset remains.
    inputs.caretFound = false;
    EXPECT_EQ(GetPopupPosition(5, inputs), (PopupPoint{0, 15}));
}

TEST(GetPopupPositionTest, AnExtremeCaretIsHeldToTheCoordinateRange) {
    // The caret and its window's origin come from another program.
    PopupInputs inputs = Screen();
    inputs.caretFound = true;
    inputs.caretClient = {INT_MAX - 5, INT_MAX - 5};
    EXPECT_EQ(GetPopupPosition(5, inputs), (PopupPoint{INT_MAX, INT_MAX}));
    inputs.caretClient = {INT_MIN + 5, INT_MIN + 5};
    inputs.clientOrigin = {-100, -200};
    EXPECT_EQ(GetPopupPosition(5, inputs), (PopupPoint{INT_MIN, INT_MIN + 15}));
    // The offset below the line alone can overflow too.
    inputs.caretClient = {0, INT_MAX - 10};
    inputs.clientOrigin = {0, 0};
    EXPECT_EQ(GetPopupPosition(5, inputs), (PopupPoint{0, INT_MAX}));
}

TEST(GetPopupPositionTest, OnlyTheModesThatNeedThemAskForCursorOrCaret) {
    for (int mode = -1; mode <= 6; ++mode) {
        EXPECT_EQ(PopupNeedsCursor(mode), mode == 0) << mode;
        EXPECT_EQ(PopupNeedsCaret(mode), mode == 5) << mode;
    }
}

}  // namespace
}  // namespace varnoke
