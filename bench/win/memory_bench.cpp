// Private bytes of a running Varnoke after it loaded 300 entries of 65535 bytes, against
// the same program with an empty history, started from a scratch folder beside this exe.
#include <windows.h>
#include <psapi.h>

#include <cstdint>
#include <cstdio>
#include <string>

#include "bench_process.h"

namespace {

// Starts the program from `folder`, measures its private bytes once idle, closes it.
SIZE_T PrivateBytesOfRun(const std::string& folder) {
    std::string exe = folder + "\\Varnoke.exe";
    std::string cmd = "\"" + exe + "\"";
    STARTUPINFOA si{};
    si.cb = sizeof(si);
    PROCESS_INFORMATION pi{};
    if (!CreateProcessA(exe.c_str(), &cmd[0], nullptr, nullptr, FALSE, 0, nullptr, folder.c_str(),
                        &si, &pi)) {
        return 0;
    }
    HWND window = nullptr;
    for (int i = 0;
         i < 3000 && (window = bench::FindWindowOf(pi.dwProcessId, "Varnoke")) == nullptr; ++i)
        Sleep(10);
    WaitForInputIdle(pi.hProcess, 30000);
    PROCESS_MEMORY_COUNTERS_EX counters{};
    counters.cb = sizeof(counters);
    GetProcessMemoryInfo(pi.hProcess, reinterpret_cast<PROCESS_MEMORY_COUNTERS*>(&counters),
                         sizeof(counters));
    if (window != nullptr)
        PostMessageA(window, WM_CLOSE, 0, 0);
    WaitForSingleObject(pi.hProcess, 30000);
    CloseHandle(pi.hProcess);
    CloseHandle(pi.hThread);
    // Wine leaves PrivateUsage at 0; PagefileUsage is the same commit charge on Windows.
    return counters.PrivateUsage != 0 ? counters.PrivateUsage : counters.PagefileUsage;
}

}  // namespace

int main() {
    std::string folder = bench::Folder() + "\\memory_bench_run";
    CreateDirectoryA(folder.c_str(), nullptr);
    if (!CopyFileA((bench::Folder() + "\\Varnoke.exe").c_str(), (folder + "\\Varnoke.exe").c_str(),
                   FALSE)) {
        std::fprintf(stderr, "cannot copy Varnoke.exe\n");
        return 1;
    }
    // The registry is shared with a real installation: only values this run needs.
    HKEY key = nullptr;
    RegCreateKeyExA(HKEY_CURRENT_USER, "Software\\Tolm\\Varnoke", 0, nullptr, 0, KEY_ALL_ACCESS,
                    nullptr, &key, nullptr);
    DWORD historyNum = 300, historyLen = 65535, save = 0;
    RegSetValueExA(key, "HistoryNum", 0, REG_DWORD, reinterpret_cast<BYTE*>(&historyNum), 4);
    RegSetValueExA(key, "HistoryLen", 0, REG_DWORD, reinterpret_cast<BYTE*>(&historyLen), 4);
    std::string data = folder + "\\Varnoke.vnk";
    bench::WriteHistory(data, 0, 0);
    SIZE_T empty = PrivateBytesOfRun(folder);
    const int entries = 300;
    const size_t size = 65535;
    bench::WriteHistory(data, entries, size);
    SIZE_T full = PrivateBytesOfRun(folder);
    double dataMb = entries * static_cast<double>(size) / (1024 * 1024);
    double extraMb = (static_cast<double>(full) - static_cast<double>(empty)) / (1024 * 1024);
    double allowedMb = 1.2 * dataMb + 4;
    std::printf(
        "private bytes: empty history %.1f MB, 300 x 65535 loaded %.1f MB; growth %.1f MB "
        "for %.1f MB of text (target <= 1.2 x data + 4 MB = %.1f MB)\n",
        empty / 1048576.0, full / 1048576.0, extraMb, dataMb, allowedMb);
    (void)save;
    RegDeleteValueA(key, "HistoryNum");
    RegDeleteValueA(key, "HistoryLen");
    RegCloseKey(key);
    DeleteFileA(data.c_str());
    return 0;
}
