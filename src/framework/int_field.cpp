#include "framework/int_field.h"

#include <cerrno>
#include <climits>
#include <cstdlib>

namespace varnoke {

namespace {
bool IsBlank(char c) {
    return c == ' ' || c == '\t';
}
}  // namespace

IntFieldError ParseIntField(const std::string& text, bool hasRange, int minimum, int maximum,
                            int* value) {
    const char* begin = text.c_str();
    char* end = nullptr;
    errno = 0;
    long long parsed = std::strtoll(begin, &end, 10);
    if (end == begin) {
        return IntFieldError::kNotAnInteger;
    }
    const bool beyondInt = errno == ERANGE || parsed < INT_MIN || parsed > INT_MAX;
    while (IsBlank(*end)) {
        ++end;
    }
    if (*end != '\0') {
        return IntFieldError::kNotAnInteger;
    }
    // A whole number too long for 32 bits is still a number: outside any range the field
    // has, so it gets the range prompt like any other number outside it.
    if (beyondInt) {
        return hasRange ? IntFieldError::kOutOfRange : IntFieldError::kNotAnInteger;
    }
    if (hasRange && (parsed < minimum || parsed > maximum)) {
        return IntFieldError::kOutOfRange;
    }
    *value = static_cast<int>(parsed);
    return IntFieldError::kNone;
}

}  // namespace varnoke
