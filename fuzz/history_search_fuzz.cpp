// Folds arbitrary bytes as a code page 932 text and as UTF-16, and searches one part of the
// input in the rest. Checks that folding a folded text changes nothing, that both foldings
// of one text agree, and that a match is where a walk over the characters finds it first.

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "search/byte_search.h"
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
    return 0;
}
