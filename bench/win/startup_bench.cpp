// Start-up of Varnoke with a history file of 300 x 10 KB, against a minimal Win32 program
// that creates one window and waits in its message loop, and against the same program adding
// a notification-area icon first (the floor of any tray program): from CreateProcess to the
// program waiting for input (start alone), and on to the end of the process after WM_CLOSE
// is posted to its window (start plus exit). Prints the medians and their ratios; and the
// start of Varnoke on the same history protected for the user (HistoryDataProtect), against
// the plain one.
// Usage (under Wine or Windows): startup_bench [runs]
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "bench_process.h"

namespace {

struct Times {
    double ready = 0;  // CreateProcess to waiting for input
    double total = 0;  // and on to the end of the process after WM_CLOSE
};

Times RunOnce(const std::string& exe, const std::string& args, const std::string& folder,
              const char* title) {
    STARTUPINFOA si{};
    si.cb = sizeof(si);
    PROCESS_INFORMATION pi{};
    std::string cmd = "\"" + exe + "\"" + args;
    Times times;
    double start = bench::NowMs();
    if (!CreateProcessA(exe.c_str(), &cmd[0], nullptr, nullptr, FALSE, 0, nullptr, folder.c_str(),
                        &si, &pi)) {
        std::fprintf(stderr, "cannot start %s\n", exe.c_str());
        std::exit(1);
    }
    WaitForInputIdle(pi.hProcess, 30000);
    times.ready = bench::NowMs() - start;
    HWND window = nullptr;
    while ((window = bench::FindWindowOf(pi.dwProcessId, title)) == nullptr) {
        if (WaitForSingleObject(pi.hProcess, 1) == WAIT_OBJECT_0)
            break;
    }
    if (window != nullptr)
        PostMessageA(window, WM_CLOSE, 0, 0);
    WaitForSingleObject(pi.hProcess, 30000);
    times.total = bench::NowMs() - start;
    CloseHandle(pi.hProcess);
    CloseHandle(pi.hThread);
    return times;
}

}  // namespace

int main(int argc, char** argv) {
    int runs = argc > 1 ? std::max(3, std::atoi(argv[1])) : 15;
    std::string folder = bench::ScratchFolder("startup_bench_run");
    if (folder.empty())
        return 1;
    bench::RegistryValues registry;
    registry.Set("HistoryNum", 300);
    registry.Set("HistoryLen", 65535);
    registry.Set("HistoryDataSave", 1);
    registry.Set("Paused", 0);
    std::string data = folder + "\\Varnoke.vnk";
    std::string varnoke = folder + "\\Varnoke.exe";
    std::string baseline = bench::Folder() + "\\min_window.exe";
    auto runVarnoke = [&] {
        bench::WriteHistory(data, 300, 10 * 1024);  // the exit saves it; start from the same
        return RunOnce(varnoke, "", folder, "Varnoke");
    };
    // The same history as the program protects it: written by its own exit, once.
    const std::string sealed = folder + "\\protected.vnk";
    registry.Set("HistoryDataProtect", 1);
    bench::WriteHistory(data, 300, 10 * 1024);
    RunOnce(varnoke, "", folder, "Varnoke");
    CopyFileA(data.c_str(), sealed.c_str(), FALSE);
    registry.Set("HistoryDataProtect", 0);
    auto runProtected = [&] {
        CopyFileA(sealed.c_str(), data.c_str(), FALSE);
        registry.Set("HistoryDataProtect", 1);
        Times times = RunOnce(varnoke, "", folder, "Varnoke");
        registry.Set("HistoryDataProtect", 0);
        return times;
    };
    auto runBaseline = [&] { return RunOnce(baseline, " wait", folder, "MinWindow"); };
    auto runTray = [&] { return RunOnce(baseline, " tray", folder, "MinWindow"); };
    runBaseline();  // warm the caches of all before measuring
    runTray();
    runVarnoke();
    runProtected();
    std::vector<double> readyA, totalA, readyB, totalB, readyT, readyP, totalP;
    for (int i = 0; i < runs; ++i) {  // interleaved, so drift hits all alike
        Times b = runBaseline();
        readyB.push_back(b.ready);
        totalB.push_back(b.total);
        readyT.push_back(runTray().ready);
        Times a = runVarnoke();
        readyA.push_back(a.ready);
        totalA.push_back(a.total);
        Times p = runProtected();
        readyP.push_back(p.ready);
        totalP.push_back(p.total);
    }
    double ra = bench::Median(readyA), rb = bench::Median(readyB);
    double ta = bench::Median(totalA), tb = bench::Median(totalB);
    double rt = bench::Median(readyT);
    std::printf(
        "start-up with 300 x 10 KB of history, medians over %d runs: to waiting for input: "
        "Varnoke %.1f ms, minimal tray program %.1f ms, ratio %.2f (target <= 1.10, %s); "
        "minimal window %.1f ms, ratio %.2f\n",
        runs, ra, rt, ra / rt, bench::Verdict(ra / rt <= 1.10), rb, ra / rb);
    std::printf(
        "  start + exit: Varnoke %.1f ms, minimal window %.1f ms, ratio %.2f (target <= 1.25, "
        "%s)\n",
        ta, tb, ta / tb, bench::Verdict(ta / tb <= 1.25));
    double rp = bench::Median(readyP), tp = bench::Median(totalP);
    std::printf(
        "  protected history: to waiting for input %.1f ms, ratio to the plain one %.2f (target "
        "<= 1.20, %s); start + exit %.1f ms, ratio %.2f (the exit writes a protected file "
        "again, a plain unchanged one not)\n",
        rp, rp / ra, bench::Verdict(rp / ra <= 1.20), tp, tp / ta);
    DeleteFileA(data.c_str());
    DeleteFileA(sealed.c_str());
    return 0;
}
