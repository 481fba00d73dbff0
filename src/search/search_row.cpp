#include "search/search_row.h"

#include <algorithm>

#include "core/text.h"
#include "history/exact_text.h"
#include "search/byte_search.h"
#include "search/romaji.h"

namespace varnoke {

namespace {

constexpr size_t kMaxMarksPerRow = 32;
constexpr char kCutMark[] = "...";

std::optional<FoldedMatch> Earlier(std::optional<FoldedMatch> a, std::optional<FoldedMatch> b) {
    if (!a || (b && b->offset < a->offset)) {
        return b;
    }
    return a;
}

std::optional<FoldedMatch> Find(std::string_view haystack, std::string_view needle,
                                LeadByteTest isLeadByte) {
    const size_t at = FindFoldedAnsi(haystack, needle, isLeadByte);
    return at == std::string_view::npos ? std::nullopt
                                        : std::optional<FoldedMatch>({at, needle.size()});
}

std::optional<FoldedMatch> Find(std::u16string_view haystack, std::u16string_view needle) {
    const size_t at = FindFoldedWide(haystack, needle);
    return at == std::u16string_view::npos ? std::nullopt
                                           : std::optional<FoldedMatch>({at, needle.size()});
}

// The forms a word is looked for in: as typed, and as the kana it spells.
std::vector<std::string_view> AnsiNeedles(const SearchWord& word) {
    std::vector<std::string_view> needles;
    if (word.ansiUsable) {
        needles.push_back(word.ansi);
    }
    if (!word.kanaAnsi.empty()) {
        needles.push_back(word.kanaAnsi);
    }
    return needles;
}

std::vector<std::u16string_view> WideNeedles(const SearchWord& word) {
    std::vector<std::u16string_view> needles{word.wide};
    if (!word.kana.empty()) {
        needles.push_back(word.kana);
    }
    return needles;
}

size_t OriginalOffset(std::string_view text, size_t folded, const AnsiFolding& folding) {
    return OriginalOffsetOfFoldedAnsi(text, folded, folding);
}
size_t OriginalOffset(std::u16string_view text, size_t folded, const AnsiFolding&) {
    return OriginalOffsetOfFoldedWide(text, folded);
}

// The line of `text` that holds offset `at`, without its line end.
template <typename Char>
void LineAround(std::basic_string_view<Char> text, size_t at, size_t* begin, size_t* end) {
    const size_t before = at == 0 ? std::basic_string_view<Char>::npos : text.rfind('\n', at - 1);
    *begin = before == std::basic_string_view<Char>::npos ? 0 : before + 1;
    const size_t after = text.find('\n', at);
    *end = after == std::basic_string_view<Char>::npos ? text.size() : after;
    if (*end > *begin && text[*end - 1] == '\r') {
        --*end;
    }
}

// Where a long line is cut open before the match: a character boundary, found by scanning
// from the line's start, which is one.
size_t StartBefore(std::string_view text, size_t lineStart, size_t at, LeadByteTest isLeadByte) {
    const size_t from = at - kSearchRowContextBytes;
    size_t i = lineStart;
    while (i < from) {
        i += isLeadByte(static_cast<unsigned char>(text[i])) && i + 1 < text.size() ? 2 : 1;
    }
    return i;
}
size_t StartBefore(std::u16string_view text, size_t, size_t at, LeadByteTest) {
    size_t i = at - kSearchRowContextBytes;
    return text[i] >= 0xDC00 && text[i] <= 0xDFFF ? i + 1 : i;
}

std::string CutPiece(std::string_view piece, size_t bytes, const TextCodec&,
                     LeadByteTest isLeadByte) {
    return CutText(piece, static_cast<int>(bytes), false, isLeadByte);
}
std::u16string CutPiece(std::u16string_view piece, size_t bytes, const TextCodec& codec,
                        LeadByteTest) {
    return std::u16string(CutExactText(piece, bytes, codec));
}

std::basic_string<char> Fold(std::string_view text, const AnsiFolding& folding) {
    return FoldAnsiForSearch(text, folding);
}
std::u16string Fold(std::u16string_view text, const AnsiFolding&) {
    return FoldWideForSearch(text);
}

// The stretches of `piece` that hold a word, in offsets of `piece`, sorted and joined where
// they touch.
template <typename Char, typename Needles>
std::vector<RowMark> MarksIn(std::basic_string_view<Char> piece, const SearchQuery& query,
                             Needles needlesOf, const AnsiFolding& folding) {
    const std::basic_string<Char> folded = Fold(piece, folding);
    std::vector<RowMark> marks;
    for (const SearchWord& word : query.words) {
        for (auto needle : needlesOf(word)) {
            if (needle.empty()) {
                continue;
            }
            size_t from = 0;
            while (marks.size() < kMaxMarksPerRow) {
                const std::optional<FoldedMatch> match = [&] {
                    if constexpr (sizeof(Char) == 1) {
                        return Find(std::string_view(folded).substr(from), needle,
                                    folding.isLeadByte);
                    } else {
                        return Find(std::u16string_view(folded).substr(from), needle);
                    }
                }();
                if (!match) {
                    break;
                }
                const size_t start = OriginalOffset(piece, from + match->offset, folding);
                const size_t end =
                    OriginalOffset(piece, from + match->offset + match->length, folding);
                marks.push_back({start, end - start});
                from += match->offset + match->length;
            }
        }
    }
    std::sort(marks.begin(), marks.end(),
              [](const RowMark& a, const RowMark& b) { return a.start < b.start; });
    std::vector<RowMark> joined;
    for (const RowMark& mark : marks) {
        if (!joined.empty() && mark.start <= joined.back().start + joined.back().length) {
            const size_t end =
                std::max(joined.back().start + joined.back().length, mark.start + mark.length);
            joined.back().length = end - joined.back().start;
        } else {
            joined.push_back(mark);
        }
    }
    return joined;
}

// The piece of `text` a row shows: the whole text for an empty query (the row then cuts
// it), else the line of the first word's match, opened before the match when it is long.
template <typename Char>
void PieceOf(std::basic_string_view<Char> text, std::basic_string_view<Char> folded,
             const SearchQuery& query, const AnsiFolding& folding, size_t* begin, size_t* end,
             bool* cutStart) {
    *begin = 0;
    *end = text.size();
    *cutStart = false;
    if (query.empty()) {
        return;
    }
    std::optional<FoldedMatch> match;
    if constexpr (sizeof(Char) == 1) {
        match = FindWord(folded, query.words[0], folding.isLeadByte);
    } else {
        match = FindWord(folded, query.words[0]);
    }
    if (!match) {
        return;
    }
    // Folding keeps every line end, so the match's line is found by counting them, and only
    // that line is walked back to its own characters: a match late in a 64 K entry costs a
    // count, not a walk through every character before it.
    const size_t foldedLine =
        match->offset == 0 ? 0 : folded.rfind('\n', match->offset - 1) + 1;  // npos + 1 is 0
    const size_t lineEnds = static_cast<size_t>(
        std::count(folded.begin(), folded.begin() + static_cast<std::ptrdiff_t>(foldedLine), '\n'));
    size_t line = 0;
    for (size_t i = 0; i < lineEnds; ++i) {
        line = text.find('\n', line) + 1;
    }
    const size_t at = line + OriginalOffset(text.substr(line), match->offset - foldedLine, folding);
    LineAround(text, at, begin, end);
    if (*end - *begin > kSearchRowBytes && at - *begin > kSearchRowContextBytes) {
        *begin = StartBefore(text, *begin, at, folding.isLeadByte);
        *cutStart = true;
    }
}

}  // namespace

SearchQuery MakeSearchQuery(std::u16string_view typed, const TextCodec& codec,
                            const AnsiFolding& folding) {
    SearchQuery query;
    size_t start = 0;
    while (start <= typed.size()) {
        size_t end = typed.find_first_of(u" \t\u3000", start);
        if (end == std::u16string_view::npos) {
            end = typed.size();
        }
        if (end > start) {
            const std::u16string_view typedWord = typed.substr(start, end - start);
            SearchWord word;
            word.wide = FoldWideForSearch(typedWord);
            // Folded first: a typed letter the code page lacks may fold to one it has. A fold
            // the code page lacks ("—" to "―" in code page 1252) leaves the word as typed.
            std::string ansi;
            word.ansiUsable = codec.ToAnsiWithoutLoss(word.wide, &ansi) ||
                              codec.ToAnsiWithoutLoss(typedWord, &ansi);
            if (word.ansiUsable) {
                word.ansi = FoldAnsiForSearch(ansi, folding);
            }
            // One letter is the start of a word being typed, not a syllable.
            if (word.wide.size() > 1) {
                word.kana = RomajiToKana(word.wide);
            }
            std::string kana;
            if (!word.kana.empty() && codec.ToAnsiWithoutLoss(word.kana, &kana)) {
                word.kanaAnsi = FoldAnsiForSearch(kana, folding);
            }
            query.words.push_back(std::move(word));
        }
        start = end + 1;
    }
    return query;
}

// Without the needle lists: this runs for every entry at every keystroke.
std::optional<FoldedMatch> FindWord(std::string_view foldedAnsi, const SearchWord& word,
                                    LeadByteTest isLeadByte) {
    std::optional<FoldedMatch> first;
    if (word.ansiUsable) {
        first = Find(foldedAnsi, word.ansi, isLeadByte);
    }
    if (!word.kanaAnsi.empty()) {
        first = Earlier(first, Find(foldedAnsi, word.kanaAnsi, isLeadByte));
    }
    return first;
}

std::optional<FoldedMatch> FindWord(std::u16string_view foldedWide, const SearchWord& word) {
    std::optional<FoldedMatch> first = Find(foldedWide, word.wide);
    if (!word.kana.empty()) {
        first = Earlier(first, Find(foldedWide, word.kana));
    }
    return first;
}

bool HoldsEveryWord(std::string_view foldedAnsi, const SearchQuery& query,
                    LeadByteTest isLeadByte) {
    return std::all_of(query.words.begin(), query.words.end(), [&](const SearchWord& word) {
        return FindWord(foldedAnsi, word, isLeadByte).has_value();
    });
}

bool HoldsEveryWord(std::u16string_view foldedWide, const SearchQuery& query) {
    return std::all_of(query.words.begin(), query.words.end(), [&](const SearchWord& word) {
        return FindWord(foldedWide, word).has_value();
    });
}

SearchRow MakeSearchRow(const std::string& prefix, const DualText& text,
                        std::u16string_view foldedWide, std::string_view foldedAnsi,
                        const SearchQuery& query, const TextCodec& codec,
                        const AnsiFolding& folding, bool marked) {
    SearchRow row;
    row.marked = marked;
    const std::u16string widePrefix(prefix.begin(), prefix.end());
    size_t begin = 0;
    size_t end = 0;
    bool cutStart = false;
    if (text.hasExact()) {
        const std::u16string_view whole = text.exact;
        PieceOf(whole, foldedWide, query, folding, &begin, &end, &cutStart);
        const size_t bytes = kSearchRowBytes - (cutStart ? sizeof(kCutMark) - 1 : 0);
        const std::u16string piece =
            CutPiece(whole.substr(begin, end - begin), bytes, codec, folding.isLeadByte);
        const std::u16string lead = widePrefix + (cutStart ? u"..." : u"");
        row.wide = lead + piece;
        if (query.empty()) {
            // The history editor's row, byte for byte.
            row.text = DualText(prefix + CutText(text.ansi, static_cast<int>(kSearchRowBytes),
                                                 false, folding.isLeadByte),
                                row.wide);
        } else {
            // The list shows the wide form; the ANSI one is what a reader of the list in that
            // form gets.
            row.text = DualText(codec.ToClipboardAnsi(row.wide), row.wide);
            if (marked) {
                row.marks = MarksIn(std::u16string_view(piece), query, WideNeedles, folding);
            }
            for (RowMark& mark : row.marks) {
                mark.start += lead.size();
            }
        }
        return row;
    }
    const std::string_view whole = text.ansi;
    PieceOf(whole, foldedAnsi, query, folding, &begin, &end, &cutStart);
    const size_t bytes = kSearchRowBytes - (cutStart ? sizeof(kCutMark) - 1 : 0);
    const std::string piece =
        CutPiece(whole.substr(begin, end - begin), bytes, codec, folding.isLeadByte);
    const std::string lead = prefix + (cutStart ? kCutMark : "");
    row.text = DualText(lead + piece);
    if (!marked) {
        return row;  // the list converts the text itself; the shown form waits for drawing
    }
    row.wide = codec.ToWide(row.text.ansi);
    if (!query.empty()) {
        // Counted in the units of the row as shown.
        for (const RowMark& mark : MarksIn(std::string_view(piece), query, AnsiNeedles, folding)) {
            const size_t start = codec.ToWide(lead + piece.substr(0, mark.start)).size();
            const size_t length = codec.ToWide(piece.substr(mark.start, mark.length)).size();
            row.marks.push_back({start, length});
        }
    }
    return row;
}

}  // namespace varnoke
