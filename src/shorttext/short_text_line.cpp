#include "shorttext/short_text_line.h"

#include <cstddef>
#include <utility>

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

// A short-text file's markers are ASCII, so they read the same in both forms of a line.
template <typename Char>
bool StartsWith(std::basic_string_view<Char> line, std::string_view prefix) {
    if (line.size() < prefix.size()) {
        return false;
    }
    for (size_t pos = 0; pos < prefix.size(); ++pos) {
        if (line[pos] != static_cast<Char>(prefix[pos])) {
            return false;
        }
    }
    return true;
}

template <typename Char>
bool Is(std::basic_string_view<Char> line, std::string_view marker) {
    return line.size() == marker.size() && StartsWith(line, marker);
}

// First position of the two-character ASCII `mark` starting at a character boundary.
template <typename Char>
size_t FindMark(std::basic_string_view<Char> line, std::string_view mark, LeadByteTest isLeadByte) {
    for (size_t pos = 0; pos < line.size(); pos += CharLength(line, pos, isLeadByte)) {
        if (StartsWith(line.substr(pos), mark)) {
            return pos;
        }
    }
    return std::basic_string_view<Char>::npos;
}

template <typename Char>
ShortTextLineKind Classify(std::basic_string_view<Char> line) {
    if (StartsWith(line, kComment)) {
        return ShortTextLineKind::kComment;
    }
    if (Is(line, kSeparator)) {
        return ShortTextLineKind::kSeparator;
    }
    if (Is(line, kBreak)) {
        return ShortTextLineKind::kBreak;
    }
    if (Is(line, kBarBreak)) {
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

template <typename Char>
std::basic_string<Char> Split(std::basic_string_view<Char> line, bool wantLabel,
                              LeadByteTest isLeadByte) {
    std::string_view mark;
    if (StartsWith(line, kLabelledPhrase)) {
        mark = kPhraseEnd;
    } else if (StartsWith(line, kCommand)) {
        mark = kCommandEnd;
    } else {
        return std::basic_string<Char>(line);
    }
    const size_t b = FindMark(line, mark, isLeadByte);
    if (b == std::basic_string_view<Char>::npos) {
        return std::basic_string<Char>(line);
    }
    if (wantLabel) {
        return std::basic_string<Char>(line.substr(b + mark.size()));
    }
    if (b <= kBracketTextStart) {
        return std::basic_string<Char>();
    }
    return std::basic_string<Char>(line.substr(kBracketTextStart, b - kBracketTextStart));
}

template <typename Char, typename Expand>
auto ItemLabel(std::basic_string_view<Char> line, LeadByteTest isLeadByte, Expand expand) {
    const ShortTextLineKind kind = Classify(line);
    if (kind == ShortTextLineKind::kLabelledPhrase || kind == ShortTextLineKind::kCommand) {
        return expand(std::basic_string_view<Char>(Split(line, true, isLeadByte)));
    }
    return expand(line);
}

}  // namespace

ShortTextLineKind ClassifyShortTextLine(std::string_view line) {
    return Classify(line);
}

ShortTextLineKind ClassifyShortTextLine(std::u16string_view line) {
    return Classify(line);
}

ShortTextLineKind ClassifyStoredLine(const ShortTextString& line) {
    return line.exact.empty() ? Classify(std::string_view(line.ansi))
                              : Classify(std::u16string_view(line.exact));
}

std::string SplitBracketItem(std::string_view line, bool wantLabel, LeadByteTest isLeadByte) {
    return Split(line, wantLabel, isLeadByte);
}

std::u16string SplitBracketItem(std::u16string_view line, bool wantLabel) {
    return Split(line, wantLabel, nullptr);
}

MacroExpansion ShortTextItemLabel(std::string_view line, const MacroTime& labelTime,
                                  const MacroNames& names, LeadByteTest isLeadByte) {
    return ItemLabel(line, isLeadByte, [&](std::string_view raw) {
        return ExpandMacros(raw, labelTime, names, isLeadByte);
    });
}

ShortTextLabel ShortTextItemLabel(const ShortTextString& line, const MacroTime& labelTime,
                                  const MacroNames& names, LeadByteTest isLeadByte,
                                  const TextCodec& codec) {
    ShortTextLabel label;
    if (line.exact.empty()) {
        MacroExpansion ansi = ShortTextItemLabel(line.ansi, labelTime, names, isLeadByte);
        label.text = ShortTextString(std::move(ansi.text));
        label.tokenExpanded = ansi.tokenExpanded;
        return label;
    }
    WideMacroExpansion wide = ItemLabel(
        std::u16string_view(line.exact), nullptr,
        [&](std::u16string_view raw) { return ExpandMacros(raw, labelTime, names, codec); });
    label.text = MakeShortTextString(std::move(wide.text), codec);
    label.tokenExpanded = wide.tokenExpanded;
    return label;
}

}  // namespace varnoke
