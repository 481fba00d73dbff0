// Expands arbitrary bytes at a fixed time. No escape sequence gives more bytes than it
// takes unless it is a token, and no token gives more than a year or the longest name, so
// the output stays within a small multiple of the input. Text without a single-byte
// backslash must come back unchanged. The first bytes also serve as an out-of-range time.

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "history/mbcs.h"
#include "shorttext/macro_expansion.h"

namespace {

using namespace varnoke;

MacroNames FuzzNames() {
    MacroNames names;
    names.months = {"January", "February", "March",     "April",   "May",      "June",
                    "July",    "August",   "September", "October", "November", "December"};
    names.weekdays = {"Sunday", "Monday", "Tuesday", "Wednesday", "Thursday", "Friday", "Saturday"};
    names.weekdayLetters = {"\x93\xFA", "\x8C\x8E", "\x89\xCE", "\x90\x85",
                            "\x96\xD8", "\x8B\xE0", "\x93\x79"};
    names.am = "AM";
    names.pm = "PM";
    names.amJapanese = "\x8C\xDF\x91\x4F";
    names.pmJapanese = "\x8C\xDF\x8C\xE3";
    return names;
}

MacroTime FixedTime() {
    MacroTime time;
    time.year = 2004;
    time.month = 6;
    time.day = 5;
    time.dayOfWeek = 6;
    time.hour = 13;
    time.minute = 7;
    time.second = 9;
    return time;
}

// Any int the caller might pass, including nonsense, must only ever give empty names.
MacroTime TimeFromBytes(const uint8_t* data, size_t size) {
    MacroTime time;
    int* fields[] = {&time.year, &time.month,  &time.day,   &time.dayOfWeek,
                     &time.hour, &time.minute, &time.second};
    size_t i = 0;
    for (int* field : fields) {
        *field = i < size ? static_cast<int8_t>(data[i]) * 1000003 : 0;
        ++i;
    }
    return time;
}

bool HasSingleByteBackslash(std::string_view text) {
    for (size_t i = 0; i < text.size(); ++i) {
        if (IsCp932LeadByte(static_cast<unsigned char>(text[i]))) {
            ++i;
        } else if (text[i] == '\\') {
            return true;
        }
    }
    return false;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static const MacroNames names = FuzzNames();
    std::string_view text(reinterpret_cast<const char*>(data), size);

    MacroExpansion result = ExpandMacros(text, FixedTime(), names, IsCp932LeadByte);
    // The longest token text here is "September" from the two bytes "\E".
    if (result.text.size() > 5 * size) {
        std::abort();
    }
    if (!result.tokenExpanded && result.text.size() > size) {
        std::abort();
    }
    if (!HasSingleByteBackslash(text) && (result.text != text || result.tokenExpanded)) {
        std::abort();
    }

    MacroExpansion odd = ExpandMacros(text, TimeFromBytes(data, size), names, IsCp932LeadByte);
    // A number is at most 11 bytes, for the 2 bytes of "\Y" at the least.
    if (odd.text.size() > 6 * size) {
        std::abort();
    }
    return 0;
}
