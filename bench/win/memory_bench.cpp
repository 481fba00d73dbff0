// Private bytes of a running Varnoke after it loaded 300 entries of 65535 bytes, against
// the same program with an empty history, started from a scratch folder beside this exe;
// then the same after 1,000 history menu showings and 1,000 captures at full history, so
// that nothing accumulates unseen.
#include <windows.h>
#include <psapi.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "bench_process.h"

namespace {

SIZE_T PrivateBytes(HANDLE process) {
    PROCESS_MEMORY_COUNTERS_EX counters{};
    counters.cb = sizeof(counters);
    GetProcessMemoryInfo(process, reinterpret_cast<PROCESS_MEMORY_COUNTERS*>(&counters),
                         sizeof(counters));
    // Wine leaves PrivateUsage at 0; PagefileUsage is the same commit charge on Windows.
    return counters.PrivateUsage != 0 ? counters.PrivateUsage : counters.PagefileUsage;
}

// Waits until the program has handled everything sent to it so far.
void Settle(HWND window) {
    DWORD_PTR result = 0;
    SendMessageTimeoutA(window, WM_NULL, 0, 0, SMTO_NORMAL, 10000, &result);
}

bool WaitMenu(DWORD thread, bool visible) {
    double start = bench::NowMs();
    while ((bench::VisibleMenuOf(thread) != nullptr) != visible) {
        if (bench::NowMs() - start > 5000)
            return false;
        Sleep(1);
    }
    return true;
}

// Shows the history menu by its hot key (Ctrl+Shift+C) and closes it with Escape.
int ShowMenus(const bench::Running& run, int times) {
    const DWORD thread = GetWindowThreadProcessId(run.window, nullptr);
    int shown = 0;
    for (int i = 0; i < times; ++i) {
        bench::Key(VK_CONTROL, false);
        bench::Key(VK_SHIFT, false);
        bench::Key('C', false);
        bench::Key('C', true);
        bench::Key(VK_SHIFT, true);
        bench::Key(VK_CONTROL, true);
        if (WaitMenu(thread, true))
            ++shown;
        bench::Key(VK_ESCAPE, false);
        bench::Key(VK_ESCAPE, true);
        WaitMenu(thread, false);
        Settle(run.window);
        Sleep(30);  // a hot key right after a dismissed menu is taken for the dismissal
    }
    return shown;
}

// Copies `times` texts of 65535 bytes that no entry holds yet.
int Copy(HWND owner, const bench::Running& run, int times) {
    int copied = 0;
    std::string text(65535, 'c');
    for (int i = 0; i < times; ++i) {
        std::snprintf(&text[0], 16, "copy %06d", i);
        text[11] = 'c';
        HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, text.size() + 1);
        char* bytes = static_cast<char*>(GlobalLock(memory));
        std::memcpy(bytes, text.c_str(), text.size() + 1);
        GlobalUnlock(memory);
        bool open = false;
        for (int tries = 0; tries < 500 && !(open = OpenClipboard(owner) != FALSE); ++tries)
            Sleep(2);
        if (!open) {
            GlobalFree(memory);
            continue;
        }
        EmptyClipboard();
        SetClipboardData(CF_TEXT, memory);
        CloseClipboard();
        Settle(run.window);
        ++copied;
    }
    return copied;
}

double Mb(double bytes) {
    return bytes / (1024 * 1024);
}

}  // namespace

int main(int argc, char** argv) {
    const int rounds = argc > 1 ? std::atoi(argv[1]) : 1000;
    std::string folder = bench::ScratchFolder("memory_bench_run");
    if (folder.empty())
        return 1;
    HWND owner = CreateWindowExA(0, "STATIC", "memory bench", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                                 GetModuleHandleA(nullptr), nullptr);
    bench::RegistryValues registry;
    registry.Set("HistoryNum", 300);
    registry.Set("HistoryLen", 65535);
    registry.Set("HistoryDataSave", 1);
    registry.Set("HistorySaveInterval", 60);  // the exit saves; nothing in between
    registry.Set("HistoryStopOverflow", 0);
    registry.Set("HistoryAnimation", 0);
    registry.Set("HistoryWave", 0);
    registry.Set("Paused", 0);
    registry.Set("HotKeyEnable00", 1);
    registry.Set("HotKeyCode00", 'C');
    registry.Set("HotKeyMod00", MOD_CONTROL | MOD_SHIFT);
    std::string data = folder + "\\Varnoke.vnk";

    bench::WriteHistory(data, 0, 0);
    bench::Running run = bench::StartVarnoke(folder);
    SIZE_T empty = PrivateBytes(run.process.hProcess);
    bench::StopVarnoke(run);

    const int entries = 300;
    const size_t size = 65535;
    bench::WriteHistory(data, entries, size);
    run = bench::StartVarnoke(folder);
    Settle(run.window);
    SIZE_T full = PrivateBytes(run.process.hProcess);
    int shown = ShowMenus(run, rounds);
    int copied = Copy(owner, run, rounds);
    Settle(run.window);
    Sleep(500);
    SIZE_T after = PrivateBytes(run.process.hProcess);
    bench::StopVarnoke(run);

    double dataMb = entries * static_cast<double>(size) / (1024 * 1024);
    double allowedMb = 1.05 * dataMb + 1;
    double growth = Mb(static_cast<double>(full) - static_cast<double>(empty));
    double growthAfter = Mb(static_cast<double>(after) - static_cast<double>(empty));
    std::printf(
        "private bytes: empty history %.1f MB, 300 x 65535 loaded %.1f MB; growth %.2f MB for "
        "%.2f MB of text (target <= 1.05 x data + 1 MB = %.2f MB, %s)\n",
        Mb(static_cast<double>(empty)), Mb(static_cast<double>(full)), growth, dataMb, allowedMb,
        bench::Verdict(growth <= allowedMb));
    std::printf(
        "  after %d menu showings and %d captures at full history: %.1f MB, growth %.2f MB "
        "(target %.2f MB, %s)\n",
        shown, copied, Mb(static_cast<double>(after)), growthAfter, allowedMb,
        bench::Verdict(growthAfter <= allowedMb));
    DeleteFileA(data.c_str());
    return 0;
}
