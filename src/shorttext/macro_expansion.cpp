#include "shorttext/macro_expansion.h"

#include <cstdio>
#include <cstring>
#include <type_traits>

#include "res/resource.h"

namespace varnoke {
namespace {

constexpr char kEscape = '\\';
constexpr char kTokenLetters[] = "YyMEedAawHhmsGP";
constexpr size_t kShortNameBytes = 3;

std::string FormatNumber(int value, bool leadingZeros, int width) {
    char buffer[16];
    if (leadingZeros) {
        std::snprintf(buffer, sizeof buffer, "%0*d", width, value);
    } else {
        std::snprintf(buffer, sizeof buffer, "%d", value);
    }
    return buffer;
}

// Out-of-range indexes give an empty name rather than reading outside the table.
template <size_t N>
const std::string& NameAt(const std::array<std::string, N>& table, int index) {
    static const std::string empty;
    if (index < 0 || static_cast<size_t>(index) >= N) {
        return empty;
    }
    return table[static_cast<size_t>(index)];
}

std::string ShortName(const std::string& name) {
    return name.substr(0, kShortNameBytes);
}

int TwelveHourClock(int hour) {
    return hour > 11 ? hour - 12 : hour;
}

bool IsMorning(int hour) {
    return hour <= 11;
}

template <typename Char>
bool IsSingleByte(std::basic_string_view<Char> text, size_t pos, size_t length, char c) {
    return length == 1 && text[pos] == static_cast<Char>(c);
}

// The escapes and tokens, run the same way on the ANSI text and on an exact UTF-16 text;
// `token(letter, leadingZeros)` gives a token's text in the form of `Char`.
template <typename Char, typename Token>
class Expander {
  public:
    using View = std::basic_string_view<Char>;

    Expander(LeadByteTest isLeadByte, Token token) : isLeadByte_(isLeadByte), token_(token) {}

    bool Run(View text, std::basic_string<Char>* out) {
        out->reserve(text.size());
        size_t runStart = 0;
        size_t pos = 0;
        while (pos < text.size()) {
            size_t length = CharLength(text, pos, isLeadByte_);
            if (!IsSingleByte(text, pos, length, kEscape)) {
                pos += length;
                continue;
            }
            out->append(text.substr(runStart, pos - runStart));
            pos = ExpandSequence(text, pos + 1, out);
            runStart = pos;
        }
        out->append(text.substr(runStart));
        return tokenExpanded_;
    }

  private:
    // Appends what the sequence after the escape at `pos - 1` stands for and returns the
    // position after it.
    size_t ExpandSequence(View text, size_t pos, std::basic_string<Char>* out) {
        if (pos >= text.size()) {
            return pos;
        }
        size_t length = CharLength(text, pos, isLeadByte_);
        bool leadingZeros = false;
        if (IsSingleByte(text, pos, length, '0')) {
            leadingZeros = true;
            ++pos;
            if (pos >= text.size()) {
                return pos;
            }
            length = CharLength(text, pos, isLeadByte_);
        }
        const Char c = text[pos];
        const bool ascii = length == 1 && static_cast<std::make_unsigned_t<Char>>(c) < 0x80;
        if (ascii && IsMacroTokenLetter(static_cast<char>(c))) {
            out->append(token_(static_cast<char>(c), leadingZeros));
            tokenExpanded_ = true;
        } else if (ascii && c == 't') {
            out->push_back('\t');
        } else if (ascii && c == 'n') {
            out->push_back('\r');
            out->push_back('\n');
        } else {
            out->append(text.substr(pos, length));
        }
        return pos + length;
    }

    LeadByteTest isLeadByte_;
    Token token_;
    bool tokenExpanded_ = false;
};

template <typename Char, typename Token>
bool Expand(std::basic_string_view<Char> text, LeadByteTest isLeadByte, Token token,
            std::basic_string<Char>* out) {
    return Expander<Char, Token>(isLeadByte, token).Run(text, out);
}

}  // namespace

MacroNames LoadMacroNames(const LoadStringFn& loadString) {
    MacroNames names;
    for (size_t i = 0; i < names.months.size(); ++i) {
        names.months[i] = loadString(static_cast<unsigned>(IDS_MONTH_BASE + 1 + i));
    }
    for (size_t i = 0; i < names.weekdays.size(); ++i) {
        names.weekdays[i] = loadString(static_cast<unsigned>(IDS_WEEKDAY_BASE + i));
        names.weekdayLetters[i] = loadString(static_cast<unsigned>(IDS_WEEKDAY_SHORT_BASE + i));
    }
    names.am = loadString(IDS_AM);
    names.pm = loadString(IDS_PM);
    names.amJapanese = loadString(IDS_AM_JAPANESE);
    names.pmJapanese = loadString(IDS_PM_JAPANESE);
    return names;
}

bool IsMacroTokenLetter(char c) {
    return c != '\0' && std::strchr(kTokenLetters, c) != nullptr;
}

MacroExpansion ExpandMacros(std::string_view text, const MacroTime& time, const MacroNames& names,
                            LeadByteTest isLeadByte) {
    MacroExpansion out;
    auto token = [&](char letter, bool leadingZeros) {
        return ExpandToken(letter, leadingZeros, time, names);
    };
    out.tokenExpanded = Expand(text, isLeadByte, token, &out.text);
    return out;
}

// The names come from the string table in the code page, so they convert exactly.
WideMacroExpansion ExpandMacros(std::u16string_view text, const MacroTime& time,
                                const MacroNames& names, const TextCodec& codec) {
    WideMacroExpansion out;
    auto token = [&](char letter, bool leadingZeros) {
        return codec.ToWide(ExpandToken(letter, leadingZeros, time, names));
    };
    out.tokenExpanded = Expand(text, nullptr, token, &out.text);
    return out;
}

std::string ExpandToken(char letter, bool leadingZeros, const MacroTime& time,
                        const MacroNames& names) {
    switch (letter) {
        case 'Y':
            return FormatNumber(time.year, leadingZeros, 4);
        case 'y':
            return FormatNumber(time.year % 100, leadingZeros, 2);
        case 'M':
            return FormatNumber(time.month, leadingZeros, 2);
        case 'd':
            return FormatNumber(time.day, leadingZeros, 2);
        case 'H':
            return FormatNumber(time.hour, leadingZeros, 2);
        case 'h':
            return FormatNumber(TwelveHourClock(time.hour), leadingZeros, 2);
        case 'm':
            return FormatNumber(time.minute, leadingZeros, 2);
        case 's':
            return FormatNumber(time.second, leadingZeros, 2);
        case 'E':
            return NameAt(names.months, time.month - 1);
        case 'e':
            return ShortName(NameAt(names.months, time.month - 1));
        case 'A':
            return NameAt(names.weekdays, time.dayOfWeek);
        case 'a':
            return ShortName(NameAt(names.weekdays, time.dayOfWeek));
        case 'w':
            return NameAt(names.weekdayLetters, time.dayOfWeek);
        case 'P':
            return IsMorning(time.hour) ? names.am : names.pm;
        case 'G':
            return IsMorning(time.hour) ? names.amJapanese : names.pmJapanese;
        default:
            return std::string();
    }
}

}  // namespace varnoke
