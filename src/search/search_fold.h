#pragma once
// The comparison form of a text for the history search: letter case, full and half width,
// hiragana and katakana, look-alike signs and code page 932's duplicate codes folded away,
// in the ANSI code page and in UTF-16. The match over folded texts is search/byte_search.

#include <array>
#include <cstddef>
#include <memory>
#include <string>
#include <string_view>
#include <utility>

#include "core/mbcs.h"
#include "core/text_codec.h"

namespace varnoke {

// How the ANSI code page's texts are folded: its lead-byte test, and whether it is code
// page 932, whose double-byte letters, kana and half-width katakana have folding rules.
// Any other code page folds its single bytes by `singleBytes`, shared between copies, or
// the ASCII letters only when it is unset.
struct AnsiFolding {
    AnsiFolding() = default;
    AnsiFolding(LeadByteTest isLeadByte, bool cp932,
                std::shared_ptr<const std::array<unsigned char, 256>> singleBytes = nullptr)
        : isLeadByte(isLeadByte), cp932(cp932), singleBytes(std::move(singleBytes)) {}

    LeadByteTest isLeadByte = &IsCp932LeadByte;
    bool cp932 = true;
    std::shared_ptr<const std::array<unsigned char, 256>> singleBytes;
};

// The folding of a code page made from its codec: code page 932's built-in tables, or for
// any other code page each byte that is not a lead byte folded as its character folds in
// UTF-16 when the code page holds the result in one byte ("É" to "é" in code page 1252),
// so a typed text folds alike either way.
AnsiFolding MakeAnsiFolding(const TextCodec& codec, LeadByteTest isLeadByte, bool cp932);

// The comparison form of an ANSI text: still a text of the same code page, whose characters
// start where a lead-byte scan says. In code page 932: A-Z and the full-width Latin letters,
// digits and signs become their ASCII lower-case forms, the ideographic space a space,
// half-width katakana full-width katakana, hiragana katakana, a kana followed by a voiced or
// semi-voiced mark (either width) the voiced kana, Greek and Cyrillic capitals small
// letters, the Japanese quotation marks and yen sign the ASCII ones, and a character with
// several codes the code it converts back to.
std::string FoldAnsiForSearch(std::string_view text, const AnsiFolding& folding);
// The same rules on UTF-16 text, plus the lower case of the Latin-1 and Latin Extended-A
// letters, the look-alikes that code page 932 converts to one code (U+301C to "~", U+2212
// to "-", U+2014 to U+2015, U+00A5 to "\"), and the combining voiced marks joined as the
// spacing ones are.
std::u16string FoldWideForSearch(std::u16string_view text);

// Where a match found in a folded text starts or ends in the text it was folded from: the
// first character boundary of `text` whose folded prefix is at least `foldedOffset` long,
// text.size() at or past the end. Walks only up to that offset.
size_t OriginalOffsetOfFoldedAnsi(std::string_view text, size_t foldedOffset,
                                  const AnsiFolding& folding);
size_t OriginalOffsetOfFoldedWide(std::u16string_view text, size_t foldedOffset);

}  // namespace varnoke
