// The framework's control subclassing, run in the test program itself on an edit control of
// its own: a control gets its own procedure back when ours is on top of its chain, and keeps
// a later subclass (a tip control, an input method) when ours is not.
#include <gtest/gtest.h>

#include <string>

#include "framework/subclass_win.h"

namespace e2e {
namespace {

// Counts the characters it is given, then lets the control handle them.
class CountingEdit : public varnoke::SubclassedWindow {
  public:
    int chars = 0;

  protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override {
        if (message == WM_CHAR) {
            ++chars;
        }
        return SubclassedWindow::WindowProc(message, wParam, lParam);
    }
};

// A subclass made later by other code, the plain way.
WNDPROC laterNext = nullptr;
int laterChars = 0;
LRESULT CALLBACK LaterProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_CHAR) {
        ++laterChars;
    }
    return CallWindowProcA(laterNext, hwnd, message, wParam, lParam);
}

LONG_PTR ProcedureOf(HWND control) {
    return GetWindowLongPtrA(control, GWLP_WNDPROC);
}

std::string TextOf(HWND control) {
    char text[64] = {};
    GetWindowTextA(control, text, sizeof text);
    return text;
}

class SubclassTest : public testing::Test {
  protected:
    void SetUp() override {
        edit_ = CreateWindowExA(0, "EDIT", "", WS_POPUP, 0, 0, 100, 20, nullptr, nullptr,
                                GetModuleHandleA(nullptr), nullptr);
        ASSERT_NE(edit_, nullptr);
        own_ = ProcedureOf(edit_);
    }
    void TearDown() override { DestroyWindow(edit_); }

    HWND edit_ = nullptr;
    LONG_PTR own_ = 0;
};

TEST_F(SubclassTest, OnTopOfTheChainTheControlGetsItsOwnProcedureBack) {
    CountingEdit counting;
    ASSERT_TRUE(counting.Subclass(edit_));
    EXPECT_NE(ProcedureOf(edit_), own_);
    SendMessageA(edit_, WM_CHAR, 'a', 0);
    EXPECT_EQ(counting.chars, 1);
    counting.Unsubclass();
    EXPECT_EQ(ProcedureOf(edit_), own_);
    SendMessageA(edit_, WM_CHAR, 'b', 0);
    EXPECT_EQ(counting.chars, 1);
    EXPECT_EQ(TextOf(edit_), "ab");
}

TEST_F(SubclassTest, UnderALaterSubclassOursStaysAndPassesEverythingOn) {
    laterChars = 0;
    {
        CountingEdit counting;
        ASSERT_TRUE(counting.Subclass(edit_));
        laterNext = reinterpret_cast<WNDPROC>(
            SetWindowLongPtrA(edit_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&LaterProc)));
        counting.Unsubclass();
        EXPECT_EQ(ProcedureOf(edit_), reinterpret_cast<LONG_PTR>(&LaterProc))
            << "the later subclass was cut out of the chain";
        SendMessageA(edit_, WM_CHAR, 'a', 0);
        EXPECT_EQ(counting.chars, 0);
    }
    // The object is gone; the chain still reaches the control through ours.
    SendMessageA(edit_, WM_CHAR, 'b', 0);
    EXPECT_EQ(laterChars, 2);
    EXPECT_EQ(TextOf(edit_), "ab");
    // A new object takes the place ours kept in the chain.
    CountingEdit again;
    ASSERT_TRUE(again.Subclass(edit_));
    SendMessageA(edit_, WM_CHAR, 'c', 0);
    EXPECT_EQ(again.chars, 1);
    EXPECT_EQ(TextOf(edit_), "abc");
}

}  // namespace
}  // namespace e2e
