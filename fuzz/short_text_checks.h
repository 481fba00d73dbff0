#pragma once
// Checks both short-text fuzz targets make of what the line reader gives back.

#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

#include "core/mbcs.h"
#include "core/utf8.h"
#include "shorttext/short_text_file.h"
#include "support/cp932_codec.h"

namespace short_text_fuzz {

using namespace varnoke;

inline void Check(bool condition) {
    if (!condition) {
        std::abort();
    }
}

inline const TextCodec& Codec() {
    static const samples::Cp932Codec codec;
    return codec;
}

inline std::vector<ShortTextString> ReadInTwoChunks(std::string_view bytes, size_t split) {
    ShortTextLineReader reader(IsCp932LeadByte, Codec());
    if (reader.Feed(bytes.substr(0, split))) {
        reader.Feed(bytes.substr(split));
    }
    reader.Finish();
    return reader.TakeLines();
}

inline void CheckLines(const std::vector<ShortTextString>& lines) {
    Check(lines.size() <= kMaxShortTextLines);
    for (const ShortTextString& line : lines) {
        Check(!line.ansi.empty() && line.ansi.find('\n') == std::string::npos);
        // A UTF-8 line: no tab is left, and the ANSI text is the code page's form.
        Check(line.exact.empty() || (line.exact.find(u'\t') == std::u16string::npos &&
                                     line.ansi == Codec().ToClipboardAnsi(line.exact)));
    }
}

// The same bytes as a file saved as UTF-8, for a second run of the checks.
inline std::string AsUtf8File(std::string_view bytes) {
    return std::string(kUtf8ByteOrderMark) + std::string(bytes);
}

}  // namespace short_text_fuzz
