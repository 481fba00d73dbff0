#pragma once
// What one stored line of a short-text file is, and how an item line splits into its
// text (or command) and its label.

#include <string>
#include <string_view>

#include "core/mbcs.h"
#include "core/text_codec.h"
#include "shorttext/macro_expansion.h"
#include "shorttext/short_text_file.h"

namespace varnoke {

enum class ShortTextLineKind {
    kComment,         // "[#..."
    kSeparator,       // exactly "[=Separator=]"
    kBreak,           // exactly "[=Break=]"
    kBarBreak,        // exactly "[=BarBreak=]"
    kSubmenuStart,    // "[[label"
    kSubmenuEnd,      // "]]..."
    kLabelledPhrase,  // "[<text>]label"
    kCommand,         // "[\"command\"]label"
    kPhrase,          // anything else, a "[=" line that is no exact marker included
};

// Markers are matched on bytes and case-sensitively; nothing is trimmed.
ShortTextLineKind ClassifyShortTextLine(std::string_view line);
ShortTextLineKind ClassifyShortTextLine(std::u16string_view line);
// A stored line is what its exact text is, when it has one.
ShortTextLineKind ClassifyStoredLine(const ShortTextString& line);

// For a "[<" or "[\"" line: the label (`wantLabel`) or the text / command. The closing
// mark (">]" or "\"]") is searched from the first byte, as a single-byte character only.
// Without a closing mark both are the whole line; "[\"]label" has an empty command. Any
// other line comes back whole.
std::string SplitBracketItem(std::string_view line, bool wantLabel, LeadByteTest isLeadByte);
std::u16string SplitBracketItem(std::u16string_view line, bool wantLabel);

// The label of an item line, expanded for `labelTime`: the part after the closing mark of
// a "[<" or "[\"" line, otherwise the whole line. tokenExpanded tells whether the label
// holds a date or time token and must be refreshed when the menu is shown again.
MacroExpansion ShortTextItemLabel(std::string_view line, const MacroTime& labelTime,
                                  const MacroNames& names, LeadByteTest isLeadByte);

struct ShortTextLabel {
    ShortTextString text;
    bool tokenExpanded = false;
};

// The label of a stored line in both forms: a line with an exact text is labelled by the
// same rules run on that text.
ShortTextLabel ShortTextItemLabel(const ShortTextString& line, const MacroTime& labelTime,
                                  const MacroNames& names, LeadByteTest isLeadByte,
                                  const TextCodec& codec);

}  // namespace varnoke
