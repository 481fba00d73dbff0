#pragma once
// The lines of a short-text data file. The Win32 side opens the file and feeds its bytes
// in chunks of any size; the line rules live here so that they hold whatever the source.
// A file is in the ANSI code page, or in UTF-8 when it starts with the byte order mark.

#include <cstddef>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "core/dual_text.h"
#include "core/mbcs.h"
#include "core/text_codec.h"

namespace varnoke {

// A line, label or phrase; the rules run on its exact text where it has one (a character of
// a UTF-8 file), and the ANSI text is made of their result.
using ShortTextString = DualText;

// Both forms of `wide`: its ANSI form, and `wide` itself only when that form lost something.
ShortTextString MakeShortTextString(std::u16string wide, const TextCodec& codec);

// Lines kept of one file; the rest of the file is ignored.
constexpr size_t kMaxShortTextLines = 10000;

// Splits bytes into stored lines. A line ends at LF; a CR just before that LF belongs to
// the line end, any other CR (a lone CR, or the first of "CR CR LF") stays in the line.
// Tabs are removed as single-byte characters only: a 0x09 right after a lead byte is that
// character's second byte and stays. A line that is empty after that is dropped. In a file
// that starts with the UTF-8 byte order mark every line is UTF-8: it is decoded, loses its
// tabs, and keeps its exact text where the ANSI code page cannot hold it.
class ShortTextLineReader {
  public:
    ShortTextLineReader(LeadByteTest isLeadByte, const TextCodec& codec)
        : isLeadByte_(isLeadByte), codec_(codec) {}

    // Takes the next bytes of the file. False once 10000 lines are stored: the caller may
    // stop reading, later bytes are ignored anyway.
    bool Feed(std::string_view bytes);
    // The end of the file: a last line without a line end is stored too.
    void Finish();

    bool Full() const { return lines_.size() >= kMaxShortTextLines; }
    const std::vector<ShortTextString>& lines() const { return lines_; }
    std::vector<ShortTextString> TakeLines();

  private:
    void EndLine();

    LeadByteTest isLeadByte_;
    const TextCodec& codec_;
    std::string pending_;  // bytes of the unfinished line, as read
    bool firstLine_ = true;
    bool utf8_ = false;
    std::vector<ShortTextString> lines_;
};

// The stored lines of a whole file held in memory.
std::vector<ShortTextString> ParseShortTextLines(std::string_view bytes, LeadByteTest isLeadByte,
                                                 const TextCodec& codec);

// `line` without its single-byte tab characters.
std::string RemoveTabs(std::string_view line, LeadByteTest isLeadByte);

}  // namespace varnoke
