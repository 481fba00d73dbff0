#pragma once
// The first match of a needle that starts on a character of code page 932, found by
// walking the characters one by one: what the history search's byte search must agree with.

#include <string_view>

#include "core/mbcs.h"

namespace varnoke::samples {

inline size_t FindByWalking(std::string_view hay, std::string_view needle) {
    if (needle.empty()) {
        return 0;
    }
    for (size_t at = 0; at < hay.size(); at += CharLength(hay, at, IsCp932LeadByte)) {
        if (hay.substr(at, needle.size()) == needle) {
            return at;
        }
    }
    return std::string_view::npos;
}

}  // namespace varnoke::samples
