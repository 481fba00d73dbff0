#pragma once
// The lead-byte test of the ANSI code page. Portable text code takes it as a
// parameter; the Win32 side passes IsDBCSLeadByte, tests pass IsCp932LeadByte.

namespace varnoke {

using LeadByteTest = bool (*)(unsigned char byte);

// Code page 932 (Shift_JIS as Windows has it): lead bytes 0x81-0x9F and 0xE0-0xFC.
inline bool IsCp932LeadByte(unsigned char byte) {
    return (byte >= 0x81 && byte <= 0x9F) || (byte >= 0xE0 && byte <= 0xFC);
}

}  // namespace varnoke
