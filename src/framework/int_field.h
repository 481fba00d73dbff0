#pragma once
// What a dialog's integer field accepts, and which of the two prompts a bad entry gets.

#include <string>

namespace varnoke {

enum class IntFieldError {
    kNone,
    kNotAnInteger,  // "整数を入力してください。"
    kOutOfRange,    // "%1 から %2 までの整数を入力してください。"
};

// Blanks around a signed decimal integer are allowed; anything else is not a number.
// A range check applies only when hasRange is set.
IntFieldError ParseIntField(const std::string& text, bool hasRange, int minimum, int maximum,
                            int* value);

}  // namespace varnoke
