#pragma once
// Checks both short-text fuzz targets make of what the line reader gives back.

#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

#include "core/mbcs.h"
#include "shorttext/short_text_file.h"

namespace short_text_fuzz {

using namespace varnoke;

inline void Check(bool condition) {
    if (!condition) {
        std::abort();
    }
}

inline std::vector<std::string> ReadInTwoChunks(std::string_view bytes, size_t split) {
    ShortTextLineReader reader(IsCp932LeadByte);
    if (reader.Feed(bytes.substr(0, split))) {
        reader.Feed(bytes.substr(split));
    }
    reader.Finish();
    return reader.TakeLines();
}

inline void CheckLines(const std::vector<std::string>& lines) {
    Check(lines.size() <= kMaxShortTextLines);
    for (const std::string& line : lines) {
        Check(!line.empty() && line.find('\n') == std::string::npos);
    }
}

}  // namespace short_text_fuzz
