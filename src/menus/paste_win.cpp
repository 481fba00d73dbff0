#include "menus/paste_win.h"

#include <algorithm>

namespace varnoke {

void Win32Keyboard::KeyEvent(uint8_t vk, bool keyUp) {
    keybd_event(vk, 0, keyUp ? KEYEVENTF_KEYUP : 0, 0);
}

namespace {

double NowMs() {
    LARGE_INTEGER frequency, counter;
    QueryPerformanceFrequency(&frequency);
    QueryPerformanceCounter(&counter);
    return static_cast<double>(counter.QuadPart) * 1000.0 / static_cast<double>(frequency.QuadPart);
}

// Other programs may send this thread a message while the keys are on their way, and the
// target's paste can wait for the answer: with plain sleeps, one paste in four under Wine
// appeared only after the whole keystroke, 70 ms late. Sent messages are answered during
// the pause; posted ones still wait for the message loop. The clock is the performance
// counter, since the tick count may move in steps of 16 ms. A wait is rounded down, so
// the last fraction of a millisecond is spent looking rather than oversleeping by up to
// one whole millisecond.
void WaitAnsweringSentMessages(int ms) {
    const double end = NowMs() + ms;
    for (double left = ms; left > 0; left = end - NowMs()) {
        DWORD wait = static_cast<DWORD>(left);
        if (MsgWaitForMultipleObjects(0, nullptr, FALSE, wait, QS_SENDMESSAGE) == WAIT_OBJECT_0) {
            MSG msg;
            PeekMessageA(&msg, nullptr, 0, 0, PM_NOREMOVE | PM_QS_SENDMESSAGE);
        }
    }
}

// Longer than any pause before the keys; keeps the figure in an int.
constexpr double kMaxElapsedMs = 60000;

}  // namespace

void Win32Keyboard::Sleep(int ms) {
    if (ms > 0) {
        WaitAnsweringSentMessages(ms);
    }
}

void TargetInFrontSince::Mark() {
    since_ = NowMs();
}

int TargetInFrontSince::TakeElapsedMs() {
    const double elapsed = since_ < 0 ? 0 : NowMs() - since_;
    since_ = -1;
    return static_cast<int>(std::min(elapsed, kMaxElapsedMs));
}

void Win32Foreground::SetTargetForeground() {
    SetForegroundWindow(target_);
}

bool Win32Foreground::TargetIsForeground() {
    return GetForegroundWindow() == target_;
}

double Win32Foreground::NowMs() {
    return varnoke::NowMs();
}

void Win32Foreground::Sleep(int ms) {
    if (ms > 0) {
        WaitAnsweringSentMessages(ms);
    }
}

}  // namespace varnoke
