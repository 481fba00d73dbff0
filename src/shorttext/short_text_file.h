#pragma once
// The lines of a short-text data file. The Win32 side opens the file and feeds its bytes
// in chunks of any size; the line rules live here so that they hold whatever the source.

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "core/mbcs.h"

namespace varnoke {

// Lines kept of one file; the rest of the file is ignored.
constexpr size_t kMaxShortTextLines = 10000;

// Splits bytes into stored lines. A line ends at LF; a CR just before that LF belongs to
// the line end, any other CR (a lone CR, or the first of "CR CR LF") stays in the line.
// Tabs are removed as single-byte characters only: a 0x09 right after a lead byte is that
// character's second byte and stays. A line that is empty after that is dropped.
class ShortTextLineReader {
  public:
    explicit ShortTextLineReader(LeadByteTest isLeadByte) : isLeadByte_(isLeadByte) {}

    // Takes the next bytes of the file. False once 10000 lines are stored: the caller may
    // stop reading, later bytes are ignored anyway.
    bool Feed(std::string_view bytes);
    // The end of the file: a last line without a line end is stored too.
    void Finish();

    bool Full() const { return lines_.size() >= kMaxShortTextLines; }
    const std::vector<std::string>& lines() const { return lines_; }
    std::vector<std::string> TakeLines();

  private:
    void EndLine();

    LeadByteTest isLeadByte_;
    std::string pending_;  // bytes of the unfinished line, as read
    std::vector<std::string> lines_;
};

// The stored lines of a whole file held in memory.
std::vector<std::string> ParseShortTextLines(std::string_view bytes, LeadByteTest isLeadByte);

// `line` without its single-byte tab characters.
std::string RemoveTabs(std::string_view line, LeadByteTest isLeadByte);

}  // namespace varnoke
