#pragma once
// A text in the ANSI code page and, only where that code page cannot hold it, its exact
// UTF-16 text beside it: a history entry, a line of a phrase file, a menu label, a tray
// tip. Whatever moves one moves both, so they never drift apart; only the framework's
// wrappers choose between the ANSI and the wide call that shows one.

#include <cstddef>
#include <string>
#include <utility>

namespace varnoke {

struct DualText {
    std::string ansi;      // the code page's bytes, without terminating zero
    std::u16string exact;  // the exact text; empty when `ansi` is exact

    DualText() = default;
    // A text the ANSI code page holds exactly. Explicit, so that a plain string never turns
    // into an entry unnoticed.
    explicit DualText(std::string ansiText) : ansi(std::move(ansiText)) {}
    explicit DualText(std::string ansiText, std::u16string exactText)
        : ansi(std::move(ansiText)), exact(std::move(exactText)) {}

    // Lengths and cuts (HistoryLen, the menu widths) count the code page's bytes.
    size_t ansiSize() const { return ansi.size(); }
    bool ansiEmpty() const { return ansi.empty(); }
    bool hasExact() const { return !exact.empty(); }

    // Two texts are the same when their exact texts are: "??" from one emoji is not "??"
    // from another.
    friend bool operator==(const DualText& a, const DualText& b) {
        return a.ansi == b.ansi && a.exact == b.exact;
    }
    friend bool operator!=(const DualText& a, const DualText& b) { return !(a == b); }
};

}  // namespace varnoke
