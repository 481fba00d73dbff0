// Times Varnoke's start-up to its main window plus a clean exit, against a minimal
// Win32 program that creates one window and exits, and prints the median ratio.
// Usage (under Wine or Windows): startup_bench [runs]
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "bench_process.h"

namespace {

// Milliseconds from CreateProcess to the end of the process; for Varnoke, the main
// window is awaited and then closed with WM_CLOSE, as at a normal exit.
double RunOnce(const std::string& exe, bool closeMainWindow) {
    STARTUPINFOA si{};
    si.cb = sizeof(si);
    PROCESS_INFORMATION pi{};
    std::string cmd = "\"" + exe + "\"";
    double start = bench::NowMs();
    if (!CreateProcessA(exe.c_str(), &cmd[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si,
                        &pi)) {
        std::fprintf(stderr, "cannot start %s\n", exe.c_str());
        std::exit(1);
    }
    if (closeMainWindow) {
        HWND window = nullptr;
        while ((window = bench::FindWindowOf(pi.dwProcessId, "Varnoke")) == nullptr) {
            if (WaitForSingleObject(pi.hProcess, 1) == WAIT_OBJECT_0)
                break;
        }
        if (window != nullptr)
            PostMessageA(window, WM_CLOSE, 0, 0);
    }
    WaitForSingleObject(pi.hProcess, 30000);
    double elapsed = bench::NowMs() - start;
    CloseHandle(pi.hProcess);
    CloseHandle(pi.hThread);
    return elapsed;
}

double Median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

}  // namespace

int main(int argc, char** argv) {
    int runs = argc > 1 ? std::max(3, std::atoi(argv[1])) : 11;
    std::string folder = bench::Folder();
    std::string varnoke = folder + "\\Varnoke.exe";
    std::string baseline = folder + "\\min_window.exe";
    RunOnce(baseline, false);  // warm the caches of both before measuring
    RunOnce(varnoke, true);
    std::vector<double> a, b;
    for (int i = 0; i < runs; ++i) {  // interleaved, so drift hits both alike
        b.push_back(RunOnce(baseline, false));
        a.push_back(RunOnce(varnoke, true));
    }
    double ma = Median(a), mb = Median(b);
    std::printf(
        "startup+exit median over %d runs: Varnoke %.1f ms, minimal window %.1f ms, "
        "ratio %.2f (target <= 1.5)\n",
        runs, ma, mb, ma / mb);
    return 0;
}
