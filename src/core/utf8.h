#pragma once
// UTF-8 texts, for files the user saved as UTF-8 with the byte order mark: everything else
// the program reads is in the ANSI code page.

#include <string>
#include <string_view>

namespace varnoke {

constexpr std::string_view kUtf8ByteOrderMark = "\xEF\xBB\xBF";

bool StartsWithUtf8ByteOrderMark(std::string_view bytes);

// `utf8` as UTF-16. Strict: an overlong form, an encoded surrogate, a value above U+10FFFF, a
// stray continuation byte or a sequence cut short becomes one U+FFFD per maximal bad part,
// and decoding goes on at the next byte that may start a character. Never reads past the end.
std::u16string DecodeUtf8(std::string_view utf8);

}  // namespace varnoke
