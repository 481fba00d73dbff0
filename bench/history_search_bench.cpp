// One keystroke in the history search window over 300 entries of 65535 bytes of Japanese
// text (ASCII, kanji, kana, some half-width katakana): the list filtered again from the
// folded forms, against a plain byte search (memmem) of the typed text's ANSI bytes over
// the entries' own bytes, in the same run. The one-time folding is shown beside it.

#include <string.h>

#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

#include "core/mbcs.h"
#include "core/text.h"
#include "history/clip_history.h"
#include "search/history_search.h"

#include "bench_timing.h"
#include "support/cp932_codec.h"

namespace {

using bench::Median;
using bench::Seconds;

constexpr int kEntries = 300;
constexpr size_t kEntryBytes = 65535;
constexpr int kRuns = 15;

const varnoke::samples::Cp932Codec kCodec;

// Words of office mail and notes; none of them holds the queries that match nowhere.
const char16_t* const kWords[] = {
    u"\u4F1A\u8B70",  // meeting
    u"\u306E",
    u"\u3092",
    u"\u306F",
    u"\u304C",
    u"\u3067\u3059\u3002",
    u"\u307E\u3059\u3001",
    u"\u304A\u9858\u3044\u3057\u307E\u3059",  // please
    u"\u6771\u4EAC",                          // Tokyo
    u"\u8CC7\u6599",                          // documents
    u"\u4E88\u5B9A",                          // schedule
    u"\u78BA\u8A8D",                          // check
    u"\u30D7\u30ED\u30B8\u30A7\u30AF\u30C8",  // project
    u"\u30E1\u30FC\u30EB",                    // mail
    u"\u30B5\u30FC\u30D0\u30FC",              // server
    u"\uFF83\uFF9E\uFF70\uFF80",              // data, half-width
    u"\uFF76\uFF80\uFF76\uFF85",              // katakana, half-width
    u"\u300C\u6848\u4EF6\u300D",              // "matter"
    u"\uFF37\uFF49\uFF4E\uFF44\uFF4F\uFF57\uFF53",
    u"report ",
    u"2024/05/01 ",
    u"error: ",
    u"http://example.com/index.html ",
    u"\r\n",
    u"  ",
};

std::vector<std::string> MakeWords() {
    std::vector<std::string> words;
    for (const char16_t* word : kWords) {
        words.push_back(kCodec.ToAnsi(word));
    }
    return words;
}

// Each entry ends with `tail` a little before its end, for the query that matches late.
varnoke::ClipHistory MakeHistory(const std::string& tail) {
    const std::vector<std::string> words = MakeWords();
    varnoke::ClipHistory history;
    uint32_t seed = 932;
    for (int i = 0; i < kEntries; ++i) {
        std::string text = std::to_string(i) + " ";
        while (text.size() < kEntryBytes - 200) {
            seed = seed * 1103515245u + 12345u;
            text += words[(seed >> 16) % words.size()];
        }
        text += tail;
        while (text.size() < kEntryBytes) {
            seed = seed * 1103515245u + 12345u;
            text += words[(seed >> 16) % words.size()];
        }
        history.Append(varnoke::HistoryEntry(varnoke::CutText(text, static_cast<int>(kEntryBytes),
                                                              false, varnoke::IsCp932LeadByte)));
    }
    return history;
}

// Seconds for a byte search of every entry, stopping at the first match as the filter does.
double MemmemSeconds(const varnoke::ClipHistory& history, const std::string& needle, int* hits) {
    std::vector<double> runs;
    for (int run = 0; run < kRuns; ++run) {
        int found = 0;
        runs.push_back(Seconds([&] {
            for (const varnoke::HistoryEntry& entry : history.entries()) {
                found += memmem(entry.ansi.data(), entry.ansi.size(), needle.data(),
                                needle.size()) != nullptr;
            }
        }));
        *hits = found;
    }
    return Median(runs);
}

double KeystrokeSeconds(varnoke::HistorySearchModel& model, const std::u16string& typed,
                        int* rows) {
    std::vector<double> runs;
    for (int run = 0; run < kRuns; ++run) {
        runs.push_back(Seconds([&] { model.SetQuery(typed); }));
        *rows = model.rowCount();
    }
    return Median(runs);
}

}  // namespace

int main() {
    const std::u16string late = u"\u7D0D\u54C1\u66F8";  // invoice
    const varnoke::ClipHistory history = MakeHistory(kCodec.ToAnsi(late));
    struct Query {
        const char* what;
        std::u16string typed;
    };
    const Query queries[] = {
        {"matches nowhere (whole scan)", u"\u8EE2\u8077\u6D3B\u52D5"},
        {"matches nowhere, ASCII", u"xyzzy"},
        {"matches late in every entry", late},
        {"typical word, early", u"\u4F1A\u8B70"},
        {"kana typed for katakana", u"\u3067\u30FC\u305F"},
    };

    varnoke::HistorySearchModel model(kCodec, varnoke::AnsiFolding());
    // The history hashes its entries once for every showing of a menu; apart here.
    const double hashSeconds = Seconds([&] { model.SetHistory(history, true); });
    const double foldSeconds = Seconds([&] { model.FoldAhead(SIZE_MAX); });
    int hits = 0;
    const double fullScan = MemmemSeconds(history, "\x01\x02\x03", &hits);

    std::printf("one keystroke over %d entries of %zu bytes, median of %d runs\n", kEntries,
                kEntryBytes, kRuns);
    bool met = true;
    for (const Query& query : queries) {
        int rows = 0;
        const double find = KeystrokeSeconds(model, query.typed, &rows);
        const double plain = MemmemSeconds(history, kCodec.ToAnsi(query.typed), &hits);
        const double ratio = find / plain;
        met = met && ratio <= 2.0;
        std::printf("  %-30s filter %7.2f ms (%3d rows)  memmem %7.2f ms (%3d hits)  ratio %.2f\n",
                    query.what, find * 1e3, rows, plain * 1e3, hits, ratio);
    }
    std::printf("  target: ratio <= 2 for every query: %s\n", met ? "met" : "NOT met");
    std::printf(
        "folding every entry once (while the window opens): %.1f ms, %.1f x a whole "
        "memmem scan (%.2f ms); hashing the entries before: %.1f ms\n",
        foldSeconds * 1e3, foldSeconds / fullScan, fullScan * 1e3, hashSeconds * 1e3);
    return met ? 0 : 1;
}
