#pragma once
// The search over folded texts: a byte search whose match never starts inside a character,
// neither on the trail byte of a double-byte character nor inside a UTF-16 unit or pair.

#include <cstddef>
#include <string_view>

#include "core/mbcs.h"

namespace varnoke {

// The first place where `needle` occurs in `haystack` starting on a character boundary of
// `haystack`; npos when there is none. Both are folded texts. An empty needle is found at 0.
size_t FindFoldedAnsi(std::string_view haystack, std::string_view needle, LeadByteTest isLeadByte);
size_t FindFoldedWide(std::u16string_view haystack, std::u16string_view needle);

}  // namespace varnoke
