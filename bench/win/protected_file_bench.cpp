// Saving and loading a full history (300 entries of 65535 bytes, a third of them with an
// exact text) as the program does, plain and protected for the user (CryptProtectData),
// through the program's own file code, in the same run. Prints the medians and the ratios
// protected / plain (target <= 2 for the save and for the load).
// Usage (under Wine or Windows): protected_file_bench [runs]
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "bench_process.h"
#include "framework/strings_win.h"
#include "framework/text_codec_win.h"
#include "history/data_protection_win.h"
#include "history/history_file_win.h"
#include "history/history_save.h"

namespace {

using namespace varnoke;

ClipHistory FullHistory() {
    ClipHistory history;
    for (int i = 0; i < 300; ++i) {
        std::string text(65535, static_cast<char>('a' + i % 26));
        text[0] = static_cast<char>('A' + i % 26);
        if (i % 3 == 0) {
            std::u16string exact(text.begin(), text.end());
            exact[1] = u'\u00E9';
            text[1] = 'e';
            history.Append(HistoryEntry(text, exact));
        } else {
            history.Append(HistoryEntry(text));
        }
    }
    return history;
}

struct Times {
    double save = 0;
    double load = 0;
};

Times RunOnce(const std::string& path, const ClipHistory& history, DataProtection* protection) {
    Win32HistoryFileSystem files;
    Win32DataProtection reader;
    Times times;
    double start = bench::NowMs();
    if (SaveHistoryData(path, history, files, &IsAnsiLeadByte, nullptr, nullptr, nullptr,
                        protection) != HistorySaveResult::kSaved) {
        std::fprintf(stderr, "the save failed\n");
        std::exit(1);
    }
    times.save = bench::NowMs() - start;
    ClipHistory loaded;
    start = bench::NowMs();
    HistoryLoadResult result =
        LoadHistoryData(path, loaded, 65535, files, &IsAnsiLeadByte, AnsiCodec(), &reader);
    times.load = bench::NowMs() - start;
    if (!result.ok || result.damaged || result.exactTextsDamaged ||
        loaded.entries() != history.entries() || result.protectedFile != (protection != nullptr)) {
        std::fprintf(stderr, "the load gave another history\n");
        std::exit(1);
    }
    return times;
}

}  // namespace

int main(int argc, char** argv) {
    const int runs = argc > 1 ? std::max(3, std::atoi(argv[1])) : 9;
    const std::string folder = bench::Folder() + "\\protected_file_bench_run";
    CreateDirectoryA(folder.c_str(), nullptr);
    const std::string plainPath = folder + "\\plain.vnk", protectedPath = folder + "\\sealed.vnk";
    const ClipHistory history = FullHistory();
    Win32DataProtection protection;
    RunOnce(plainPath, history, nullptr);  // warm the caches of both before measuring
    RunOnce(protectedPath, history, &protection);
    std::vector<double> saveP, loadP, saveS, loadS;
    for (int i = 0; i < runs; ++i) {  // interleaved, so drift hits both alike
        Times plain = RunOnce(plainPath, history, nullptr);
        saveP.push_back(plain.save);
        loadP.push_back(plain.load);
        Times sealed = RunOnce(protectedPath, history, &protection);
        saveS.push_back(sealed.save);
        loadS.push_back(sealed.load);
    }
    const double sp = bench::Median(saveP), ss = bench::Median(saveS);
    const double lp = bench::Median(loadP), ls = bench::Median(loadS);
    std::printf(
        "history file of 300 x 64 KB (100 exact texts), medians over %d runs: save plain %.1f ms, "
        "protected %.1f ms, ratio %.2f (target <= 2, %s); load plain %.1f ms, protected %.1f ms, "
        "ratio %.2f (target <= 2, %s)\n",
        runs, sp, ss, ss / sp, bench::Verdict(ss / sp <= 2.0), lp, ls, ls / lp,
        bench::Verdict(ls / lp <= 2.0));
    // Where the protected save's and load's time goes: the system's part alone.
    std::string plain;
    AppendHistoryFile(history, &plain);
    std::string back;
    std::vector<double> protects, unprotects;
    for (int i = 0; i < runs; ++i) {
        Win32DataProtection once, reader;  // a new key each time, as each save makes
        back = plain;
        double start = bench::NowMs();
        once.Protect(&back);
        protects.push_back(bench::NowMs() - start);
        start = bench::NowMs();
        reader.Unprotect(&back);
        unprotects.push_back(bench::NowMs() - start);
    }
    std::printf(
        "  the data protection alone, the %.1f MB data file in place, with a new key: "
        "protect %.1f ms, unprotect %.1f ms (%s)\n",
        plain.size() / 1048576.0, bench::Median(protects), bench::Median(unprotects),
        back == plain ? "read back whole" : "NOT read back");
    for (const std::string& path : {plainPath, protectedPath}) {
        DeleteFileA(path.c_str());
        DeleteFileA((path + ".exact").c_str());
    }
    RemoveDirectoryA(folder.c_str());
    return 0;
}
