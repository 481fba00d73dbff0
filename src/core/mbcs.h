#pragma once
// The lead-byte test of the ANSI code page. Portable text code takes it as a
// parameter; the Win32 side passes IsDBCSLeadByte, tests pass IsCp932LeadByte.

#include <cstddef>
#include <string_view>

namespace varnoke {

using LeadByteTest = bool (*)(unsigned char byte);

// Code page 932 (Shift_JIS as Windows has it): lead bytes 0x81-0x9F and 0xE0-0xFC.
inline bool IsCp932LeadByte(unsigned char byte) {
    return (byte >= 0x81 && byte <= 0x9F) || (byte >= 0xE0 && byte <= 0xFC);
}

// Bytes of the character at `pos` (below text.size()); a lead byte that ends the text
// counts alone.
inline size_t CharLength(std::string_view text, size_t pos, LeadByteTest isLeadByte) {
    return pos + 1 < text.size() && isLeadByte(static_cast<unsigned char>(text[pos])) ? 2 : 1;
}

// The same for an exact UTF-16 text, for the rules that look for ASCII marks and escapes:
// no unit of another character, a surrogate included, is ASCII, so each unit counts alone.
inline size_t CharLength(std::u16string_view, size_t, LeadByteTest) {
    return 1;
}

}  // namespace varnoke
