// Reads arbitrary bytes as a short-text file, whole and fed in two chunks split where the
// first byte says, then once more after the UTF-8 byte order mark. Checks what must hold for any
// input: chunking changes nothing, no stored line is empty or holds a line feed, the line cap
// holds. The menus built from the lines have their own target (short_text_fuzz), on shorter inputs.

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

#include "core/mbcs.h"
#include "shorttext/short_text_file.h"
#include "short_text_checks.h"

namespace {

using namespace varnoke;
using short_text_fuzz::Check;
using short_text_fuzz::CheckLines;
using short_text_fuzz::Codec;
using short_text_fuzz::ReadInTwoChunks;

void CheckFile(std::string_view bytes, size_t split) {
    const std::vector<ShortTextString> lines = ParseShortTextLines(bytes, IsCp932LeadByte, Codec());
    Check(ReadInTwoChunks(bytes, split) == lines);
    CheckLines(lines);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::string_view bytes(reinterpret_cast<const char*>(data), size);
    const size_t split = size == 0 ? 0 : data[0] % (size + 1);
    CheckFile(bytes, split);
    // The split may fall inside the mark.
    CheckFile(short_text_fuzz::AsUtf8File(bytes), split);
    return 0;
}
