// Hot key to history search window on screen, against hot key to history menu on screen, in
// the same run: 300 entries of 65535 bytes, each showing closed with Escape before the next,
// and the same with 300 exact (UTF-16) entries of 65535 characters. The window lists every
// entry at once and folds the texts for comparison only afterwards, from a timer, so the
// full history costs it no more than it costs the menu.
// Then Enter in the window to the text in a target edit control, against the history menu's
// access key to the text there, over a small history.
#include <windows.h>

#include <cstdio>
#include <functional>
#include <string>
#include <vector>

#include "bench_process.h"
#include "framework/strings_win.h"
#include "framework/text_codec_win.h"
#include "history/exact_text_file.h"
#include "history/history_file_win.h"
#include "history/history_save.h"

namespace {

std::string SearchCaption() {
    const wchar_t* wide = L"\u5C65\u6B74\u306E\u691C\u7D22 - Varnoke";  // 履歴の検索 - Varnoke
    char ansi[64] = {};
    WideCharToMultiByte(CP_ACP, 0, wide, -1, ansi, sizeof(ansi), nullptr, nullptr);
    return ansi;
}

void Chord(BYTE key) {
    bench::Key(VK_CONTROL, false);
    bench::Key(VK_SHIFT, false);
    bench::Key(key, false);
    bench::Key(key, true);
    bench::Key(VK_SHIFT, true);
    bench::Key(VK_CONTROL, true);
}

// Milliseconds from the key press until `shown` finds the window, `showings` times; each is
// closed with Escape, and `shown` must find nothing before the next.
std::vector<double> ShowingTimes(const bench::Running& run, BYTE key, int showings,
                                 const std::function<bool()>& shown) {
    std::vector<double> times;
    for (int i = 0; i < showings; ++i) {
        Sleep(100);  // let the program settle after the last showing
        const double start = bench::NowMs();
        Chord(key);
        while (!shown() && bench::NowMs() - start < 10000) SwitchToThread();
        const double elapsed = bench::NowMs() - start;
        if (!shown()) {
            std::fprintf(stderr, "nothing came up for key %c\n", key);
            break;
        }
        times.push_back(elapsed);
        bench::Key(VK_ESCAPE, false);
        bench::Key(VK_ESCAPE, true);
        const double closing = bench::NowMs();
        while (shown() && bench::NowMs() - closing < 10000) Sleep(5);
    }
    return times;
}

// 300 entries of 65535 characters that code page 932 cannot hold whole, saved by the
// program's own save, so the program starts with them as exact texts.
bool WriteExactHistory(const std::string& path) {
    varnoke::ClipHistory history;
    for (int i = 0; i < 300; ++i) {
        std::u16string text =
            u"\U0001F4C5 " + std::u16string(1, static_cast<char16_t>(u'0' + i % 10));
        while (text.size() < 65535) {
            text += u"\u4F1A\u8B70\u306E\u8CC7\u6599 report ";
        }
        text.resize(65535);
        history.Append(varnoke::HistoryEntry(varnoke::AnsiCodec().ToAnsi(text), text));
    }
    varnoke::Win32HistoryFileSystem files;
    return varnoke::SaveHistoryData(path, history, files, &varnoke::IsAnsiLeadByte) ==
           varnoke::HistorySaveResult::kSaved;
}

// Whether the running program shows its history menu, or its search window.
struct Shown {
    Shown(const bench::Running& run, const std::string& caption) : caption(caption) {
        thread = GetWindowThreadProcessId(run.window, &pid);
    }
    bool Menu() const { return bench::VisibleMenuOf(thread) != nullptr; }
    bool Search() const {
        HWND window = bench::FindWindowOf(pid, caption.c_str());
        return window != nullptr && IsWindowVisible(window);
    }
    DWORD thread = 0;
    DWORD pid = 0;
    std::string caption;
};

// Hot key to window, against hot key to menu, alternating; the ratio of the medians.
double OpeningRatio(const std::string& folder, const std::string& caption, const char* what) {
    std::vector<double> menu, search;
    bench::Running run = bench::StartVarnoke(folder);
    if (run.window == nullptr) {
        std::fprintf(stderr, "Varnoke did not start\n");
        return 0;
    }
    const Shown shown(run, caption);
    auto menuShown = [&] { return shown.Menu(); };
    auto searchShown = [&] { return shown.Search(); };
    for (int round = 0; round < 3; ++round) {  // alternating, so drift hits both alike
        std::vector<double> m = ShowingTimes(run, 'C', 10, menuShown);
        std::vector<double> s = ShowingTimes(run, 'X', 10, searchShown);
        menu.insert(menu.end(), m.begin(), m.end());
        search.insert(search.end(), s.begin(), s.end());
    }
    bench::StopVarnoke(run);
    double mm = bench::Median(menu), ms = bench::Median(search);
    double ratio = mm > 0 ? ms / mm : 0;
    std::printf(
        "hot key to screen with %s, medians of %zu and %zu showings: search "
        "window %.2f ms, history menu %.2f ms, ratio %.2f (target <= 1.2, %s)\n",
        what, search.size(), menu.size(), ms, mm, ratio, bench::Verdict(ratio <= 1.2));
    return ratio;
}

// Milliseconds from `choose` (a key that picks the entry) until the text is in the edit
// control, after `open` brought up the menu or the window, found by `shown`.
double PasteTime(const std::function<void()>& open, const std::function<bool()>& shown,
                 BYTE choose) {
    bench::PasteTarget::Focus();
    open();
    if (!bench::PumpUntil(shown, 5000)) {
        return -1;
    }
    bench::PumpFor(100);  // as a user reads before choosing
    const double start = bench::NowMs();
    bench::Key(choose, false);
    bench::Key(choose, true);
    if (!bench::PumpUntil(bench::PasteTarget::Pasted, 5000)) {
        return -1;
    }
    const double elapsed = bench::NowMs() - start;
    bench::PumpUntil([&] { return !shown(); }, 5000);
    return elapsed;
}

void EnterAgainstMenuChoice(const std::string& folder, const std::string& caption) {
    bench::PasteTarget::Create("search paste target", WS_BORDER, 50, 50, 300, 120);
    bench::Running run = bench::StartVarnoke(folder);
    if (run.window == nullptr) {
        std::fprintf(stderr, "Varnoke did not start\n");
        return;
    }
    const Shown shown(run, caption);
    auto menuShown = [&] { return shown.Menu(); };
    auto searchShown = [&] { return shown.Search(); };
    std::vector<double> menu, search;
    for (int round = 0; round < 10; ++round) {
        const double m = PasteTime([] { Chord('C'); }, menuShown, '1');
        const double s = PasteTime([] { Chord('X'); }, searchShown, VK_RETURN);
        if (m >= 0)
            menu.push_back(m);
        if (s >= 0)
            search.push_back(s);
    }
    bench::StopVarnoke(run);
    bench::PasteTarget::Destroy();
    const double mm = bench::Median(menu), ms = bench::Median(search);
    const double ratio = mm > 0 ? ms / mm : 0;
    std::printf(
        "choice to pasted text, medians of %zu and %zu pastes: Enter in the search window "
        "%.1f ms, history menu's key %.1f ms, ratio %.2f (target <= 1.2, %s)\n",
        search.size(), menu.size(), ms, mm, ratio, bench::Verdict(ratio <= 1.2 && ms > 0));
}

}  // namespace

int main() {
    std::string folder = bench::ScratchFolder("search_window_bench_run");
    if (folder.empty())
        return 1;
    bench::RegistryValues registry;
    registry.Set("HistoryNum", 300);
    registry.Set("HistoryLen", 65535);
    registry.Set("HistoryDataSave", 1);
    registry.Set("Paused", 1);  // nothing on the clipboard changes the history
    std::string data = folder + "\\Varnoke.vnk";
    const std::string caption = SearchCaption();
    bench::WriteHistory(data, 300, 65535);
    OpeningRatio(folder, caption, "300 x 65535 bytes");
    if (!WriteExactHistory(data)) {
        std::fprintf(stderr, "the exact history could not be written\n");
        return 1;
    }
    OpeningRatio(folder, caption, "300 exact x 65535 characters");
    DeleteFileA(varnoke::MakeExactTextFileName(data).c_str());
    bench::WriteHistory(data, 5, 20);
    EnterAgainstMenuChoice(folder, caption);
    DeleteFileA(data.c_str());
    return 0;
}
