#include "core/utf8.h"

#include <cstddef>

namespace varnoke {

namespace {

constexpr char16_t kReplacement = 0xFFFD;

struct LeadForm {
    size_t length;            // bytes of the whole sequence
    unsigned char low, high;  // range of the second byte, which rules out overlong forms,
                              // surrogates and values above U+10FFFF
};

// The forms of a well-formed sequence by its first byte; length 0 for a byte that starts
// none.
LeadForm FormOf(unsigned char lead) {
    if (lead >= 0xC2 && lead <= 0xDF) {
        return {2, 0x80, 0xBF};
    }
    if (lead == 0xE0) {
        return {3, 0xA0, 0xBF};
    }
    if (lead == 0xED) {
        return {3, 0x80, 0x9F};
    }
    if (lead >= 0xE1 && lead <= 0xEF) {
        return {3, 0x80, 0xBF};
    }
    if (lead == 0xF0) {
        return {4, 0x90, 0xBF};
    }
    if (lead == 0xF4) {
        return {4, 0x80, 0x8F};
    }
    if (lead >= 0xF1 && lead <= 0xF3) {
        return {4, 0x80, 0xBF};
    }
    return {0, 0, 0};
}

void AppendCodePoint(char32_t value, std::u16string* out) {
    if (value < 0x10000) {
        out->push_back(static_cast<char16_t>(value));
        return;
    }
    value -= 0x10000;
    out->push_back(static_cast<char16_t>(0xD800 + (value >> 10)));
    out->push_back(static_cast<char16_t>(0xDC00 + (value & 0x3FF)));
}

}  // namespace

bool StartsWithUtf8ByteOrderMark(std::string_view bytes) {
    return bytes.substr(0, kUtf8ByteOrderMark.size()) == kUtf8ByteOrderMark;
}

std::u16string DecodeUtf8(std::string_view utf8) {
    std::u16string out;
    out.reserve(utf8.size());
    size_t pos = 0;
    while (pos < utf8.size()) {
        const unsigned char lead = static_cast<unsigned char>(utf8[pos]);
        if (lead < 0x80) {
            out.push_back(lead);
            ++pos;
            continue;
        }
        const LeadForm form = FormOf(lead);
        char32_t value = lead & (0x7F >> form.length);
        size_t taken = 1;
        for (; form.length != 0 && taken < form.length && pos + taken < utf8.size(); ++taken) {
            const unsigned char next = static_cast<unsigned char>(utf8[pos + taken]);
            const unsigned char low = taken == 1 ? form.low : 0x80;
            const unsigned char high = taken == 1 ? form.high : 0xBF;
            if (next < low || next > high) {
                break;
            }
            value = (value << 6) | (next & 0x3F);
        }
        if (form.length != 0 && taken == form.length) {
            AppendCodePoint(value, &out);
        } else {
            out.push_back(kReplacement);
        }
        pos += taken;
    }
    return out;
}

}  // namespace varnoke
