// A 10000-line short-text file nested up to the 500-menu cap: reading its bytes and
// building the menus, then showing the same unchanged file again, where only the labels
// with date/time tokens are rewritten, against building the menus anew.

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <functional>
#include <string>
#include <vector>

#include "core/mbcs.h"
#include "shorttext/short_text_file.h"
#include "shorttext/short_text_menu_model.h"

#include "bench_timing.h"
#include "support/cp932_codec.h"
#include "support/macro_samples.h"

namespace {

using namespace varnoke;

constexpr int kLines = 10000;
constexpr int kRuns = 15;
constexpr int kRefreshesPerRun = 200;
// One phrase in this many has a time token in its label, as in a file of mostly symbols
// and a few date lines.
constexpr int kTokenEvery = 100;

using bench::Median;
using bench::Seconds;

// CRLF text, tab-indented, in blocks of 240 lines that open 12 nested submenus and close
// them again, so that the 500-menu cap is reached in the last block. Between them: breaks,
// separators, comments, labelled phrases with double-byte characters and escapes, commands.
std::string MakeFile() {
    std::string file;
    int depth = 0;
    for (int i = 0; i < kLines; ++i) {
        const int inBlock = i % 240;
        file.append(static_cast<size_t>(depth), '\t');
        if (inBlock < 120 && inBlock % 10 == 0) {
            file += "[[Submenu " + std::to_string(i);
            ++depth;
        } else if (inBlock >= 120 && inBlock % 10 == 0) {
            file += "]]";
            --depth;
        } else if (i % 50 == 3) {
            file += "[=Break=]";
        } else if (i % 70 == 5) {
            file += "[=Separator=]";
        } else if (i % 90 == 7) {
            file += "[#comment line " + std::to_string(i);
        } else if (i % kTokenEvery == 9) {
            file += "[<\\0Y/\\0M/\\0d>]today \\H:\\0m";
        } else if (i % 5 == 1) {
            file += "[\"notepad.exe file" + std::to_string(i) + ".txt\"]edit " + std::to_string(i);
        } else {
            file += "[<\x81\x79phrase\x81\x7A number " + std::to_string(i) + "\\n>]\x95\x5C " +
                    std::to_string(i);
        }
        file += "\r\n";
    }
    return file;
}

}  // namespace

int main() {
    const std::string file = MakeFile();
    const MacroNames names = samples::Names();
    size_t sink = 0;

    const samples::Cp932Codec codec;
    std::vector<ShortTextString> lines;
    ShortTextMenuModel model;
    std::vector<double> parseAndBuild;
    for (int run = 0; run < kRuns; ++run) {
        parseAndBuild.push_back(Seconds([&] {
            lines = ParseShortTextLines(file, IsCp932LeadByte, codec);
            model =
                BuildShortTextMenus(lines, samples::June5(13, run), names, IsCp932LeadByte, codec);
        }));
        sink += model.menus.size();
    }
    size_t entries = 0;
    for (const ShortTextMenu& menu : model.menus) {
        entries += menu.entries.size();
    }
    std::printf(
        "short-text file of %zu bytes: %zu lines, %zu menus, %zu entries, %zu token labels\n",
        file.size(), lines.size(), model.menus.size(), entries, model.tokenLabels.size());
    const double firstShow = Median(parseAndBuild);
    std::printf("  read + build: %.2f ms (median of %d, target <= 20 ms)\n", firstShow * 1e3,
                kRuns);

    std::vector<double> rebuilds;
    std::vector<double> refreshes;
    for (int run = 0; run < kRuns; ++run) {
        rebuilds.push_back(Seconds([&] {
            model =
                BuildShortTextMenus(lines, samples::June5(13, run), names, IsCp932LeadByte, codec);
        }));
        refreshes.push_back(Seconds([&] {
                                for (int i = 0; i < kRefreshesPerRun; ++i) {
                                    sink += RefreshShortTextLabels(model, lines,
                                                                   samples::June5(13, i % 60),
                                                                   names, IsCp932LeadByte, codec);
                                }
                            }) /
                            kRefreshesPerRun);
    }
    const double rebuild = Median(rebuilds);
    const double refresh = Median(refreshes);
    std::printf(
        "  same file shown again: refresh %.1f us, rebuild %.2f ms, ratio %.0fx "
        "(target >= 10x)\n",
        refresh * 1e6, rebuild * 1e3, rebuild / refresh);
    return sink > 0 ? 0 : 1;
}
