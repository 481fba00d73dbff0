#include "shorttext/short_text_action.h"

#include <utility>

#include "shorttext/short_text_line.h"

namespace varnoke {

bool WinExecFailed(unsigned winExecResult) {
    return winExecResult < kWinExecFailureLimit;
}

namespace {

// The phrase of a chosen item, expanded as a whole first: a "[<" that the expansion makes
// (from "\[<") counts as the opening mark too.
template <typename String, typename Split>
String PhraseText(String expanded, Split textPart) {
    if (ClassifyShortTextLine(expanded) == ShortTextLineKind::kLabelledPhrase) {
        return textPart(expanded);
    }
    return expanded;
}

}  // namespace

ShortTextAction DecideShortTextAction(const ShortTextString& line, const MacroTime& now,
                                      bool pasteOnly, const MacroNames& names,
                                      LeadByteTest isLeadByte, const TextCodec& codec) {
    ShortTextAction action;
    if (ClassifyStoredLine(line) == ShortTextLineKind::kCommand) {
        action.armCapture = true;
        std::string command = SplitBracketItem(line.ansi, false, isLeadByte);
        // Neither a program nor a document: the shell would open some folder instead.
        if (!command.empty()) {
            action.kind = ShortTextActionKind::kRunCommand;
            action.commandLine = command;
            action.documentFile = std::move(command);
        }
        return action;
    }
    if (line.exact.empty()) {
        action.text = DualText(PhraseText(ExpandMacros(line.ansi, now, names, isLeadByte).text,
                                          [&](const std::string& expanded) {
                                              return SplitBracketItem(expanded, false, isLeadByte);
                                          }));
    } else {
        std::u16string wide = PhraseText(
            ExpandMacros(line.exact, now, names, codec).text,
            [](const std::u16string& expanded) { return SplitBracketItem(expanded, false); });
        action.text = MakeShortTextString(std::move(wide), codec);
    }
    action.kind = ShortTextActionKind::kPaste;
    action.disarmCapture = pasteOnly;
    return action;
}

}  // namespace varnoke
