#pragma once
// Escape sequences and date/time tokens of short-text phrases and item labels: a backslash
// followed by a character. "\Y" is the year, "\0M" the month with a leading zero, "\t" a
// tab, "\n" CR LF, and any other character after the backslash stands for itself.

#include <array>
#include <string>
#include <string_view>

#include "core/mbcs.h"
#include "core/text_codec.h"
#include "core/string_table.h"

namespace varnoke {

// A local date and time as GetLocalTime gives it. The caller always supplies it, so the
// expansion never depends on the machine's clock or zone.
struct MacroTime {
    int year = 0;
    int month = 1;      // 1 to 12
    int day = 1;        // 1 to 31
    int dayOfWeek = 0;  // 0 is Sunday
    int hour = 0;       // 0 to 23
    int minute = 0;
    int second = 0;
};

// The names of the string table, in the ANSI code page. A month or day of week out of
// range gives an empty name, as a missing string would.
struct MacroNames {
    std::array<std::string, 12> months;         // January first
    std::array<std::string, 7> weekdays;        // Sunday first
    std::array<std::string, 7> weekdayLetters;  // one character each, Sunday first
    std::string am;
    std::string pm;
    std::string amJapanese;
    std::string pmJapanese;
};

// Fetches every name through `loadString` by its string-table id (IDS_MONTH_BASE + month,
// IDS_WEEKDAY_BASE + day of week, ...), so the Win32 side passes its string loader.
MacroNames LoadMacroNames(const LoadStringFn& loadString);

struct MacroExpansion {
    std::string text;
    // True when at least one token letter was expanded; "\t", "\n" and other escapes
    // alone leave it false. Callers use it to know which labels change with the time.
    bool tokenExpanded = false;
};

struct WideMacroExpansion {
    std::u16string text;
    bool tokenExpanded = false;
};

// The token letters: "YyMEedAawHhmsGP".
bool IsMacroTokenLetter(char c);

// Expands `text` for `time`. Only a single-byte backslash is an escape; a 0x5C that is the
// second byte of a double-byte character is copied unchanged. A lone backslash (or "\0")
// at the end gives nothing. Never reads past the end, even when the text ends in a lead
// byte.
MacroExpansion ExpandMacros(std::string_view text, const MacroTime& time, const MacroNames& names,
                            LeadByteTest isLeadByte);
// The same expansion of an exact UTF-16 text; names and numbers are converted by `codec`.
WideMacroExpansion ExpandMacros(std::u16string_view text, const MacroTime& time,
                                const MacroNames& names, const TextCodec& codec);

// The text of one token letter; `leadingZeros` pads the numbers ("%04d" for the year,
// "%02d" for the rest) and does not touch names. A letter that is not a token letter gives
// an empty text.
std::string ExpandToken(char letter, bool leadingZeros, const MacroTime& time,
                        const MacroNames& names);

}  // namespace varnoke
