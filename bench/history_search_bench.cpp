// One keystroke in the history search window over 300 entries of 65535 bytes of Japanese
// text (ASCII, kanji, kana, some half-width katakana): the list filtered again from the
// folded forms and its rows made (the refill), against a plain byte search (memmem) of the
// typed text's bytes over the entries' own bytes, in the same run: of every word, and for
// romaji of both the letters and the kana. The same again over 300 exact (UTF-16) entries of
// 65535 characters. The one-time folding is shown beside it.

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

// Each entry ends with `tail` a little before its end, for the query that matches late.
// `exact`: every entry starts with an emoji, so each has an exact text of 65535 units.
varnoke::ClipHistory MakeHistory(const std::u16string& tail, bool exact) {
    varnoke::ClipHistory history;
    uint32_t seed = 932;
    const size_t words = sizeof(kWords) / sizeof(kWords[0]);
    for (int i = 0; i < kEntries; ++i) {
        const std::string number = std::to_string(i) + " ";
        std::u16string text =
            std::u16string(exact ? u"📅" : u"") + std::u16string(number.begin(), number.end());
        while (text.size() < kEntryBytes / (exact ? 1 : 2) - 200) {
            seed = seed * 1103515245u + 12345u;
            text += kWords[(seed >> 16) % words];
        }
        text += tail;
        while (text.size() < kEntryBytes / (exact ? 1 : 2)) {
            seed = seed * 1103515245u + 12345u;
            text += kWords[(seed >> 16) % words];
        }
        if (exact) {
            text.resize(kEntryBytes);
            history.Append(varnoke::HistoryEntry(kCodec.ToAnsi(text), text));
        } else {
            history.Append(varnoke::HistoryEntry(
                varnoke::CutText(kCodec.ToAnsi(text), static_cast<int>(kEntryBytes), false,
                                 varnoke::IsCp932LeadByte)));
        }
    }
    return history;
}

// The bytes a plain search looks for: each word's, and for a romaji word its kana's too.
std::vector<std::string> Needles(const std::u16string& typed, bool exact) {
    std::vector<std::string> needles;
    const varnoke::SearchQuery query =
        varnoke::MakeSearchQuery(typed, kCodec, varnoke::AnsiFolding());
    for (const varnoke::SearchWord& word : query.words) {
        for (const std::u16string& form : {word.wide, word.kana}) {
            if (form.empty()) {
                continue;
            }
            needles.push_back(
                exact ? std::string(reinterpret_cast<const char*>(form.data()), form.size() * 2)
                      : kCodec.ToAnsi(form));
        }
    }
    return needles;
}

// Seconds for a byte search of every entry with every needle, each stopping at its first
// match as the filter does.
double MemmemSeconds(const varnoke::ClipHistory& history, const std::vector<std::string>& needles,
                     bool exact, int* hits) {
    std::vector<double> runs;
    for (int run = 0; run < kRuns; ++run) {
        int found = 0;
        runs.push_back(Seconds([&] {
            for (const varnoke::HistoryEntry& entry : history.entries()) {
                const void* bytes = exact ? static_cast<const void*>(entry.exact.data())
                                          : static_cast<const void*>(entry.ansi.data());
                const size_t size = exact ? entry.exact.size() * 2 : entry.ansi.size();
                for (const std::string& needle : needles) {
                    found += memmem(bytes, size, needle.data(), needle.size()) != nullptr;
                }
            }
        }));
        *hits = found;
    }
    return Median(runs);
}

// Rows a list of the window's default size shows, whose marks are made as they are drawn.
constexpr int kRowsDrawn = 20;

// The filter, then the refill as the window makes it: every row's text for the list, and
// the marks of the rows it draws.
double KeystrokeSeconds(varnoke::HistorySearchModel& model, const std::u16string& typed, int* rows,
                        double* refillSeconds) {
    std::vector<double> runs, refills;
    for (int run = 0; run < kRuns; ++run) {
        runs.push_back(Seconds([&] { model.SetQuery(typed); }));
        refills.push_back(Seconds([&] {
            for (int row = 0; row < model.rowCount(); ++row) {
                model.Row(row, row < kRowsDrawn);
            }
        }));
        *rows = model.rowCount();
    }
    *refillSeconds = Median(refills);
    return Median(runs);
}

struct Query {
    const char* what;
    std::u16string typed;
};

// Prints a line per query; false when one took more than twice the plain search.
bool RunQueries(const varnoke::ClipHistory& history, bool exact, const Query* queries, size_t count,
                double* foldSeconds, double* fullScan) {
    varnoke::HistorySearchModel model(kCodec, varnoke::AnsiFolding());
    model.SetHistory(history, true);
    *foldSeconds = Seconds([&] { model.FoldAhead(SIZE_MAX); });
    int hits = 0;
    *fullScan = MemmemSeconds(history, {"\x01\x02\x03\x04"}, exact, &hits);
    bool met = true;
    for (size_t i = 0; i < count; ++i) {
        int rows = 0;
        double refill = 0;
        const double find = KeystrokeSeconds(model, queries[i].typed, &rows, &refill);
        const double plain = MemmemSeconds(history, Needles(queries[i].typed, exact), exact, &hits);
        const double ratio = find / plain;
        met = met && ratio <= 2.0;
        std::printf(
            "  %-24s filter %6.2f ms (%3d rows)  memmem %6.2f ms (%3d hits)  ratio %.2f  "
            "refill %5.2f ms\n",
            queries[i].what, find * 1e3, rows, plain * 1e3, hits, ratio, refill * 1e3);
    }
    return met;
}

}  // namespace

int main() {
    const std::u16string late = u"\u7D0D\u54C1\u66F8";  // invoice
    const Query queries[] = {
        {"matches nowhere (whole scan)", u"\u8EE2\u8077\u6D3B\u52D5"},
        {"matches nowhere, ASCII", u"xyzzy"},
        {"matches late in every entry", late},
        {"typical word, early", u"\u4F1A\u8B70"},
        {"kana typed for katakana", u"\u3067\u30FC\u305F"},
        {"two words", u"\u8CC7\u6599 \u7D0D\u54C1\u66F8"},
        {"romaji, nowhere", u"tenshoku"},
        {"romaji for katakana", u"katakana"},
    };
    const size_t count = sizeof(queries) / sizeof(queries[0]);
    bool met = true;
    for (bool exact : {false, true}) {
        const varnoke::ClipHistory history = MakeHistory(late, exact);
        std::printf(
            "one keystroke over %d %s entries of %zu %s, refill included, median of %d "
            "runs\n",
            kEntries, exact ? "exact" : "ANSI", kEntryBytes, exact ? "UTF-16 units" : "bytes",
            kRuns);
        double foldSeconds = 0;
        double fullScan = 0;
        met = RunQueries(history, exact, queries, count, &foldSeconds, &fullScan) && met;
        std::printf(
            "  folding every entry once (while the window opens): %.1f ms, %.1f x a whole "
            "memmem scan (%.2f ms)\n",
            foldSeconds * 1e3, foldSeconds / fullScan, fullScan * 1e3);
    }
    std::printf("target: ratio <= 2 for every query: %s\n", met ? "met" : "NOT met");
    return met ? 0 : 1;
}
