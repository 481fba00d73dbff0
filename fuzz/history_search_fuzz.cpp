// Folds arbitrary bytes as a code page 932 text and as UTF-16, and searches one part of the
// input in the rest. Checks that folding a folded text changes nothing, that both foldings
// of one text agree, that a match is where a walk over the characters finds it first, that
// the text before a match's original offset folds to the folded text up to the match, and
// that romaji read as kana is folded kana.

#include <cstddef>
#include <cstdint>
#include <algorithm>
#include <cstdlib>
#include <string>

#include "search/byte_search.h"
#include "search/romaji.h"
#include "search/search_fold.h"
#include "support/cp932_codec.h"
#include "support/find_by_walking.h"

namespace {

using namespace varnoke;

using samples::FindByWalking;

size_t FindWideByWalking(std::u16string_view hay, std::u16string_view needle) {
    const bool lowHalf = !needle.empty() && needle[0] >= 0xDC00 && needle[0] <= 0xDFFF;
    for (size_t at = 0; at + needle.size() <= hay.size(); ++at) {
        const bool splits = lowHalf && at > 0 && hay[at - 1] >= 0xD800 && hay[at - 1] <= 0xDBFF;
        if (!splits && hay.substr(at, needle.size()) == needle) {
            return at;
        }
    }
    return std::u16string_view::npos;
}

void Check(bool ok) {
    if (!ok) {
        std::abort();
    }
}

// The original text up to the offset of folded offset `at` folds to the folded text's first
// `at` units or, when a character that folds longer straddles `at`, a little more.
template <typename Text, typename Fold, typename Offset>
void CheckOffsetOf(size_t at, const Text& text, const Text& folded, Fold fold, Offset offset) {
    if (at == Text::npos) {
        return;
    }
    const size_t original = offset(text, at);
    Check(original <= text.size());
    const auto prefix = fold(text.substr(0, original));
    Check(prefix.size() >= std::min(at, folded.size()) && prefix.size() <= at + 1 &&
          folded.compare(0, prefix.size(), prefix) == 0);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 1) {
        return 0;
    }
    static const samples::Cp932Codec codec;
    const AnsiFolding folding;
    const std::string_view input(reinterpret_cast<const char*>(data + 1), size - 1);
    const std::string_view needle = input.substr(0, data[0] % 8);
    const std::string_view hay = input.substr(needle.size());

    const std::string folded = FoldAnsiForSearch(hay, folding);
    const std::string foldedNeedle = FoldAnsiForSearch(needle, folding);
    Check(FoldAnsiForSearch(folded, folding) == folded);
    Check(codec.ToWide(folded) == FoldWideForSearch(codec.ToWide(hay)));
    Check(FindFoldedAnsi(folded, foldedNeedle, IsCp932LeadByte) ==
          FindByWalking(folded, foldedNeedle));
    Check(FindFoldedAnsi(hay, needle, IsCp932LeadByte) == FindByWalking(hay, needle));
    const size_t match = FindFoldedAnsi(folded, foldedNeedle, IsCp932LeadByte);
    const auto foldAnsi = [&](std::string_view text) { return FoldAnsiForSearch(text, folding); };
    const auto offsetAnsi = [&](std::string_view text, size_t at) {
        return OriginalOffsetOfFoldedAnsi(text, at, folding);
    };
    CheckOffsetOf(match, std::string_view(hay), std::string_view(folded), foldAnsi, offsetAnsi);
    if (match != std::string::npos) {
        CheckOffsetOf(match + foldedNeedle.size(), std::string_view(hay), std::string_view(folded),
                      foldAnsi, offsetAnsi);
    }

    std::u16string wide;
    for (size_t i = 0; i + 1 < hay.size(); i += 2) {
        wide.push_back(static_cast<char16_t>(static_cast<uint8_t>(hay[i]) |
                                             static_cast<uint8_t>(hay[i + 1]) << 8));
    }
    std::u16string wideNeedle;
    for (size_t i = 0; i + 1 < needle.size(); i += 2) {
        wideNeedle.push_back(static_cast<char16_t>(static_cast<uint8_t>(needle[i]) |
                                                   static_cast<uint8_t>(needle[i + 1]) << 8));
    }
    const std::u16string wideFolded = FoldWideForSearch(wide);
    Check(FoldWideForSearch(wideFolded) == wideFolded);
    Check(FindFoldedWide(wide, wideNeedle) == FindWideByWalking(wide, wideNeedle));
    CheckOffsetOf(
        FindFoldedWide(wideFolded, FoldWideForSearch(wideNeedle)), std::u16string_view(wide),
        std::u16string_view(wideFolded),
        [](std::u16string_view text) { return FoldWideForSearch(text); },
        &OriginalOffsetOfFoldedWide);

    const std::u16string kana = RomajiToKana(std::u16string(needle.begin(), needle.end()));
    Check(FoldWideForSearch(kana) == kana);
    return 0;
}
