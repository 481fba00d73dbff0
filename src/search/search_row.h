#pragma once
// One row of the search window's list: the line of a text where the query matches, cut
// around the match, with every typed word marked in it, so that a 40-line entry shows the
// line the user was looking for rather than its first line.

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/dual_text.h"
#include "core/text_codec.h"
#include "core/text_mark.h"
#include "search/search_fold.h"

namespace varnoke {

// One word of the query, folded for both kinds of texts, and the katakana it spells when it
// was typed in romaji, so that "kaigi" also finds カイギ.
struct SearchWord {
    std::u16string wide;
    std::string ansi;
    bool ansiUsable = false;  // a word the code page cannot hold is only in exact texts
    std::u16string kana;      // empty when the word is not romaji
    std::string kanaAnsi;     // empty when the kana are not usable in the code page
};

// What the user typed: the words between spaces (half or full width), every one of which
// a text must hold, in any order.
struct SearchQuery {
    std::vector<SearchWord> words;
    bool empty() const { return words.empty(); }
};
SearchQuery MakeSearchQuery(std::u16string_view typed, const TextCodec& codec,
                            const AnsiFolding& folding);

// Where a word first matches a folded text, by any of its forms.
struct FoldedMatch {
    size_t offset = 0;
    size_t length = 0;
};
std::optional<FoldedMatch> FindWord(std::string_view foldedAnsi, const SearchWord& word,
                                    LeadByteTest isLeadByte);
std::optional<FoldedMatch> FindWord(std::u16string_view foldedWide, const SearchWord& word);
// Whether the folded text holds every word.
bool HoldsEveryWord(std::string_view foldedAnsi, const SearchQuery& query, LeadByteTest isLeadByte);
bool HoldsEveryWord(std::u16string_view foldedWide, const SearchQuery& query);

// A marked stretch of a row, in UTF-16 units of its wide text.
using RowMark = TextMark;

struct SearchRow {
    DualText text;        // for the list box, as ListBox::AddRow takes it
    std::u16string wide;  // what the row shows, which the marks count in
    std::vector<RowMark> marks;
    bool marked = false;  // whether `wide` and the marks were made
};

// Bytes of a row's text, as in the history editor.
constexpr size_t kSearchRowBytes = 500;
// Of the line before a match cut out of a long line, so the match is seen in its context.
constexpr size_t kSearchRowContextBytes = 40;

// The row of `text` (an entry or a phrase) after `prefix` ("12\t"): with an empty query,
// its first kSearchRowBytes, as the history editor shows it; otherwise the line where the
// first word first matches, cut around the match ("..." where the line's start was cut
// off). `folded` is the text's folded form: of its exact text when it has one, else of its
// ANSI text. The marks, which cost more than the text, only when `marked`: a list needs
// every row's text, but only the marks of the rows it draws.
SearchRow MakeSearchRow(const std::string& prefix, const DualText& text,
                        std::u16string_view foldedWide, std::string_view foldedAnsi,
                        const SearchQuery& query, const TextCodec& codec,
                        const AnsiFolding& folding, bool marked = true);

}  // namespace varnoke
