#include "shorttext/macro_expansion.h"

#include <cstdio>
#include <cstring>

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

// Bytes of the character at `pos`; a lead byte that ends the text counts alone.
size_t CharLength(std::string_view text, size_t pos, LeadByteTest isLeadByte) {
    if (pos + 1 < text.size() && isLeadByte(static_cast<unsigned char>(text[pos]))) {
        return 2;
    }
    return 1;
}

bool IsSingleByte(std::string_view text, size_t pos, size_t length, char c) {
    return length == 1 && text[pos] == c;
}

// Appends what the sequence after the escape at `pos - 1` stands for and returns the
// position after it.
size_t ExpandSequence(std::string_view text, size_t pos, const MacroTime& time,
                      const MacroNames& names, LeadByteTest isLeadByte, MacroExpansion* out) {
    if (pos >= text.size()) {
        return pos;
    }
    size_t length = CharLength(text, pos, isLeadByte);
    bool leadingZeros = false;
    if (IsSingleByte(text, pos, length, '0')) {
        leadingZeros = true;
        ++pos;
        if (pos >= text.size()) {
            return pos;
        }
        length = CharLength(text, pos, isLeadByte);
    }
    char c = text[pos];
    if (length == 1 && IsMacroTokenLetter(c)) {
        out->text += ExpandToken(c, leadingZeros, time, names);
        out->tokenExpanded = true;
    } else if (length == 1 && c == 't') {
        out->text += '\t';
    } else if (length == 1 && c == 'n') {
        out->text += "\r\n";
    } else {
        out->text.append(text.substr(pos, length));
    }
    return pos + length;
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
    out.text.reserve(text.size());
    size_t runStart = 0;
    size_t pos = 0;
    while (pos < text.size()) {
        size_t length = CharLength(text, pos, isLeadByte);
        if (!IsSingleByte(text, pos, length, kEscape)) {
            pos += length;
            continue;
        }
        out.text.append(text.substr(runStart, pos - runStart));
        pos = ExpandSequence(text, pos + 1, time, names, isLeadByte, &out);
        runStart = pos;
    }
    out.text.append(text.substr(runStart));
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
