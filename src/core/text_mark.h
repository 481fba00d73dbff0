#pragma once
// A stretch of a shown text to draw marked (a search match), in UTF-16 units of the text.

#include <cstddef>

namespace varnoke {

struct TextMark {
    size_t start = 0;
    size_t length = 0;
    bool operator==(const TextMark& o) const { return start == o.start && length == o.length; }
};

}  // namespace varnoke
