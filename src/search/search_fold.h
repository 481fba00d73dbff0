#pragma once
// The comparison form of a text for the history search: letter case, full and half width,
// hiragana and katakana folded away, in the ANSI code page and in UTF-16. The match over
// folded texts is search/byte_search.

#include <string>
#include <string_view>

#include "core/mbcs.h"

namespace varnoke {

// How the ANSI code page's texts are folded: its lead-byte test, and whether it is code
// page 932, whose double-byte letters, kana and half-width katakana have folding rules.
// Any other code page folds the ASCII letters only.
struct AnsiFolding {
    LeadByteTest isLeadByte = &IsCp932LeadByte;
    bool cp932 = true;
};

// The comparison form of an ANSI text: still a text of the same code page, whose characters
// start where a lead-byte scan says. A-Z and the full-width Latin letters, digits and signs
// become their ASCII lower-case forms, the ideographic space a space, half-width katakana
// (with a following voiced or semi-voiced mark joined to it) full-width katakana, hiragana
// katakana, and Greek and Cyrillic capitals small letters.
std::string FoldAnsiForSearch(std::string_view text, const AnsiFolding& folding);
// The same rules on UTF-16 text, plus the lower case of the Latin-1 and Latin Extended-A
// letters.
std::u16string FoldWideForSearch(std::u16string_view text);

}  // namespace varnoke
