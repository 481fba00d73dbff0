// Opening the history editor window until its list holds every row, on a full history of
// 300 entries of 65535 bytes against 300 entries of 10 bytes. It runs the program's own
// RunHistoryEditor in this process, from the copy of the history that the main window
// hands it to the end of the dialog's initialization; rows show at most 500 bytes, so the
// long entries must cost little more than the short ones.
// Usage (under Wine or Windows): history_editor_bench [runs]
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "core/settings.h"
#include "dialogs/history_editor_win.h"
#include "res/resource.h"

#include "bench_process.h"

namespace {

constexpr int kEntries = 300;

double openedAt = 0;
int rowsAtOpening = 0;

// Runs after each message a window procedure of this thread has handled: the dialog's
// initialization is over, so the time is taken and the dialog is asked to close.
LRESULT CALLBACK AfterMessage(int code, WPARAM wParam, LPARAM lParam) {
    const auto* message = reinterpret_cast<const CWPRETSTRUCT*>(lParam);
    if (code == HC_ACTION && message->message == WM_INITDIALOG) {
        openedAt = bench::NowMs();
        rowsAtOpening = static_cast<int>(
            SendDlgItemMessageA(message->hwnd, IDC_HISTEDIT_LIST, LB_GETCOUNT, 0, 0));
        PostMessageA(message->hwnd, WM_COMMAND, IDCANCEL, 0);
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

std::vector<varnoke::HistoryEntry> History(size_t size) {
    std::vector<varnoke::HistoryEntry> history;
    for (int i = 0; i < kEntries; ++i) {
        history.emplace_back(std::string(size, 'm'));
        history.back().ansi[0] = static_cast<char>('A' + i % 26);
    }
    return history;
}

// Milliseconds from the copy of the history to the end of the dialog's initialization.
double OpenOnce(const std::vector<varnoke::HistoryEntry>& history, varnoke::Settings& settings) {
    rowsAtOpening = 0;
    const double start = bench::NowMs();
    // The main window hands the editor a copy, so that Cancel leaves the history untouched.
    varnoke::RunHistoryEditor(nullptr, history, settings);
    return rowsAtOpening == kEntries ? openedAt - start : -1;
}

double Median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

}  // namespace

int main(int argc, char** argv) {
    const int runs = argc > 1 ? std::max(3, std::atoi(argv[1])) : 41;
    HHOOK hook = SetWindowsHookExA(WH_CALLWNDPROCRET, &AfterMessage, nullptr, GetCurrentThreadId());
    const std::vector<varnoke::HistoryEntry> large = History(65535);
    const std::vector<varnoke::HistoryEntry> small = History(10);
    varnoke::Settings settings;
    OpenOnce(small, settings);  // warm-up: the template, the fonts and the list class
    OpenOnce(large, settings);
    std::vector<double> largeTimes, smallTimes;
    for (int i = 0; i < runs; ++i) {  // interleaved, so drift hits both alike
        smallTimes.push_back(OpenOnce(small, settings));
        largeTimes.push_back(OpenOnce(large, settings));
    }
    UnhookWindowsHookEx(hook);
    if (*std::min_element(smallTimes.begin(), smallTimes.end()) < 0 ||
        *std::min_element(largeTimes.begin(), largeTimes.end()) < 0) {
        std::fprintf(stderr, "the history editor did not open with every row\n");
        return 1;
    }
    const double ml = Median(largeTimes), ms = Median(smallTimes);
    std::printf(
        "history editor opening, median of %d: 300 x 65535 bytes %.2f ms, 300 x 10 bytes "
        "%.2f ms, ratio %.2f (target <= 1.5)\n",
        runs, ml, ms, ml / ms);
    return 0;
}
