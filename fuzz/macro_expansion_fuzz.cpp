// Expands arbitrary bytes at a fixed time. No escape sequence gives more bytes than it
// takes unless it is a token, and no token gives more than a year or the longest name, so
// the output stays within a small multiple of the input. Text without a single-byte
// backslash must come back unchanged. The first bytes also serve as an out-of-range time.

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "core/mbcs.h"
#include "shorttext/macro_expansion.h"
#include "support/macro_samples.h"

namespace {

using namespace varnoke;

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
    static const MacroNames names = samples::Names();
    std::string_view text(reinterpret_cast<const char*>(data), size);

    MacroExpansion result = ExpandMacros(text, samples::June5(), names, IsCp932LeadByte);
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
