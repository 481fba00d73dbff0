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
    if (end == begin || errno == ERANGE || parsed < INT_MIN || parsed > INT_MAX) {
        return IntFieldError::kNotAnInteger;
    }
    while (IsBlank(*end)) {
        ++end;
    }
    if (*end != '\0') {
        return IntFieldError::kNotAnInteger;
    }
    if (hasRange && (parsed < minimum || parsed > maximum)) {
        return IntFieldError::kOutOfRange;
    }
    *value = static_cast<int>(parsed);
    return IntFieldError::kNone;
}

}  // namespace varnoke
