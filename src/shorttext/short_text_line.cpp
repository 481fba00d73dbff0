#include "shorttext/short_text_line.h"

#include <cstddef>

namespace varnoke {

namespace {

constexpr std::string_view kComment = "[#";
constexpr std::string_view kSubmenuStart = "[[";
constexpr std::string_view kSubmenuEnd = "]]";
constexpr std::string_view kLabelledPhrase = "[<";
constexpr std::string_view kCommand = "[\"";
constexpr std::string_view kSeparator = "[=Separator=]";
constexpr std::string_view kBreak = "[=Break=]";
constexpr std::string_view kBarBreak = "[=BarBreak=]";
constexpr std::string_view kPhraseEnd = ">]";
constexpr std::string_view kCommandEnd = "\"]";
// Where the text or command starts: after the two opening characters.
constexpr size_t kBracketTextStart = 2;

bool StartsWith(std::string_view line, std::string_view prefix) {
    return line.substr(0, prefix.size()) == prefix;
}

// First position of the two-byte ASCII `mark` starting at a character boundary.
size_t FindMark(std::string_view line, std::string_view mark, LeadByteTest isLeadByte) {
    for (size_t pos = 0; pos < line.size(); ++pos) {
        if (line.substr(pos, mark.size()) == mark) {
            return pos;
        }
        if (pos + 1 < line.size() && isLeadByte(static_cast<unsigned char>(line[pos]))) {
            ++pos;
        }
    }
    return std::string_view::npos;
}

}  // namespace

ShortTextLineKind ClassifyShortTextLine(std::string_view line) {
    if (StartsWith(line, kComment)) {
        return ShortTextLineKind::kComment;
    }
    if (line == kSeparator) {
        return ShortTextLineKind::kSeparator;
    }
    if (line == kBreak) {
        return ShortTextLineKind::kBreak;
    }
    if (line == kBarBreak) {
        return ShortTextLineKind::kBarBreak;
    }
    if (StartsWith(line, kSubmenuStart)) {
        return ShortTextLineKind::kSubmenuStart;
    }
    if (StartsWith(line, kSubmenuEnd)) {
        return ShortTextLineKind::kSubmenuEnd;
    }
    if (StartsWith(line, kLabelledPhrase)) {
        return ShortTextLineKind::kLabelledPhrase;
    }
    if (StartsWith(line, kCommand)) {
        return ShortTextLineKind::kCommand;
    }
    return ShortTextLineKind::kPhrase;
}

std::string SplitBracketItem(std::string_view line, bool wantLabel, LeadByteTest isLeadByte) {
    std::string_view mark;
    if (StartsWith(line, kLabelledPhrase)) {
        mark = kPhraseEnd;
    } else if (StartsWith(line, kCommand)) {
        mark = kCommandEnd;
    } else {
        return std::string(line);
    }
    const size_t b = FindMark(line, mark, isLeadByte);
    if (b == std::string_view::npos) {
        return std::string(line);
    }
    if (wantLabel) {
        return std::string(line.substr(b + mark.size()));
    }
    if (b <= kBracketTextStart) {
        return std::string();
    }
    return std::string(line.substr(kBracketTextStart, b - kBracketTextStart));
}

MacroExpansion ShortTextItemLabel(std::string_view line, const MacroTime& labelTime,
                                  const MacroNames& names, LeadByteTest isLeadByte) {
    const ShortTextLineKind kind = ClassifyShortTextLine(line);
    if (kind == ShortTextLineKind::kLabelledPhrase || kind == ShortTextLineKind::kCommand) {
        return ExpandMacros(SplitBracketItem(line, true, isLeadByte), labelTime, names, isLeadByte);
    }
    return ExpandMacros(line, labelTime, names, isLeadByte);
}

}  // namespace varnoke
