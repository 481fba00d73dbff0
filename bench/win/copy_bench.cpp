// What a copying program waits for while Varnoke keeps a full history of 300 x 65535 bytes
// and saves it after every change (HistorySaveInterval 0): SetClipboardData + CloseClipboard
// timed in this program, against the same with Varnoke only capturing (no save) and with
// Varnoke paused (started with Paused 1, so it is not in the viewer chain), in the same run.
#include <windows.h>

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "bench_process.h"

namespace {

FILETIME LastWrite(const std::string& path) {
    WIN32_FILE_ATTRIBUTE_DATA data{};
    GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &data);
    return data.ftLastWriteTime;
}

bool SameTime(const FILETIME& a, const FILETIME& b) {
    return a.dwLowDateTime == b.dwLowDateTime && a.dwHighDateTime == b.dwHighDateTime;
}

// One copy of a 65535-byte text that no entry holds yet; the milliseconds spent in
// SetClipboardData + CloseClipboard, or a negative value when the clipboard stayed busy.
double TimedCopy(HWND owner, int serial) {
    const size_t size = 65535;
    HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, size + 1);
    char* bytes = static_cast<char*>(GlobalLock(memory));
    std::snprintf(bytes, size + 1, "copy %d ", serial);
    for (size_t i = std::strlen(bytes); i < size; ++i)
        bytes[i] = static_cast<char>('a' + (i + static_cast<size_t>(serial)) % 26);
    bytes[size] = '\0';
    GlobalUnlock(memory);
    bool open = false;
    for (int i = 0; i < 500 && !(open = OpenClipboard(owner) != FALSE); ++i) Sleep(2);
    if (!open) {
        GlobalFree(memory);
        return -1;
    }
    EmptyClipboard();
    double start = bench::NowMs();
    SetClipboardData(CF_TEXT, memory);
    CloseClipboard();
    return bench::NowMs() - start;
}

// Copies `copies` times into a Varnoke started from `folder`; between copies it waits for
// Varnoke to have taken the copy (and, when it saves, to have saved it), untimed.
std::vector<double> CopyTimes(HWND owner, const std::string& folder, bool saving, int copies,
                              int* serial) {
    std::vector<double> times;
    bench::Running run = bench::StartVarnoke(folder);
    if (run.window == nullptr) {
        std::fprintf(stderr, "Varnoke did not start\n");
        return times;
    }
    std::string data = folder + "\\Varnoke.vnk";
    for (int i = 0; i < copies; ++i) {
        FILETIME before = LastWrite(data);
        double ms = TimedCopy(owner, ++*serial);
        if (ms >= 0)
            times.push_back(ms);
        double start = bench::NowMs();
        while (saving && SameTime(before, LastWrite(data)) && bench::NowMs() - start < 10000)
            Sleep(5);
        DWORD_PTR result = 0;
        SendMessageTimeoutA(run.window, WM_NULL, 0, 0, SMTO_NORMAL, 10000, &result);
        Sleep(saving ? 20 : 100);
    }
    bench::StopVarnoke(run);
    return times;
}

}  // namespace

int main() {
    std::string folder = bench::ScratchFolder("copy_bench_run");
    if (folder.empty())
        return 1;
    HWND owner = CreateWindowExA(0, "STATIC", "copy bench", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                                 GetModuleHandleA(nullptr), nullptr);
    bench::RegistryValues registry;
    registry.Set("HistoryNum", 300);
    registry.Set("HistoryLen", 65535);
    registry.Set("HistoryDataSave", 1);
    registry.Set("HistoryAutoSave", 1);
    registry.Set("HistoryAnimation", 0);
    registry.Set("HistoryWave", 0);
    std::string data = folder + "\\Varnoke.vnk";
    const int copies = 10;
    int serial = 0;
    // Capturing without a save (interval 60 minutes) tells the notification's own cost
    // from the save's.
    std::vector<double> saving, capturing, paused;
    auto round = [&](std::vector<double>* times, DWORD isPaused, DWORD interval) {
        bench::WriteHistory(data, 300, 65535);
        registry.Set("Paused", isPaused);
        registry.Set("HistorySaveInterval", interval);
        std::vector<double> t =
            CopyTimes(owner, folder, !isPaused && interval == 0, copies, &serial);
        times->insert(times->end(), t.begin(), t.end());
    };
    for (int i = 0; i < 3; ++i) {  // alternating, so drift hits all alike
        round(&saving, 0, 0);
        round(&paused, 1, 0);
        round(&capturing, 0, 60);
    }
    double ms = bench::Median(saving), mp = bench::Median(paused), mc = bench::Median(capturing);
    double ratio = mp > 0 ? ms / mp : 0;
    // What the save adds to a copy, measured against a Varnoke that only captures.
    double overCapturing = mc > 0 ? ms / mc : 0;
    std::printf(
        "copy (SetClipboardData + CloseClipboard, 65535 bytes), medians of %zu: Varnoke saving "
        "300 x 65535 after every change %.3f ms, capturing without saving %.3f ms, paused "
        "%.3f ms; saving / capturing %.2f (target <= 1.1, %s), saving / paused %.2f (target "
        "<= 1.2, %s), capturing / paused %.2f\n",
        saving.size(), ms, mc, mp, overCapturing, bench::Verdict(overCapturing <= 1.1), ratio,
        bench::Verdict(ratio <= 1.2), mp > 0 ? mc / mp : 0);
    DeleteFileA(data.c_str());
    return 0;
}
