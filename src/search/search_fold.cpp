#include "search/search_fold.h"

#include <cstdint>
#include <utility>

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

enum Mark { kNoMark, kVoiced, kSemiVoiced };

// Either width of the marks, and the combining ones that Mac text carries.
Mark MarkOf(char16_t c) {
    // U+3099 to U+309C alternate voiced and semi-voiced, as do U+FF9E and U+FF9F.
    const unsigned fromCombining = c - 0x3099u;
    const unsigned fromHalfWidth = c - 0xFF9Eu;
    if (fromCombining < 4) {
        return fromCombining % 2 == 0 ? kVoiced : kSemiVoiced;
    }
    if (fromHalfWidth < 2) {
        return fromHalfWidth == 0 ? kVoiced : kSemiVoiced;
    }
    return kNoMark;
}

// The katakana that katakana `base` and a following `mark` make together; 0 when they stay
// two characters. Only the forms code page 932 has are made, so that the two foldings of
// one text agree.
char16_t JoinedKana(char16_t base, Mark mark) {
    const bool haRow = base >= 0x30CF && base <= 0x30DB && (base - 0x30CF) % 3 == 0;
    if (mark == kSemiVoiced) {
        return haRow ? static_cast<char16_t>(base + 2) : 0;
    }
    if (mark != kVoiced) {
        return 0;
    }
    if (base == 0x30A6) {
        return 0x30F4;
    }
    const bool kaToChi = base >= 0x30AB && base <= 0x30C1 && (base - 0x30AB) % 2 == 0;
    const bool tsuToTo = base == 0x30C4 || base == 0x30C6 || base == 0x30C8;
    return kaToChi || tsuToTo || haRow ? static_cast<char16_t>(base + 1) : 0;
}

constexpr uint16_t kCp932KatakanaFirst = 0x8340;
constexpr uint16_t kCp932KatakanaLast = 0x8396;

// The code page 932 form of a full-width form made from half-width katakana.
uint16_t Cp932OfKana(char16_t kana) {
    if (kana >= 0x30A1 && kana <= 0x30F6) {
        // The katakana row skips 0x837F.
        const unsigned index = kana - 0x30A1u;
        return static_cast<uint16_t>(kCp932KatakanaFirst + index + (index >= 0x3F ? 1 : 0));
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

char16_t KanaOfCp932(uint16_t code) {
    const unsigned index = code - kCp932KatakanaFirst;
    return static_cast<char16_t>(0x30A1 + index - (index > 0x3F ? 1 : 0));
}

// The place of a double-byte code among the codes of lead bytes 0xE0-0xFC, whose trail
// bytes run 0x40-0xFC without 0x7F.
int CellOf(uint16_t code) {
    const int trail = code & 0xFF;
    return (code >> 8) * 188 + trail - 0x40 - (trail > 0x7F ? 1 : 0);
}
uint16_t CodeOfCell(int cell) {
    const int trail = cell % 188 + 0x40;
    return static_cast<uint16_t>((cell / 188) << 8 | (trail + (trail >= 0x7F ? 1 : 0)));
}

// Code page 932 holds some characters twice or three times: in NEC's row 13, in the IBM
// extensions and in NEC's copy of them. Windows converts each back to one code, and a text
// that came through UTF-16 holds that one, so every other code folds to it.
struct Duplicates {
    uint16_t first, last, convertsTo;  // a run of codes, and the code of the first one
};
constexpr Duplicates kDuplicates[] = {
    {0x8790, 0x8790, 0x81E0}, {0x8791, 0x8791, 0x81DF}, {0x8792, 0x8792, 0x81E7},
    {0x8795, 0x8795, 0x81E3}, {0x8796, 0x8796, 0x81DB}, {0x8797, 0x8797, 0x81DA},
    {0x879A, 0x879A, 0x81E6}, {0x879B, 0x879B, 0x81BF}, {0x879C, 0x879C, 0x81BE},
    {0xED40, 0xEEEC, 0xFA5C}, {0xEEEF, 0xEEF8, 0xFA40}, {0xEEF9, 0xEEF9, 0x81CA},
    {0xEEFA, 0xEEFC, 0xFA55}, {0xFA4A, 0xFA53, 0x8754}, {0xFA54, 0xFA54, 0x81CA},
    {0xFA58, 0xFA58, 0x878A}, {0xFA59, 0xFA59, 0x8782}, {0xFA5A, 0xFA5A, 0x8784},
    {0xFA5B, 0xFA5B, 0x81E6},
};

// The signs that Japanese text writes for ASCII ones: the yen sign that fonts draw for "\"
// and the curly quotation marks.
constexpr uint16_t kAsciiLookAlikes[][2] = {
    {0x818F, '\\'}, {0x8165, '\''}, {0x8166, '\''}, {0x8167, '"'}, {0x8168, '"'},
};

// What each double-byte character of code page 932 folds to: 0 for itself, a byte below
// 0x100 for a single-byte character, else the two bytes of another character. Only the
// lead bytes with folding characters have a row.
class Cp932FoldTable {
  public:
    Cp932FoldTable() {
        const unsigned char leads[] = {0x81, 0x82, 0x83, 0x84, 0x87, 0xED, 0xEE, 0xFA, 0xFB, 0xFC};
        for (unsigned char lead : leads) {
            rowOfLead_[lead] = ++rowCount_;
        }
        for (unsigned i = 0; i < 94; ++i) {
            Set(kFullWidthAsciiCodes[i], LowerAscii(static_cast<uint16_t>('!' + i)));
        }
        for (const auto& lookAlike : kAsciiLookAlikes) {
            Set(lookAlike[0], lookAlike[1]);
        }
        Set(0x8140, ' ');
        for (unsigned i = 0; i <= 0x3093 - 0x3041; ++i) {
            Set(static_cast<uint16_t>(0x829F + i), Cp932OfKana(static_cast<char16_t>(0x30A1 + i)));
        }
        Set(0x8154, 0x8152);  // the hiragana iteration marks to the katakana ones
        Set(0x8155, 0x8153);
        for (unsigned i = 0; i < 24; ++i) {
            Set(static_cast<uint16_t>(0x839F + i), static_cast<uint16_t>(0x83BF + i));
        }
        // The small Cyrillic row skips 0x847F as the katakana row does.
        for (unsigned i = 0; i < 33; ++i) {
            Set(static_cast<uint16_t>(0x8440 + i), static_cast<uint16_t>(0x8470 + i + (i >= 15)));
        }
        // After the rest: a duplicate folds as the code it converts to does.
        for (const Duplicates& run : kDuplicates) {
            const int shift = CellOf(run.convertsTo) - CellOf(run.first);
            for (int cell = CellOf(run.first); cell <= CellOf(run.last); ++cell) {
                const uint16_t target = CodeOfCell(cell + shift);
                const uint16_t folded = Folded(target >> 8, target & 0xFF);
                Set(CodeOfCell(cell), folded != 0 ? folded : target);
            }
        }
        for (unsigned i = 0; i < 63; ++i) {
            halfWidth_[i] = Cp932OfKana(kHalfWidthForms[i]);
        }
        for (uint16_t code = kCp932KatakanaFirst; code <= kCp932KatakanaLast; ++code) {
            for (Mark mark : {kVoiced, kSemiVoiced}) {
                const char16_t joined = JoinedKana(KanaOfCp932(code), mark);
                joined_[mark - kVoiced][code - kCp932KatakanaFirst] =
                    joined != 0 ? Cp932OfKana(joined) : 0;
            }
        }
    }

    // The code page 932 form of half-width katakana `c` (0xA1..0xDF).
    uint16_t HalfWidth(unsigned char c) const { return halfWidth_[c - 0xA1]; }

    uint16_t Folded(unsigned lead, unsigned trail) const {
        const unsigned row = rowOfLead_[lead];
        return row == 0 ? 0 : rows_[row - 1][trail];
    }

    // The voiced kana that folded katakana `code` makes with `mark`, 0 when none.
    uint16_t Joined(uint16_t code, Mark mark) const {
        return joined_[mark - kVoiced][code - kCp932KatakanaFirst];
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
    uint16_t rows_[10][256] = {};
    uint16_t halfWidth_[63] = {};
    uint16_t joined_[2][kCp932KatakanaLast - kCp932KatakanaFirst + 1] = {};
};

const Cp932FoldTable& FoldTable() {
    static const Cp932FoldTable table;
    return table;
}

// One character of an ANSI text at a time, for the folding and for the offset map. Its
// byte tables are made per text, as the code page's lead-byte test is a call.
class AnsiFolder {
  public:
    explicit AnsiFolder(const AnsiFolding& folding) : table_(FoldTable()), cp932_(folding.cp932) {
        for (unsigned c = 0; c < 256; ++c) {
            const auto byte = static_cast<unsigned char>(c);
            kind_[c] = folding.isLeadByte(byte)           ? kLead
                       : cp932_ && c >= 0xA1 && c <= 0xDF ? kHalfWidth
                                                          : kSingle;
            single_[c] = folding.singleBytes && !cp932_
                             ? (*folding.singleBytes)[c]
                             : static_cast<unsigned char>(Cp932FoldTable::LowerAscii(byte));
        }
    }

    // Writes the folded form of the character at `i` at `o`, at most two bytes, and
    // returns where the next one starts.
    size_t Step(const unsigned char* in, size_t size, size_t i, unsigned char*& o) const {
        const unsigned char c = in[i];
        switch (kind_[c]) {
            case kSingle:
                *o++ = single_[c];
                return i + 1;
            case kLead:
                if (i + 1 >= size) {
                    *o++ = c;
                    return i + 1;
                }
                if (!cp932_) {
                    *o++ = c;
                    *o++ = in[i + 1];
                    return i + 2;
                }
                return PutKana(Cp932Folded(c, in[i + 1]), in, size, i + 2, o);
            default:
                return PutKana(table_.HalfWidth(c), in, size, i + 1, o);
        }
    }

  private:
    enum : unsigned char { kSingle, kLead, kHalfWidth };

    uint16_t Cp932Folded(unsigned char lead, unsigned char trail) const {
        const uint16_t folded = table_.Folded(lead, trail);
        return folded != 0 ? folded : static_cast<uint16_t>(lead << 8 | trail);
    }

    // Writes folded `code`, joined with a voiced or semi-voiced mark at `next` when it is a
    // katakana that takes it.
    size_t PutKana(uint16_t code, const unsigned char* in, size_t size, size_t next,
                   unsigned char*& o) const {
        if (code >= kCp932KatakanaFirst && code <= kCp932KatakanaLast && next < size) {
            const unsigned char m = in[next];
            const unsigned char m2 = m == 0x81 && next + 1 < size ? in[next + 1] : 0;
            const Mark mark = m == 0xDE || m2 == 0x4A   ? kVoiced
                              : m == 0xDF || m2 == 0x4B ? kSemiVoiced
                                                        : kNoMark;
            const uint16_t joined = mark != kNoMark ? table_.Joined(code, mark) : 0;
            if (joined != 0) {
                code = joined;
                next += m == 0x81 ? 2 : 1;
            }
        }
        if (code < 0x100) {
            *o++ = static_cast<unsigned char>(code);
        } else {
            *o++ = static_cast<unsigned char>(code >> 8);
            *o++ = static_cast<unsigned char>(code & 0xFF);
        }
        return next;
    }

    const Cp932FoldTable& table_;
    bool cp932_;
    unsigned char kind_[256];
    unsigned char single_[256];
};

char16_t FoldWideChar(char16_t c) {
    if (c < 0x80) {
        return c >= 'A' && c <= 'Z' ? static_cast<char16_t>(c + 0x20) : c;
    }
    if (c >= 0x30A0 && c < 0xFF01) {
        return c;  // katakana, kanji and the rest of the Asian scripts
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
    switch (c) {
        case 0x3000:
            return u' ';
        // What code page 932 converts to one code, so that a text typed or pasted in
        // either form finds both.
        case 0x301C:
            return u'~';
        case 0x2212:
            return u'-';
        case 0x2014:
            return 0x2015;
        case 0x00A5:
        case 0xFFE5:
            return u'\\';
        case 0x2018:
        case 0x2019:
            return u'\'';
        case 0x201C:
        case 0x201D:
            return u'"';
        // A combining mark that joins nothing stays a mark, as a half-width one does.
        case 0x3099:
        case 0x309A:
            return static_cast<char16_t>(c + 2);
        default:
            break;
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

// The folded form of the character at `i`, one unit, and the start of the next one.
char16_t FoldWideStep(std::u16string_view text, size_t& i) {
    const char16_t c = text[i++];
    char16_t folded = c >= 0xFF61 && c <= 0xFF9F ? kHalfWidthForms[c - 0xFF61] : FoldWideChar(c);
    // Only katakana from U+30A6 (u) to U+30DB (ho) take a mark.
    if (folded >= 0x30A6 && folded <= 0x30DB && i < text.size()) {
        const Mark mark = MarkOf(text[i]);
        const char16_t joined = mark != kNoMark ? JoinedKana(folded, mark) : 0;
        if (joined != 0) {
            folded = joined;
            ++i;
        }
    }
    return folded;
}

}  // namespace

AnsiFolding MakeAnsiFolding(const TextCodec& codec, LeadByteTest isLeadByte, bool cp932) {
    AnsiFolding folding{isLeadByte, cp932, nullptr};
    if (cp932) {
        return folding;
    }
    auto bytes = std::make_shared<std::array<unsigned char, 256>>();
    for (unsigned c = 0; c < 256; ++c) {
        const auto byte = static_cast<unsigned char>(c);
        (*bytes)[c] = byte;
        if (isLeadByte(byte)) {
            continue;
        }
        const std::u16string wide = codec.ToWide(std::string(1, static_cast<char>(byte)));
        const std::u16string folded = FoldWideForSearch(wide);
        std::string ansi;
        // A byte must stay one character that is no lead byte, or the folded text's
        // characters would start elsewhere than the text's.
        if (folded != wide && codec.ToAnsiWithoutLoss(folded, &ansi) && ansi.size() == 1 &&
            !isLeadByte(static_cast<unsigned char>(ansi[0]))) {
            (*bytes)[c] = static_cast<unsigned char>(ansi[0]);
        }
    }
    folding.singleBytes = std::move(bytes);
    return folding;
}

std::string FoldAnsiForSearch(std::string_view text, const AnsiFolding& folding) {
    const AnsiFolder folder(folding);
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
        i = folder.Step(in, size, i, o);
    }
    out.resize(static_cast<size_t>(o - reinterpret_cast<unsigned char*>(&out[0])));
    if (out.capacity() - out.size() > out.size() / 8) {
        out.shrink_to_fit();
    }
    return out;
}

std::u16string FoldWideForSearch(std::u16string_view text) {
    // Never longer than the text: one unit per character, fewer where marks join.
    std::u16string out(text.size(), u'\0');
    size_t length = 0;
    for (size_t i = 0; i < text.size();) {
        out[length++] = FoldWideStep(text, i);
    }
    out.resize(length);
    return out;
}

size_t OriginalOffsetOfFoldedAnsi(std::string_view text, size_t foldedOffset,
                                  const AnsiFolding& folding) {
    const AnsiFolder folder(folding);
    const unsigned char* in = reinterpret_cast<const unsigned char*>(text.data());
    size_t i = 0;
    for (size_t folded = 0; i < text.size() && folded < foldedOffset;) {
        unsigned char bytes[2];
        unsigned char* o = bytes;
        i = folder.Step(in, text.size(), i, o);
        folded += static_cast<size_t>(o - bytes);
    }
    return i;
}

size_t OriginalOffsetOfFoldedWide(std::u16string_view text, size_t foldedOffset) {
    size_t i = 0;
    for (size_t folded = 0; i < text.size() && folded < foldedOffset; ++folded) {
        FoldWideStep(text, i);
    }
    return i;
}

}  // namespace varnoke
