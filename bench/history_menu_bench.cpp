// Building the full history menu (300 items, prefixes and labels) from 300 entries of
// 65535 bytes against 300 entries of 10 bytes. The label work depends on HistoryMenuLen,
// not on the entry length; 40-byte entries, cut to the same labels as the long ones,
// separate the two. The stale-choice snapshot, with the hashes the history keeps, is shown
// apart, against hashing every byte at each showing.

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <functional>
#include <string>
#include <vector>

#include "core/mbcs.h"
#include "core/settings.h"
#include "history/clip_history.h"
#include "history/shown_history.h"
#include "menus/history_menu_model.h"

#include "bench_timing.h"

namespace {

using varnoke::HistoryEntry;

constexpr int kEntries = 300;
constexpr int kRuns = 15;
constexpr int kBuildsPerRun = 100;

using bench::Median;
using bench::Seconds;

// Printable text with tabs, ampersands and double-byte characters sprinkled in.
std::vector<HistoryEntry> MakeEntries(size_t size) {
    std::vector<HistoryEntry> entries;
    uint32_t seed = 2024;
    for (int i = 0; i < kEntries; ++i) {
        std::string text(size, ' ');
        for (size_t pos = 0; pos < size; ++pos) {
            seed = seed * 1103515245u + 12345u;
            const uint32_t r = (seed >> 16) % 100;
            text[pos] = r == 0 ? '\t' : r == 1 ? '&' : static_cast<char>(0x21 + r % 0x5E);
            if (r == 2 && pos + 1 < size) {
                text[pos] = '\x93';
                text[++pos] = '\xFA';
            }
        }
        entries.emplace_back(std::move(text));
    }
    return entries;
}

varnoke::Settings MenuSettings() {
    varnoke::Settings settings;
    settings.historyNum = kEntries;
    settings.historyMenuLen = 30;
    settings.historyMenuBreak = 30;
    settings.historyAccessKey = 3;  // a prefix for every item
    return settings;
}

// Seconds per build, median of kRuns runs of kBuildsPerRun builds.
double BuildSeconds(const std::vector<HistoryEntry>& entries, size_t* labelBytes) {
    const varnoke::Settings settings = MenuSettings();
    std::vector<double> runs;
    for (int run = 0; run < kRuns; ++run) {
        runs.push_back(Seconds([&] {
            for (int i = 0; i < kBuildsPerRun; ++i) {
                auto items =
                    varnoke::BuildHistoryMenuItems(entries, settings, varnoke::IsCp932LeadByte);
                *labelBytes += items.back().label.ansiSize();
            }
        }));
    }
    return Median(runs) / kBuildsPerRun;
}

varnoke::ClipHistory MakeHistory(const std::vector<HistoryEntry>& entries) {
    varnoke::ClipHistory history;
    for (const HistoryEntry& text : entries) {
        history.Append(text);
    }
    return history;
}

// Seconds per showing: the stale-choice snapshot and the choice resolved against the
// history. With `capture`, a capture (one entry in, the oldest out) comes between showings,
// so one new text is hashed each time. Median of kRuns runs of kBuildsPerRun showings,
// after a first showing has hashed the texts once.
double SnapshotSeconds(const std::vector<HistoryEntry>& entries, bool capture) {
    varnoke::ClipHistory history = MakeHistory(entries);
    volatile int sink = varnoke::ShownHistory(history).size();
    std::vector<double> runs;
    for (int run = 0; run < kRuns; ++run) {
        runs.push_back(Seconds([&] {
            for (int i = 0; i < kBuildsPerRun; ++i) {
                if (capture) {
                    HistoryEntry text = history.Take(history.size() - 1);
                    text.ansi[0] = static_cast<char>(text.ansi[0] + 1);
                    history.InsertFront(std::move(text));
                }
                const varnoke::ShownHistory shown(history);
                sink = sink + *varnoke::ResolveChosenEntry(shown, history, i % 300);
            }
        }));
    }
    return Median(runs) / kBuildsPerRun;
}

// The same snapshot hashing every byte of every entry, as it did before the history kept
// its hashes.
double HashEverySeconds(const std::vector<HistoryEntry>& entries) {
    std::vector<double> runs;
    volatile int sink = 0;
    for (int run = 0; run < kRuns; ++run) {
        runs.push_back(Seconds([&] { sink = sink + varnoke::ShownHistory(entries).size(); }));
    }
    return Median(runs);
}

}  // namespace

int main() {
    const std::vector<HistoryEntry> large = MakeEntries(65535);
    const std::vector<HistoryEntry> small = MakeEntries(10);
    // Just long enough to be cut like the large ones: the same label work, tiny entries.
    const std::vector<HistoryEntry> cut = MakeEntries(40);
    size_t labelBytes = 0;
    const double largeBuild = BuildSeconds(large, &labelBytes);
    const double smallBuild = BuildSeconds(small, &labelBytes);
    const double cutBuild = BuildSeconds(cut, &labelBytes);
    const double ratio = largeBuild / smallBuild;
    std::printf("history menu of %d items (HistoryMenuLen 30), median of %d runs x %d builds\n",
                kEntries, kRuns, kBuildsPerRun);
    std::printf("  entries of 65535 bytes: %.1f us per build\n", largeBuild * 1e6);
    std::printf("  entries of    10 bytes: %.1f us per build (labels stay 10 bytes)\n",
                smallBuild * 1e6);
    std::printf("  entries of    40 bytes: %.1f us per build (labels cut to 30, as above)\n",
                cutBuild * 1e6);
    std::printf("  ratio 65535/10 bytes %.2f (target <= 1.5)%s\n", ratio,
                ratio <= 1.5 ? "" : ": over, see the 40-byte line");
    std::printf("  ratio 65535/40 bytes %.2f (same labels: entry length alone, ~1 expected)\n",
                largeBuild / cutBuild);
    const double largeShow = SnapshotSeconds(large, false);
    const double smallShow = SnapshotSeconds(small, false);
    const double largeCapture = SnapshotSeconds(large, true);
    const double smallCapture = SnapshotSeconds(small, true);
    std::printf(
        "stale-choice snapshot + choice, per showing: 300 x 65535 bytes %.2f us, 300 x 10 bytes "
        "%.2f us, ratio %.2f (target <= 1.2, %s)\n",
        largeShow * 1e6, smallShow * 1e6, largeShow / smallShow,
        largeShow / smallShow <= 1.2 ? "met" : "NOT met");
    std::printf(
        "  with a capture between showings (one new text hashed): %.2f us / %.2f us, ratio %.2f\n",
        largeCapture * 1e6, smallCapture * 1e6, largeCapture / smallCapture);
    std::printf("  hashing every byte at each showing instead: %.2f ms / %.2f us\n",
                HashEverySeconds(large) * 1e3, HashEverySeconds(small) * 1e6);
    return labelBytes > 0 ? 0 : 1;
}
