#include "search/search_fold.h"

#include <cstdint>

namespace varnoke {

namespace {

// The code page 932 forms of U+FF01..U+FF5E, the full-width forms of "!".."~".
constexpr uint16_t kFullWidthAsciiCodes[94] = {
    0x8149, 0xFA57, 0x8194, 0x8190, 0x8193, 0x8195, 0xFA56, 0x8169, 0x816A, 0x8196, 0x817B, 0x8143,
    0x817C, 0x8144, 0x815E, 0x824F, 0x8250, 0x8251, 0x8252, 0x8253, 0x8254, 0x8255, 0x8256, 0x8257,
    0x8258, 0x8146, 0x8147, 0x8183, 0x8181, 0x8184, 0x8148, 0x8197, 0x8260, 0x8261, 0x8262, 0x8263,
    0x8264, 0x8265, 0x8266, 0x8267, 0x8268, 0x8269, 0x826A, 0x826B, 0x826C, 0x826D, 0x826E, 0x826F,
    0x8270, 0x8271, 0x8272, 0x8273, 0x8274, 0x8275, 0x8276, 0x8277, 0x8278, 0x8279, 0x816D, 0x815F,
    0x816E, 0x814F, 0x8151, 0x814D, 0x8281, 0x8282, 0x8283, 0x8284, 0x8285, 0x8286, 0x8287, 0x8288,
    0x8289, 0x828A, 0x828B, 0x828C, 0x828D, 0x828E, 0x828F, 0x8290, 0x8291, 0x8292, 0x8293, 0x8294,
    0x8295, 0x8296, 0x8297, 0x8298, 0x8299, 0x829A, 0x816F, 0x8162, 0x8170, 0x8160,
};

// The full-width forms of U+FF61..U+FF9F, the half-width punctuation, katakana and marks.
constexpr char16_t kHalfWidthForms[63] = {
    0x3002, 0x300C, 0x300D, 0x3001, 0x30FB, 0x30F2, 0x30A1, 0x30A3, 0x30A5, 0x30A7, 0x30A9,
    0x30E3, 0x30E5, 0x30E7, 0x30C3, 0x30FC, 0x30A2, 0x30A4, 0x30A6, 0x30A8, 0x30AA, 0x30AB,
    0x30AD, 0x30AF, 0x30B1, 0x30B3, 0x30B5, 0x30B7, 0x30B9, 0x30BB, 0x30BD, 0x30BF, 0x30C1,
    0x30C4, 0x30C6, 0x30C8, 0x30CA, 0x30CB, 0x30CC, 0x30CD, 0x30CE, 0x30CF, 0x30D2, 0x30D5,
    0x30D8, 0x30DB, 0x30DE, 0x30DF, 0x30E0, 0x30E1, 0x30E2, 0x30E4, 0x30E6, 0x30E8, 0x30E9,
    0x30EA, 0x30EB, 0x30EC, 0x30ED, 0x30EF, 0x30F3, 0x309B, 0x309C,
};

constexpr char16_t kVoicedMark = 0xFF9E;
constexpr char16_t kSemiVoicedMark = 0xFF9F;

// The katakana that a half-width `base` and a following half-width `mark` make together;
// 0 when they stay two characters. Only the forms code page 932 has are made, so that the
// two foldings of one text agree.
char16_t JoinedKana(char16_t base, char16_t mark) {
    const bool haRow = base >= 0x30CF && base <= 0x30DB && (base - 0x30CF) % 3 == 0;
    if (mark == kSemiVoicedMark) {
        return haRow ? static_cast<char16_t>(base + 2) : 0;
    }
    if (mark != kVoicedMark) {
        return 0;
    }
    if (base == 0x30A6) {
        return 0x30F4;
    }
    const bool kaToChi = base >= 0x30AB && base <= 0x30C1 && (base - 0x30AB) % 2 == 0;
    const bool tsuToTo = base == 0x30C4 || base == 0x30C6 || base == 0x30C8;
    return kaToChi || tsuToTo || haRow ? static_cast<char16_t>(base + 1) : 0;
}

// The code page 932 form of a full-width form made from half-width katakana.
uint16_t Cp932OfKana(char16_t kana) {
    if (kana >= 0x30A1 && kana <= 0x30F6) {
        // The katakana row skips 0x837F.
        const unsigned index = kana - 0x30A1u;
        return static_cast<uint16_t>(0x8340 + index + (index >= 0x3F ? 1 : 0));
    }
    switch (kana) {
        case 0x3002:
            return 0x8142;
        case 0x300C:
            return 0x8175;
        case 0x300D:
            return 0x8176;
        case 0x3001:
            return 0x8141;
        case 0x30FB:
            return 0x8145;
        case 0x30FC:
            return 0x815B;
        case 0x309B:
            return 0x814A;
        default:
            return 0x814B;  // U+309C
    }
}

// What each double-byte character of code page 932 folds to: 0 for itself, a byte below
// 0x100 for a single-byte character, else the two bytes of another character. Only the
// lead bytes with folding characters have a row.
class Cp932FoldTable {
  public:
    Cp932FoldTable() {
        const unsigned char leads[] = {0x81, 0x82, 0x83, 0x84, 0xEE, 0xFA};
        for (unsigned char lead : leads) {
            rowOfLead_[lead] = ++rowCount_;
        }
        for (unsigned i = 0; i < 94; ++i) {
            Set(kFullWidthAsciiCodes[i], LowerAscii(static_cast<uint16_t>('!' + i)));
        }
        // The NEC-selected IBM extensions repeat the full-width quotation mark and apostrophe.
        Set(0xEEFC, '"');
        Set(0xEEFB, '\'');
        Set(0x8140, ' ');
        for (unsigned i = 0; i <= 0x3093 - 0x3041; ++i) {
            Set(static_cast<uint16_t>(0x829F + i), Cp932OfKana(static_cast<char16_t>(0x30A1 + i)));
        }
        Set(0x8154, 0x8152);  // the hiragana iteration marks to the katakana ones
        Set(0x8155, 0x8153);
        for (unsigned i = 0; i < 24; ++i) {
            Set(static_cast<uint16_t>(0x839F + i), static_cast<uint16_t>(0x83BF + i));
        }
        for (unsigned i = 0; i < 63; ++i) {
            const char16_t kana = kHalfWidthForms[i];
            const char16_t voiced = JoinedKana(kana, kVoicedMark);
            const char16_t semiVoiced = JoinedKana(kana, kSemiVoicedMark);
            halfWidth_[i][0] = Cp932OfKana(kana);
            halfWidth_[i][1] = voiced != 0 ? Cp932OfKana(voiced) : 0;
            halfWidth_[i][2] = semiVoiced != 0 ? Cp932OfKana(semiVoiced) : 0;
        }
        // The small Cyrillic row skips 0x847F as the katakana row does.
        for (unsigned i = 0; i < 33; ++i) {
            Set(static_cast<uint16_t>(0x8440 + i), static_cast<uint16_t>(0x8470 + i + (i >= 15)));
        }
    }

    // The code page 932 form of half-width katakana `c` (0xA1..0xDF), alone or joined with
    // a following voiced or semi-voiced mark (0 when they do not join).
    uint16_t HalfWidth(unsigned char c) const { return halfWidth_[c - 0xA1][0]; }
    uint16_t HalfWidthJoined(unsigned char c, bool semiVoiced) const {
        return halfWidth_[c - 0xA1][semiVoiced ? 2 : 1];
    }

    uint16_t Folded(unsigned char lead, unsigned char trail) const {
        const unsigned row = rowOfLead_[lead];
        return row == 0 ? 0 : rows_[row - 1][trail];
    }

    static uint16_t LowerAscii(uint16_t c) {
        return c >= 'A' && c <= 'Z' ? static_cast<uint16_t>(c + 0x20) : c;
    }

  private:
    void Set(uint16_t code, uint16_t folded) {
        rows_[rowOfLead_[code >> 8] - 1][code & 0xFF] = folded;
    }

    unsigned char rowOfLead_[256] = {};
    unsigned char rowCount_ = 0;
    uint16_t rows_[6][256] = {};
    uint16_t halfWidth_[63][3] = {};
};

const Cp932FoldTable& FoldTable() {
    static const Cp932FoldTable table;
    return table;
}

char16_t FoldWideChar(char16_t c) {
    if (c < 0x80) {
        return c >= 'A' && c <= 'Z' ? static_cast<char16_t>(c + 0x20) : c;
    }
    if (c >= 0xFF01 && c <= 0xFF5E) {
        return FoldWideChar(static_cast<char16_t>(c - 0xFEE0));
    }
    if (c >= 0x3041 && c <= 0x3096) {
        return static_cast<char16_t>(c + 0x60);
    }
    if (c == 0x309D || c == 0x309E) {
        return static_cast<char16_t>(c + 0x60);
    }
    if (c == 0x3000) {
        return u' ';
    }
    if (c >= 0xC0 && c <= 0xDE && c != 0xD7) {
        return static_cast<char16_t>(c + 0x20);
    }
    if (c >= 0x100 && c <= 0x17F) {
        // Latin Extended-A pairs its letters capital first, on even code points up to
        // U+0137, odd ones from U+0139 to U+0148, even ones again up to U+0177, then odd.
        if (c == 0x130) {
            return u'i';
        }
        if (c == 0x178) {
            return 0xFF;
        }
        const bool evenCapitals = (c <= 0x137 && c != 0x131) || (c >= 0x14A && c <= 0x177);
        const bool oddCapitals = (c >= 0x139 && c <= 0x148) || (c >= 0x179 && c <= 0x17E);
        if ((evenCapitals && c % 2 == 0) || (oddCapitals && c % 2 == 1)) {
            return static_cast<char16_t>(c + 1);
        }
        return c;
    }
    if (c >= 0x391 && c <= 0x3A9 && c != 0x3A2) {
        return static_cast<char16_t>(c + 0x20);
    }
    if (c >= 0x400 && c <= 0x40F) {
        return static_cast<char16_t>(c + 0x50);
    }
    if (c >= 0x410 && c <= 0x42F) {
        return static_cast<char16_t>(c + 0x20);
    }
    return c;
}

}  // namespace

std::string FoldAnsiForSearch(std::string_view text, const AnsiFolding& folding) {
    const Cp932FoldTable& table = FoldTable();
    enum : unsigned char { kAscii, kLead, kHalfWidth, kOther };
    unsigned char kind[256];
    for (unsigned c = 0; c < 256; ++c) {
        kind[c] = c < 0x80                                            ? kAscii
                  : folding.isLeadByte(static_cast<unsigned char>(c)) ? kLead
                  : folding.cp932 && c >= 0xA1 && c <= 0xDF           ? kHalfWidth
                                                                      : kOther;
    }
    const unsigned char* in = reinterpret_cast<const unsigned char*>(text.data());
    const size_t size = text.size();
    // A half-width katakana takes two bytes once folded. Counting the bytes that may be one
    // (trail bytes too) is quicker than touching twice the memory.
    size_t growth = 0;
    if (folding.cp932) {
        for (size_t i = 0; i < size; ++i) {
            growth += in[i] >= 0xA1 && in[i] <= 0xDF;
        }
    }
    std::string out(size + growth, '\0');
    unsigned char* o = reinterpret_cast<unsigned char*>(&out[0]);
    for (size_t i = 0; i < size;) {
        const unsigned char c = in[i];
        switch (kind[c]) {
            case kAscii:
                *o++ = c >= 'A' && c <= 'Z' ? static_cast<unsigned char>(c + 0x20) : c;
                ++i;
                break;
            case kLead:
                if (i + 1 < size) {
                    const uint16_t folded = folding.cp932 ? table.Folded(c, in[i + 1]) : 0;
                    if (folded == 0) {
                        *o++ = c;
                        *o++ = in[i + 1];
                    } else if (folded < 0x100) {
                        *o++ = static_cast<unsigned char>(folded);
                    } else {
                        *o++ = static_cast<unsigned char>(folded >> 8);
                        *o++ = static_cast<unsigned char>(folded & 0xFF);
                    }
                    i += 2;
                } else {
                    *o++ = c;
                    ++i;
                }
                break;
            case kHalfWidth: {
                const unsigned char next = i + 1 < size ? in[i + 1] : 0;
                const uint16_t joined =
                    next == 0xDE || next == 0xDF ? table.HalfWidthJoined(c, next == 0xDF) : 0;
                const uint16_t code = joined != 0 ? joined : table.HalfWidth(c);
                *o++ = static_cast<unsigned char>(code >> 8);
                *o++ = static_cast<unsigned char>(code & 0xFF);
                i += joined != 0 ? 2 : 1;
                break;
            }
            default:
                *o++ = c;
                ++i;
        }
    }
    out.resize(static_cast<size_t>(o - reinterpret_cast<unsigned char*>(&out[0])));
    if (out.capacity() - out.size() > out.size() / 8) {
        out.shrink_to_fit();
    }
    return out;
}

std::u16string FoldWideForSearch(std::u16string_view text) {
    std::u16string out;
    out.reserve(text.size());
    for (size_t i = 0; i < text.size(); ++i) {
        const char16_t c = text[i];
        if (c >= 0xFF61 && c <= 0xFF9F) {
            char16_t kana = kHalfWidthForms[c - 0xFF61];
            const char16_t joined = i + 1 < text.size() ? JoinedKana(kana, text[i + 1]) : 0;
            if (joined != 0) {
                kana = joined;
                ++i;
            }
            out.push_back(kana);
        } else {
            out.push_back(FoldWideChar(c));
        }
    }
    return out;
}

}  // namespace varnoke
