#pragma once
// Cutting and labelling multibyte texts. Widths count bytes; a double-byte character is
// never split, and its second byte is never taken for a tab, "&" or a lead byte.

#include <cstddef>
#include <string>
#include <string_view>

#include "core/dual_text.h"
#include "core/mbcs.h"

namespace varnoke {

// Bytes that fit into `width` without splitting a character, walking from the start.
// Requires limit <= text.size(); reads no byte at or after `limit`.
size_t CharBoundaryAtOrBefore(std::string_view text, size_t limit, LeadByteTest isLeadByte);

// A text of at most `width` bytes is returned unchanged. A longer one keeps its first
// `width` bytes (width - 1 when a double-byte character starts at width - 1), followed by
// "..." when `ellipsis` is set. A width below 0 counts as 0.
std::string CutText(std::string_view text, int width, bool ellipsis, LeadByteTest isLeadByte);

// One-line label of a text: tabs become two spaces, "&" becomes "&&", cut to `width`
// bytes with "...".
std::string MakeMenuLabel(std::string_view text, int width, LeadByteTest isLeadByte);
// The same label, appended to `out` (a menu item's prefix, say). Its cost follows the
// width, never the length of the text.
void AppendMenuLabel(std::string* out, std::string_view text, int width, LeadByteTest isLeadByte);

// A tray tooltip: its ANSI text, and the exact text a wide tooltip shows instead where the
// ANSI text lost characters.
using TooltipText = DualText;

// Tray tooltip of the normal state: `versionText` (string 210) for an empty text,
// otherwise the label of the text at width 60 (at most 63 bytes).
std::string MakeTooltipText(std::string_view text, const std::string& versionText,
                            LeadByteTest isLeadByte);

constexpr int kTooltipLabelWidth = 60;

}  // namespace varnoke
